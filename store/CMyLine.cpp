// CMyLine: line storage in pooled blocks, text files and the "LI" list block format.
#include "store/CMyLine.h"

#include <cstring>
#include <utility>

#include "platform/core/FileHook.h"
#include "platform/core/MemoryHook.h"
#include "platform/core/Prompt.h"
#include "store/LineChangeLog.h"
#include "store/LittleEndian.h"

namespace {
const char* const kNoMemory = "メモリが足りません。";
constexpr int kLargestBlock = 256 * 1024;
constexpr int kChunk = 1024;

// Grows a slot count: at least the old step of 10, and by half for long lists so that
// storing hundreds of thousands of lines does not copy the array on every tenth line.
int grownSlots(int slots, int needed) {
    int grown = slots + (slots / 2 > 10 ? slots / 2 : 10);
    return grown > needed ? grown : needed;
}

// Bytes left between the current position and the end, or -1 for a stream that cannot seek.
long remainingBytes(std::FILE* file) {
    long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return -1;
    long end = std::ftell(file);
    std::fseek(file, here, SEEK_SET);
    return end < here ? -1 : end - here;
}
} // namespace

CMyLine::CMyLine(int blockSize) : blockSize_(blockSize > 16 ? blockSize : 16) { initialise(); }

CMyLine::~CMyLine() { releaseAll(); }

bool CMyLine::initialise() {
    reservedTotal_ = 2400;
    reservedLines_ = 15;
    longestLine_ = 0;
    count_ = 0;
    currentBlock_ = 0;
    return newBlock(blockSize_) == 0;
}

void CMyLine::releaseAll() {
    for (int i = 0; i < blockCount_; ++i) MemoryHook::release(blocks_[i].data);
    MemoryHook::release(blocks_);
    MemoryHook::release(entries_);
    blocks_ = nullptr;
    entries_ = nullptr;
    blockCount_ = blockSlots_ = entrySlots_ = count_ = 0;
    allocatedBytes_ = 0;
}

void CMyLine::clear() {
    if (log_) log_->noteClear(*this);
    releaseAll();
    initialise();
}

void CMyLine::swap(CMyLine& other) {
    std::swap(blockSize_, other.blockSize_);
    std::swap(blocks_, other.blocks_);
    std::swap(blockCount_, other.blockCount_);
    std::swap(currentBlock_, other.currentBlock_);
    std::swap(blockSlots_, other.blockSlots_);
    std::swap(entries_, other.entries_);
    std::swap(count_, other.count_);
    std::swap(entrySlots_, other.entrySlots_);
    std::swap(longestLine_, other.longestLine_);
    std::swap(reservedTotal_, other.reservedTotal_);
    std::swap(reservedLines_, other.reservedLines_);
    std::swap(allocatedBytes_, other.allocatedBytes_);
}

int CMyLine::nextBlockSize(int needed) const {
    // Blocks grow with the list so that large files are carved from few allocations.
    std::size_t size = allocatedBytes_ / 4;
    if (size > static_cast<std::size_t>(kLargestBlock)) size = kLargestBlock;
    if (size < static_cast<std::size_t>(blockSize_)) size = blockSize_;
    return needed > static_cast<int>(size) ? needed : static_cast<int>(size);
}

int CMyLine::newBlock(int bytes) {
    if (blockCount_ + 1 > blockSlots_) {
        int slots = grownSlots(blockSlots_, blockCount_ + 1);
        void* grown = MemoryHook::reallocate(blocks_, sizeof(Block) * blockSlots_, sizeof(Block) * slots);
        if (!grown) return -1;
        blocks_ = static_cast<Block*>(grown);
        blockSlots_ = slots;
    }
    char* data = static_cast<char*>(MemoryHook::allocate(bytes));
    if (!data) return -1;
    blocks_[blockCount_] = Block{data, 0, bytes, 0};
    allocatedBytes_ += bytes;
    currentBlock_ = blockCount_;
    return blockCount_++;
}

bool CMyLine::ensureEntries(int needed) {
    if (needed + 1 <= entrySlots_) return true;
    int slots = grownSlots(entrySlots_, needed + 1);
    void* grown = MemoryHook::reallocate(entries_, sizeof(Entry) * entrySlots_, sizeof(Entry) * slots);
    if (!grown) {
        // The old entries stay as they were: failing to grow must not lose the list.
        Prompt::warn(kNoMemory);
        return false;
    }
    entries_ = static_cast<Entry*>(grown);
    entrySlots_ = slots;
    return true;
}

