// Tests of the row sort: text and number keys, stability, several keys, the filtered view, the
// sort as an undo step (and its size), and a model comparison on random tables.
#include "store/CMyHyo.h"
#include "store/CellMatch.h"
#include "store/RowSorter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/core/CodePage.h"
#include "platform/core/GivenCodes.h"
#include "platform/core/MemoryHook.h"
#include "support/ScriptedPrompt.h"

namespace {

void fill(CMyHyo& hyo, const std::vector<std::string>& lines) {
    for (int row = 0; row < static_cast<int>(lines.size()); ++row) hyo.setRow(row, lines[row]);
}

std::vector<std::string> column(CMyHyo& hyo, int c) {
    std::vector<std::string> cells;
    for (int row = 0; row < hyo.rowCount(); ++row) cells.push_back(hyo.cellString(c, row));
    return cells;
}

std::vector<std::string> rowsOf(CMyHyo& hyo) {
    std::vector<std::string> rows;
    for (int row = 0; row < hyo.storeRowCount(); ++row) rows.push_back(hyo.rowList().line(row));
    return rows;
}

}  // namespace

TEST(Sort, TextKeyFoldsAsciiPutsKanaFirstAndDoubleByteLastKeepingEqualRowsInOrder) {
    CMyHyo hyo;
    // 表 = 95 5C, ア = 83 41, half-width ｱ = B1.
    fill(hyo, {"b\t1", "A\t2", "\x95\x5C\t3", "a\t4", "ab\t5", "\xB1\t6", "\t7", "\x83\x41\t8",
               "Z\t9", "\x02\x05\x03" "a\t10"});   // a background record before the text
    hyo.clearSortKeys();
    hyo.addSortKey(0, false, false, 0);
    EXPECT_EQ(hyo.sortRows(), 0);
    EXPECT_EQ(column(hyo, 1), (std::vector<std::string>{"7", "6", "2", "4", "10", "5", "1", "9", "8", "3"}));
    hyo.clearSortKeys();
    hyo.addSortKey(0, true, false, 0);
    hyo.sortRows();
    // Descending reverses the order but keeps equal rows (A, a, a) in the order they stood.
    EXPECT_EQ(column(hyo, 1), (std::vector<std::string>{"3", "8", "9", "1", "5", "2", "4", "10", "6", "7"}));
}

// Lent codes come after every CP932 character (FC4B is the last), in code order; a file's own
// user-defined character (F040 not lent) keeps its CP932 place before FA40.
TEST(Sort, LentCodesFollowEveryCp932CharacterInCodeOrder) {
    GivenCodes::reset();
    GivenCodes::keepNative(0xF040);
    std::string lent;
    CodePage::utf8ToCp932("\u00e9\u20ac", lent);   // é F041, € F042
    ASSERT_EQ(lent, "\xF0\x41\xF0\x42");
    CMyHyo hyo;
    fill(hyo, {"\xF0\x42\t1", "\xFC\x4B\t2", "\xF0\x41x\t3", "\xF0\x41\t4", "\xF0\x40\t5", "\xFA\x40\t6", "a\t7"});
    hyo.clearSortKeys();
    hyo.addSortKey(0, false, false, 0);
    EXPECT_EQ(hyo.sortRows(), 0);
    EXPECT_EQ(column(hyo, 1), (std::vector<std::string>{"7", "5", "6", "2", "4", "3", "1"}));
    GivenCodes::reset();
}

TEST(Sort, NumberKeyReadsTheLeadingNumberAndTreatsOtherCellsAsZero) {
    CMyHyo hyo;
    fill(hyo, {"10\ta", "-5\tb", "9a\tc", "x\td", "\te", "1e1\tf", "+2.5\tg", "b"});
    hyo.clearSortKeys();
    hyo.addSortKey(0, false, true, 0);
    hyo.sortRows();
    // x, the empty cell and b are all 0 and keep their order; 1e1 equals 10 and stays behind it.
    EXPECT_EQ(column(hyo, 0), (std::vector<std::string>{"-5", "x", "", "b", "+2.5", "9a", "10", "1e1"}));
}

