// CMyUndo: entry store with eviction, area collection and the decoding of popped entries.
#include "store/CMyUndo.h"

#include <cstring>

#include "platform/core/MemoryHook.h"
#include "platform/core/Prompt.h"
#include "store/LittleEndian.h"

namespace {
constexpr std::size_t kInitialBytes = 1000;
constexpr int kOffsetStep = 50;
constexpr int kSingleHeader = 13;
constexpr int kAreaHeader = 29;
constexpr std::size_t kKeptAreaBytes = 1 << 20;

void putHeader(unsigned char* head, int type, int kind, int subKind, int column, int row) {
    std::memset(head, 0, kSingleHeader);
    head[0] = static_cast<unsigned char>(type);
    head[1] = static_cast<unsigned char>(kind);
    head[2] = static_cast<unsigned char>(subKind);
    LittleEndian::put32(head + 5, column);
    LittleEndian::put32(head + 9, row);
}

// Length prefix of a data record: one byte up to 120, else 252 and four bytes.
int putLengthPrefix(unsigned char* at, int length) {
    if (length <= UndoMaxShortData) {
        at[0] = static_cast<unsigned char>(length);
        return 1;
    }
    at[0] = UndoLongData;
    LittleEndian::put32(at + 1, length);
    return 5;
}
} // namespace

CMyUndo::CMyUndo() { ensureEntryBuffer(); }

CMyUndo::~CMyUndo() {
    MemoryHook::release(entryBytes_);
    MemoryHook::release(offsets_);
    MemoryHook::release(areaBytes_);
}

bool CMyUndo::ensureEntryBuffer() {
    if (!entryBytes_) {
        std::size_t size = kInitialBytes < static_cast<std::size_t>(maxBytes_) ? kInitialBytes : maxBytes_;
        entryBytes_ = static_cast<unsigned char*>(MemoryHook::allocate(size));
        capacity_ = entryBytes_ ? size : 0;
    }
    if (!offsets_) {
        offsets_ = static_cast<int32_t*>(MemoryHook::allocate(sizeof(int32_t) * kOffsetStep));
        offsetSlots_ = offsets_ ? kOffsetStep : 0;
    }
    return entryBytes_ && offsets_;
}

void CMyUndo::discarded() {
    ++discardSerial_;
    outside_ = 0;
    if (onDiscard_) onDiscard_();
}

void CMyUndo::clear() {
    discarded();
    used_ = 0;
    entryCount_ = storedCount_ = 0;
    areaKind_ = 1;
    areaAbandoned_ = false;
    areaUsed_ = 0;
    areaRecords_ = 0;
}

void CMyUndo::setLimit(long bytes) {
    if (bytes == 0) bytes = 1000000;
    if (bytes < 1000) bytes = 1000;
    if (bytes > MaxLimit) bytes = MaxLimit;
    if (bytes == maxBytes_) return;
    maxBytes_ = bytes;
    // The newest entries that fit the new limit stay; an open area starts again.
    areaKind_ = 1;
    areaAbandoned_ = false;
    areaUsed_ = 0;
    areaRecords_ = 0;
    if (used_ + outside_ > static_cast<std::size_t>(maxBytes_) && poppedCount() > 0) {
        // Too little room for what redo keeps: redo goes before any undo step.
        storedCount_ = entryCount_;
        used_ = storedCount_ > 0 ? offsets_[storedCount_] : 0;
        discarded();
    }
    keepWithin(static_cast<std::size_t>(maxBytes_));
    // Buffers larger than the new limit shrink to it; they regrow on demand.
    MemoryHook::release(areaBytes_);
    areaBytes_ = nullptr;
    areaCapacity_ = 0;
    if (capacity_ > static_cast<std::size_t>(maxBytes_)) shrinkEntryBuffer();
}

std::size_t CMyUndo::keptBytes(int drop) const {
    return drop < storedCount_ ? used_ - static_cast<std::size_t>(offsets_[drop]) : 0;
}

// Drops the oldest reachable entries until the stored ones take at most `bytes`.
void CMyUndo::keepWithin(std::size_t bytes) {
    int drop = 0;
    while (drop < entryCount_ && keptBytes(drop) > bytes) ++drop;
    if (keptBytes(drop) > bytes) clear();
    else dropOldest(drop);
}

