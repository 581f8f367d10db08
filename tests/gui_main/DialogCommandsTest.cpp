// The options, user-key and colour-list commands on a real main window: opening them from
// their menu items, shortcuts and user keys, and what an accepted dialog changes in the window.
#include "grid/Navigator.h"
#include "app/TfrmMain.h"

#include "dialogs/TfrmCRList.h"
#include "dialogs/TfrmOption.h"
#include "dialogs/TfrmUserKey.h"
#include "settings/CMyGlobal.h"
#include "store/CMyColourFile.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/SaveFlow.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "view/CMyHyoDraw.h"
#include "view/GridWidget.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "support_gui/ShownWindow.h"

#include "support_gui/WhenDialogShows.h"

#include <functional>
#include <memory>

namespace {


class DialogCommandsTest : public ::testing::Test {
protected:
    std::unique_ptr<TfrmMain> openShown(const std::string& name, const std::string& bytes) {
        const std::string path = home.write(name, bytes);
        return openShownWindow(path);
    }
    static QAction* action(QWidget& w, const char* name) { return findAction(w, name); }
    // The colour drawn inside cell (column, row), away from its text.
    static QRgb cellPixel(TfrmMain& w, int column, int row) {
        const std::optional<QRect> r = w.view().cellRect(column, row);
        EXPECT_TRUE(r.has_value());
        if (!r) return 0;
        return w.view().image().pixel(r->right() - 3, r->center().y());
    }

    TempHome home;
    ScriptedPrompt prompt;
};

} // namespace