TEST(Sort, LaterKeysDecideTiesAndALengthComparesOnlyTheStart) {
    CMyHyo hyo;
    fill(hyo, {"k1\t2\tx", "k2\t1\ty", "k1\t10\tz", "k10\t3\tw"});
    hyo.clearSortKeys();
    hyo.addSortKey(0, false, false, 2);   // k1, k2, k1, k1 (k10 cut to two bytes)
    hyo.addSortKey(1, true, true, 0);
    hyo.sortRows();
    EXPECT_EQ(column(hyo, 2), (std::vector<std::string>{"z", "w", "x", "y"}));
    std::vector<std::string> keys = hyo.sortKeyCells(0);
    EXPECT_EQ(keys, (std::vector<std::string>{"k1", "10"}));
    EXPECT_EQ(hyo.compareRowToKeys(0, keys), 0);
    EXPECT_GT(hyo.compareRowToKeys(1, keys), 0);   // 3 < 10, descending
    EXPECT_GT(hyo.compareRowToKeys(3, keys), 0);   // "k2" after "k1"
    EXPECT_LT(hyo.compareRowToKeys(3, {"k3", "0"}), 0);
}

TEST(Sort, ComparisonIsAnOrderEvenForEmptyCellsAndCutCharacters) {
    EXPECT_EQ(RowSorter::compareText("", ""), 0);
    EXPECT_EQ(RowSorter::compareText("ab", "ab"), 0);
    EXPECT_LT(RowSorter::compareText("", "a"), 0);
    EXPECT_GT(RowSorter::compareText("a", ""), 0);
    EXPECT_LT(RowSorter::compareText("a", "ab"), 0);
    // A lead byte cut off at the compare length is a byte of its own and nothing is read past.
    EXPECT_EQ(RowSorter::compareKey("x\x95\x5C", "x\x95\x41", 0, 2), 0);
    EXPECT_LT(RowSorter::compareKey("x\x95", "x\x95\x41", 0, 0), 0);
}