void CMyUndo::shrinkEntryBuffer() {
    auto* fresh = static_cast<unsigned char*>(MemoryHook::allocate(static_cast<std::size_t>(maxBytes_)));
    if (!fresh) {
        // The larger block stays, but only the limit's share is used: no filling it past the limit.
        clear();
        capacity_ = static_cast<std::size_t>(maxBytes_);
        return;
    }
    if (used_ > 0) std::memcpy(fresh, entryBytes_, used_);
    MemoryHook::release(entryBytes_);
    entryBytes_ = fresh;
    capacity_ = static_cast<std::size_t>(maxBytes_);
}

bool CMyUndo::makeRoomOutside(std::size_t extra) {
    const std::size_t limit = static_cast<std::size_t>(maxBytes_);
    if (outside_ + extra > limit) return false;
    const std::size_t room = limit - outside_ - extra;
    int drop = 0;
    while (drop < entryCount_ && keptBytes(drop) > room) ++drop;
    if (keptBytes(drop) > room) return false;
    dropOldest(drop);
    return true;
}

void CMyUndo::dropPopped(int count) {
    if (count <= 0) return;
    if (count > poppedCount()) count = poppedCount();
    storedCount_ -= count;
    used_ = storedCount_ > 0 ? offsets_[storedCount_] : 0;
}

bool CMyUndo::setRecording(bool on) {
    bool previous = recording_;
    recording_ = on;
    return previous;
}

int CMyUndo::openArea(int kind, int subKind, int column1, int row1, int column2, int row2) {
    if (!recording_) return 0;
    if (areaOpen() || areaAbandoned_) return -1;
    areaKind_ = kind;
    areaSubKind_ = subKind;
    areaColumn1_ = column1 < column2 ? column1 : column2;
    areaColumn2_ = column1 < column2 ? column2 : column1;
    areaRow1_ = row1 < row2 ? row1 : row2;
    areaRow2_ = row1 < row2 ? row2 : row1;
    areaUsed_ = 0;
    areaRecords_ = 0;
    return 1;
}

void CMyUndo::abandonArea() {
    areaKind_ = 1;
    areaAbandoned_ = true;
    areaUsed_ = 0;
    areaRecords_ = 0;
}

bool CMyUndo::growArea(std::size_t needed) {
    if (needed <= areaCapacity_) return true;
    // At least 10000 bytes more, and half again for large areas so that collecting megabytes
    // does not copy the buffer every 10000 bytes.
    std::size_t size = needed + 10000;
    if (size < areaCapacity_ + areaCapacity_ / 2) size = areaCapacity_ + areaCapacity_ / 2;
    if (size > static_cast<std::size_t>(maxBytes_)) size = maxBytes_;
    void* grown = MemoryHook::reallocate(areaBytes_, areaCapacity_, size);
    if (!grown) {
        Prompt::warn("CMyHyoにて領域確保に失敗しました。");
        return false;
    }
    areaBytes_ = static_cast<unsigned char*>(grown);
    areaCapacity_ = size;
    return true;
}

int CMyUndo::appendRaw(const void* bytes, std::size_t length) {
    if (!areaOpen()) return -1;
    std::size_t needed = areaUsed_ + length + 10;
    if (needed > static_cast<std::size_t>(maxBytes_) || !growArea(needed)) {
        abandonArea();
        return -1;
    }
    if (length) std::memcpy(areaBytes_ + areaUsed_, bytes, length);
    areaUsed_ += length;
    return 1;
}

int CMyUndo::appendDataRecord(const void* bytes, int length, const void* tail, int tailLength) {
    if (!areaOpen()) return -1;
    if (length < 0) length = 0;
    if (tailLength < 0) tailLength = 0;
    unsigned char prefix[5];
    int prefixLength = putLengthPrefix(prefix, length + tailLength);
    std::size_t needed = areaUsed_ + prefixLength + length + tailLength + 10;
    if (needed > static_cast<std::size_t>(maxBytes_) || !growArea(needed)) {
        abandonArea();
        return -1;
    }
    std::memcpy(areaBytes_ + areaUsed_, prefix, prefixLength);
    areaUsed_ += prefixLength;
    if (length) std::memcpy(areaBytes_ + areaUsed_, bytes, length);
    areaUsed_ += length;
    if (tailLength) std::memcpy(areaBytes_ + areaUsed_, tail, tailLength);
    areaUsed_ += tailLength;
    ++areaRecords_;
    return 1;
}

int CMyUndo::appendData(const void* bytes, int length) { return appendDataRecord(bytes, length, nullptr, 0); }

int CMyUndo::appendInteger(int value, int width) {
    if (width != 1 && width != 2 && width != 4) return -1;
    unsigned char bytes[4];
    LittleEndian::put32(bytes, value);
    return appendDataRecord(bytes, width, nullptr, 0);
}

