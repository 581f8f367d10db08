// Pixels of the rendered grid: colours and their precedence, overflow, alignment, line
// breaks, header captions, frozen columns, data-end lines and the grey area beyond the grid.
#include "ViewFixture.h"

#include "platform/core/CodePage.h"
#include "platform/core/GivenCodes.h"
#include "support/ScriptedPrompt.h"

namespace {

std::string cellBack(int index) { return std::string{'\x02', '\x05', static_cast<char>(index)}; }
std::string cellFore(int index) { return std::string{'\x02', '\x04', static_cast<char>(index)}; }
std::string rowBack(int index) { return std::string{'\x07', '\x02', '\x05', static_cast<char>(index)}; }
std::string rowFore(int index) { return std::string{'\x07', '\x02', '\x04', static_cast<char>(index)}; }
const std::string Square = "\x81\xa1";   // a solid full-width square

const QRgb GridLine = qRgb(190, 200, 200) & 0xffffff;
const QRgb Grey = qRgb(125, 125, 125) & 0xffffff;
const QRgb DarkLine = qRgb(80, 80, 80) & 0xffffff;
const QRgb BreakMark = qRgb(55, 176, 167) & 0xffffff;

} // namespace

using RenderTest = ViewFixture;

TEST_F(RenderTest, BackgroundPrecedenceCellOverColumnOverRowAndAlternate) {
    setRows({rowBack(1) + "a\t" + cellBack(4) + "b\tc",
             "a\tb\tc",
             "a\tb\tc",
             rowBack(2) + "a\tb\tc"});
    hyo.setColumnColour(2, 5, 3);
    view->setAlternateLines(1, 3);
    view->render(0, 0, true);
    auto probe = [&](int column, int row) { return pixel(cellX(column) + 40, cellY(row) + 8); };
    EXPECT_EQ(probe(0, 0), rgb(230, 30, 30));    // row colour
    EXPECT_EQ(probe(1, 0), rgb(50, 50, 255));    // cell over row
    EXPECT_EQ(probe(2, 0), rgb(250, 250, 50));   // column over row
    EXPECT_EQ(probe(3, 0), rgb(230, 30, 30));    // the row colour runs on beyond the data
    EXPECT_EQ(probe(0, 1), rgb(240, 240, 255));  // alternate band (scheme 3) on odd rows
    EXPECT_EQ(probe(2, 1), rgb(250, 250, 50));   // column over alternate
    EXPECT_EQ(probe(3, 1), rgb(255, 255, 255));  // no band beyond the column count
    EXPECT_EQ(probe(0, 2), rgb(255, 255, 255));
    EXPECT_EQ(probe(0, 3), rgb(30, 230, 30));    // a row colour suppresses the band
    EXPECT_EQ(probe(0, 5), rgb(255, 255, 255));  // rows beyond the data are not banded
}

TEST_F(RenderTest, TextColourPrecedenceCellOverColumnOverRow) {
    setRows({rowFore(5) + Square + "\t" + Square + "\t" + cellFore(2) + Square,
             Square + "\t" + Square});
    hyo.setColumnColour(1, 4, 4);
    hyo.setColumnColour(2, 4, 4);
    view->render(0, 0, true);
    auto has = [&](int column, int row, QRgb colour) {
        return countColour(cellX(column) + 1, cellY(row), cellX(column) + 30, cellY(row) + 15, colour) > 0;
    };
    EXPECT_TRUE(has(0, 0, rgb(150, 0, 150)));   // row text colour
    EXPECT_TRUE(has(1, 0, rgb(0, 0, 150)));     // column over row
    EXPECT_FALSE(has(1, 0, rgb(150, 0, 150)));
    EXPECT_TRUE(has(2, 0, rgb(0, 150, 0)));     // cell over column
    EXPECT_TRUE(has(0, 1, rgb(0, 0, 0)));       // default black
}

