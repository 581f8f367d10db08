// Printing into PDF files: pages, paper, titles, cell text and colours, ranges and failures.
#include "PrintFixture.h"

#include "print/TfrmPrnDlg.h"

#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {

class PdfOutput : public PrintFixture {
protected:
    // 100 rows of 12 columns on A4 portrait: 11 columns and 64 rows fit a page, so 2 x 2 pages.
    void fourPageTable() {
        fillTable(101, 12);
        std::string titles;
        for (int c = 0; c < 12; ++c) titles += (c ? "\t" : "") + (c == 5 ? "" : "T" + std::to_string(c));
        hyo.setRow(0, titles);
        ASSERT_EQ(hyo.takeHeaderRow(), 1);
        hyo.setColumnTitle(0, CodePage::toCp932("名前").c_str());
    }
    // Pixel of cell (column, row) at 1200 dpi, `dx`/`dy` table pixels into it; no titles.
    static QPoint cellPoint(int column, int row, int dx, int dy) {
        return {Margin + static_cast<int>((64 * column + dx) * Scale),
                Margin + static_cast<int>((16 * row + dy) * Scale)};
    }
};

TEST_F(PdfOutput, WideAndLongTablePrintsAcrossThenDownWithTitlesOnEveryPage) {
    fourPageTable();
    EXPECT_EQ(printToPdf(), 4);
    EXPECT_EQ(pdfPages(), 4);
    EXPECT_EQ(pdfPageSize(), QSize(595, 842));
    const QString page1 = pageText(1), page2 = pageText(2), page3 = pageText(3);
    EXPECT_TRUE(page1.contains("名前") && page1.contains("T10") && page1.contains("r1c10"));
    EXPECT_FALSE(page1.contains("T11") || page1.contains("r1c11") || page1.contains("r65c0"));
    EXPECT_NE(wordSpan(1, "6").first, -1);   // an empty title shows the column number
    EXPECT_TRUE(page2.contains("T11") && page2.contains("r1c11") && page2.contains("r64c11"));
    EXPECT_FALSE(page2.contains("r65c11"));
    EXPECT_TRUE(page3.contains("名前") && page3.contains("r65c0") && page3.contains("r100c0"));
    EXPECT_FALSE(page3.contains("r64c0"));
    // The title is centred over its 800-pixel column; cells start 3 table pixels in.
    const auto title = wordSpan(1, "T1");
    EXPECT_NEAR((title.first + title.second) / 2, Margin + 800 + 400, 15);
    EXPECT_NEAR(wordSpan(1, "r1c1").first, Margin + 800 + 37, 15);
}

TEST_F(PdfOutput, PaperOrientationAndDataSizeFollowTheSetUp) {
    fourPageTable();
    print.ensureDefaults();
    print.setup().pageSize = QPageSize(QPageSize::Letter);
    print.setup().orientation = QPageLayout::Landscape;
    EXPECT_EQ(printToPdf(true, 0.4), 1);   // at 40 % everything fits one sheet
    EXPECT_EQ(pdfPageSize(), QSize(792, 612));
}

TEST_F(PdfOutput, CellColoursGridLinesAndOverflowOnThePage) {
    setRows({"r0c0\tr0c1\tr0c2", "ABCDEFGHIJKLMNOPQRSTUVWXYZ\t\t", "x\ty\tz"});
    hyo.setCellAttribute(0, 0, AttrBackColour, 1, 1, 1);
    hyo.setRowAttribute(2, AttrBackColour, 3, 1);
    hyo.setColumnColour(2, AttrBackColour, 4);
    ASSERT_EQ(printToPdf(), 1);
    const QImage page = raster(1, 0, 0, 3000, 1200);
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(at(page, cellPoint(0, 0, 50, 12).x(), cellPoint(0, 0, 50, 12).y()), rgb(230, 30, 30));
    EXPECT_EQ(at(page, cellPoint(1, 2, 50, 12).x(), cellPoint(1, 2, 50, 12).y()), rgb(250, 250, 50));
    // The column's colour wins over the row's.
    EXPECT_EQ(at(page, cellPoint(2, 2, 50, 12).x(), cellPoint(2, 2, 50, 12).y()), rgb(50, 50, 255));
    const QPoint border = cellPoint(1, 0, 0, 8);
    EXPECT_EQ(at(page, border.x(), border.y()), rgb(0, 0, 0));
    EXPECT_EQ(at(page, border.x(), Margin + 200 - 1), rgb(0, 0, 0));   // row 0's bottom line
    // The long text runs over the empty cells: no border where it passes.
    const QPoint passed = cellPoint(1, 1, 0, 14);
    EXPECT_EQ(at(page, passed.x(), passed.y()), rgb(255, 255, 255));

    global.setCellOverflow(false);
    ASSERT_EQ(printToPdf(), 1);
    EXPECT_EQ(at(raster(1, 0, 0, 3000, 1200), passed.x(), passed.y()), rgb(0, 0, 0));
    global.setCellOverflow(true);
    ASSERT_EQ(printToPdf(false), 1);
    const QImage plain = raster(1, 0, 0, 3000, 1200);
    EXPECT_EQ(at(plain, border.x(), border.y()), rgb(255, 255, 255));
    EXPECT_EQ(at(plain, border.x(), Margin + 200 - 1), rgb(255, 255, 255));
}