int CMyUndo::appendMarker(int marker, int kind, int attributeKind) {
    if (!areaOpen()) return -1;
    unsigned char bytes[3] = {static_cast<unsigned char>(marker), static_cast<unsigned char>(kind),
                              static_cast<unsigned char>(attributeKind)};
    std::size_t length = 1;
    if (marker == UndoSetKind) length = kind == UndoCellAttribute ? 3 : 2;
    if (appendRaw(bytes, length) < 0) return -1;
    ++areaRecords_;
    return 1;
}

int CMyUndo::singleOrAppend(int kind, int subKind, int column, int row, const void* data, int length,
                            const void* tail, int tailLength) {
    if (!recording_) return 0;
    if (areaAbandoned_) return -1;  // the operation is being collected and has given up
    if (areaOpen()) return appendDataRecord(data, length, tail, tailLength);
    unsigned char head[kSingleHeader + 5];
    putHeader(head, UndoSingle, kind, subKind, column, row);
    int total = (length > 0 ? length : 0) + (tailLength > 0 ? tailLength : 0);
    int headLength = kSingleHeader + putLengthPrefix(head + kSingleHeader, total);
    std::size_t needed = static_cast<std::size_t>(total) + 22;
    return storeEntry(head, headLength, data, length > 0 ? length : 0, tail,
                      tailLength > 0 ? tailLength : 0, needed);
}

int CMyUndo::recordCellText(int column, int row, const char* text, int length, char terminator) {
    return singleOrAppend(UndoCellText, 0, column, row, text, text ? length : 0, &terminator, 1);
}

int CMyUndo::recordAttribute(int column, int row, int attributeKind, const unsigned char* value, int length) {
    return singleOrAppend(UndoCellAttribute, attributeKind, column, row, value, value ? length : 0);
}

int CMyUndo::recordRowHeight(int row, int height) {
    unsigned char bytes[2] = {static_cast<unsigned char>(height), static_cast<unsigned char>(height >> 8)};
    return singleOrAppend(UndoRowHeight, 0, -1, row, bytes, 2);
}

int CMyUndo::recordRowColour(int row, int attributeKind, const unsigned char* value, int length) {
    return singleOrAppend(UndoRowColour, attributeKind, -1, row, value, value ? length : 0);
}

int CMyUndo::recordSingle(int kind, int subKind, int column, int row, const void* data, int length) {
    return singleOrAppend(kind, subKind, column, row, data, data ? length : 0);
}

int CMyUndo::closeArea(bool keep) {
    bool wasOpen = areaOpen();
    int kind = areaKind_;
    areaKind_ = 1;
    areaAbandoned_ = false;
    if (!keep || !wasOpen) {
        areaUsed_ = 0;
        areaRecords_ = 0;
        return 0;
    }
    unsigned char head[kAreaHeader];
    putHeader(head, UndoAreaType, kind, areaSubKind_, areaColumn1_, areaRow1_);
    LittleEndian::put32(head + 13, areaColumn2_);
    LittleEndian::put32(head + 17, areaRow2_);
    LittleEndian::put32(head + 21, static_cast<int32_t>(areaUsed_));
    LittleEndian::put32(head + 25, areaRecords_);
    int result = storeEntry(head, kAreaHeader, areaBytes_, areaUsed_, nullptr, 0, areaUsed_ + 38);
    areaUsed_ = 0;
    areaRecords_ = 0;
    // A large area's buffer would stay beside its copy in the journal; it regrows on demand.
    if (areaCapacity_ > kKeptAreaBytes) {
        MemoryHook::release(areaBytes_);
        areaBytes_ = nullptr;
        areaCapacity_ = 0;
    }
    return result;
}

int CMyUndo::markerEntry(int kind, int column1, int row1, int column2, int row2) {
    int opened = openArea(kind, 0, column1, row1, column2, row2);
    if (opened != 1) return opened;
    return closeArea(true);
}

void CMyUndo::dropOldest(int count) {
    if (count <= 0) return;
    if (count >= storedCount_) {
        used_ = 0;
        entryCount_ = storedCount_ = 0;
        return;
    }
    int32_t start = offsets_[count];
    std::memmove(entryBytes_, entryBytes_ + start, used_ - start);
    used_ -= start;
    for (int i = count; i < storedCount_; ++i) offsets_[i - count] = offsets_[i] - start;
    storedCount_ -= count;
    entryCount_ -= count;
}

