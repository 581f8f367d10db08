// SortUndo: packs a sort's row order into the journal and sends the rows back on undo.
#include "store/SortUndo.h"

#include <cstdint>
#include <vector>

#include "store/CMyHyo.h"
#include "store/LittleEndian.h"
#include "store/UndoArea.h"

namespace {
constexpr int kHead = 5;   // int32 count, bits per number

int bitsFor(int count) {
    int bits = 1;
    while (bits < 31 && (1L << bits) < count) ++bits;
    return bits;
}

std::vector<unsigned char> pack(const int* order, int count) {
    const int bits = bitsFor(count);
    std::vector<unsigned char> bytes(kHead + (static_cast<std::size_t>(count) * bits + 7) / 8);
    LittleEndian::put32(reinterpret_cast<char*>(bytes.data()), count);
    bytes[4] = static_cast<unsigned char>(bits);
    std::size_t at = static_cast<std::size_t>(kHead) * 8;
    for (int k = 0; k < count; ++k)
        for (int b = 0; b < bits; ++b, ++at)
            if ((order[k] >> b) & 1) bytes[at / 8] |= static_cast<unsigned char>(1u << (at % 8));
    return bytes;
}

// The order from the record, or empty when the record is not one this journal wrote.
std::vector<int> unpack(const unsigned char* data, long length) {
    if (length < kHead) return {};
    const int count = LittleEndian::get32(reinterpret_cast<const char*>(data));
    const int bits = data[4];
    if (count <= 0 || bits != bitsFor(count) || (length - kHead) * 8 < static_cast<long>(count) * bits) return {};
    std::vector<int> order(static_cast<std::size_t>(count));
    std::size_t at = static_cast<std::size_t>(kHead) * 8;
    for (int k = 0; k < count; ++k) {
        int value = 0;
        for (int b = 0; b < bits; ++b, ++at) value |= ((data[at / 8] >> (at % 8)) & 1) << b;
        order[k] = value;
    }
    return order;
}
}  // namespace

bool SortUndo::record(CMyUndo& journal, int column, const int* order, int count) {
    bool moves = false;
    for (int k = 0; k < count && !moves; ++k) moves = order[k] != k;
    if (!moves) return true;
    if (!journal.recording()) {
        journal.clear();   // the journal cannot describe the table once the rows have moved
        return true;
    }
    UndoArea area(journal, UndoRowsSorted, 0, column, 0, column, count - 1);
    if (area.collecting()) {
        const std::vector<unsigned char> bytes = pack(order, count);
        journal.appendData(bytes.data(), static_cast<int>(bytes.size()));
    }
    return area.commit();
}

void SortUndo::replay(CMyHyo& hyo, const UndoEntry& entry) {
    if (entry.recordCount < 1 || entry.payloadLength < 1) return;
    const unsigned char* p = entry.payload;
    long length = p[0];
    const unsigned char* data = p + 1;
    if (p[0] == UndoLongData) {
        if (entry.payloadLength < 5) return;
        length = LittleEndian::get32(reinterpret_cast<const char*>(p + 1));
        data = p + 5;
    } else if (p[0] > UndoMaxShortData) {
        return;
    }
    if (length > entry.payloadLength - (data - p)) return;
    const std::vector<int> order = unpack(data, length);
    const int count = static_cast<int>(order.size());
    if (count == 0 || count != hyo.rowCount()) return;
    // Row order[k] went to position k: it goes back from k to order[k].
    std::vector<int> back(order.size(), -1);
    for (int k = 0; k < count; ++k) {
        if (order[k] < 0 || order[k] >= count || back[order[k]] >= 0) return;
        back[order[k]] = k;
    }
    std::vector<int> positions;
    if (hyo.isFiltered()) {
        positions.resize(order.size());
        for (int k = 0; k < count; ++k) positions[k] = hyo.filterStoreRow(k);
    }
    hyo.rowList().permute(positions.empty() ? nullptr : positions.data(), back.data(), count);
    hyo.forgetSeek();
}
