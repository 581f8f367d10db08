// A recent file's path is shown as it is: an "&" in it is text, not an accelerator.
#include "app/TfrmMain.h"

#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <gtest/gtest.h>

TEST(RecentFilesCaption, AmpersandInAPathIsShownAsText) {
    TempHome home;
    ScriptedPrompt prompt;
    home.write("vexil_hist.lst", "/tmp/a&b.csv\r\n/tmp/c&&d.csv\r\n");
    TfrmMain w(std::vector<std::string>{});
    emit w.findChild<QMenu*>("mnuFileHist")->aboutToShow();
    QAction* first = w.findChild<QAction*>("mnuFileHist1");
    QAction* second = w.findChild<QAction*>("mnuFileHist2");
    EXPECT_EQ(first->text(), QStringLiteral("/tmp/a&&b.csv"));   // Qt shows "&&" as "&"
    EXPECT_EQ(second->text(), QStringLiteral("/tmp/c&&&&d.csv"));
    EXPECT_TRUE(QKeySequence::mnemonic(first->text()).isEmpty());
}