bool CMyLine::extendTo(int index) {
    if (index < count_) return true;
    if (!ensureEntries(index + 1)) return false;
    if (log_) log_->noteGrow(count_);
    count_ = index + 1;
    return true;
}

bool CMyLine::blockStillReferenced(int block) const { return blocks_[block].liveLines > 0; }

void CMyLine::loseLine(int block) {
    if (block < 0 || block >= blockCount_) return;
    Block& b = blocks_[block];
    if (b.liveLines > 0) --b.liveLines;
    if (block == 0 || block == currentBlock_ || blockStillReferenced(block) || !b.data) return;
    MemoryHook::release(b.data);
    allocatedBytes_ -= b.capacity;
    b = Block{nullptr, 0, 0, 0};
}

int CMyLine::storeLine(int index, const char* bytes, int length) {
    if (index < 0) return 0;
    if (length < 0) length = 0;
    if (!extendTo(index)) return 0;
    if (log_) log_->noteStore(*this, index, bytes, bytes ? length : 0);
    Entry* e = &entries_[index];
    if (bytes && e->text && length + 2 < e->room) {
        std::memmove(e->text, bytes, length);
        e->text[length] = '\0';
        e->length = length;
    } else {
        // Without bytes, `length` is the room to reserve and the line stays empty.
        int requested = length + 10;
        // No block at all when the list's first block could not be had after a clear.
        Block* b = blockCount_ > 0 ? &blocks_[currentBlock_] : nullptr;
        if (!b || !b->data || b->capacity - b->used < requested) {
            if (newBlock(nextBlockSize(requested)) < 0) return 0;
            e = &entries_[index];
            b = &blocks_[currentBlock_];
        }
        char* dest = b->data + b->used;
        int stored = bytes ? length : 0;
        if (bytes) std::memcpy(dest, bytes, stored);
        dest[stored] = '\0';
        int oldBlock = e->text ? e->block : -1;
        e->text = dest;
        e->length = stored;
        e->room = requested;
        e->block = currentBlock_;
        b->used += requested;
        ++b->liveLines;
        if (oldBlock >= 0) loseLine(oldBlock);
    }
    if (e->length > longestLine_) longestLine_ = e->length;
    return 1;
}

int CMyLine::setLine(int index, const char* bytes, int length) {
    if (index < 0) return 0;
    if (length < 0 || !bytes) length = 0;
    if (!extendTo(index)) return 0;
    const Entry& e = entries_[index];
    if (e.text) {
        reservedTotal_ += length - e.length;
        return storeLine(index, bytes ? bytes : emptyText_, length);
    }
    int64_t average = reservedTotal_ / reservedLines_;
    if (average < 30) average = 30;
    int room = length > average ? length + (reservedLines_ <= 1000 ? 30 : 10) : static_cast<int>(average);
    if (!storeLine(index, nullptr, room)) return 0;
    reservedTotal_ += length;
    ++reservedLines_;
    return storeLine(index, bytes ? bytes : emptyText_, length);
}

int CMyLine::reserveLine(int index, int length) {
    if (index < 0) return 0;
    if (index < count_ && entries_[index].text) return 1;
    return storeLine(index, nullptr, length);
}

int CMyLine::appendLine(const char* bytes, int length) {
    return storeLine(count_, bytes ? bytes : emptyText_, length);
}

int CMyLine::setLineText(int index, const char* text) {
    int length = 0;
    if (text) {
        while (static_cast<unsigned char>(text[length]) >= 0x20 || text[length] == '\t') ++length;
    }
    return setLine(index, text ? text : emptyText_, length);
}

int CMyLine::insertEmptyLine(int index) { return insertLines(index, 1); }

int CMyLine::insertLines(int index, int count) {
    if (index < 0 || count <= 0) return 0;
    if (index >= count_) return extendTo(index + count - 1) ? 1 : 0;
    if (!ensureEntries(count_ + count)) return 0;
    if (log_) log_->noteInsert(index, count);
    std::memmove(&entries_[index + count], &entries_[index], sizeof(Entry) * (count_ - index));
    std::memset(&entries_[index], 0, sizeof(Entry) * count);
    count_ += count;
    return 1;
}