TEST(Sort, FilteredRowsMoveOnlyAmongTheirOwnStorePositions) {
    CMyHyo hyo;
    fill(hyo, {"c\tin", "z\tout", "a\tin", "y\tout", "b\tin"});
    ASSERT_EQ(hyo.applyFilter(1, "in", MatchEqual, 0, false), 0);
    hyo.clearSortKeys();
    hyo.addSortKey(0, false, false, 0);
    hyo.sortRows();
    EXPECT_EQ(column(hyo, 0), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(rowsOf(hyo), (std::vector<std::string>{"a\tin", "z\tout", "b\tin", "y\tout", "c\tin"}));
}

TEST(Sort, HeaderTitlesStayAndTheSortIsOneUndoStepBeforeTheEarlierOnes) {
    CMyHyo hyo;
    fill(hyo, {"name\tn", "b\t1", "a\t2"});
    ASSERT_EQ(hyo.takeHeaderRow(), 1);
    hyo.setCell(0, 0, "c");
    ASSERT_GT(hyo.journal().entryCount(), 0);
    hyo.clearSortKeys();
    hyo.addSortKey(1, true, false, 0);
    hyo.addSortKey(0, false, false, 0);
    hyo.sortRows();
    EXPECT_EQ(column(hyo, 0), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(hyo.columnTitle(0), "name");
    const UndoPosition at = hyo.undo();
    EXPECT_EQ(at.column, 1);   // the first key's column, top row
    EXPECT_EQ(at.row, 0);
    EXPECT_EQ(column(hyo, 0), (std::vector<std::string>{"c", "a"}));
    EXPECT_EQ(rowsOf(hyo), (std::vector<std::string>{"c\t1", "a\t2"}));
    hyo.undo();   // the edit before the sort is still there to undo
    EXPECT_EQ(column(hyo, 0), (std::vector<std::string>{"b", "a"}));
    hyo.redo();
    hyo.redo();
    EXPECT_EQ(rowsOf(hyo), (std::vector<std::string>{"a\t2", "c\t1"}));
    EXPECT_EQ(hyo.undo().row, 0);
    // Rows already in order move nothing and make no step.
    hyo.sortRows();
    const int entries = hyo.journal().entryCount();
    hyo.sortRows();
    hyo.sortRows();
    EXPECT_EQ(hyo.journal().entryCount(), entries);
}

TEST(Sort, FilteredSortUndoesAmongTheFilteredRowsAndRedoes) {
    CMyHyo hyo;
    fill(hyo, {"d\tin", "z\tout", "b\tin", "y\tout", "c\tin", "a\tin"});
    ASSERT_EQ(hyo.applyFilter(1, "in", 0, 0, false), 0);
    const std::vector<std::string> before = rowsOf(hyo);
    hyo.clearSortKeys();
    hyo.addSortKey(0, false, false, 0);
    ASSERT_EQ(hyo.sortRows(), 0);
    const std::vector<std::string> sorted{"a\tin", "z\tout", "b\tin", "y\tout", "c\tin", "d\tin"};
    EXPECT_EQ(rowsOf(hyo), sorted);
    hyo.setCell(1, 0, "x");
    hyo.undo();
    hyo.undo();
    EXPECT_EQ(rowsOf(hyo), before);
    EXPECT_TRUE(hyo.isFiltered());
    EXPECT_EQ(hyo.redo().column, 0);
    EXPECT_EQ(rowsOf(hyo), sorted);
    EXPECT_EQ(hyo.cellString(0, 0), "a");   // the seek cache follows the moved rows
}

TEST(Sort, TheOrderIsPackedAndAskedAboutWhenItDoesNotFit) {
    ScriptedPrompt prompt;
    // 1000 rows in reverse: 10 bits a row number, 1255 bytes, more than the smallest journal.
    CMyHyo hyo;
    for (int r = 0; r < 1000; ++r) hyo.setRow(r, std::to_string(100000 - r));
    hyo.journal().setLimit(1000);
    hyo.setCell(0, 0, "99999x");
    ASSERT_EQ(hyo.journal().entryCount(), 1);
    hyo.clearSortKeys();
    hyo.addSortKey(0, false, false, 0);
    prompt.answer(PromptAnswer::No);
    EXPECT_EQ(hyo.sortRows(), RowSorter::Stopped);
    EXPECT_EQ(prompt.last().text, "データが多いためUNDOで戻すことができなくなります。\nよろしいですか？");
    EXPECT_EQ(prompt.last().caption, "確認");
    EXPECT_EQ(hyo.cellString(0, 0), "99999x");
    EXPECT_EQ(hyo.journal().entryCount(), 1);
    prompt.answer(PromptAnswer::Yes);
    EXPECT_EQ(hyo.sortRows(), 0);
    EXPECT_EQ(hyo.cellString(0, 0), "99001");
    EXPECT_EQ(hyo.journal().entryCount(), 0);

    // With room, the step holds 10 bits a row: 29 + 5 + 5 + 1250 bytes.
    hyo.journal().setLimit(0);
    hyo.clearSortKeys();
    hyo.addSortKey(0, true, false, 0);
    ASSERT_EQ(hyo.sortRows(), 0);
    EXPECT_EQ(hyo.journal().usedBytes(), 1289u);
    hyo.undo();
    EXPECT_EQ(hyo.cellString(0, 0), "99001");
    EXPECT_EQ(hyo.cellString(0, 999), "99999x");
}

TEST(Sort, KeySlotsLengthLimitAndMissingFirstKey) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    fill(hyo, {"b", "a"});
    hyo.clearSortKeys();
    EXPECT_EQ(hyo.sortRows(), 0);   // no key: nothing moves
    EXPECT_EQ(hyo.cellString(0, 0), "b");
    for (int i = 0; i < 11; ++i) EXPECT_EQ(hyo.addSortKey(i, false, false, 0), 0);
    EXPECT_EQ(hyo.addSortKey(11, false, false, 0), -1);
    hyo.clearSortKeys();
    EXPECT_EQ(hyo.sortColumn[3], -1);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(hyo.addSortKey(0, false, false, 31), 0);
    EXPECT_EQ(prompt.last().text, "ソートの文字長さ制限エラーです。");
    EXPECT_EQ(prompt.last().caption, "注意");
    EXPECT_EQ(hyo.sortLength[0], 0);
    EXPECT_EQ(hyo.addSortKey(1, false, false, 30), 0);
    EXPECT_EQ(hyo.sortLength[1], 30);
}

TEST(Sort, MemoryFailureLeavesTheTableAndTheJournal) {
    ScriptedPrompt prompt;
    prompt.allowUnscripted();
    CMyHyo hyo;
    fill(hyo, {"b", "a", "c"});
    hyo.setCell(0, 2, "d");
    hyo.clearSortKeys();
    hyo.addSortKey(0, false, false, 0);
    for (int failing = 1; failing <= 8; ++failing) {
        MemoryHook::failAfter(failing);
        int result = hyo.sortRows();
        MemoryHook::failAfter(0);
        if (result == 0) break;   // past the sort's own allocations and the journal's
        // The journal's failure leaves the order unrecorded: the user is asked, and the
        // unscripted answer (No) stops the sort.
        if (result == RowSorter::Stopped) EXPECT_EQ(prompt.last().caption, "確認");
        else EXPECT_EQ(prompt.last().text, "領域確保に失敗しました。");
        EXPECT_EQ(column(hyo, 0), (std::vector<std::string>{"b", "a", "d"}));
        EXPECT_GT(hyo.journal().entryCount(), 0);
    }
}

// Reference: each character becomes (class, values): single bytes (0, folded signed byte),
// double-byte characters (1, signed lead, signed trail); a proper prefix is smaller.
namespace {
std::vector<std::vector<int>> tokens(std::string cell, int length) {
    if (length > 0 && static_cast<int>(cell.size()) > length) cell.resize(length);
    std::vector<std::vector<int>> out;
    for (std::size_t i = 0; i < cell.size();) {
        auto b = static_cast<unsigned char>(cell[i]);
        bool lead = ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) && i + 1 < cell.size();
        if (lead) {
            out.push_back({1, static_cast<signed char>(cell[i]), static_cast<signed char>(cell[i + 1])});
            i += 2;
        } else {
            int folded = (b >= 'A' && b <= 'Z') ? b + 32 : b;
            out.push_back({0, static_cast<signed char>(static_cast<unsigned char>(folded))});
            ++i;
        }
    }
    return out;
}

struct ModelKey {
    int column;
    bool descending;
    bool numeric;
    int length;
};
}  // namespace

