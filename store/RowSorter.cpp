// RowSorter: key extraction, the key comparison and the one-pass reordering of the rows.
#include "store/RowSorter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/core/CodePage.h"
#include "platform/core/GivenCodes.h"
#include "platform/core/MemoryHook.h"
#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"
#include "store/NumberText.h"
#include "store/Progress.h"
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

// Characters lent a code of the user-defined area sort after every CP932 character, in code order.
constexpr uint64_t LentPack = 0x7E01;   // above every CP932 double-byte pack (at most 0x7DFF)

bool isLent(char lead, char trail) {
    return GivenCodes::isGiven(static_cast<uint16_t>(static_cast<unsigned char>(lead) << 8 | static_cast<unsigned char>(trail)));
}

// For two double-byte characters: their order when either is lent, else 0.
int compareLent(std::string_view a, std::string_view b) {
    if (static_cast<unsigned char>(a[0]) < 0xF0 && static_cast<unsigned char>(b[0]) < 0xF0) return 0;
    const bool lentA = isLent(a[0], a[1]), lentB = isLent(b[0], b[1]);
    if (!lentA && !lentB) return 0;
    if (lentA != lentB) return lentA ? 1 : -1;
    const auto codeA = static_cast<unsigned char>(a[0]) << 8 | static_cast<unsigned char>(a[1]);
    const auto codeB = static_cast<unsigned char>(b[0]) << 8 | static_cast<unsigned char>(b[1]);
    return codeA == codeB ? 0 : codeA < codeB ? -1 : 1;
}