TEST_F(RenderTest, FilteredTableDrawsInDarkBlue) {
    setRows({Square, Square});
    hyo.addFilterRow(1);
    hyo.setFilterActive(true);
    view->render(0, 0, true);
    EXPECT_GT(countColour(cellX(0) + 1, cellY(0), cellX(0) + 30, cellY(0) + 15, rgb(0, 0, 150)), 0);
    // Captions and row numbers take the same colour (their thin digits are only blended, so
    // look for ink that leans to blue on the grey strips).
    auto bluish = [&](int x1, int y1, int x2, int y2) {
        int count = 0;
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x)
                count += qBlue(pixel(x, y)) > qRed(pixel(x, y)) + 40;
        return count;
    };
    EXPECT_GT(bluish(cellX(0) + 2, 0, cellX(1) - 1, 15), 0);
    EXPECT_GT(bluish(0, cellY(0) + 2, 38, cellY(1) - 1), 0);
    hyo.setFilterActive(false);
    view->render(0, 0, true);
    EXPECT_EQ(bluish(cellX(0) + 2, 0, cellX(1) - 1, 15), 0);
}

TEST_F(RenderTest, TextOverflowsEmptyCellsAndHidesTheBordersItCrosses) {
    setRows({"abcdefghijkl\t\t\tx"});   // 72 pixels of text in a 64-pixel column
    view->render(0, 0, true);
    const int top = cellY(0), bottom = cellY(0) + 15;
    EXPECT_EQ(countColour(cellX(1), top, cellX(1) + 1, bottom, GridLine), 0);
    EXPECT_GT(countInk(cellX(1) + 1, top + 1, cellX(1) + 12, bottom), 0);
    EXPECT_EQ(countColour(cellX(2), top, cellX(2) + 1, bottom, GridLine), 15);
    EXPECT_EQ(countColour(cellX(3), top, cellX(3) + 1, bottom, GridLine), 15);

    view->setOptions(true, false, 0, 0, 0);
    view->render(0, 0, true);
    EXPECT_EQ(countColour(cellX(1), top, cellX(1) + 1, bottom, GridLine), 15);
    EXPECT_EQ(countInk(cellX(1) + 1, top, cellX(2), bottom), 0);
}

TEST_F(RenderTest, OverflowStopsAtTheNextCellWithText) {
    setRows({"abcdefghijklmnopqrst\tz"});
    view->render(0, 0, true);
    // Column 1 starts a group of its own: its border is drawn and the long text is cut there.
    EXPECT_EQ(countColour(cellX(1), cellY(0), cellX(1) + 1, cellY(0) + 15, GridLine), 15);
    EXPECT_EQ(countInk(cellX(1) + 12, cellY(0), cellX(2), cellY(0) + 15), 0);
}

TEST_F(RenderTest, RightAlignedColumnAndItsCellWithALineBreak) {
    setRows({"7", "12\r\n34"});
    hyo.setColumnKind(0, 1, 1);
    hyo.setRowHeight(1, 40);
    view->render(0, 0, true);
    const int right = cellX(1) - 4;
    EXPECT_GT(countInk(right - 7, cellY(0) + 1, right, cellY(0) + 15), 0);
    EXPECT_EQ(countInk(cellX(0) + 1, cellY(0), right - 8, cellY(0) + 15), 0);
    // The cell with a break is drawn left-aligned, one line per text line.
    const int top = cellY(1);
    EXPECT_GT(countInk(cellX(0) + 3, top + 1, cellX(0) + 15, top + 14, 0xffffff), 0);
    const int secondLine = top + 1 + view->linePitch();
    EXPECT_GT(countInk(cellX(0) + 3, secondLine, cellX(0) + 15, secondLine + 12), 0);
    EXPECT_EQ(countInk(right - 20, top + 1, right, top + 39), 0);
}

TEST_F(RenderTest, LineBreakMarkFollowsEachBrokenLine) {
    setRows({"ab\r\ncd"});
    hyo.setRowHeight(0, 40);
    view->render(0, 0, true);
    // "ab" is 12 pixels wide: the mark's stroke stands at left + 12 + 6.
    const int x = cellX(0) + 18, y = cellY(0) + 1;
    EXPECT_EQ(pixel(x, y + 4), BreakMark);
    EXPECT_GT(countColour(cellX(0), cellY(0), cellX(1), cellY(1), BreakMark), 5);
    view->setLineBreakMarks(false);
    view->render(0, 0, true);
    EXPECT_EQ(countColour(cellX(0), cellY(0), cellX(1), cellY(1), BreakMark), 0);
}