TEST_F(PdfOutput, WithoutGridLinesTheTitleStripKeepsItsLines) {
    setRows({"A\tB", "x\ty"});
    ASSERT_EQ(hyo.takeHeaderRow(), 1);
    ASSERT_EQ(printToPdf(false), 1);
    const QImage page = raster(1, 0, 0, 2000, 1000);
    const int border = Margin + 800, strip = 200;
    // Lines are a table pixel (12 printer pixels) wide: the black one, then the white one.
    EXPECT_EQ(at(page, border, Margin + strip / 2), rgb(0, 0, 0));             // title strip
    EXPECT_EQ(at(page, border + 11, Margin + strip / 2), rgb(0, 0, 0));
    EXPECT_EQ(at(page, border + 12, Margin + strip / 2), rgb(255, 255, 255));
    EXPECT_EQ(at(page, border - 5, Margin + strip / 2), rgb(192, 192, 192));
    EXPECT_EQ(at(page, border, Margin + strip + 100), rgb(255, 255, 255));     // no cell border
}

TEST_F(PdfOutput, NumbersOfNumberColumnsSitAtTheRight) {
    setRows({"12345\tmid\tabc", "1\r\n2\t-1.5\t-1.5x"});
    hyo.setColumnKind(0, 1, 1);
    hyo.setColumnKind(2, 1, 1);
    ASSERT_EQ(printToPdf(), 1);
    EXPECT_NEAR(wordSpan(1, "12345").second, Margin + 800 - 12, 15);      // number column
    EXPECT_NEAR(wordSpan(1, "-1.5").first, Margin + 800 + 37, 15);        // text column
    EXPECT_NEAR(wordSpan(1, "abc").first, Margin + 1600 + 37, 15);        // not a number
    EXPECT_NEAR(wordSpan(1, "-1.5x").second, Margin + 2400 - 12, 15);     // a number, then text
    EXPECT_NEAR(wordSpan(1, "1").first, Margin + 37, 15);                 // two lines: at the left
}

TEST_F(PdfOutput, FilteredTablePrintsOnlyItsVisibleRows) {
    fillTable(6, 2);
    for (int storeRow : {1, 4}) hyo.addFilterRow(storeRow);
    hyo.setFilterActive(true);
    ASSERT_EQ(printToPdf(), 1);
    const QString text = pageText(1);
    EXPECT_TRUE(text.contains("r1c0") && text.contains("r4c1"));
    EXPECT_FALSE(text.contains("r0c0") || text.contains("r2c0") || text.contains("r5c0"));
}

