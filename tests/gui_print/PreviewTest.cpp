// The preview window: status, paging, data size, fit, grid, panning, closing and printing.
#include "PrintFixture.h"

#include "print/TfrmPreview.h"

#include <QAction>
#include <QLabel>
#include <QSpinBox>
#include <QWheelEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

class Preview : public PrintFixture {
protected:
    std::unique_ptr<TfrmPreview> open(QSize size = QSize(600, 500)) {
        auto preview = std::make_unique<TfrmPreview>(&owner, print, hyo, com, global);
        preview->resize(size);
        preview->show();
        QApplication::processEvents();
        return preview;
    }
    static void trigger(TfrmPreview& preview, const char* name) {
        QAction* action = preview.findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    static bool enabled(TfrmPreview& preview, const char* name) {
        return preview.findChild<QAction*>(name)->isEnabled();
    }
    // The pop-up menu's checked items as it opens, sorted and joined by spaces.
    static std::string checkedItems(TfrmPreview& preview) {
        emit preview.popupMenu()->aboutToShow();
        QStringList names;
        for (QAction* action : preview.findChildren<QAction*>())
            if (action->isChecked() && action->objectName().startsWith("mnus_"))
                names << action->objectName();
        names.sort();
        return names.join(' ').toStdString();
    }
    void manyPages() {
        fillTable(100, 12);
    }
    // Page pixels at 96 dpi: 10 mm margins are 37 pixels.
    static constexpr int ScreenMargin = 37;
};

TEST_F(Preview, OnePageTableShowsItsPageWithoutRateAndPaging) {
    setRows({"A\tB", "red\tplain"});
    ASSERT_EQ(hyo.takeHeaderRow(), 1);
    hyo.setCellAttribute(0, 0, AttrBackColour, 1, 1, 1);
    auto preview = open();
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("プレビュー"));
    QStringList buttons;
    for (QToolButton* button : preview->findChildren<QToolButton*>())
        if (!button->text().isEmpty() && button->isVisible()) buttons << button->text();
    EXPECT_EQ(buttons.join(' ').toStdString(), "前ページ 次ページ 印刷... ページ設定... 閉じる");
    EXPECT_EQ(preview->statusText(), QStringLiteral("ページ：1/1 - 横:1 縦:1 "));
    EXPECT_FALSE(enabled(*preview, "cmd_Prev"));
    EXPECT_FALSE(enabled(*preview, "cmd_Next"));
    const QImage& page = preview->pageImage();
    EXPECT_EQ(page.size(), QSize(793, 1122));   // A4 at 96 dpi
    EXPECT_EQ(at(page, ScreenMargin + 20, ScreenMargin + 8), rgb(192, 192, 192));        // titles
    EXPECT_EQ(at(page, ScreenMargin + 50, ScreenMargin + 16 + 8), rgb(230, 30, 30));     // cell
    EXPECT_EQ(at(page, ScreenMargin + 64, ScreenMargin + 16 + 8), rgb(0, 0, 0));         // grid
    EXPECT_EQ(at(page, 10, 10), rgb(255, 255, 255));                                     // margin
    EXPECT_EQ(checkedItems(*preview), "mnus_GridOn mnus_PaperSize100");

    trigger(*preview, "mnus_GridOn");
    EXPECT_FALSE(preview->gridLines());
    EXPECT_EQ(at(preview->pageImage(), ScreenMargin + 64, ScreenMargin + 16 + 8), rgb(255, 255, 255));
}

TEST_F(Preview, PagesStepAcrossThenDownAndDataSizeChangesTheSplit) {
    manyPages();
    auto preview = open();
    EXPECT_EQ(preview->statusText(), QStringLiteral("ページ：1/4 - 横:2 縦:2 "));
    EXPECT_FALSE(enabled(*preview, "cmd_Prev"));
    trigger(*preview, "cmd_Next");
    trigger(*preview, "cmd_Next");
    trigger(*preview, "cmd_Next");
    EXPECT_EQ(preview->currentPage(), 4);
    EXPECT_FALSE(enabled(*preview, "cmd_Next"));
    trigger(*preview, "cmd_Next");
    EXPECT_EQ(preview->currentPage(), 4);
    trigger(*preview, "cmd_Prev");
    EXPECT_EQ(preview->statusText(), QStringLiteral("ページ：3/4 - 横:2 縦:2 "));

    trigger(*preview, "mnus_PaperSize70");
    EXPECT_EQ(preview->statusText(), QStringLiteral("ページ：1/2 - 横:1 縦:2 - データ率:70%"));
    EXPECT_EQ(checkedItems(*preview), "mnus_GridOn mnus_PaperSize70");
}