// A text key's first four characters packed so that comparing two packs as numbers orders
// them as compareText does: 15 bits a character (single bytes 1-256 by their folded signed
// value, double-byte characters from 0x201 by signed lead and trail byte, 0 after the end),
// and the lowest bit set when the cell goes on beyond them or holds a lent code (they share
// one value above every CP932 character). Most comparisons end here,
// without reading the cells from the rows scattered through memory.
uint64_t packPrefix(std::string_view cell) {
    uint64_t pack = 0;
    std::size_t i = 0;
    bool lentSeen = false;   // lent codes share one value: what follows is left to compareText
    for (int slot = 0; slot < 4 && !lentSeen; ++slot) {
        uint64_t code = 0;
        if (i < cell.size()) {
            const auto byte = static_cast<unsigned char>(cell[i]);
            if (kTables.lead[byte] && i + 1 < cell.size()) {
                code = 0x101 + ((signedByte(cell[i]) + 128) << 8) + (signedByte(cell[i + 1]) + 128);
                // Lent codes follow every CP932 character; compareText orders them among themselves.
                if (byte >= 0xF0 && isLent(cell[i], cell[i + 1])) code = LentPack, lentSeen = true;
                i += 2;
            } else {
                code = static_cast<uint64_t>(kTables.rank[byte] + 129);
                i += 1;
            }
        }
        pack |= code << (49 - 15 * slot);
    }
    return pack | (i < cell.size() || lentSeen ? 1 : 0);
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
            const int lent = compareLent(a.substr(i, 2), b.substr(i, 2));
            if (lent != 0) return lent;
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

// The working memory of one sort and its steps.
class SortWork {
public:
    SortWork(CMyHyo& hyo, int keyCount) : hyo_(hyo), keyCount_(keyCount), n_(hyo.rowCount()) {}

    bool allocate() {
        leads_ = std::make_unique<Scratch<Lead>>(n_);
        order_ = std::make_unique<Scratch<int>>(n_);
        positions_ = std::make_unique<Scratch<int>>(hyo_.isFiltered() ? n_ : 0);
        bool ok = leads_->data && order_->data && positions_->data;
        for (int k = 0; k < keyCount_ && ok; ++k) {
            SortKey& key = keys_[k];
            key.column = hyo_.sortColumn[k];
            key.flags = hyo_.sortFlags[k];
            key.length = std::clamp(hyo_.sortLength[k], 0, RowSorter::MaxKeyLength);
            if (k == 0) continue;   // the first key lives in the leads
            if (key.flags & RowSorter::Numeric) {
                numberBlocks_[k] = std::make_unique<Scratch<double>>(n_);
                ok = (key.numbers = numberBlocks_[k]->data) != nullptr;
            } else {
                packBlocks_[k] = std::make_unique<Scratch<uint64_t>>(n_);
                ok = (key.packs = packBlocks_[k]->data) != nullptr;
            }
        }
        return ok;
    }

    // One pass over the rows locates every key cell once; false when the user stopped it.
    bool extract(Progress& progress) {
        const bool firstIsText = !(keys_[0].flags & RowSorter::Numeric);
        for (int row = 0; row < n_; ++row) {
            if (!progress.report(row)) return false;
            if (hyo_.isFiltered()) positions_->data[row] = hyo_.storeRow(row);
            const char* text = hyo_.rowText(row);
            const int length = hyo_.rowLength(row);
            for (int k = 0; k < keyCount_; ++k) {
                const std::string_view cell = cut(RowSorter::keyCell(text, length, keys_[k].column), keys_[k].length);
                if (k == 0) {
                    const uint64_t pack = firstIsText ? packPrefix(cell) : orderedBits(NumberText::sortKey(cell));
                    leads_->data[row] = Lead{firstDescending() ? ~pack : pack, row};
                } else if (keys_[k].numbers) {
                    keys_[k].numbers[row] = NumberText::sortKey(cell);
                } else {
                    keys_[k].packs[row] = packPrefix(cell);
                }
            }
        }
        return true;
    }

    // The leads sit side by side in memory, so most of the sort never reads a row; runs of
    // equal leads are then ordered by the whole keys. False when the user stopped it (no row
    // has moved yet).
    bool orderRows(Progress& progress) {
        std::stable_sort(leads_->data, leads_->data + n_, [](const Lead& a, const Lead& b) { return a.pack < b.pack; });
        for (int begin = 0; begin < n_;) {
            if (!progress.report(static_cast<long long>(n_) + begin)) return false;
            int end = begin + 1;
            while (end < n_ && leads_->data[end].pack == leads_->data[begin].pack) ++end;
            if (end - begin > 1) orderRun(begin, end);
            begin = end;
        }
        for (int i = 0; i < n_; ++i) order_->data[i] = leads_->data[i].row;
        leads_.reset();
        return true;
    }

    const int* order() const { return order_->data; }

    bool apply() {
        return hyo_.rowList().permute(hyo_.isFiltered() ? positions_->data : nullptr, order_->data, n_) == 1;
    }

private:
    bool firstDescending() const { return keys_[0].flags & RowSorter::Descending; }

    // The first key's whole cells decide when they go on past the pack, then the other keys;
    // text cells are located at most once per row of the run.
    void orderRun(int begin, int end) {
        const uint64_t pack = firstDescending() ? ~leads_->data[begin].pack : leads_->data[begin].pack;
        const bool wholeFirst = !(keys_[0].flags & RowSorter::Numeric) && (pack & 1);
        if (!wholeFirst && keyCount_ == 1) return;   // equal keys: the order stays
        const int length = end - begin;
        run_.resize(length);
        sorted_.resize(length);
        cells_.assign(static_cast<std::size_t>(length) * keyCount_, std::string_view());
        for (int i = 0; i < length; ++i) {
            run_[i] = leads_->data[begin + i].row;
            sorted_[i] = i;
        }
        std::stable_sort(sorted_.begin(), sorted_.end(),
                         [&](int a, int b) { return compareInRun(a, b, wholeFirst) < 0; });
        for (int i = 0; i < length; ++i) leads_->data[begin + i].row = run_[sorted_[i]];
    }

    int compareInRun(int a, int b, bool wholeFirst) {
        const int rowA = run_[a];
        const int rowB = run_[b];
        for (int k = 0; k < keyCount_; ++k) {
            const SortKey& key = keys_[k];
            int result = 0;
            if (k == 0) {
                if (wholeFirst) result = RowSorter::compareText(cell(a, 0), cell(b, 0));
            } else if (key.numbers) {
                result = key.numbers[rowA] < key.numbers[rowB] ? -1 : (key.numbers[rowA] > key.numbers[rowB] ? 1 : 0);
            } else if (key.packs[rowA] != key.packs[rowB]) {
                result = key.packs[rowA] < key.packs[rowB] ? -1 : 1;
            } else if (key.packs[rowA] & 1) {
                result = RowSorter::compareText(cell(a, k), cell(b, k));
            }
            if (result != 0) return (key.flags & RowSorter::Descending) ? -result : result;
        }
        return 0;
    }

    std::string_view cell(int position, int k) {
        std::string_view& slot = cells_[static_cast<std::size_t>(position) * keyCount_ + k];
        if (!slot.data()) {
            const int row = run_[position];
            slot = cut(RowSorter::keyCell(hyo_.rowText(row), hyo_.rowLength(row), keys_[k].column), keys_[k].length);
        }
        return slot;
    }

    CMyHyo& hyo_;
    const int keyCount_;
    const int n_;
    std::array<SortKey, SortKeySlots> keys_;
    std::array<std::unique_ptr<Scratch<uint64_t>>, SortKeySlots> packBlocks_;
    std::array<std::unique_ptr<Scratch<double>>, SortKeySlots> numberBlocks_;
    std::unique_ptr<Scratch<Lead>> leads_;
    std::unique_ptr<Scratch<int>> order_;
    std::unique_ptr<Scratch<int>> positions_;
    std::vector<int> run_;                  // rows of the run being ordered
    std::vector<int> sorted_;               // positions in the run, in their new order
    std::vector<std::string_view> cells_;   // run position * keyCount + key
};

}  // namespace

int RowSorter::sort(CMyHyo& hyo, const BeforeMove& beforeMove) {
    int keyCount = 0;
    while (keyCount < std::min(hyo.sortKeyCount, SortKeySlots) && hyo.sortColumn[keyCount] >= 0) ++keyCount;
    if (keyCount == 0 || hyo.rowCount() < 2) return 0;
    SortWork work(hyo, keyCount);
    if (!work.allocate()) {
        Prompt::warn(kNoMemory);
        return -1;
    }
    // Half the reports come from locating the keys, half from ordering the runs of equal leads.
    Progress progress("並べ替え", 2LL * hyo.rowCount());
    if (!work.extract(progress) || !work.orderRows(progress)) return Stopped;
    if (beforeMove && !beforeMove(work.order(), hyo.rowCount())) return Stopped;
    if (!work.apply()) {
        Prompt::warn(kNoMemory);
        return -1;
    }
    return 0;
}
