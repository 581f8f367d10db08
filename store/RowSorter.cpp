// RowSorter: key extraction, the key comparison and the one-pass reordering of the rows.
#include "store/RowSorter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

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

struct KeyCell {
    const char* text;
    int32_t length;
};

// The located keys of every view row: text keys keep the cell, numeric keys its value.
struct SortKey {
    int flags = 0;
    int length = 0;
    KeyCell* cells = nullptr;
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

int RowSorter::sort(CMyHyo& hyo) {
    const int n = hyo.rowCount();
    int keyCount = 0;
    while (keyCount < std::min(hyo.sortKeyCount, SortKeySlots) && hyo.sortColumn[keyCount] >= 0) ++keyCount;
    if (keyCount == 0 || n < 2) return 0;

    Scratch<int> order(n);
    Scratch<int> positions(hyo.isFiltered() ? n : 0);
    std::array<SortKey, SortKeySlots> keys;
    std::array<std::unique_ptr<Scratch<KeyCell>>, SortKeySlots> cellBlocks;
    std::array<std::unique_ptr<Scratch<double>>, SortKeySlots> numberBlocks;
    bool ok = order.data && positions.data;
    for (int k = 0; k < keyCount && ok; ++k) {
        keys[k].flags = hyo.sortFlags[k];
        keys[k].length = std::clamp(hyo.sortLength[k], 0, MaxKeyLength);
        if (keys[k].flags & Numeric) {
            numberBlocks[k] = std::make_unique<Scratch<double>>(n);
            keys[k].numbers = numberBlocks[k]->data;
            ok = keys[k].numbers != nullptr;
        } else {
            cellBlocks[k] = std::make_unique<Scratch<KeyCell>>(n);
            keys[k].cells = cellBlocks[k]->data;
            ok = keys[k].cells != nullptr;
        }
    }
    if (!ok) {
        Prompt::warn(kNoMemory);
        return -1;
    }

    for (int row = 0; row < n; ++row) {
        order.data[row] = row;
        if (hyo.isFiltered()) positions.data[row] = hyo.storeRow(row);
        const char* text = hyo.rowText(row);
        const int length = hyo.rowLength(row);
        for (int k = 0; k < keyCount; ++k) {
            const std::string_view cell = cut(keyCell(text, length, hyo.sortColumn[k]), keys[k].length);
            if (keys[k].numbers) keys[k].numbers[row] = NumberText::sortKey(cell);
            else keys[k].cells[row] = KeyCell{cell.data(), static_cast<int32_t>(cell.size())};
        }
    }

    auto less = [&keys, keyCount](int a, int b) {
        for (int k = 0; k < keyCount; ++k) {
            const SortKey& key = keys[k];
            int result;
            if (key.numbers) {
                const double p = key.numbers[a];
                const double q = key.numbers[b];
                result = p < q ? -1 : (p > q ? 1 : 0);
            } else {
                result = compareText(std::string_view(key.cells[a].text, key.cells[a].length),
                                     std::string_view(key.cells[b].text, key.cells[b].length));
            }
            if (result != 0) return (key.flags & Descending) ? result > 0 : result < 0;
        }
        return false;
    };
    std::stable_sort(order.data, order.data + n, less);

    if (!hyo.rowList().permute(hyo.isFiltered() ? positions.data : nullptr, order.data, n)) {
        Prompt::warn(kNoMemory);
        return -1;
    }
    return 0;
}