TEST_F(Preview, FitStopsAtAQuarterAndTogglesBack) {
    fillTable(3, 3);
    print.ensureDefaults();
    print.setup().pageSize = QPageSize(QPageSize::AnsiE);
    auto preview = open(QSize(500, 400));
    trigger(*preview, "mnus_ScrFit");
    EXPECT_DOUBLE_EQ(preview->previewZoom(), 0.25);
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("プレビュー【25％】"));
    EXPECT_EQ(checkedItems(*preview), "mnus_GridOn mnus_PaperSize100 mnus_ScrFit");
    trigger(*preview, "mnus_ScrFit");
    EXPECT_DOUBLE_EQ(preview->previewZoom(), 1.0);
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("プレビュー"));
    // A4 fits a big window at the largest whole percentage that shows the page.
    print.setup().pageSize = QPageSize(QPageSize::A4);
    auto large = open(QSize(900, 800));
    trigger(*large, "mnus_ScrFit");
    const QWidget* area = large->findChild<QWidget*>("pnl_Page");
    const double expected = std::floor(std::min(area->width() / 792.0, area->height() / 1121.0) * 100) / 100;
    EXPECT_DOUBLE_EQ(large->previewZoom(), expected);
}

TEST_F(Preview, DraggingPansThePage) {
    fillTable(3, 3);
    auto preview = open(QSize(500, 400));
    auto* across = preview->findChild<QScrollBar*>("scr_Bottom");
    auto* down = preview->findChild<QScrollBar*>("scr_Right");
    ASSERT_TRUE(across->isEnabled() && down->isEnabled());
    QWidget* area = preview->findChild<QWidget*>("pnl_Page");
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(200, 200));
    QTest::mouseMove(area, QPoint(150, 170));
    EXPECT_EQ(across->value(), 50);
    EXPECT_EQ(down->value(), 30);
    QTest::mouseMove(area, QPoint(150, 260));   // back past the start: the bar stops at 0
    EXPECT_EQ(down->value(), 0);
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(150, 260));
    QTest::mouseMove(area, QPoint(100, 100));
    EXPECT_EQ(across->value(), 50);
}

TEST_F(Preview, ClosingKeepsDataSizeZoomAndGridForTheNextPreview) {
    manyPages();
    {
        auto preview = open();
        trigger(*preview, "mnus_PaperSize80");
        trigger(*preview, "mnus_GridOn");
        trigger(*preview, "cmd_Close");
    }
    EXPECT_DOUBLE_EQ(global.printScale(), 0.8);
    EXPECT_FALSE(global.printGrid());
    auto again = open();
    EXPECT_DOUBLE_EQ(again->printScale(), 0.8);
    EXPECT_FALSE(again->gridLines());
    EXPECT_TRUE(again->statusText().endsWith(QStringLiteral("- データ率:80%")));
    // 0.75 shows as 70 %, and the menu marks 70.
    global.setPrintScale(0.75);
    auto between = open();
    EXPECT_TRUE(between->statusText().endsWith(QStringLiteral("- データ率:70%")));
    EXPECT_EQ(checkedItems(*between), "mnus_PaperSize70");
    global.setPrintScale(0.3);
    EXPECT_EQ(checkedItems(*open()), "");   // nothing below 40 %
}

TEST_F(Preview, PrintingFromThePreviewUsesItsDataSizeAndGrid) {
    manyPages();
    auto preview = open();
    trigger(*preview, "mnus_PaperSize50");
    global.setPrintKind(2);
    print.setup().outputFile = QString::fromStdString(pdf());
    trigger(*preview, "cmd_Print");
    EXPECT_EQ(pdfPages(), preview->pageCount());
    EXPECT_EQ(preview->pageCount(), 1);
}

// A4 with 10 mm margins holds 1046.9 table pixels of rows: the preview counts the pages the
// printer will print, although its own page has 1,048 pixels of room.
TEST_F(Preview, PagesAreSplitAsThePrinterSplitsThem) {
    fillTable(66, 2);
    hyo.setRowHeight(65, 8);   // 65 x 16 + 8 = 1,048
    global.setPrintKind(2);
    print.ensureDefaults();
    print.setup().outputFile = QString::fromStdString(pdf());
    auto preview = open();
    EXPECT_EQ(preview->pageCount(), 2);
    trigger(*preview, "cmd_Print");
    EXPECT_EQ(pdfPages(), 2);
    hyo.setRowHeight(65, 6);   // 1,046 fits one page on both
    auto shorter = open();
    EXPECT_EQ(shorter->pageCount(), 1);
    trigger(*shorter, "cmd_Print");
    EXPECT_EQ(pdfPages(), 1);
}

