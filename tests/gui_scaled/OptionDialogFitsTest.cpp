// On a small scaled screen the options dialog stays on the screen: its pages scroll instead
// of being cut, and a field's label is not broken inside a word.
#include "dialogs/TfrmOption.h"
#include "settings/CMyGlobal.h"
#include "support/TempHome.h"

#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

TEST(OptionDialogFits, PagesScrollOnASmallScreenAndLabelsKeepOneLine) {
    TempHome home;
    CMyGlobal global;
    TfrmOption dialog(global);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QRect screen = dialog.screen()->availableGeometry();
    EXPECT_LE(dialog.frameGeometry().width(), screen.width());
    EXPECT_LE(dialog.frameGeometry().height(), screen.height());

    // The quote samples and the TAB note keep their whole size; the page scrolls to them.
    for (const char* name : {"lbl_DblSample0", "lbl_DblSample3"}) {
        auto* sample = dialog.findChild<QLabel*>(name);
        ASSERT_TRUE(sample) << name;
        EXPECT_GE(sample->width(), sample->sizeHint().width()) << name;
        EXPECT_GE(sample->height(), sample->sizeHint().height()) << name;
    }
    QLabel* note = nullptr;
    QLabel* readLabel = nullptr;
    for (QLabel* l : dialog.findChildren<QLabel*>()) {
        if (l->text().startsWith(QStringLiteral("※TAB区切りのみ有効"))) note = l;
        if (l->text() == QStringLiteral("読み込み時の文字コード")) readLabel = l;
    }
    ASSERT_TRUE(note && readLabel);
    auto* area = qobject_cast<QScrollArea*>(dialog.findChild<QTabWidget*>("PageControl1")->currentWidget());
    ASSERT_TRUE(area);
    area->ensureWidgetVisible(note);
    EXPECT_FALSE(note->visibleRegion().isEmpty());
    EXPECT_LT(readLabel->height(), 2 * readLabel->fontMetrics().lineSpacing());
    EXPECT_GE(readLabel->width(), readLabel->fontMetrics().horizontalAdvance(readLabel->text()));
}
