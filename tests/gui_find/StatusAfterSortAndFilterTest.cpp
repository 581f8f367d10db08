// The cell panel follows the cell under the cursor when a sort or a filter changes it while
// the cursor stays where it was.
#include "app/TfrmMain.h"
#include "view/GridWidget.h"

#include "dialogs/TfrmFind.h"
#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "support_gui/ShownWindow.h"
#include "support_gui/WhenDialogShows.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

TEST(StatusAfterSortAndFilter, CellPanelShowsTheNewCellUnderTheCursor) {
    TempHome home;
    ScriptedPrompt prompt;
    auto w = openShownWindow(home.write("s.csv", "c\r\nb\r\na\r\n"));
    w->goToCell(0, 0);
    ASSERT_EQ(w->statusPanelText(6), QStringLiteral("c"));
    findAction(*w, "tb_SortUp")->trigger();
    ASSERT_EQ(w->hyo().cellString(0, 0), "a");
    EXPECT_EQ(w->statusPanelText(6), QStringLiteral("a"));

    whenModal<TfrmFind>([](TfrmFind& d) {
        d.findChild<QComboBox*>("cbo_Data")->setEditText(QStringLiteral("b"));
        QTest::mouseClick(d.findChild<QPushButton*>("cmd_Filter"), Qt::LeftButton);
    });
    findAction(*w, "tb_FilterSet")->trigger();
    ASSERT_EQ(w->hyo().cellString(0, 0), "b");
    EXPECT_EQ(w->statusPanelText(6), QStringLiteral("b"));
    findAction(*w, "mnuFindSelClear")->trigger();
    EXPECT_EQ(w->statusPanelText(6), QStringLiteral("a"));
}
