// Model-based test: random edits and sorts against CMyHyo and a plain model, with undo and
// redo interleaved; every undo and redo must give back the table's exact bytes.
#include "store/CMyHyo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "store/RowFormat.h"
#include "store/UndoArea.h"

namespace {
struct Cell {
    std::string text;
    int colour = -1;
    bool operator==(const Cell&) const = default;
};
struct Row {
    std::vector<Cell> cells;
    int height = 16;
    int colour = -1;
};
struct Column {
    int width = 64;
    std::string title;
};

// The expected table: store rows, the filter list, column records and header mode.
struct Model {
    std::vector<Row> rows;
    std::vector<int> filter;
    bool filtered = false;
    std::vector<Column> columns;
    bool header = false;

    int viewCount() const { return filtered ? static_cast<int>(filter.size()) : static_cast<int>(rows.size()); }
    int mapRead(int view) const { return filtered ? (view < viewCount() ? filter[view] : -1) : view; }
    int mapWrite(int view) {
        if (!filtered) {
            if (view >= static_cast<int>(rows.size())) rows.resize(view + 1);
            return view;
        }
        while (viewCount() <= view) {
            filter.push_back(static_cast<int>(rows.size()));
            rows.emplace_back();
        }
        return filter[view];
    }
    void setText(int column, int view, const std::string& text) {
        Row& row = rows[mapWrite(view)];
        if (static_cast<int>(row.cells.size()) <= column) row.cells.resize(column + 1);
        row.cells[column].text = text;
    }
    void setColour(int column, int view, int value, bool set) {
        int index = mapRead(view);
        bool exists = index >= 0 && index < static_cast<int>(rows.size()) &&
                      static_cast<int>(rows[index].cells.size()) > column;
        if (!set && !exists) return;
        Row& row = rows[mapWrite(view)];
        if (static_cast<int>(row.cells.size()) <= column) row.cells.resize(column + 1);
        row.cells[column].colour = set ? value : -1;
    }
    void insertRows(int first, int count) {
        if (first >= viewCount()) return;
        int at = mapRead(first);
        rows.insert(rows.begin() + at, count, Row{});
        if (!filtered) return;
        for (int& entry : filter)
            if (entry >= at) entry += count;
        for (int i = 0; i < count; ++i) filter.insert(filter.begin() + first + i, at + i);
    }
    void deleteRows(int first, int last) {
        last = std::min(last, viewCount() - 1);
        if (first > last) return;
        std::vector<int> gone;
        for (int view = first; view <= last; ++view) gone.push_back(mapRead(view));
        std::sort(gone.begin(), gone.end());
        for (int i = static_cast<int>(gone.size()) - 1; i >= 0; --i) rows.erase(rows.begin() + gone[i]);
        if (!filtered) return;
        filter.erase(filter.begin() + first, filter.begin() + last + 1);
        for (int& entry : filter)
            entry -= static_cast<int>(std::lower_bound(gone.begin(), gone.end(), entry) - gone.begin());
    }
    void insertColumns(int first, int count) {
        if (static_cast<int>(columns.size()) > first) columns.insert(columns.begin() + first, count, Column{});
        for (Row& row : rows)
            if (static_cast<int>(row.cells.size()) > first) row.cells.insert(row.cells.begin() + first, count, Cell{});
    }
    void deleteColumns(int first, int last) {
        int size = static_cast<int>(columns.size());
        if (size > first) columns.erase(columns.begin() + first, columns.begin() + std::min(last + 1, size));
        for (Row& row : rows) {
            int cells = static_cast<int>(row.cells.size());
            if (cells > first) row.cells.erase(row.cells.begin() + first, row.cells.begin() + std::min(last + 1, cells));
        }
    }
    // A row holding one empty cell is the empty row: there are no bytes to tell them apart.
    void normalise() {
        for (Row& row : rows)
            if (row.cells.size() == 1 && row.cells[0] == Cell{}) row.cells.clear();
    }
    void ensureColumn(int column) {
        if (static_cast<int>(columns.size()) <= column) columns.resize(column + 1);
    }
    void takeHeader() {
        if (!rows.empty()) {
            const Row& first = rows[0];
            for (int c = 0; c < static_cast<int>(first.cells.size()); ++c) {
                std::string title = first.cells[c].text.substr(0, 60);
                if (title.empty() && c >= static_cast<int>(columns.size())) continue;
                ensureColumn(c);
                columns[c].title = title;
            }
            rows.erase(rows.begin());
        }
        header = true;
    }
    void restoreHeader() {
        int lastTitled = -1;
        for (int c = 0; c < static_cast<int>(columns.size()); ++c)
            if (!columns[c].title.empty()) lastTitled = c;
        Row row;
        for (int c = 0; c <= lastTitled; ++c) row.cells.push_back(Cell{columns[c].title, -1});
        rows.insert(rows.begin(), row);
        for (Column& column : columns) column.title.clear();
        header = false;
    }
};

// Exact bytes of the store, for comparing before and after undo.
struct Snapshot {
    std::vector<std::string> rows;
    std::vector<std::string> columns;
    std::vector<int> filter;
    bool filtered = false;
    bool header = false;
    bool operator==(const Snapshot&) const = default;
};

std::string escaped(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7f) out += static_cast<char>(c);
        else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    return out;
}