TEST_F(RenderTest, HeaderModeShowsTitlesAndNumbersForEmptyTitles) {
    setRows({"Name\t\tAge", "x\ty\tz"});
    ASSERT_GT(hyo.takeHeaderRow(), 0);
    hyo.setWidestRow(3);
    view->render(0, 0, true);

    CMyHyo plain;
    plain.setRow(0, std::string("x\ty\tz"));
    plain.setWidestRow(3);
    CMyHyoDraw reference(plain, com);
    reference.attach(1024, 768, 0, 0, 100);
    reference.setViewSize(Width, Height);
    reference.render(0, 0, true);
    auto headerCell = [](const QImage& image, int column) {
        return image.copy(cellX(column) + 2, 0, 60, 15);
    };
    EXPECT_EQ(headerCell(view->image(), 1), headerCell(reference.image(), 1));   // "2"
    EXPECT_NE(headerCell(view->image(), 0), headerCell(reference.image(), 0));   // "Name"
    EXPECT_NE(headerCell(view->image(), 2), headerCell(reference.image(), 2));   // "Age"
}

TEST_F(RenderTest, HeaderStripLinesAndRowNumberColumn) {
    setRows({"a"});
    view->render(0, 0, true);
    EXPECT_EQ(pixel(cellX(1), 5), rgb(0, 0, 0));         // black border
    EXPECT_EQ(pixel(cellX(1) + 1, 5), rgb(255, 255, 255));
    EXPECT_EQ(pixel(cellX(1) + 30, 15), rgb(0, 0, 0));   // line under the header
    EXPECT_EQ(pixel(2, cellY(1) + 3), rgb(192, 192, 192));
    EXPECT_EQ(pixel(39, cellY(1) + 3), rgb(0, 0, 0));     // right edge of the number column
    EXPECT_EQ(pixel(2, cellY(1)), rgb(0, 0, 0));          // bottom of row 0's number cell
    EXPECT_EQ(pixel(2, cellY(1) + 1), rgb(255, 255, 255));
    EXPECT_EQ(pixel(cellX(0) + 30, cellY(1) - 1), GridLine);
    // The row's own line runs across the whole width, the number column included.
    EXPECT_EQ(pixel(2, cellY(1) - 1), GridLine);
    EXPECT_EQ(pixel(Width - 1, cellY(1) - 1), GridLine);
}

TEST_F(RenderTest, ZeroHeightRowTakesNoStrip) {
    setRows({"a", "b", "c"});
    hyo.setRowHeight(1, 0);
    view->render(0, 0, true);
    for (const LayoutEntry& entry : view->layout()) EXPECT_NE(entry.row, 1);
    EXPECT_EQ(view->rowAt(cellY(1) + 2), 2);
}

TEST_F(RenderTest, VisibleRangeAndLayout) {
    setRows({"a"});
    view->render(0, 0, true);
    // 384 pixels below the header hold exactly 24 rows of 16.
    EXPECT_EQ(view->lastRow(), 23);
    ASSERT_EQ(view->layout().size(), 25u);
    EXPECT_EQ(view->layout()[0].row, -1);
    EXPECT_EQ(view->layout()[0].height, 16);
    EXPECT_EQ(view->layout()[24].gridY, 16 + 23 * 16);
    // 760 pixels of columns: 11 whole ones (704), the twelfth is cut.
    EXPECT_EQ(view->lastColumn(), 10);
    view->setViewSize(Width, Height + 8);
    view->render(0, 0, true);
    EXPECT_EQ(view->lastRow(), 23);   // row 24 is only half shown
}