TEST_F(PdfOutput, OwnDialogShowsTheSetUpAndPrintsTheChosenPages) {
    fourPageTable();
    global.setPrintKind(0);
    print.ensureDefaults();
    print.setup().printerName.clear();
    print.setup().outputFile = QString::fromStdString(pdf());
    QStringList shown;
    bool currentEnabled = true, fieldsEnabled = true;
    whenModal<TfrmPrnDlg>([&](TfrmPrnDlg& dialog) {
        shown << dialog.windowTitle() << dialog.findChild<QLineEdit*>("txt_Paper")->text()
              << dialog.findChild<QLineEdit*>("txt_Orientation")->text()
              << dialog.findChild<QLineEdit*>("txt_PageFrom")->text()
              << dialog.findChild<QLineEdit*>("txt_PageTo")->text();
        currentEnabled = dialog.findChild<QRadioButton*>("rdo_PageGen")->isEnabled();
        fieldsEnabled = dialog.findChild<QLineEdit*>("txt_PageFrom")->isEnabled();
        dialog.findChild<QRadioButton*>("rdo_PageSel")->click();
        dialog.findChild<QLineEdit*>("txt_PageFrom")->setText("2");
        dialog.findChild<QLineEdit*>("txt_PageTo")->setText("3");
        dialog.findChild<QPushButton*>("cmd_Run")->click();
    });
    EXPECT_EQ(print.printTable(&owner, hyo, com, true, 1.0), 2);
    EXPECT_EQ(shown, (QStringList{"印刷", "A4シート(210×297mm)", "縦", "1", "9999"}));
    EXPECT_FALSE(currentEnabled);
    EXPECT_FALSE(fieldsEnabled);
    EXPECT_EQ(pdfPages(), 2);
    EXPECT_TRUE(pageText(1).contains("r1c11"));    // page 2: the right half of the top
    EXPECT_TRUE(pageText(2).contains("r65c0"));    // page 3: the left half of the bottom

    // "全て" prints every page.
    whenModal<TfrmPrnDlg>([](TfrmPrnDlg& dialog) { dialog.findChild<QPushButton*>("cmd_Run")->click(); });
    EXPECT_EQ(print.printTable(&owner, hyo, com, true, 1.0), 4);
    EXPECT_EQ(print.lastPage(), CMyPrint::AllPages);
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(PdfOutput, PrinterSetUpFromTheOwnDialogIsKeptForTheRun) {
    fillTable(3, 2);
    global.setPrintKind(0);
    print.ensureDefaults();
    const QString file = QString::fromStdString(pdf());
    print.setup().outputFile = file;
    print.setup().orientation = QPageLayout::Landscape;
    QString device, orientation;
    whenModal<TfrmPrnDlg>([&](TfrmPrnDlg& dialog) {
        whenModal<QPrintDialog>([](QPrintDialog& system) {
            system.printer()->setPageOrientation(QPageLayout::Portrait);
            // Copies and colour are chosen on the dialog's own fields. (A PDF file has no
            // two-sided printing: QPrinter keeps that only for a real printer.)
            system.findChild<QSpinBox*>("copies")->setValue(3);
            system.findChild<QRadioButton*>("grayscale")->setChecked(true);
            system.accept();
        });
        dialog.findChild<QPushButton*>("cmd_Setting")->click();
        device = dialog.findChild<QLineEdit*>("txt_DevName")->text();
        orientation = dialog.findChild<QLineEdit*>("txt_Orientation")->text();
        dialog.findChild<QPushButton*>("cmd_Run")->click();
    });
    EXPECT_EQ(print.printTable(&owner, hyo, com, true, 1.0), 1);
    EXPECT_EQ(device, QStringLiteral("out.pdf"));
    EXPECT_EQ(orientation, QStringLiteral("縦"));
    EXPECT_EQ(print.setup().orientation, QPageLayout::Portrait);
    EXPECT_EQ(pdfPageSize(), QSize(595, 842));
    // The next job's printer keeps them.
    const std::unique_ptr<QPrinter> next = CMyPrint::makePrinter(print.setup());
    EXPECT_EQ(print.setup().copies, 3);
    EXPECT_EQ(next->copyCount(), 3);
    EXPECT_EQ(next->colorMode(), QPrinter::GrayScale);
}

TEST_F(PdfOutput, RangeWithoutPagesOrCancelStartsNoJob) {
    fourPageTable();
    global.setPrintKind(0);
    print.ensureDefaults();
    print.setup().outputFile = QString::fromStdString(pdf());
    whenModal<TfrmPrnDlg>([](TfrmPrnDlg& dialog) {
        dialog.findChild<QRadioButton*>("rdo_PageSel")->click();
        dialog.findChild<QLineEdit*>("txt_PageFrom")->setText("5");
        dialog.findChild<QPushButton*>("cmd_Run")->click();
    });
    prompt.allowUnscripted();
    EXPECT_EQ(print.printTable(&owner, hyo, com, true, 1.0), 0);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "印刷するページがありません。");
    EXPECT_EQ(prompt.last().caption, "注意");
    whenModal<TfrmPrnDlg>([](TfrmPrnDlg& dialog) { dialog.findChild<QPushButton*>("cmd_Close")->click(); });
    EXPECT_EQ(print.printTable(&owner, hyo, com, true, 1.0), 0);
    EXPECT_EQ(prompt.shown().size(), 1u);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf())));
    // An empty table has no page to print either.
    CMyHyo empty;
    global.setPrintKind(2);
    EXPECT_EQ(print.printTable(&owner, empty, com, true, 1.0), 0);
    EXPECT_EQ(prompt.shown().size(), 2u);
    EXPECT_EQ(prompt.last().text, "印刷するページがありません。");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf())));
}

