// The preview of a landscape page, and the page range chosen in the system print dialog.
#include "PrintFixture.h"

#include "print/TfrmPreview.h"

#include <QPrintDialog>
#include <QRadioButton>
#include <QSpinBox>

#include <memory>

#include "support_gui/WhenDialogShows.h"

namespace {

class OrientationAndRange : public PrintFixture {};

} // namespace

TEST_F(OrientationAndRange, PreviewShowsALandscapePageLyingOnItsSide) {
    fillTable(3, 3);
    print.ensureDefaults();
    print.setup().pageSize = QPageSize(QPageSize::A4);
    print.setup().orientation = QPageLayout::Landscape;
    TfrmPreview preview(&owner, print, hyo, com, global);
    preview.resize(600, 500);
    preview.show();
    QApplication::processEvents();
    EXPECT_EQ(preview.pageImage().size(), QSize(1122, 793));   // A4 at 96 dpi, turned
}

TEST_F(OrientationAndRange, SystemPrintDialogPrintsThePagesChosen) {
    // 100 rows of 12 columns on A4 portrait: 2 x 2 pages.
    fillTable(101, 12);
    global.setPrintKind(1);
    print.ensureDefaults();
    print.setup().pageSize = QPageSize(QPageSize::A4);
    print.setup().outputFile = QString::fromStdString(pdf());
    whenModal<QPrintDialog>([](QPrintDialog& dialog) {
        auto* range = dialog.findChild<QRadioButton*>("printRange");
        auto* from = dialog.findChild<QSpinBox*>("from");
        auto* to = dialog.findChild<QSpinBox*>("to");
        ASSERT_TRUE(range && from && to);
        range->setChecked(true);
        from->setValue(2);
        to->setValue(3);
        dialog.accept();
    });
    EXPECT_EQ(print.printTable(&owner, hyo, com, true, 1.0), 2);
    EXPECT_EQ(pdfPages(), 2);
    EXPECT_TRUE(pageText(1).contains("r1c11"));   // page 2: the right half of the top
    EXPECT_TRUE(pageText(2).contains("r65c0"));   // page 3: the left half of the bottom
}