TEST(Sort, MatchesAReferenceStableSortOnRandomTables) {
    std::mt19937 random(2024);
    const std::vector<std::string> pieces = {"a", "A", "b", "B", "z", "\xB1", "\xDF", "\x95\x5C",
                                             "\x83\x41", "\x83\x61", "0", "~", " ", "\x81"};
    for (int round = 0; round < 40; ++round) {
        const int rows = 1 + static_cast<int>(random() % 120);
        const int columns = 1 + static_cast<int>(random() % 4);
        std::vector<std::vector<std::string>> table(rows);
        std::vector<std::vector<long>> values(rows);
        for (auto& row : table) {
            int width = static_cast<int>(random() % (columns + 1));   // short rows: missing cells
            for (int c = 0; c < width; ++c) {
                // Half the cells share a start longer than what the sort keeps beside each
                // row, so the cells themselves decide.
                std::string cell = random() % 2 ? "abA\x83\x41" : "";
                int count = static_cast<int>(random() % 5);
                for (int i = 0; i < count; ++i) cell += pieces[random() % pieces.size()];
                row.push_back(cell);
            }
        }
        std::vector<ModelKey> keys;
        int keyCount = 1 + static_cast<int>(random() % 3);
        for (int k = 0; k < keyCount; ++k)
            keys.push_back({static_cast<int>(random() % columns), random() % 2 == 0, random() % 3 == 0,
                            static_cast<int>(random() % 4)});
        // Numeric key columns hold numbers with known values, some with a unit or no number.
        for (const ModelKey& key : keys) {
            if (!key.numeric) continue;
            for (auto& row : table) {
                if (static_cast<int>(row.size()) <= key.column) continue;
                long value = static_cast<long>(random() % 21) - 10;
                int shape = static_cast<int>(random() % 4);
                row[key.column] = shape == 0 ? "n/a" : std::to_string(value) + (shape == 1 ? "kg" : "");
            }
        }
        auto cell = [&](int row, int c) {
            return c < static_cast<int>(table[row].size()) ? table[row][c] : std::string();
        };
        auto number = [&](int row, int c) {
            std::string text = cell(row, c);
            return text.empty() || text == "n/a" ? 0L : std::stol(text);
        };

        CMyHyo hyo;
        for (int r = 0; r < rows; ++r) {
            std::string line;
            for (std::size_t c = 0; c < table[r].size(); ++c) line += (c ? "\t" : "") + table[r][c];
            hyo.setRow(r, line);
        }
        hyo.clearSortKeys();
        for (const ModelKey& key : keys)
            hyo.addSortKey(key.column, key.descending, key.numeric, key.numeric ? 0 : key.length);
        const std::vector<std::string> unsorted = rowsOf(hyo);
        ASSERT_EQ(hyo.sortRows(), 0);
        const std::vector<std::string> sorted = rowsOf(hyo);
        hyo.undo();
        ASSERT_EQ(rowsOf(hyo), unsorted) << "round " << round;
        hyo.redo();
        ASSERT_EQ(rowsOf(hyo), sorted) << "round " << round;

        std::vector<int> order(rows);
        for (int r = 0; r < rows; ++r) order[r] = r;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            for (const ModelKey& key : keys) {
                int result;
                if (key.numeric) {
                    long p = number(a, key.column), q = number(b, key.column);
                    result = p < q ? -1 : p > q;
                } else {
                    auto p = tokens(cell(a, key.column), key.length);
                    auto q = tokens(cell(b, key.column), key.length);
                    result = p < q ? -1 : q < p;
                }
                if (result) return key.descending ? result > 0 : result < 0;
            }
            return false;
        });
        for (int r = 0; r < rows; ++r) {
            std::string expected;
            for (std::size_t c = 0; c < table[order[r]].size(); ++c)
                expected += (c ? "\t" : "") + table[order[r]][c];
            ASSERT_EQ(hyo.rowList().line(r), expected) << "round " << round << " row " << r;
        }
    }
}
