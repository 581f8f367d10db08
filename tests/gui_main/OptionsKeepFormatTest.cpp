// An options dialog accepted without change keeps the open document's format: a file read as
// UTF-16 big-endian stays so, unmodified, and is saved big-endian.
#include "app/TfrmMain.h"
#include "view/GridWidget.h"

#include "dialogs/TfrmOption.h"
#include "settings/CMyGlobal.h"
#include "store/DocumentState.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "support_gui/ShownWindow.h"
#include "support_gui/WhenDialogShows.h"

#include <QComboBox>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

TEST(OptionsKeepFormatTest, OkWithoutChangeKeepsUtf16BigEndian) {
    TempHome home;
    ScriptedPrompt prompt;
    // "a,b" CR LF in UTF-16 big-endian with its mark.
    const std::string be("\xFE\xFF\x00" "a\x00,\x00" "b\x00\r\x00\n", 12);
    const std::string path = home.write("be.csv", be);
    auto w = openShownWindow(path);
    w->global().setColourFileMode(0);
    ASSERT_EQ(w->document().encoding, 11);
    QString shown;
    whenModal<TfrmOption>([&](TfrmOption& d) {
        shown = d.findChild<QComboBox*>("cbo_EditMozi")->currentText();
        QTest::mouseClick(d.findChild<QPushButton*>("cmd_Ok"), Qt::LeftButton);
    });
    findAction(*w, "mnuOptionOption")->trigger();
    EXPECT_EQ(shown, QStringLiteral("UTF16BE"));
    EXPECT_EQ(w->document().encoding, 11);
    EXPECT_FALSE(w->document().modified);

    w->updateCaption(true, false);
    findAction(*w, "mnuFileSave")->trigger();
    EXPECT_EQ(TempHome::read(path), be);
}