bool CMyUndo::makeRoom(std::size_t needed) {
    if (capacity_ - used_ >= needed) return true;
    std::size_t target = used_ + needed;
    if (target > static_cast<std::size_t>(maxBytes_)) target = maxBytes_;
    target += 500;
    if (target > static_cast<std::size_t>(maxBytes_)) target = maxBytes_;
    if (target > capacity_) {
        void* grown = MemoryHook::reallocate(entryBytes_, capacity_, target);
        if (grown) {
            entryBytes_ = static_cast<unsigned char*>(grown);
            capacity_ = target;
        }
    }
    if (capacity_ - used_ >= needed) return true;
    // Evict the oldest entries. Freeing only just enough would move the whole journal for
    // every new entry once it is full; freeing an eighth of it at once keeps the cost of
    // cell-by-cell recording flat at the price of a few more of the oldest steps.
    std::size_t wanted = needed > capacity_ / 8 ? needed : capacity_ / 8;
    int drop = 1;
    while (drop < storedCount_ && capacity_ - used_ + offsets_[drop] < wanted) ++drop;
    if (drop >= storedCount_ && storedCount_ > 0 && capacity_ - used_ + offsets_[storedCount_ - 1] >= needed)
        drop = storedCount_ - 1;  // keep the newest entry when that alone is enough
    if (drop >= storedCount_ || capacity_ < needed) {
        clear();
        return capacity_ >= needed;
    }
    dropOldest(drop);
    if (storedCount_ > 0 && offsets_[0] != 0) {
        Prompt::warn("領域確保に不整合が発生しました。(1)");
        clear();
        return false;
    }
    return capacity_ - used_ >= needed;
}

int CMyUndo::storeEntry(const unsigned char* header, int headerLength, const void* first,
                        std::size_t firstLength, const void* second, std::size_t secondLength,
                        std::size_t needed) {
    if (needed > static_cast<std::size_t>(maxBytes_)) return -1;
    if (!ensureEntryBuffer()) return -1;
    if (storedCount_ > entryCount_) {  // popped entries become unreachable for ever
        discarded();
        used_ = entryCount_ > 0 ? offsets_[entryCount_] : 0;
        if (entryCount_ == 0) used_ = 0;
        storedCount_ = entryCount_;
    }
    if (!makeRoom(needed)) return -1;
    if (storedCount_ + 1 > offsetSlots_) {
        int slots = offsetSlots_ + (offsetSlots_ / 2 > kOffsetStep ? offsetSlots_ / 2 : kOffsetStep);
        void* grown = MemoryHook::reallocate(offsets_, sizeof(int32_t) * offsetSlots_, sizeof(int32_t) * slots);
        if (!grown) return -1;
        offsets_ = static_cast<int32_t*>(grown);
        offsetSlots_ = slots;
    }
    offsets_[storedCount_] = static_cast<int32_t>(used_);
    unsigned char* at = entryBytes_ + used_;
    std::memcpy(at, header, headerLength);
    at += headerLength;
    if (firstLength) std::memcpy(at, first, firstLength);
    at += firstLength;
    if (secondLength) std::memcpy(at, second, secondLength);
    used_ += headerLength + firstLength + secondLength;
    ++storedCount_;
    entryCount_ = storedCount_;
    return 1;
}

void CMyUndo::decode(int index, UndoEntry& entry) const {
    const unsigned char* p = entryBytes_ + offsets_[index];
    std::size_t end = index + 1 < storedCount_ ? static_cast<std::size_t>(offsets_[index + 1]) : used_;
    entry.type = p[0];
    entry.kind = p[1];
    entry.subKind = p[2];
    entry.column1 = LittleEndian::get32(p + 5);
    entry.row1 = LittleEndian::get32(p + 9);
    if (entry.type == UndoSingle) {
        entry.column2 = entry.column1;
        entry.row2 = entry.row1;
        entry.payload = p + kSingleHeader;
        entry.payloadLength = static_cast<int>(end - offsets_[index] - kSingleHeader);
        entry.recordCount = 1;
        return;
    }
    entry.column2 = LittleEndian::get32(p + 13);
    entry.row2 = LittleEndian::get32(p + 17);
    entry.payloadLength = LittleEndian::get32(p + 21);
    entry.recordCount = LittleEndian::get32(p + 25);
    entry.payload = p + kAreaHeader;
}

bool CMyUndo::pop(UndoEntry& entry) {
    if (entryCount_ <= 0 || areaOpen()) return false;
    --entryCount_;
    decode(entryCount_, entry);
    return true;
}

bool CMyUndo::unpop() {
    if (storedCount_ <= entryCount_ || areaOpen()) return false;
    ++entryCount_;
    return true;
}