TEST_F(RenderTest, FrozenColumnsStayLeftWithADivider) {
    setRows({"a\tb\tc\td\te\tf\tg\th\ti\tj\tk\tl\tm\tn"});
    view->render(0, 0, true);
    view->setCurrentCell(2, 0);
    EXPECT_EQ(view->toggleFrozen(), 2);
    EXPECT_EQ(view->frozenStart(), 0);
    EXPECT_EQ(view->firstColumn(), 2);
    EXPECT_EQ(view->frozenWidth(), 128);
    view->render(5, 0, true);
    EXPECT_EQ(pixel(40 + 128, 100), DarkLine);
    EXPECT_EQ(view->columnAt(41), 0);
    EXPECT_EQ(view->columnAt(105), 1);
    EXPECT_EQ(view->columnAt(169), 5);
    EXPECT_EQ(view->columnX(2), -1);
    EXPECT_EQ(view->firstFor(3), 2);   // never left of the frozen end
    EXPECT_EQ(view->firstFor(12), 4);  // 632 pixels after the frozen columns: 9 columns

    EXPECT_EQ(view->toggleFrozen(), 0);
    EXPECT_EQ(view->firstColumn(), 0);
    EXPECT_EQ(view->frozenEnd(), 0);
    view->render(view->firstColumn(), 0, true);
    EXPECT_EQ(pixel(40 + 128, 100), GridLine);   // an ordinary column border again
}

TEST_F(RenderTest, FrozenTextDoesNotRunIntoTheFirstScrolledColumn) {
    setRows({"abcdefghijklmnopqrst\tb\tc\td\te\t\tg"});   // column 5 is empty
    view->render(0, 0, true);
    view->setCurrentCell(1, 0);
    ASSERT_EQ(view->toggleFrozen(), 1);
    view->render(5, 0, true);
    // The walk jumps from the frozen column to column 5: a new group starts there, so the
    // frozen text stops at the divider and the empty cell is drawn alone.
    const int x = 40 + 64;
    EXPECT_EQ(countInk(x + 1, cellY(0), x + 20, cellY(0) + 15), 0);
    EXPECT_GT(countInk(40 + 3, cellY(0), x - 1, cellY(0) + 15), 0);
    EXPECT_EQ(view->columnAt(x + 1), 5);
}

TEST_F(RenderTest, ScrollingLeftOfTheFrozenEndStartsAfterTheFrozenColumns) {
    setRows({"a\tb\tc\td\te\tf\tg"});
    view->render(2, 0, true);
    view->setCurrentCell(4, 0);
    ASSERT_EQ(view->toggleFrozen(), 4);
    EXPECT_EQ(view->frozenStart(), 2);
    view->render(0, 0, true);   // a caller asking for a column that is frozen
    EXPECT_EQ(view->firstColumn(), 4);
    EXPECT_EQ(view->columnAt(41), 2);
    EXPECT_EQ(view->columnAt(40 + 128 + 1), 4);
    EXPECT_EQ(view->columnX(0), -1);

    hyo.setZoomPercent(150);
    view->setScale(150);
    EXPECT_EQ(view->frozenWidth(), 192);   // the frozen width follows the zoom

    EXPECT_EQ(view->toggleFrozen(), 0);
    EXPECT_EQ(view->firstColumn(), 2);     // unfreezing scrolls back to the frozen start
    EXPECT_EQ(view->frozenWidth(), 0);
}

TEST_F(RenderTest, FreezingLeftOfTheFirstColumnIsRefused) {
    ScriptedPrompt prompt;
    prompt.answer(PromptAnswer::Ok);
    setRows({"a\tb\tc\td\te"});
    view->render(3, 0, true);
    view->setCurrentCell(1, 0);
    EXPECT_EQ(view->toggleFrozen(), -1);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "固定位置を指定してください。");
    EXPECT_EQ(prompt.last().caption, "注意");
    EXPECT_EQ(view->frozenEnd(), 0);
    EXPECT_EQ(view->firstColumn(), 3);
}