TEST_F(DialogCommandsTest, CtrlOAppliesTheOptionsToTheWindowAndReopensOnTheLastPage) {
    auto w = openShown("o.csv", "a,b\r\nc,d\r\ne,f\r\n");
    const QRgb plain = cellPixel(*w, 1, 1);
    w->hyo().setCell(0, 0, "x");   // something to undo
    ASSERT_GT(w->hyo().journal().entryCount(), 0);
    int shownPage = -1;
    whenModal<TfrmOption>([&](TfrmOption& d) {
        shownPage = d.page();
        d.findChild<QComboBox*>("cbo_KougoLine")->setCurrentIndex(1);
        d.findChild<QComboBox*>("cbo_KougoCrIndex")->setCurrentIndex(3);
        d.findChild<QComboBox*>("cbo_Scale")->setCurrentText("150");
        d.findChild<QComboBox*>("cbo_EditMozi")->setCurrentIndex(1);
        d.findChild<QCheckBox*>("chk_LineCurUmu")->setChecked(false);
        d.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(TfrmOption::DesignPage);
        QTest::mouseClick(d.findChild<QPushButton*>("cmd_Ok"), Qt::LeftButton);
    });
    QTest::keyClick(&w->gridWidget(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(shownPage, 0);
    EXPECT_EQ(w->global().viewScale(), 150);
    EXPECT_DOUBLE_EQ(w->view().scale(), 1.5);
    EXPECT_EQ(w->statusPanelText(5), QStringLiteral("150%"));
    EXPECT_EQ(w->document().encoding, 15);
    EXPECT_TRUE(w->document().modified);   // the new format must reach the file
    EXPECT_TRUE(w->windowTitle().contains(QStringLiteral("(更新)")));
    EXPECT_GT(w->hyo().journal().entryCount(), 0);   // same undo size: history kept
    const QRgb banded = cellPixel(*w, 1, 1);
    EXPECT_NE(banded, plain);
    EXPECT_EQ(banded, w->view().alternateColour());
    EXPECT_EQ(cellPixel(*w, 1, 0), plain);   // band height 1: every second row
    EXPECT_NE(TempHome::read(home.file("vexil.ini")).find("KG_LINE=1"), std::string::npos);

    // Cancel changes nothing but the page is remembered; a smaller undo size keeps the steps
    // that still fit it.
    whenModal<TfrmOption>([&](TfrmOption& d) {
        shownPage = d.page();
        d.setPage(TfrmOption::EditPage);
        d.findChild<QPushButton*>("cmd_Cancel")->click();
    });
    action(*w, "mnuOptionOption")->trigger();
    EXPECT_EQ(shownPage, TfrmOption::DesignPage);
    whenModal<TfrmOption>([&](TfrmOption& d) {
        shownPage = d.page();
        QLineEdit* undo = d.findChild<QLineEdit*>("txt_UndoSize");
        undo->selectAll();
        QTest::keyClicks(undo, "2");
        d.findChild<QPushButton*>("cmd_Ok")->click();
    });
    action(*w, "mnuOptionOption")->trigger();
    EXPECT_EQ(shownPage, TfrmOption::EditPage);
    EXPECT_EQ(w->hyo().journal().limit(), 2000);
    EXPECT_EQ(w->hyo().journal().entryCount(), 1);
}

TEST_F(DialogCommandsTest, AlternateModeFromTheOptionsDrawsItsBandsAndOffKeepsTheStartBands) {
    auto w = openShown("k.csv", "a,b\r\nc,d\r\ne,f\r\ng,h\r\n");
    whenModal<TfrmOption>([](TfrmOption& d) {
        QComboBox* band = d.findChild<QComboBox*>("cbo_KougoLineMode");
        band->setFocus();
        QTest::keyClick(band, Qt::Key_Down);   // 2 rows: ticks the mode
        d.findChild<QPushButton*>("cmd_OkSave")->click();
    });
    action(*w, "mnuOptionOption")->trigger();
    EXPECT_TRUE(w->navigation().alternateMode());
    EXPECT_EQ(w->navigation().alternateLines(), 2);
    EXPECT_EQ(cellPixel(*w, 1, 2), w->view().alternateColour());
    EXPECT_NE(cellPixel(*w, 1, 1), w->view().alternateColour());
    EXPECT_EQ(TempHome::read(home.file("vexil.ini")).find("KG_LINE"), std::string::npos);

    whenModal<TfrmOption>([](TfrmOption& d) {
        d.findChild<QCheckBox*>("chk_KougoMode")->setChecked(false);
        d.findChild<QPushButton*>("cmd_OkSave")->click();
    });
    action(*w, "mnuOptionOption")->trigger();
    EXPECT_FALSE(w->navigation().alternateMode());
    EXPECT_NE(cellPixel(*w, 1, 2), w->view().alternateColour());
}

TEST_F(DialogCommandsTest, UserKeyDialogFromTheMenuAndFromAUserKey) {
    auto w = openShown("u.csv", "a\r\n");
    bool shown = false;
    whenModal<TfrmUserKey>([&](TfrmUserKey& d) {
        shown = true;
        auto* keys = d.findChild<QListWidget*>("lst_UserKey");
        keys->setCurrentRow(0);
        auto* functions = d.findChild<QListWidget*>("lst_Syori");
        functions->setCurrentRow(1);   // "ユーザー定義キーの割当を開く"
        d.findChild<QPushButton*>("cmd_Ok")->click();
    });
    action(*w, "mnuOptionUserKey")->trigger();
    ASSERT_TRUE(shown);
    EXPECT_EQ(w->global().userKey(0, false), 1);

    shown = false;
    whenModal<TfrmUserKey>([&](TfrmUserKey& d) {
        shown = true;
        d.findChild<QPushButton*>("cmd_Close")->click();
    });
    QTest::keyClick(&w->gridWidget(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_TRUE(shown);
}

TEST_F(DialogCommandsTest, ColourListReloadsTheDocumentWithTheChosenEntry) {
    home.write("vexil.ini", "[OPT]\r\nMAKEFD=2\r\n");
    auto w = openShown("c.csv", "a,b\r\nc,d\r\n");
    ASSERT_EQ(w->hyo().cellAttribute(1, 1, AttrBackColour), -1);
    {
        // Another instance saved the same file with a coloured cell into the store.
        CMyGlobal other;
        other.loadSettings(1920, 1080);
        CMyHyo table;
        table.journal().setRecording(false);
        table.setRow(0, "a\tb");
        table.setRow(1, "c\td");
        table.setCellAttribute(1, 1, AttrBackColour, 3, 1, 1);
        DocumentState doc;
        doc.filePath = w->document().filePath;
        doc.colourMode = 2;
        ASSERT_TRUE(SaveFlow(table, other, doc).saveDocument(false));
    }
    bool reloadEnabled = false;
    whenModal<TfrmCRList>([&](TfrmCRList& d) {
        auto* lines = d.findChild<QListWidget*>("lst_Main");
        lines->setCurrentRow(0);
        auto* load = d.findChild<QPushButton*>("cmd_ReLoad");
        reloadEnabled = load->isEnabled();
        load->click();
    });
    action(*w, "mnuFileCRList")->trigger();
    EXPECT_TRUE(reloadEnabled);
    EXPECT_EQ(w->hyo().cellAttribute(1, 1, AttrBackColour), 3);
    EXPECT_EQ(w->document().colourTempName.size(), 17u);
    EXPECT_TRUE(w->windowTitle().contains(QStringLiteral("(更新)")));
}