void CMyLine::rescanLongest() {
    longestLine_ = 0;
    for (int i = 0; i < count_; ++i)
        if (entries_[i].length > longestLine_) longestLine_ = entries_[i].length;
}

int CMyLine::deleteLine(int index) {
    if (index < 0 || index >= count_) return 0;
    if (log_) log_->noteDelete(*this, index, 1);
    Entry gone = entries_[index];
    std::memmove(&entries_[index], &entries_[index + 1], sizeof(Entry) * (count_ - index - 1));
    std::memset(&entries_[count_ - 1], 0, sizeof(Entry));
    --count_;
    if (gone.length >= longestLine_) rescanLongest();
    if (gone.text) loseLine(gone.block);
    return 1;
}

int CMyLine::deleteLines(int index, int count) {
    if (index < 0 || index >= count_ || count <= 0) return 0;
    if (count > count_ - index) count = count_ - index;
    if (log_) log_->noteDelete(*this, index, count);
    bool longestGone = false;
    for (int i = index; i < index + count; ++i) {
        if (entries_[i].length >= longestLine_) longestGone = true;
        if (entries_[i].text) loseLine(entries_[i].block);
    }
    std::memmove(&entries_[index], &entries_[index + count], sizeof(Entry) * (count_ - index - count));
    std::memset(&entries_[count_ - count], 0, sizeof(Entry) * count);
    count_ -= count;
    if (longestGone) rescanLongest();
    return count;
}

int CMyLine::deleteLineSet(const int* sortedIndexes, int count) {
    if (!sortedIndexes || count <= 0) return 0;
    if (log_) log_->noteDeleteSet(*this, sortedIndexes, count);
    int kept = -1;  // next free slot once the first deleted line is met
    int next = 0;   // position in sortedIndexes
    int removed = 0;
    bool longestGone = false;
    for (int i = 0; i < count_; ++i) {
        while (next < count && sortedIndexes[next] < i) ++next;
        bool gone = next < count && sortedIndexes[next] == i;
        if (gone) {
            if (kept < 0) kept = i;
            if (entries_[i].length >= longestLine_) longestGone = true;
            if (entries_[i].text) loseLine(entries_[i].block);
            ++removed;
        } else if (kept >= 0) {
            entries_[kept++] = entries_[i];
        }
    }
    if (removed == 0) return 0;
    std::memset(&entries_[count_ - removed], 0, sizeof(Entry) * removed);
    count_ -= removed;
    if (longestGone) rescanLongest();
    return removed;
}

int CMyLine::swapLines(int a, int b) {
    if (a < 0 || b < 0 || a >= count_ || b >= count_) return 0;
    if (log_) log_->noteSwap(a, b);
    Entry held = entries_[a];
    entries_[a] = entries_[b];
    entries_[b] = held;
    return 1;
}

int CMyLine::permute(const int* positions, const int* order, int count) {
    if (!order || count < 0 || count > count_) return 0;
    if (count == 0) return 1;
    // One byte per place: first to refuse a repeated value in `order` (which would duplicate
    // a line and lose another) before anything moves, then to mark the places done while the
    // cycles of the permutation are followed in place.
    char* mark = static_cast<char*>(MemoryHook::allocate(static_cast<std::size_t>(count)));
    if (!mark) return 0;
    bool valid = true;
    for (int k = 0; k < count && valid; ++k) {
        const int from = order[k];
        const int target = positions ? positions[k] : k;
        valid = from >= 0 && from < count && !mark[from] && target >= 0 && target < count_;
        if (valid) mark[from] = 1;
    }
    if (valid && log_) log_->notePermute(positions, order, count);
    auto entryAt = [&](int k) -> Entry& { return entries_[positions ? positions[k] : k]; };
    for (int start = 0; start < count && valid; ++start) {
        if (!mark[start]) continue;   // already placed
        const Entry first = entryAt(start);
        int k = start;
        while (order[k] != start) {
            entryAt(k) = entryAt(order[k]);
            mark[k] = 0;
            k = order[k];
        }
        entryAt(k) = first;
        mark[k] = 0;
    }
    MemoryHook::release(mark);
    return valid ? 1 : 0;
}

const char* CMyLine::lineText(int index) const {
    if (index < 0 || index >= count_) return nullptr;
    return entries_[index].text;
}