// Readable form for failure messages.
void PrintTo(const Snapshot& snap, std::ostream* os) {
    *os << (snap.header ? "header " : "") << (snap.filtered ? "filtered [" : "[");
    for (int entry : snap.filter) *os << entry << ' ';
    *os << "]\n";
    for (const std::string& row : snap.rows) *os << "  row " << escaped(row) << "\n";
    for (const std::string& column : snap.columns) *os << "  col " << escaped(column) << "\n";
}

Snapshot take(CMyHyo& hyo) {
    Snapshot snap;
    for (int i = 0; i < hyo.rowList().lineCount(); ++i) snap.rows.push_back(hyo.rowList().line(i));
    for (int i = 0; i < hyo.columnList().lineCount(); ++i) snap.columns.push_back(hyo.columnList().line(i));
    for (int i = 0; i < hyo.filterRowCount(); ++i) snap.filter.push_back(hyo.filterStoreRow(i));
    snap.filtered = hyo.isFiltered();
    snap.header = hyo.inHeaderMode();
    return snap;
}

void expectMatches(CMyHyo& hyo, const Model& model, const std::string& where) {
    ASSERT_EQ(hyo.storeRowCount(), static_cast<int>(model.rows.size())) << where;
    ASSERT_EQ(hyo.isFiltered(), model.filtered) << where;
    if (model.filtered) {
        ASSERT_EQ(hyo.filterRowCount(), static_cast<int>(model.filter.size())) << where;
        for (int i = 0; i < hyo.filterRowCount(); ++i) ASSERT_EQ(hyo.filterStoreRow(i), model.filter[i]) << where;
    }
    for (int s = 0; s < hyo.storeRowCount(); ++s) {
        std::string line = hyo.rowList().line(s);
        const Row& row = model.rows[s];
        ASSERT_EQ(RowFormat::positionalCells(line.data(), static_cast<int>(line.size())),
                  static_cast<int>(row.cells.size())) << where << " row " << s;
        for (int c = 0; c < static_cast<int>(row.cells.size()); ++c) {
            CellSpan span = RowFormat::locate(line.data(), static_cast<int>(line.size()), c);
            ASSERT_EQ(line.substr(span.textStart, span.end - span.textStart), row.cells[c].text) << where;
            int record = RowFormat::findRecord(line.data(), span.start, span.textStart, AttrBackColour);
            int colour = record < 0 ? -1 : RowFormat::recordValue(line.data(), span.textStart, record);
            ASSERT_EQ(colour, row.cells[c].colour) << where << " cell " << c << "," << s;
        }
        int prefix = RowFormat::prefixEnd(line.data(), static_cast<int>(line.size()));
        int height = 16;
        int rowColour = -1;
        for (int pos = 0; pos + 2 < prefix; pos = RowFormat::skipRecord(line.data(), prefix, pos + 1)) {
            int kind = static_cast<unsigned char>(line[pos + 2]);
            if (kind == AttrRowHeight) height = RowFormat::recordValue(line.data(), prefix, pos + 1);
            if (kind == AttrBackColour) rowColour = RowFormat::recordValue(line.data(), prefix, pos + 1);
        }
        ASSERT_EQ(height, row.height) << where;
        ASSERT_EQ(rowColour, row.colour) << where;
    }
    ASSERT_EQ(hyo.columnCount(), static_cast<int>(model.columns.size())) << where;
    for (int c = 0; c < hyo.columnCount(); ++c) {
        ASSERT_EQ(hyo.columnWidth(c), model.columns[c].width) << where;
        ASSERT_EQ(hyo.columnTitle(c), model.columns[c].title) << where;
    }
    ASSERT_EQ(hyo.inHeaderMode(), model.header) << where;
}

