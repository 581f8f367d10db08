// The run-only OK of the options dialog keeps its zoom out of vexil.ini, at once and at the
// close-time save; a later zoom by key is saved again.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "dialogs/TfrmOption.h"
#include "settings/CMyGlobal.h"
#include "support/TempHome.h"

TEST(OptionRunOnlyScale, RunOnlyOkKeepsScaleOutOfTheFile) {
    TempHome home;
    home.write("vexil.ini", "[OPT]\r\nSCALE=100\r\n");
    CMyGlobal g;
    g.loadSettings(1920, 1080);
    {
        TfrmOption d(g);
        d.show();
        QLineEdit* scale = d.findChild<QComboBox*>("cbo_Scale")->lineEdit();
        scale->selectAll();
        QTest::keyClicks(scale, QStringLiteral("150"));
        QTest::mouseClick(d.findChild<QPushButton*>("cmd_OkSave"), Qt::LeftButton);
        ASSERT_TRUE(d.dialogAccepted());
    }
    EXPECT_EQ(g.viewScale(), 150);
    EXPECT_NE(TempHome::read(home.file("vexil.ini")).find("SCALE=100"), std::string::npos);
    ASSERT_TRUE(g.saveSettings(false));   // as the window saves when it closes
    EXPECT_NE(TempHome::read(home.file("vexil.ini")).find("SCALE=100"), std::string::npos);

    g.setViewScale(160);   // F9
    ASSERT_TRUE(g.saveSettings(false));
    EXPECT_NE(TempHome::read(home.file("vexil.ini")).find("SCALE=160"), std::string::npos);
}