// The second line of a two-line cell in a 16-pixel row is cut at the row's bottom and never
// shows in the row below.
TEST_F(Preview, TextStaysInsideItsRow) {
    setRows({"ab\r\ncd\tx", "\ty"});
    auto preview = open();
    const QImage page = preview->pageImage();
    int ink = 0;
    for (int y = ScreenMargin + 16 + 1; y < ScreenMargin + 32 - 2; ++y)
        for (int x = ScreenMargin + 2; x < ScreenMargin + 62; ++x) ink += qGray(page.pixel(x, y)) < 200;
    EXPECT_EQ(ink, 0);
}

TEST_F(Preview, LandscapePaperShowsItsPageSideways) {
    manyPages();
    print.ensureDefaults();
    print.setup().orientation = QPageLayout::Landscape;
    auto preview = open();
    EXPECT_EQ(preview->pageImage().size(), QSize(1122, 793));
    // Landscape A4 takes 16 columns and 45 rows: 1 x 3 pages.
    EXPECT_EQ(preview->statusText(), QStringLiteral("ページ：1/3 - 横:1 縦:3 "));
    EXPECT_EQ(at(preview->pageImage(), ScreenMargin + 11 * 64, ScreenMargin + 8), rgb(0, 0, 0));
}

TEST_F(Preview, KeysPageScrollZoomAndClose) {
    fillTable(300, 12);   // 2 x 5 pages
    auto preview = open();
    QWidget* area = preview->findChild<QWidget*>("pnl_Page");
    auto* down = preview->findChild<QScrollBar*>("scr_Right");
    auto* across = preview->findChild<QScrollBar*>("scr_Bottom");
    QTest::keyClick(area, Qt::Key_PageDown);
    EXPECT_EQ(preview->currentPage(), 2);
    QTest::keyClick(area, Qt::Key_End);
    EXPECT_EQ(preview->currentPage(), 10);
    QTest::keyClick(area, Qt::Key_PageUp);
    EXPECT_EQ(preview->statusText(), QStringLiteral("ページ：9/10 - 横:2 縦:5 "));
    QTest::keyClick(area, Qt::Key_Home);
    EXPECT_EQ(preview->currentPage(), 1);
    QTest::keyClick(area, Qt::Key_Down);
    QTest::keyClick(area, Qt::Key_Down);
    QTest::keyClick(area, Qt::Key_Right);
    EXPECT_EQ(down->value(), 40);
    EXPECT_EQ(across->value(), 20);
    QTest::keyClick(area, Qt::Key_Up);
    EXPECT_EQ(down->value(), 20);

    QTest::keyClick(area, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(preview->previewZoom(), 1.25);
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("プレビュー【125％】"));
    EXPECT_EQ(preview->pageImage().size(), QSize(992, 1403));   // drawn at the zoom, not stretched
    QTest::keyClick(area, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("プレビュー"));
    QTest::keyClick(area, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(preview->previewZoom(), 0.8);
    QWheelEvent wheel(QPointF(50, 50), area->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area, &wheel);
    EXPECT_DOUBLE_EQ(preview->previewZoom(), 1.0);

    // A page is reached by its number.
    auto* number = preview->findChild<QSpinBox*>("txt_PageNo");
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(preview->findChild<QLabel*>("lbl_PageTotal")->text(), QStringLiteral("/10"));
    number->setFocus();
    number->selectAll();
    QTest::keyClicks(number, "7");
    QTest::keyClick(number, Qt::Key_Return);
    EXPECT_EQ(preview->currentPage(), 7);
    QTest::keyClick(area, Qt::Key_PageDown);
    EXPECT_EQ(number->value(), 8);

    QTest::keyClick(area, Qt::Key_Escape);
    EXPECT_FALSE(preview->isVisible());
}

TEST_F(Preview, PaperTooLargeForAnImageFallsBackToTheScreenSize) {
    fillTable(2, 2);
    print.ensureDefaults();
    print.setup().pageSize = QPageSize(QSizeF(50000, 50000), QPageSize::Millimeter);
    prompt.allowUnscripted();
    auto preview = open();
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "用紙の作成に失敗しました。");
    EXPECT_EQ(prompt.last().caption, "注意");
    EXPECT_EQ(preview->pageImage().size(), preview->screen()->size());
}

} // namespace
