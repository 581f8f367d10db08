// The status panels: wide enough for their longest texts, cut from the right without overlap.
#include "app/StatusBarPanels.h"
#include "app/StatusPanel.h"

#include <gtest/gtest.h>

namespace {

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

} // namespace

TEST(StatusBarPanels, LongestTextsFitAtTheUsualWidth) {
    StatusBarPanels bar;
    bar.show();
    bar.resize(bar.sizeHint().width() + 100, 17);
    bar.panel(0)->setText(text("MAX列:999 MAX行:500000"));
    bar.panel(1)->setText(text("列行[999,500000]-[999,500000] (999x500000) "));
    bar.panel(2)->setText(text("TAB+色情報"));
    bar.panel(3)->setText(text("UTF16(BOM)"));
    bar.panel(4)->setText(text("CRLF"));
    bar.panel(5)->setText(text("400%"));
    for (int i = 0; i < 6; ++i) EXPECT_FALSE(bar.panel(i)->isElided()) << i;
    // Never narrower than the form's widths, in the form's order.
    const int formWidths[] = {150, 210, 74, 82, 38, 50};
    for (int i = 0; i < 6; ++i) {
        EXPECT_GE(bar.panel(i)->width(), formWidths[i]) << i;
        EXPECT_EQ(bar.panel(i + 1)->x(), bar.panel(i)->x() + bar.panel(i)->width()) << i;
    }
    EXPECT_EQ(bar.panel(6)->x() + bar.panel(6)->width(), bar.width());
    // The whole text stays readable to the program even when the panel shows it cut.
    bar.panel(6)->setText(QString(300, QLatin1Char('x')));
    EXPECT_TRUE(bar.panel(6)->isElided());
    EXPECT_EQ(bar.panel(6)->text().size(), 300);
}

TEST(StatusBarPanels, ANarrowWindowCutsTheLastPanelsInsteadOfOverlapping) {
    StatusBarPanels bar;
    bar.show();
    EXPECT_EQ(bar.minimumSizeHint().width(), 0);   // the bar never holds the window wide
    bar.resize(250, 17);
    int right = 0;
    for (int i = 0; i < StatusBarPanels::count; ++i) {
        const StatusPanel* panel = bar.panel(i);
        if (!panel->isVisibleTo(&bar)) {
            EXPECT_EQ(panel->width(), 0) << i;
            continue;
        }
        EXPECT_EQ(panel->x(), right) << i;
        right = panel->x() + panel->width();
    }
    EXPECT_LE(right, 250);
    EXPECT_TRUE(bar.panel(0)->isVisibleTo(&bar));
    EXPECT_FALSE(bar.panel(6)->isVisibleTo(&bar));
    bar.resize(2000, 17);
    EXPECT_TRUE(bar.panel(6)->isVisibleTo(&bar));
    EXPECT_GT(bar.panel(6)->width(), 50);
}
