// The print commands of the main window's menu and toolbar, run on a real window.
#include "PrintFixture.h"

#include "app/TfrmMain.h"
#include "print/TfrmPreview.h"

#include <QAction>
#include <QPageSetupDialog>
#include <QTest>

namespace {

class PrintCommands : public PrintFixture {
protected:
    // 70 rows of 3 columns: two pages at 100 %, one at 80 %.
    std::unique_ptr<TfrmMain> openWindow() {
        std::string csv;
        for (int r = 0; r < 70; ++r)
            csv += "r" + std::to_string(r) + "c0,r" + std::to_string(r) + "c1,x\r\n";
        auto w = std::make_unique<TfrmMain>(std::vector<std::string>{home.write("t.csv", csv)});
        w->show();
        QApplication::processEvents();
        w->global().setPrintKind(2);
        w->printer().ensureDefaults();
        w->printer().setup().printerName.clear();
        w->printer().setup().outputFile = QString::fromStdString(pdf());
        return w;
    }
    static QAction* action(QWidget& w, const char* name) {
        QAction* a = w.findChild<QAction*>(name);
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
};

TEST_F(PrintCommands, PreviewFromTheToolbarThenPrintFromTheMenuAtFullSizeWithGrid) {
    auto w = openWindow();
    for (const char* name : {"mnuFilePreview", "tb_Preview", "mnuFilePrintSetup", "mnuFilePrint"})
        EXPECT_TRUE(action(*w, name)->isEnabled()) << name;

    QString status, reduced;
    whenModal<TfrmPreview>([&](TfrmPreview& preview) {
        status = preview.statusText();
        preview.findChild<QAction*>("mnus_PaperSize80")->trigger();
        reduced = preview.statusText();
        preview.findChild<QAction*>("mnus_GridOn")->trigger();
        preview.findChild<QAction*>("cmd_Close")->trigger();
    });
    action(*w, "tb_Preview")->trigger();
    EXPECT_EQ(status, QStringLiteral("ページ：1/2 - 横:1 縦:2 "));
    EXPECT_EQ(reduced, QStringLiteral("ページ：1/1 - 横:1 縦:1 - データ率:80%"));
    EXPECT_DOUBLE_EQ(w->global().printScale(), 0.8);
    EXPECT_FALSE(w->global().printGrid());

    action(*w, "mnuFilePrint")->trigger();
    EXPECT_EQ(pdfPages(), 2);
    EXPECT_TRUE(pageText(1).contains("r64c1"));   // 65 rows of 16 pixels fit a page
    EXPECT_TRUE(pageText(2).contains("r65c0") && !pageText(2).contains("r64c0"));
    const QImage page = raster(1, 0, 0, 2000, 1000);
    EXPECT_EQ(at(page, Margin + 800, Margin + 100), rgb(0, 0, 0));   // grid line after column 0
}

TEST_F(PrintCommands, PageSetUpFromTheMenuKeepsTheMarginsItShows) {
    auto w = openWindow();
    bool shown = false;
    whenModal<QPageSetupDialog>([&](QPageSetupDialog& dialog) {
        shown = true;
        dialog.accept();
    });
    action(*w, "mnuFilePrintSetup")->trigger();
    EXPECT_TRUE(shown);
    const QMargins margins = w->printer().pageMargins();
    EXPECT_EQ(margins, QMargins(1000, 1000, 1000, 1000));
    EXPECT_EQ(w->printer().paperSize(), QSizeF(21000, 29700));
}

} // namespace