TEST_F(PdfOutput, WithoutAnyPrinterTheOwnDialogPrintsIntoAChosenPdfFile) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a printer is installed";
    fillTable(3, 2);
    global.setPrintKind(0);
    print.ensureDefaults();
    print.setup().printerName.clear();
    print.setup().outputFile.clear();
    prompt.chooseFile(pdf());
    whenModal<TfrmPrnDlg>([](TfrmPrnDlg& dialog) { dialog.findChild<QPushButton*>("cmd_Run")->click(); });
    EXPECT_EQ(print.printTable(&owner, hyo, com, true, 1.0), 1);
    ASSERT_EQ(prompt.choosers().size(), 1u);
    EXPECT_EQ(prompt.choosers()[0].filters, "PDF (*.pdf)|*.pdf");
    EXPECT_TRUE(pageText(1).contains("r2c1"));
}

TEST_F(PdfOutput, SystemPrintDialogPrintsEveryPageOrCancels) {
    fourPageTable();
    global.setPrintKind(1);
    print.ensureDefaults();
    print.setup().outputFile = QString::fromStdString(pdf());
    whenModal<QPrintDialog>([](QPrintDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(print.printTable(&owner, hyo, com, true, 1.0), 0);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf())));
    whenModal<QPrintDialog>([](QPrintDialog& dialog) { dialog.accept(); });
    EXPECT_EQ(print.printTable(&owner, hyo, com, true, 1.0), 4);
    EXPECT_EQ(pdfPages(), 4);
}

TEST_F(PdfOutput, SystemPrintDialogPrintsTheChosenPages) {
    fourPageTable();
    global.setPrintKind(1);
    print.ensureDefaults();
    print.setup().outputFile = QString::fromStdString(pdf());
    whenModal<QPrintDialog>([](QPrintDialog& dialog) {
        dialog.findChild<QRadioButton*>("printRange")->setChecked(true);
        dialog.findChild<QSpinBox*>("from")->setValue(2);
        dialog.findChild<QSpinBox*>("to")->setValue(3);
        dialog.accept();
    });
    EXPECT_EQ(print.printTable(&owner, hyo, com, true, 1.0), 2);
    EXPECT_EQ(print.firstPage(), 2);
    EXPECT_EQ(print.lastPage(), 3);
    EXPECT_EQ(pdfPages(), 2);
    EXPECT_TRUE(pageText(1).contains("r1c11"));    // page 2
    EXPECT_TRUE(pageText(2).contains("r65c0"));    // page 3
}

TEST_F(PdfOutput, FailuresAreReported) {
    fillTable(2, 2);
    prompt.allowUnscripted();
    print.ensureDefaults();
    print.setup().outputFile = QString::fromStdString(home.file("missing/folder/out.pdf"));
    global.setPrintKind(2);
    EXPECT_EQ(print.printTable(&owner, hyo, com, true, 1.0), -1);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "印刷に失敗しました。");
    EXPECT_EQ(prompt.last().caption, "StartDoc");
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a printer is installed";
    print.setup().outputFile.clear();
    print.setup().printerName.clear();
    EXPECT_EQ(print.printTable(&owner, hyo, com, true, 1.0), 0);
    EXPECT_EQ(prompt.last().text, "印刷に失敗しました。");
    EXPECT_EQ(prompt.last().caption, "Print");
}

} // namespace
