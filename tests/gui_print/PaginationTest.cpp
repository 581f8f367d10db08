// Page split of the table and the paper code table.
#include "PrintFixture.h"

#include "print/CMyHyoPrn.h"
#include "print/PaperTable.h"

#include <QPainter>

namespace {

class Pagination : public PrintFixture {
protected:
    // A 1:1 page whose data area is `width` x `height` table pixels (no titles).
    void layout(int width, int height, double scale = 1.0) {
        pages.layoutPage(&image, width + 20, height + 20, {10, 10, 10, 10}, scale, scale);
    }
    std::vector<int> firstColumns() {
        std::vector<int> out;
        for (int p = 1; p <= pages.horizontalPages(); ++p) out.push_back(pages.pageFirstColumn(p));
        return out;
    }
    std::vector<int> firstRows() {
        std::vector<int> out;
        for (int p = 0; p < pages.verticalPages(); ++p)
            out.push_back(pages.pageFirstRow(1 + p * pages.horizontalPages()));
        return out;
    }

    QImage image{400, 400, QImage::Format_RGB32};
    CMyHyoPrn pages{hyo, com};
};

TEST_F(Pagination, PagesRunAcrossFirstThenDown) {
    fillTable(7, 3);
    setWidths({100, 100, 100});
    layout(250, 50);   // two columns and three 16-pixel rows per page
    EXPECT_EQ(pages.horizontalPages(), 2);
    EXPECT_EQ(pages.verticalPages(), 3);
    EXPECT_EQ(pages.pageCount(), 6);
    EXPECT_EQ(firstColumns(), (std::vector<int>{0, 2}));
    EXPECT_EQ(firstRows(), (std::vector<int>{0, 3, 6}));
    EXPECT_EQ(pages.pageFirstColumn(2), 2);
    EXPECT_EQ(pages.pageFirstRow(2), 0);
    EXPECT_EQ(pages.pageFirstColumn(3), 0);
    EXPECT_EQ(pages.pageFirstRow(3), 3);
    EXPECT_EQ(pages.pageFirstRow(0), -1);
    EXPECT_EQ(pages.pageFirstRow(7), -1);
    // An edge exactly on the data width still fits.
    layout(200, 48);
    EXPECT_EQ(firstColumns(), (std::vector<int>{0, 2}));
    EXPECT_EQ(firstRows(), (std::vector<int>{0, 3, 6}));
}

TEST_F(Pagination, OversizedColumnsAndRowsGetPagesOfTheirOwn) {
    fillTable(4, 3);
    setWidths({50, 400, 50});
    hyo.setRowHeight(1, 100);
    layout(250, 50);
    EXPECT_EQ(firstColumns(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(firstRows(), (std::vector<int>{0, 1, 2}));
}

TEST_F(Pagination, EmptyRowsAndColumnsTakeNoRoomAndNothingStalls) {
    fillTable(5, 4);
    setWidths({100, 0, 100, 100});
    hyo.setRowHeight(1, 0);
    layout(200, 48);
    EXPECT_EQ(firstColumns(), (std::vector<int>{0, 3}));
    EXPECT_EQ(firstRows(), (std::vector<int>{0, 4}));
    // Margins wider than the page: every column and row on a page of its own.
    pages.layoutPage(&image, 10, 10, {20, 20, 20, 20}, 1.0, 1.0);
    EXPECT_LE(pages.dataWidth(), 0);
    EXPECT_EQ(firstColumns(), (std::vector<int>{0, 2, 3}));   // the 0-wide one joins the first
    EXPECT_EQ(firstRows(), (std::vector<int>{0, 2, 3, 4}));
    // Negative margins count as none.
    pages.layoutPage(&image, 300, 300, {-5, -5, -5, -5}, 1.0, 1.0);
    EXPECT_EQ(pages.dataLeft(), 0);
    EXPECT_EQ(pages.dataWidth(), 300);
}

TEST_F(Pagination, ScalesAndTitlesShrinkTheDataArea) {
    fillTable(10, 4);
    layout(200, 100, 2.0);   // 64-pixel columns are 128 wide, 16-pixel rows 32 high
    EXPECT_EQ(firstColumns(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(firstRows(), (std::vector<int>{0, 3, 6, 9}));
    pages.setScale(0.5);
    EXPECT_EQ(pages.horizontalPages(), 1);
    EXPECT_EQ(pages.verticalPages(), 1);
    setRows({"A\tB\tC\tD"});
    ASSERT_EQ(hyo.takeHeaderRow(), 1);
    layout(200, 100, 1.5);
    EXPECT_EQ(pages.headerStrip(), 24);
    EXPECT_EQ(pages.dataTop(), 10 + 24);
    EXPECT_EQ(pages.dataHeight(), 100 - 24);
}

TEST_F(Pagination, FilteredTablePagesOnlyItsVisibleRows) {
    fillTable(10, 2);
    for (int storeRow : {1, 4, 7, 8}) hyo.addFilterRow(storeRow);
    hyo.setFilterActive(true);
    layout(200, 32);
    EXPECT_EQ(pages.verticalPages(), 2);
    EXPECT_EQ(std::string(hyo.rowText(pages.pageFirstRow(2)), 4), "r7c0");
}

TEST_F(Pagination, EmptyTableHasOneBlankPage) {
    layout(200, 200);
    EXPECT_EQ(pages.pageCount(), 1);
    EXPECT_EQ(pages.pageFirstColumn(1), -1);
    EXPECT_EQ(pages.pageFirstRow(1), -1);
    image.fill(Qt::white);
    QPainter painter(&image);
    pages.drawPage(painter, 1);
    painter.end();
    EXPECT_EQ(image, [] { QImage white(400, 400, QImage::Format_RGB32); white.fill(Qt::white); return white; }());
}

TEST(ScreenResolution, LogicalThenPhysicalThenNinetySix) {
    EXPECT_EQ(CMyPrint::chooseDpi({120, 120}, {0, 0}, {0, 0}), QPointF(120, 120));
    // No logical resolution: the physical size decides, unless it is missing or absurd.
    EXPECT_EQ(CMyPrint::chooseDpi({0, 0}, {508, 254}, {2000, 1000}), QPointF(100, 100));
    EXPECT_EQ(CMyPrint::chooseDpi({0, 0}, {0, 0}, {1920, 1080}), QPointF(96, 96));
    EXPECT_EQ(CMyPrint::chooseDpi({1000, 1000}, {10, 10}, {1920, 1080}), QPointF(96, 96));
}

TEST(PaperTable, NamesSizesAndCodes) {
    EXPECT_EQ(PaperTable::name(9), QStringLiteral("A4シート(210×297mm)"));
    EXPECT_EQ(PaperTable::name(12), QStringLiteral("B4シート(250×354mm)"));
    EXPECT_EQ(PaperTable::name(24), QStringLiteral("Cシート､ 17×22インチ"));
    EXPECT_EQ(PaperTable::name(73), QStringLiteral("封筒　長形３号"));
    EXPECT_EQ(PaperTable::name(999), QStringLiteral("その他用紙(#999)"));
    // Code 24 is the 17 x 22 inch ANSI C sheet, not the architect size Qt gives that number.
    EXPECT_EQ(PaperTable::pageSize(24).size(QPageSize::Inch), QSizeF(17, 22));
    EXPECT_EQ(PaperTable::pageSize(26).size(QPageSize::Inch), QSizeF(34, 44));
    EXPECT_EQ(PaperTable::pageSize(12).size(QPageSize::Millimeter), QSizeF(257, 364));
    EXPECT_FALSE(PaperTable::pageSize(257).isValid());
    EXPECT_TRUE(PaperTable::isRotated(81));
    EXPECT_FALSE(PaperTable::isRotated(43));
    EXPECT_EQ(PaperTable::codeOf(QPageSize(QPageSize::AnsiC)), 24);
    EXPECT_EQ(PaperTable::codeOf(QPageSize(QPageSize::A4)), 9);
    EXPECT_EQ(PaperTable::codeOf(QPageSize(QPageSize::LetterSmall)), 2);
    EXPECT_EQ(PaperTable::codeOf(QPageSize(QPageSize::Postcard)), 43);
    EXPECT_EQ(PaperTable::codeOf(QPageSize(QPageSize::A6)), 70);   // the size's own code
    EXPECT_EQ(PaperTable::name(PaperTable::codeOf(QPageSize(QSizeF(123, 45), QPageSize::Millimeter))),
              QStringLiteral("ユーザー定義用紙"));
    EXPECT_EQ(PaperTable::orientationName(QPageLayout::Landscape), QStringLiteral("横"));
    EXPECT_EQ(PaperTable::orientationName(QPageLayout::Portrait), QStringLiteral("縦"));
}

} // namespace