class Runner {
public:
    explicit Runner(unsigned seed) : random(seed) {}

    std::string text() {
        static const char* const samples[] = {"", "a", "bc", "\x82\xa0\x82\xa2", "x\r\ny", "\x83\x5c", "12.5", "Zz"};
        int pick = below(10);
        if (pick == 9) return std::string(130 + below(40), 'L');
        return samples[std::min(pick, 7)];
    }
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(random() % static_cast<unsigned>(n)); }

    void setUp(CMyHyo& hyo, Model& model, bool filtered) {
        hyo.journal().setRecording(false);
        int rowCount = 3 + below(6);
        for (int r = 0; r < rowCount; ++r) {
            int cells = below(5);
            for (int c = 0; c < cells; ++c) {
                std::string t = text();
                hyo.setCell(c, r, t.c_str());
                model.setText(c, r, t);
            }
            if (cells == 0) {
                hyo.setRow(r, "");
                model.mapWrite(r);
            }
        }
        if (filtered) {
            for (int r = 0; r < rowCount; ++r)
                if (below(2) == 0) {
                    hyo.addFilterRow(r);
                    model.filter.push_back(r);
                }
            hyo.setFilterActive(true);
            model.filtered = true;
        }
        hyo.journal().setRecording(true);
    }

    // One random operation applied to both; returns a label for failure messages.
    std::string step(CMyHyo& hyo, Model& model) {
        int view = below(model.viewCount() + 3);
        int column = below(7);
        if (below(12) == 0) return sort(hyo, model, column);
        switch (below(model.filtered ? 9 : 10)) {
        case 0:
        case 1: {
            std::string t = text();
            hyo.setCell(column, view, t.c_str());
            model.setText(column, view, t);
            return "setCell";
        }
        case 2: {
            int value = below(16);
            bool set = below(3) != 0;
            hyo.setCellAttribute(column, view, AttrBackColour, value, set ? 1 : 0, 0);
            model.setColour(column, view, value, set);
            return "attribute";
        }
        case 3: {
            int height = 10 + below(30);
            hyo.setRowHeight(view, height);
            if (height != 16 || (model.mapRead(view) >= 0 && model.mapRead(view) < static_cast<int>(model.rows.size())))
                model.rows[model.mapWrite(view)].height = height;  // the default creates no row
            return "height";
        }
        case 4: {
            int count = 1 + below(3);
            hyo.insertRows(view + count - 1, view);
            model.insertRows(view, count);
            return "insertRows";
        }
        case 5: {
            int last = view + below(3);
            hyo.deleteRows(last, view);
            model.deleteRows(view, last);
            return "deleteRows " + std::to_string(view) + ".." + std::to_string(last);
        }
        case 6: {
            int count = 1 + below(2);
            hyo.insertColumns(column, column + count - 1);
            model.insertColumns(column, count);
            return "insertColumns " + std::to_string(column) + "+" + std::to_string(count);
        }
        case 7: {
            int last = column + below(3);
            hyo.deleteColumns(column, last);
            model.deleteColumns(column, last);
            return "deleteColumns " + std::to_string(column) + ".." + std::to_string(last);
        }
        case 8: {
            int pick = below(3);
            if (pick == 0) return pasteArea(hyo, model, column, view);
            if (pick == 1) return widths(hyo, model, column);
            return rowColour(hyo, model, view);
        }
        default:
            // As the command does, a first row with a cell too long for a title is refused
            // before anything is journalled.
            if (!model.header && !model.rows.empty())
                for (const Cell& cell : model.rows[0].cells)
                    if (cell.text.size() > 60) return "header refused (long cell)";
            if (hyo.clearHeaderForUndo() < 0) return "header refused";
            if (model.header) {
                hyo.restoreHeaderRow();
                model.restoreHeader();
            } else {
                hyo.takeHeaderRow();
                model.takeHeader();
            }
            return "header";
        }
    }

