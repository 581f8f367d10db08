// The row walk the renderer reads cells with, and the hit tests and band edges over the
// columns and rows of a render, on hand-made rows and layouts.
#include "view/GridGeometry.h"
#include "view/RowReader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out.push_back(static_cast<char>(v));
    return out;
}

// The reader points into the row: the string must outlive it.
RowReader readerOf(const std::string& row) {
    return RowReader(row.data(), static_cast<int>(row.size()));
}

std::string textOf(const RowReader::Cell& cell) {
    return cell.text ? std::string(cell.text, cell.length) : std::string();
}

} // namespace

TEST(RowReaderTest, RowAndCellColoursFirstRecordWins) {
    // Row: background 3 then a second background 4 (ignored), text colour 2 of two value bytes.
    const std::string row = bytes({7, 2, 5, 3, 7, 2, 5, 4, 7, 3, 4, 2, 0}) + "a\t" +
                            bytes({2, 4, 9, 2, 5, 0, 2, 5, 6}) + "b\tc";
    RowReader reader = readerOf(row);
    EXPECT_EQ(reader.rowBack(), 3);
    EXPECT_EQ(reader.rowFore(), 2);
    RowReader::Cell a = reader.cell(0);
    EXPECT_EQ(textOf(a), "a");
    EXPECT_EQ(a.back, -1);
    RowReader::Cell b = reader.cell(1);
    EXPECT_EQ(textOf(b), "b");
    EXPECT_EQ(b.fore, 9);    // a TAB byte as a value does not split the cell
    EXPECT_EQ(b.back, 0);    // a NUL byte as a value neither; the later record is ignored
    EXPECT_EQ(textOf(reader.cell(2)), "c");
    EXPECT_EQ(reader.cell(3).text, nullptr);   // beyond the row's cells
}

TEST(RowReaderTest, DamagedRecordsStayInsideTheRow) {
    // A 0x07 whose length byte is 7 is skipped alone: the next 0x07 starts a good record.
    const std::string skippedRow = bytes({7, 7, 2, 5, 3}) + "x\ty";
    RowReader skipped = readerOf(skippedRow);
    EXPECT_EQ(skipped.rowBack(), 3);
    EXPECT_EQ(textOf(skipped.cell(0)), "x");
    EXPECT_EQ(textOf(skipped.cell(1)), "y");

    // A row record running past the end: the marker is skipped, nothing is read beyond.
    const std::string cutRow = bytes({7, 5, 5});
    RowReader cut = readerOf(cutRow);
    EXPECT_EQ(cut.rowBack(), -1);
    EXPECT_EQ(cut.cell(1).text, nullptr);

    // A cell record cut off by the row end ends the cell there.
    const std::string cellRow = "a\t" + bytes({4, 5, 1});
    RowReader cell = readerOf(cellRow);
    RowReader::Cell last = cell.cell(1);
    EXPECT_EQ(last.length, 0);
    EXPECT_EQ(last.back, -1);

    RowReader none(nullptr, 40);   // a row beyond the data
    EXPECT_EQ(none.cell(0).length, 0);
    EXPECT_EQ(none.rowBack(), -1);
}

TEST(RowReaderTest, CellsAskedOutOfOrderAreEmpty) {
    const std::string row = "a\tb\tc";
    RowReader reader = readerOf(row);
    EXPECT_EQ(textOf(reader.cell(2)), "c");
    EXPECT_EQ(reader.cell(0).length, 0);
    EXPECT_EQ(textOf(readerOf("a\tb").cell(1)), "b");
    // The text stops at a NUL as well as at a TAB.
    EXPECT_EQ(textOf(readerOf(std::string("ab\0cd", 5)).cell(0)), "ab");
    EXPECT_EQ(readerOf(std::string("ab\0cd", 5)).cell(1).text, nullptr);
}

class GeometryTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Frozen column 0, then columns 5 and 6 (column 6 partly beyond a 200-pixel view).
        geometry.addColumn({0, 40, 64, false, -1, -1, false});
        geometry.addColumn({5, 104, 64, false, -1, -1, true});
        geometry.addColumn({6, 168, 64, false, -1, -1, false});
        geometry.setHeader(16);
        geometry.addRow({0, 16, 16, 16, 10});
        geometry.addRow({0, 30, 32, 32, 12});   // row 11 is hidden
        geometry.addRow({0, 16, 62, 62, 13});
    }
    GridGeometry geometry;
};

TEST_F(GeometryTest, HitTestsAndCellRectangles) {
    EXPECT_EQ(geometry.columnAt(39), -1);
    EXPECT_EQ(geometry.columnAt(103), 0);
    EXPECT_EQ(geometry.columnAt(104), 5);
    EXPECT_EQ(geometry.rowAt(31), 10);
    EXPECT_EQ(geometry.rowAt(32), 12);
    EXPECT_EQ(geometry.rowAt(78), -1);
    EXPECT_EQ(geometry.cellRect(5, 12), QRect(104, 32, 64, 30));
    EXPECT_FALSE(geometry.cellRect(1, 12).has_value());
    EXPECT_FALSE(geometry.cellRect(5, 11).has_value());
}

TEST_F(GeometryTest, CaptionAndNumberBordersReachTwoPixels) {
    bool border = true;
    EXPECT_EQ(geometry.captionAt(101, border)->column, 0);
    EXPECT_FALSE(border);
    EXPECT_EQ(geometry.captionAt(102, border)->column, 0);
    EXPECT_TRUE(border);
    EXPECT_EQ(geometry.captionAt(106, border)->column, 0);   // right of the edge still grabs it
    EXPECT_TRUE(border);
    EXPECT_EQ(geometry.captionAt(107, border)->column, 5);
    EXPECT_FALSE(border);
    EXPECT_EQ(geometry.captionAt(235, border), nullptr);

    EXPECT_EQ(geometry.numberAt(29, border)->row, 10);
    EXPECT_FALSE(border);
    EXPECT_EQ(geometry.numberAt(34, border)->row, 10);
    EXPECT_TRUE(border);
    EXPECT_EQ(geometry.numberAt(59, border)->row, 12);
    EXPECT_FALSE(border);
    EXPECT_EQ(geometry.numberAt(90, border), nullptr);
}

TEST_F(GeometryTest, BandEdgesClipToWhatIsShown) {
    EXPECT_EQ(geometry.bandLeft(3), 104);            // hidden behind the frozen column
    EXPECT_EQ(geometry.bandRight(3, 200), 104);      // ... and nothing of 1..3 is shown
    EXPECT_EQ(geometry.bandRight(9, 200), 200);      // clipped to the view
    EXPECT_EQ(geometry.bandLeft(7), -1);
    EXPECT_EQ(geometry.bandRight(-5, 200), -1);
    EXPECT_EQ(geometry.bandTop(11), 32);
    EXPECT_EQ(geometry.bandBottom(11, 400), 32);
    EXPECT_EQ(geometry.bandBottom(13, 70), 70);
    EXPECT_EQ(geometry.bandTop(14), -1);
    EXPECT_EQ(geometry.columnsRight(40, 200), 200);
    EXPECT_EQ(geometry.rowsBottom(400), 78);
}

TEST_F(GeometryTest, NearestColumnAndRowOutsideTheGrid) {
    EXPECT_EQ(geometry.nearestColumn(10, 40, 5), 5);
    EXPECT_EQ(geometry.nearestColumn(500, 40, 5), 6);
    EXPECT_EQ(geometry.nearestColumn(110, 40, 5), 5);
    EXPECT_EQ(geometry.nearestRow(3, 16, 10), 10);
    EXPECT_EQ(geometry.nearestRow(1000, 16, 10), 13);
    GridGeometry empty;
    EXPECT_EQ(empty.nearestColumn(100, 40, 0), -1);
    EXPECT_EQ(empty.nearestRow(100, 16, 0), -1);
    EXPECT_EQ(empty.columnsRight(40, 200), 40);
}
