// RowSorter: key extraction, the key comparison and the one-pass reordering of the rows.
#include "store/RowSorter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/core/CodePage.h"
#include "platform/core/MemoryHook.h"
#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"
#include "store/NumberText.h"
#include "store/RowFormat.h"

namespace {

const char* const kNoMemory = "領域確保に失敗しました。";

struct ByteTables {
    std::array<int, 256> rank{};   // signed byte value, A-Z folded to a-z
    std::array<bool, 256> lead{};
    ByteTables() {
        for (int b = 0; b < 256; ++b) {
            int folded = (b >= 'A' && b <= 'Z') ? b + ('a' - 'A') : b;
            rank[b] = static_cast<signed char>(static_cast<unsigned char>(folded));
            lead[b] = CodePage::isLeadByte(static_cast<unsigned char>(b));
        }
    }
};
const ByteTables kTables;

int signedByte(char c) { return static_cast<signed char>(c); }

std::string_view cut(std::string_view cell, int length) {
    return length > 0 && cell.size() > static_cast<std::size_t>(length) ? cell.substr(0, length) : cell;
}

// A memory block from MemoryHook released at the end of the sort.
template <typename T>
struct Scratch {
    T* data = nullptr;
    explicit Scratch(std::size_t count) {
        data = static_cast<T*>(MemoryHook::allocate(sizeof(T) * (count ? count : 1)));
    }
    ~Scratch() { MemoryHook::release(data); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
};

// A text key's first four characters packed so that comparing two packs as numbers orders
// them as compareText does: 15 bits a character (single bytes 1-256 by their folded signed
// value, double-byte characters from 0x201 by signed lead and trail byte, 0 after the end),
// and the lowest bit set when the cell goes on beyond them. Most comparisons end here,
// without reading the cells from the rows scattered through memory.
uint64_t packPrefix(std::string_view cell) {
    uint64_t pack = 0;
    std::size_t i = 0;
    for (int slot = 0; slot < 4; ++slot) {
        uint64_t code = 0;
        if (i < cell.size()) {
            const auto byte = static_cast<unsigned char>(cell[i]);
            if (kTables.lead[byte] && i + 1 < cell.size()) {
                code = 0x101 + ((signedByte(cell[i]) + 128) << 8) + (signedByte(cell[i + 1]) + 128);
                i += 2;
            } else {
                code = static_cast<uint64_t>(kTables.rank[byte] + 129);
                i += 1;
            }
        }
        pack |= code << (49 - 15 * slot);
    }
    return pack | (i < cell.size() ? 1 : 0);
}

// The located keys of every view row: text keys keep the packed start of the cell (the cell
// itself is found again in the row when two packs tie), numeric keys the value.
struct SortKey {
    int column = 0;
    int flags = 0;
    int length = 0;
    uint64_t* packs = nullptr;
    double* numbers = nullptr;
};

}  // namespace

int RowSorter::compareText(std::string_view a, std::string_view b) {
    const auto* x = reinterpret_cast<const unsigned char*>(a.data());
    const auto* y = reinterpret_cast<const unsigned char*>(b.data());
    const std::size_t na = a.size();
    const std::size_t nb = b.size();
    std::size_t i = 0;
    for (;;) {
        if (i >= na) return i >= nb ? 0 : -1;
        if (i >= nb) return 1;
        // A lead byte in the last position is a character of its own (nothing is read past
        // the cell or the compare length).
        const bool doubleA = kTables.lead[x[i]] && i + 1 < na;
        const bool doubleB = kTables.lead[y[i]] && i + 1 < nb;
        if (doubleA != doubleB) return doubleA ? 1 : -1;
        if (doubleA) {
            for (int k = 0; k < 2; ++k, ++i) {
                const int p = signedByte(a[i]);
                const int q = signedByte(b[i]);
                if (p != q) return p < q ? -1 : 1;
            }
            continue;
        }
        const int p = kTables.rank[x[i]];
        const int q = kTables.rank[y[i]];
        if (p != q) return p < q ? -1 : 1;
        ++i;
    }
}

int RowSorter::compareKey(std::string_view a, std::string_view b, int flags, int length) {
    a = cut(a, length);
    b = cut(b, length);
    int result;
    if (flags & Numeric) {
        const double p = NumberText::sortKey(a);
        const double q = NumberText::sortKey(b);
        result = p < q ? -1 : (p > q ? 1 : 0);
    } else {
        result = compareText(a, b);
    }
    return (flags & Descending) ? -result : result;
}

std::string_view RowSorter::keyCell(const char* row, int length, int column) {
    if (!row || column < 0) return {};
    const CellSpan span = RowFormat::locate(row, length, column);
    if (!span.exists) return {};
    return std::string_view(row + span.textStart, static_cast<std::size_t>(span.end - span.textStart));
}

namespace {

// Numbers as unsigned integers in the same order (-0 is 0, so equal values stay in order).
uint64_t orderedBits(double value) {
    if (value == 0) value = 0;
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return (bits >> 63) ? ~bits : bits | (uint64_t{1} << 63);
}

// The first key of a row, packed so that unsigned order is the key's order, directions
// included; rows with equal packs are then ordered by the whole keys.
struct Lead {
    uint64_t pack;
    int32_t row;
};

}  // namespace

int RowSorter::sort(CMyHyo& hyo) {
    const int n = hyo.rowCount();
    int keyCount = 0;
    while (keyCount < std::min(hyo.sortKeyCount, SortKeySlots) && hyo.sortColumn[keyCount] >= 0) ++keyCount;
    if (keyCount == 0 || n < 2) return 0;

    std::array<SortKey, SortKeySlots> keys;
    std::array<std::unique_ptr<Scratch<uint64_t>>, SortKeySlots> packBlocks;
    std::array<std::unique_ptr<Scratch<double>>, SortKeySlots> numberBlocks;
    auto leads = std::make_unique<Scratch<Lead>>(n);
    Scratch<int> order(n);
    Scratch<int> positions(hyo.isFiltered() ? n : 0);
    bool ok = leads->data && order.data && positions.data;
    for (int k = 0; k < keyCount && ok; ++k) {
        keys[k].column = hyo.sortColumn[k];
        keys[k].flags = hyo.sortFlags[k];
        keys[k].length = std::clamp(hyo.sortLength[k], 0, MaxKeyLength);
        if (k == 0) continue;   // the first key lives in the leads
        if (keys[k].flags & Numeric) {
            numberBlocks[k] = std::make_unique<Scratch<double>>(n);
            keys[k].numbers = numberBlocks[k]->data;
            ok = keys[k].numbers != nullptr;
        } else {
            packBlocks[k] = std::make_unique<Scratch<uint64_t>>(n);
            keys[k].packs = packBlocks[k]->data;
            ok = keys[k].packs != nullptr;
        }
    }
    if (!ok) {
        Prompt::warn(kNoMemory);
        return -1;
    }

    const SortKey& first = keys[0];
    const bool firstIsText = !(first.flags & Numeric);
    const bool firstDescending = first.flags & Descending;
    for (int row = 0; row < n; ++row) {
        if (hyo.isFiltered()) positions.data[row] = hyo.storeRow(row);
        const char* text = hyo.rowText(row);
        const int length = hyo.rowLength(row);
        for (int k = 0; k < keyCount; ++k) {
            const std::string_view cell = cut(keyCell(text, length, keys[k].column), keys[k].length);
            if (k == 0) {
                const uint64_t pack = firstIsText ? packPrefix(cell) : orderedBits(NumberText::sortKey(cell));
                leads->data[row] = Lead{firstDescending ? ~pack : pack, row};
            } else if (keys[k].numbers) {
                keys[k].numbers[row] = NumberText::sortKey(cell);
            } else {
                keys[k].packs[row] = packPrefix(cell);
            }
        }
    }

    auto cellOf = [&hyo](const SortKey& key, int row) {
        return cut(keyCell(hyo.rowText(row), hyo.rowLength(row), key.column), key.length);
    };
    // The leads sit side by side in memory, so most of the sort never reads a row.
    std::stable_sort(leads->data, leads->data + n, [](const Lead& a, const Lead& b) { return a.pack < b.pack; });

    // Runs of equal leads are ordered by the whole keys: the first key's cells when they go on
    // past the pack, then the other keys, whose text cells are located once per row of the run.
    std::vector<int> run;
    std::vector<std::string_view> cells;   // run position * keyCount + key
    auto cell = [&](int position, int k, int row) {
        std::string_view& slot = cells[static_cast<std::size_t>(position) * keyCount + k];
        if (!slot.data()) slot = cellOf(keys[k], row);
        return slot;
    };
    auto compareRun = [&](int a, int b, bool wholeFirst) {
        for (int k = 0; k < keyCount; ++k) {
            const SortKey& key = keys[k];
            const int rowA = run[a];
            const int rowB = run[b];
            int result = 0;
            if (k == 0) {
                if (wholeFirst) result = compareText(cell(a, 0, rowA), cell(b, 0, rowB));
            } else if (key.numbers) {
                const double p = key.numbers[rowA];
                const double q = key.numbers[rowB];
                result = p < q ? -1 : (p > q ? 1 : 0);
            } else if (key.packs[rowA] != key.packs[rowB]) {
                result = key.packs[rowA] < key.packs[rowB] ? -1 : 1;
            } else if (key.packs[rowA] & 1) {
                result = compareText(cell(a, k, rowA), cell(b, k, rowB));
            }
            if (result != 0) return (key.flags & Descending) ? -result : result;
        }
        return 0;
    };
    std::vector<int> positionsInRun;
    for (int begin = 0; begin < n;) {
        int end = begin + 1;
        while (end < n && leads->data[end].pack == leads->data[begin].pack) ++end;
        const uint64_t pack = firstDescending ? ~leads->data[begin].pack : leads->data[begin].pack;
        const bool wholeFirst = firstIsText && (pack & 1);
        if (end - begin > 1 && (wholeFirst || keyCount > 1)) {
            const int length = end - begin;
            run.resize(length);
            positionsInRun.resize(length);
            cells.assign(static_cast<std::size_t>(length) * keyCount, std::string_view());
            for (int i = 0; i < length; ++i) {
                run[i] = leads->data[begin + i].row;
                positionsInRun[i] = i;
            }
            std::stable_sort(positionsInRun.begin(), positionsInRun.end(),
                             [&](int a, int b) { return compareRun(a, b, wholeFirst) < 0; });
            for (int i = 0; i < length; ++i) leads->data[begin + i].row = run[positionsInRun[i]];
        }
        begin = end;
    }
    for (int i = 0; i < n; ++i) order.data[i] = leads->data[i].row;
    leads.reset();

    if (!hyo.rowList().permute(hyo.isFiltered() ? positions.data : nullptr, order.data, n)) {
        Prompt::warn(kNoMemory);
        return -1;
    }
    return 0;
}