private:
    // The store's own comparison gives the order (the sort itself is checked against a
    // reference elsewhere); the model moves its rows, heights and colours with it.
    std::string sort(CMyHyo& hyo, Model& model, int column) {
        const bool descending = below(2) == 0;
        hyo.clearSortKeys();
        hyo.addSortKey(column, descending, false, 0);
        const int count = model.viewCount();
        std::vector<int> order(static_cast<std::size_t>(count));
        for (int k = 0; k < count; ++k) order[k] = k;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return hyo.compareRowToKeys(a, hyo.sortKeyCells(b)) < 0;
        });
        if (hyo.sortRows() != 0) return "sort refused";
        std::vector<Row> moved;
        for (int k = 0; k < count; ++k) moved.push_back(model.rows[model.mapRead(order[k])]);
        for (int k = 0; k < count; ++k) model.rows[model.mapRead(k)] = moved[k];
        return std::string("sort ") + std::to_string(column) + (descending ? " down" : " up");
    }

    std::string pasteArea(CMyHyo& hyo, Model& model, int column, int view) {
        int lastColumn = column + below(3);
        int lastRow = view + below(3);
        std::string t = text();
        UndoArea area(hyo.journal(), UndoCellText, 0, lastColumn, lastRow, column, view);
        for (int r = view; r <= lastRow && area.collecting(); ++r) {
            for (int c = column; c <= lastColumn; ++c) hyo.setCell(c, r, nullptr);
            area.nextRow();
        }
        if (!area.commit()) return "paste refused";
        for (int r = view; r <= lastRow; ++r)
            for (int c = column; c <= lastColumn; ++c) {
                hyo.setCell(c, r, t.c_str());
                model.setText(c, r, t);
            }
        return "paste";
    }

    std::string rowColour(CMyHyo& hyo, Model& model, int view) {
        int value = below(16);
        bool set = below(3) != 0;
        hyo.journalRowAttribute(view, AttrBackColour);
        hyo.journal().setRecording(false);
        hyo.setRowAttribute(view, AttrBackColour, value, set ? 1 : 0);
        hyo.journal().setRecording(true);
        int index = model.mapRead(view);
        bool exists = index >= 0 && index < static_cast<int>(model.rows.size());
        if (set || exists) model.rows[model.mapWrite(view)].colour = set ? value : -1;
        return "rowColour";
    }

    std::string widths(CMyHyo& hyo, Model& model, int column) {
        int last = column + below(3);
        int width = 20 + below(100);
        UndoArea area(hyo.journal(), UndoColumnWidth, 0, column, -1, last, -1);
        for (int c = column; c <= last && area.collecting(); ++c) hyo.journalColumnRecord(c);
        if (!area.commit()) return "widths refused";
        for (int c = column; c <= last; ++c) {
            hyo.setColumnWidth(c, width);
            model.ensureColumn(c);
            model.columns[c].width = width;
        }
        return "widths";
    }

    std::mt19937 random;
};

struct Step {
    Snapshot before, after;
    Model modelBefore, modelAfter;
    std::string label;
};