TEST_F(RenderTest, DataEndLinesAfterTheLastRowAndColumn) {
    setRows({"a\tb", "c\td", "e\tf"});
    view->setOptions(true, true, 1, 0, 0);
    view->render(0, 0, true);
    EXPECT_EQ(view->dataEndX(), cellX(2) + 1);
    EXPECT_EQ(view->dataEndColumn(), 2);
    EXPECT_EQ(view->dataEndY(), cellY(3));
    EXPECT_EQ(pixel(cellX(2) + 1, 16), DarkLine);
    EXPECT_NE(pixel(cellX(2) + 1, 17), DarkLine);   // dotted
    EXPECT_EQ(pixel(40, cellY(3)), DarkLine);
    view->setDataEndLines(0);
    view->render(0, 0, true);
    EXPECT_NE(pixel(cellX(2) + 1, 16), DarkLine);
}

TEST_F(RenderTest, GreyBeyondColumn999AndBelowTheLastRow) {
    setRows({std::string(959, '\t') + "x"});   // 960 columns: the grid stops at 999
    ASSERT_EQ(view->gridColumns(), 999);
    view->render(990, 0, true);
    EXPECT_EQ(view->lastColumn(), 998);
    QImage image = shown();
    const int end = 40 + 9 * 64;
    EXPECT_EQ(at(image, end + 5, 100), Grey);
    EXPECT_EQ(at(image, end + 5, 5), Grey);
    EXPECT_EQ(at(image, end - 20, 100), rgb(255, 255, 255));   // empty cell of column 998

    setRows({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"});
    hyo.setWidestRow(1);
    ASSERT_EQ(view->gridRows(), 510);
    view->render(0, 505, true);
    image = shown();
    const int bottom = 16 + 5 * 16;   // rows 505..509
    EXPECT_EQ(at(image, 200, bottom + 4), Grey);
    EXPECT_EQ(at(image, 200, bottom - 8), rgb(255, 255, 255));   // an empty cell beyond the data
}

TEST_F(RenderTest, TheGridEndsAtRow500000) {
    hyo.journal().setRecording(false);
    hyo.setRow(499700, std::string("x"));
    hyo.setWidestRow(1);
    ASSERT_EQ(view->gridRows(), 500000);
    view->render(0, 499990, true);
    EXPECT_EQ(view->lastRow(), 499999);
    ASSERT_EQ(view->layout().size(), 11u);
    EXPECT_EQ(view->layout().back().row, 499999);
    const QImage image = shown();
    const int bottom = 16 + 10 * 16;
    EXPECT_EQ(at(image, 200, bottom + 2), Grey);
    EXPECT_EQ(at(image, 200, bottom - 8), rgb(255, 255, 255));
    // "49999099": eight digits of 6 pixels plus 6.
    EXPECT_EQ(view->rowNumberWidth(), 54);
}

TEST_F(RenderTest, RecordValuesThatLookLikeTabOrNulDoNotSplitCells) {
    // Colour 9 is stored as a TAB byte and colour 0 as a NUL byte inside their records.
    setRows({cellBack(9) + "x\t" + Square, cellBack(0) + "\t" + Square,
             "a\t" + std::string{'\x05', '\x05', '\x01'},   // a record cut off by the row end
             "\x81\t" + Square, "ab\x81"});                    // lead bytes without a trail byte
    view->render(0, 0, true);
    EXPECT_EQ(pixel(cellX(0) + 40, cellY(0) + 8), rgb(255, 150, 150));
    EXPECT_GT(countInk(cellX(1) + 1, cellY(0), cellX(1) + 20, cellY(0) + 15), 0);
    EXPECT_EQ(pixel(cellX(0) + 40, cellY(1) + 8), rgb(0, 0, 0));
    EXPECT_GT(countInk(cellX(1) + 1, cellY(1), cellX(1) + 20, cellY(1) + 15), 0);
    EXPECT_EQ(countInk(cellX(1) + 1, cellY(2), cellX(2), cellY(2) + 15), 0);
    EXPECT_EQ(pixel(cellX(1) + 40, cellY(2) + 8), rgb(255, 255, 255));
    // A lead byte before the TAB does not swallow it: the next cell keeps its text.
    EXPECT_GT(countInk(cellX(1) + 1, cellY(3), cellX(1) + 20, cellY(3) + 15), 0);
    EXPECT_GT(countInk(cellX(0) + 3, cellY(4), cellX(0) + 15, cellY(4) + 15), 0);
}

// On a screen scaled by 2 the image holds device pixels: a logical line is two device pixels,
// text is drawn from a font twice as big rather than enlarged, and painting copies the image
// to the screen pixel for pixel.
TEST_F(RenderTest, ScaledScreenIsDrawnAtTheDeviceResolution) {
    setRows({Square + "\tab", "x"});
    view->render(0, 0, true);
    const int inkAtOne = countInk(cellX(0) + 1, cellY(0), cellX(1) - 1, cellY(1) - 1);
    const int lineY = cellY(1) - 1, probeX = cellX(1) + 40;
    ASSERT_EQ(pixel(probeX, lineY), GridLine);

    view->setDevicePixelRatio(2.0);
    view->render(0, 0, true);
    const QImage& image = view->image();
    EXPECT_EQ(image.width(), 2 * 1024);
    EXPECT_EQ(image.height(), 2 * 768);
    EXPECT_EQ(at(image, 2 * probeX, 2 * lineY), GridLine);
    EXPECT_EQ(at(image, 2 * probeX, 2 * lineY + 1), GridLine);
    EXPECT_EQ(at(image, 2 * probeX, 2 * lineY - 1), rgb(255, 255, 255));
    EXPECT_EQ(at(image, 2 * probeX, 2 * lineY + 2), rgb(255, 255, 255));
    EXPECT_EQ(at(image, 2 * cellX(1), 2 * cellY(0) + 8), GridLine);
    EXPECT_EQ(at(image, 2 * cellX(1) + 1, 2 * cellY(0) + 8), GridLine);
    EXPECT_EQ(at(image, 2 * cellX(1) + 2, 2 * cellY(0) + 8), rgb(255, 255, 255));
    int inkAtTwo = 0;
    for (int y = 2 * cellY(0); y < 2 * cellY(1) - 2; ++y)
        for (int x = 2 * cellX(0) + 2; x < 2 * cellX(1) - 2; ++x)
            if (at(image, x, y) != rgb(255, 255, 255)) ++inkAtTwo;
    EXPECT_GT(inkAtTwo, 3 * inkAtOne);
    EXPECT_LT(inkAtTwo, 5 * inkAtOne);

    QImage screen(2 * Width, 2 * Height, QImage::Format_RGB32);
    screen.setDevicePixelRatio(2.0);
    screen.fill(Qt::magenta);
    {
        QPainter painter(&screen);
        view->paint(painter, QRect(0, 0, Width, Height));
    }
    int differing = 0;
    for (int y = 0; y < 2 * 120; ++y)
        for (int x = 0; x < 2 * Width; ++x)
            if (at(screen, x, y) != at(image, x, y)) ++differing;
    EXPECT_EQ(differing, 0);
}

// A character Shift-JIS lacks (here an emoji, by a fallback font) is drawn as itself, not "?".
TEST_F(RenderTest, LentCodesAreDrawnAsTheirCharacters) {
    GivenCodes::reset();
    std::string sushi;
    ASSERT_EQ(CodePage::utf8ToCp932("\xF0\x9F\x8D\xA3", sushi), 0);
    setRows({sushi + "\t?"});
    view->render(0, 0, true);
    auto ink = [&](int column) {
        QImage part = view->image().copy(cellX(column) + 1, cellY(0) + 1, 14, 14);
        int count = 0;
        for (int y = 0; y < part.height(); ++y)
            for (int x = 0; x < part.width(); ++x) count += (part.pixel(x, y) & 0xffffff) != 0xffffff;
        return std::make_pair(count, part);
    };
    const auto [emoji, emojiImage] = ink(0);
    const auto [question, questionImage] = ink(1);
    EXPECT_GT(question, 0);
    EXPECT_GT(emoji, 2 * question);
    EXPECT_NE(emojiImage, questionImage);
    GivenCodes::reset();
}