const char* CMyLine::lineString(int index) const {
    const char* text = lineText(index);
    return text ? text : emptyText_;
}

int CMyLine::lineLength(int index) const {
    if (index < 0 || index >= count_) return 0;
    return entries_[index].length;
}

std::string CMyLine::line(int index) const {
    const char* text = lineText(index);
    return text ? std::string(text, lineLength(index)) : std::string();
}

std::size_t CMyLine::memoryBytes() const {
    return allocatedBytes_ + sizeof(Entry) * entrySlots_ + sizeof(Block) * blockSlots_;
}

int CMyLine::readTextFile(const std::string& path) {
    clear();
    std::FILE* file = FileHook::fopen(path.c_str(), "rb");
    if (!file) return -1;
    char chunk[kChunk];
    char line[kChunk];
    int lineLength = 0;
    int result = 0;
    std::size_t got;
    while (result >= 0 && (got = std::fread(chunk, 1, kChunk, file)) > 0) {
        for (std::size_t i = 0; i < got && result >= 0; ++i) {
            char c = chunk[i];
            if (c == '\n') continue;
            if (c != '\r') line[lineLength++] = c;
            if (c == '\r' || lineLength == kChunk) {
                if (!appendLine(line, lineLength)) result = -2;
                lineLength = 0;
            }
        }
    }
    if (result >= 0 && lineLength > 0 && !appendLine(line, lineLength)) result = -2;
    FileHook::fclose(file);
    return result < 0 ? result : count_;
}

int CMyLine::writeTextFile(const std::string& path) const {
    std::FILE* file = FileHook::fopen(path.c_str(), "wb");
    if (!file) return -1;
    bool ok = true;
    for (int i = 0; i < count_ && ok; ++i) {
        int length = entries_[i].length;
        if (length > 0 && FileHook::fwrite(entries_[i].text, 1, length, file) != static_cast<std::size_t>(length))
            ok = false;
        if (ok && FileHook::fwrite("\r\n", 1, 2, file) != 2) ok = false;
    }
    if (FileHook::fclose(file) != 0) ok = false;
    return ok ? count_ : -2;
}

int CMyLine::writeBlock(std::FILE* file) const {
    if (!file) return -1;
    bool ok = FileHook::fwrite("LI", 1, 2, file) == 2 && LittleEndian::write32(file, 1);
    for (int i = 0; i < count_ && ok; ++i) {
        int length = entries_[i].length;
        ok = LittleEndian::write32(file, length) &&
             (length == 0 || FileHook::fwrite(entries_[i].text, 1, length, file) == static_cast<std::size_t>(length));
    }
    ok = ok && LittleEndian::write32(file, -1);
    return ok ? count_ : -1;
}

int CMyLine::readBlock(std::FILE* file) {
    clear();
    char magic[2];
    if (!file || std::fread(magic, 1, 2, file) != 2 || magic[0] != 'L' || magic[1] != 'I') return -3;
    char* buffer = static_cast<char*>(MemoryHook::allocate(kChunk + 3));
    if (!buffer) {
        Prompt::messageBox("メモリが足りません。(-070106)", "注意");
        return -4;
    }
    long bufferSize = kChunk + 3;
    long left = remainingBytes(file);
    int32_t value = 0;
    int result = 0;
    if (!LittleEndian::read32(file, value)) left = 0;  // no version: an empty list
    else if (left >= 0) left -= 4;
    while (left != 0 && LittleEndian::read32(file, value) && value >= 0) {
        if (left > 0) left -= 4;
        // A length that runs past the end of the file is a short read: stop before allocating.
        if (left >= 0 && value > left) break;
        if (static_cast<long>(value) + 3 >= bufferSize) {
            long size = static_cast<long>(value) + 1027;
            char* larger = static_cast<char*>(MemoryHook::allocate(size));
            if (!larger) {
                Prompt::messageBox("メモリが足りません。(-070106b)", "注意");
                result = -5;
                break;
            }
            MemoryHook::release(buffer);
            buffer = larger;
            bufferSize = size;
        }
        if (std::fread(buffer, 1, value, file) != static_cast<std::size_t>(value)) break;
        if (left > 0) left -= value;
        if (!appendLine(buffer, value)) {
            result = -2;
            break;
        }
    }
    MemoryHook::release(buffer);
    return result < 0 ? result : count_;
}
