// On a screen scaled by 2 (this executable's whole run) the grid and the in-cell editor show
// detail at the device resolution instead of enlarged 1x images.
#include "editor/CMyEdit.h"
#include "platform/core/CodePage.h"
#include "store/CMyHyo.h"
#include "view/CMyHyoCom.h"
#include "view/CMyHyoDraw.h"
#include "view/GridWidget.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>

namespace {

// Share of the aligned 2 x 2 blocks of an image that are not one colour: an image drawn at 1x
// and enlarged has none.
double detailShare(const QImage& image) {
    int blocks = 0, mixed = 0;
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            ++blocks;
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p ||
                image.pixel(x + 1, y + 1) != p)
                ++mixed;
        }
    return blocks ? double(mixed) / blocks : 0.0;
}

} // namespace

TEST(ScaledScreen, TheTestsRunAtRatioTwo) {
    QWidget widget;
    EXPECT_EQ(widget.devicePixelRatioF(), 2.0);
}

TEST(ScaledScreen, GridTextAndLinesAreDrawnAtTheDeviceResolution) {
    CMyHyo hyo;
    CMyHyoCom com;
    CMyHyoDraw view(hyo, com);
    view.attach(800, 600, 0, 0, 100);
    view.setViewSize(400, 200);
    hyo.setRow(0, CodePage::toCp932("商品コード\tりんご\t158"));
    hyo.setRow(1, CodePage::toCp932("A-1001\tみかん\t98"));
    hyo.setWidestRow(hyo.widestRowCount());
    GridWidget widget;
    widget.resize(400, 200);
    widget.setView(&view);
    view.render(0, 0, true);
    view.present();
    const QImage shown = widget.grab().toImage();
    ASSERT_EQ(shown.width(), 800);
    EXPECT_GT(detailShare(shown.copy(0, 0, 400, 80)), 0.02);
}

TEST(ScaledScreen, EditorTextIsDrawnAtTheDeviceResolution) {
    QWidget owner;
    owner.resize(400, 200);
    CMyEdit edit;
    edit.attach(&owner);
    ASSERT_EQ(edit.open(51, 20, 99, 16, 349, 180, CodePage::toCp932("あいうabc").c_str(),
                        CMyEdit::FlagCaretAtEnd, 5001),
              0);
    const QImage shown = owner.grab(QRect(51, 20, 99, 16)).toImage();
    ASSERT_EQ(shown.width(), 198);
    EXPECT_GT(detailShare(shown), 0.05);
}