// Walks back over every step and forward again (through the steps still undone too),
// comparing with the snapshots.
void undoAndRedoAll(CMyHyo& hyo, std::vector<Step>& done, std::vector<Step>& undone,
                    const std::string& where) {
    for (int i = static_cast<int>(done.size()) - 1; i >= 0; --i) {
        ASSERT_NE(hyo.undo().row, -1) << where << " undo of " << done[i].label;
        ASSERT_EQ(take(hyo), done[i].before) << where << " undo of entry " << i << " " << done[i].label;
        ASSERT_GE(hyo.widestRowValue(), hyo.widestRowCount()) << where << " undo of " << done[i].label;
    }
    EXPECT_EQ(hyo.undo().row, -1);
    for (auto step = undone.rbegin(); step != undone.rend(); ++step) done.push_back(*step);
    const int steps = static_cast<int>(done.size());
    for (int i = 0; i < steps; ++i) {
        ASSERT_EQ(hyo.redoCount(), steps - i);
        ASSERT_NE(hyo.redo().row, -1) << where << " redo of entry " << i << " " << done[i].label;
        ASSERT_EQ(take(hyo), done[i].after) << where << " redo of entry " << i << " " << done[i].label;
        ASSERT_GE(hyo.widestRowValue(), hyo.widestRowCount()) << where << " redo of " << done[i].label;
    }
    EXPECT_EQ(hyo.redo().row, -1);
}

void runSequence(unsigned seed, bool filtered) {
    CMyHyo hyo;
    Model model;
    Runner runner(seed);
    runner.setUp(hyo, model, filtered);
    model.normalise();
    expectMatches(hyo, model, "set-up");
    std::vector<Step> done, undone;   // undone: the next redo last
    for (int i = 0; i < 200; ++i) {
        std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(i);
        const int turn = runner.below(8);
        if (turn == 0 && !done.empty()) {
            ASSERT_NE(hyo.undo().row, -1) << where;
            undone.push_back(std::move(done.back()));
            done.pop_back();
            ASSERT_EQ(take(hyo), undone.back().before) << where << " undo " << undone.back().label;
            model = undone.back().modelBefore;
        } else if (turn == 1 && !undone.empty()) {
            ASSERT_NE(hyo.redo().row, -1) << where;
            done.push_back(std::move(undone.back()));
            undone.pop_back();
            ASSERT_EQ(take(hyo), done.back().after) << where << " redo " << done.back().label;
            model = done.back().modelAfter;
        } else {
            Step step{take(hyo), {}, model, {}, {}};
            int entries = hyo.journal().entryCount();
            step.label = runner.step(hyo, model);
            model.normalise();
            where += " " + step.label;
            expectMatches(hyo, model, where);
            if (::testing::Test::HasFatalFailure()) return;
            if (hyo.journal().entryCount() == entries + 1) {
                step.after = take(hyo);
                step.modelAfter = model;
                done.push_back(std::move(step));
                undone.clear();   // a new change leaves nothing to redo
            } else {
                ASSERT_EQ(take(hyo), step.before) << where << ": changed without a journal entry";
            }
        }
        // Never too small: the writer emits widestRow fields per row.
        ASSERT_GE(hyo.widestRowValue(), hyo.widestRowCount()) << where;
        ASSERT_EQ(hyo.journal().entryCount(), static_cast<int>(done.size())) << where;
        ASSERT_EQ(hyo.redoCount(), static_cast<int>(undone.size())) << where;
    }
    undoAndRedoAll(hyo, done, undone, "seed " + std::to_string(seed));
}
} // namespace

// VEXIL_MODEL_SEEDS raises the number of sequences for a longer soak run.
unsigned seedCount() {
    const char* value = std::getenv("VEXIL_MODEL_SEEDS");
    return value && std::atoi(value) > 0 ? static_cast<unsigned>(std::atoi(value)) : 40u;
}

TEST(UndoModel, RandomEditsMatchTheModelAndUndoRestoresEveryByte) {
    for (unsigned seed = 1; seed <= seedCount(); ++seed) {
        runSequence(seed, false);
        if (HasFatalFailure()) return;
    }
}

TEST(UndoModel, RandomEditsInAFilteredTableUndoExactly) {
    for (unsigned seed = 100001; seed <= 100000 + seedCount(); ++seed) {
        runSequence(seed, true);
        if (HasFatalFailure()) return;
    }
}
