// The colour palette, the grid font's measures and the scaled sizes of the view.
#include "ViewFixture.h"

TEST(PaletteTest, IndicesAddressBothTablesAndOthersFallBackToWhiteAndBlack) {
    CMyHyoCom com;
    EXPECT_EQ(com.backgroundColour(1), 0xE61E1Eu);
    EXPECT_EQ(com.textColour(1), 0x960000u);
    EXPECT_EQ(com.backgroundColour(14), 0x96F0FFu);
    EXPECT_EQ(com.textColour(11), 0xE1E100u);
    for (int index : {-1, 16, 31, 120}) {
        EXPECT_EQ(com.backgroundColour(index), 0xFFFFFFu) << index;
        EXPECT_EQ(com.textColour(index), 0u) << index;
    }
    EXPECT_TRUE(CMyHyoCom::isColourIndex(31));
    EXPECT_FALSE(CMyHyoCom::isColourIndex(120));
}

using MetricsTest = ViewFixture;

TEST_F(MetricsTest, FontMeasuresAndScaledSizes) {
    // The Japanese gothic is 6 pixels per single-byte character at 12 pixels.
    EXPECT_EQ(view->charWidth(), 6);
    EXPECT_EQ(view->headerHeight(), 16);
    EXPECT_EQ(view->rowNumberWidth(), 40);
    EXPECT_GE(view->linePitch(), 14);
    view->setScale(150);
    EXPECT_EQ(view->headerHeight(), 24);
    EXPECT_EQ(view->rowNumberMinWidth(), 60);
    EXPECT_EQ(view->charWidth(), 9);
    view->setScale(55);   // truncation: 16 * 0.55 = 8.8, 40 * 0.55 = 22
    EXPECT_EQ(view->headerHeight(), 8);
    EXPECT_EQ(view->rowNumberWidth(), 22);
}

TEST_F(MetricsTest, RowNumberColumnWidensForSixDigitNumbers) {
    setRows({"a"});
    view->render(0, 0, true);
    EXPECT_EQ(view->rowNumberWidth(), 40);   // "99" + 6 is below the minimum
    view->render(0, 1000, false);
    // 1000 * 100 + 99 = "100099": six digits of 6 pixels plus 6.
    EXPECT_EQ(view->rowNumberWidth(), 42);
    EXPECT_EQ(view->columnX(0), 42);
    view->render(0, 0, false);
    EXPECT_EQ(view->rowNumberWidth(), 40);
}

TEST_F(MetricsTest, ZoomScalesCellsAndDraggedSizesScaleBack) {
    setRows({"a\tb", "c\td"});
    hyo.setZoomPercent(150);
    view->setScale(150);
    view->render(0, 0, true);
    EXPECT_EQ(view->cellRect(1, 1), QRect(60 + 96, 24 + 24, 96, 24));
    // A border dragged to 150 pixels at 150 % stores 100.
    ASSERT_EQ(view->mouseDown(60 + 96 - 1, 5, false), DownColumnBorder);
    view->mouseMove(60 + 150, 5);
    EXPECT_EQ(view->mouseUp(), UpColumnWidth);
    EXPECT_EQ(hyo.columnWidth(0), 100);
    EXPECT_EQ(view->columnX(1), 60 + 150);
}
