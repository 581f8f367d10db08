// The main window's status panels after loading, on an untitled window and as the selection
// moves: formats, held notices, totals and the current cell.
#include "app/TfrmMain.h"
#include "editor/CMyEdit.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "view/CMyHyoDraw.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <memory>

// Readable QString values in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

class MainWindowStatusTest : public ::testing::Test {
protected:
    std::unique_ptr<TfrmMain> makeWindow(const std::vector<std::string>& args = {}) {
        return std::make_unique<TfrmMain>(args);
    }
    std::string csv(const std::string& name, const std::string& bytes) { return home.write(name, bytes); }
    TempHome home;
};

} // namespace

TEST_F(MainWindowStatusTest, StatusPanelsAfterLoadingUtf8BomLfFile) {
    ScriptedPrompt prompt;
    const std::string path = csv("u.csv", "\xEF\xBB\xBF" "a,b,c\n1,2,3\n");
    auto w = makeWindow({path});
    EXPECT_EQ(w->statusPanelText(0), QStringLiteral("MAX列:3 MAX行:2"));
    EXPECT_EQ(w->statusPanelText(1), QStringLiteral("列行[1,1]"));
    EXPECT_EQ(w->statusPanelText(2), QStringLiteral("CSV"));
    EXPECT_EQ(w->statusPanelText(3), QStringLiteral("UTF8(BOM)"));
    EXPECT_EQ(w->statusPanelText(4), QStringLiteral("LF"));
    EXPECT_EQ(w->statusPanelText(5), QStringLiteral("100%"));
    EXPECT_EQ(w->statusPanelText(6), QStringLiteral("a"));
}

TEST_F(MainWindowStatusTest, UntitledStatusShowsStartFormat) {
    ScriptedPrompt prompt;
    auto w = makeWindow();
    EXPECT_EQ(w->statusPanelText(0), QStringLiteral("MAX列:0 MAX行:0"));
    EXPECT_EQ(w->statusPanelText(2), QStringLiteral("CSV"));
    EXPECT_EQ(w->statusPanelText(3), QStringLiteral("SHIFT-JIS"));
    EXPECT_EQ(w->statusPanelText(4), QStringLiteral("CRLF"));
    EXPECT_EQ(w->lastStatusRange(), (TfrmMain::Bounds{0, 0, 0, 0}));
}

TEST_F(MainWindowStatusTest, HeldNoticeSurvivesTwoSelectionChanges) {
    ScriptedPrompt prompt;
    const std::string path = csv("s.csv", "a,b,c\nd,e,f\n");
    auto w = makeWindow({path});
    w->setStatusMessage("保存しました", 2);
    w->goToCell(1, 0);
    EXPECT_EQ(w->statusPanelText(6), QStringLiteral("保存しました"));
    w->goToCell(2, 0);
    EXPECT_EQ(w->statusPanelText(6), QStringLiteral("保存しました"));
    w->goToCell(2, 1);
    EXPECT_EQ(w->statusPanelText(6), QStringLiteral("f"));
}

TEST_F(MainWindowStatusTest, SelectionTotalsAlongARowAndDownAColumn) {
    ScriptedPrompt prompt;
    const std::string path = csv("t.csv", "10,word,2.5\n-1,x,y\n1.2.3,,\n7x,,\n");
    auto w = makeWindow({path});
    w->view().setSelection(SelMade, SelCells, CellBlock{0, 0, 2, 0});
    w->updateStatus(1);
    EXPECT_EQ(w->statusPanelText(1), QStringLiteral("列行[1,1]-[3,1] (3x1) "));
    EXPECT_EQ(w->statusPanelText(6), QStringLiteral("横計:12.5"));

    w->view().setSelection(SelMade, SelCells, CellBlock{0, 1, 0, 3});
    w->updateStatus(1);
    EXPECT_EQ(w->statusPanelText(6), QStringLiteral("縦計:6"));

    // Two dimensions: no total, the current cell's text instead.
    w->view().setSelection(SelMade, SelCells, CellBlock{0, 0, 1, 1});
    w->updateStatus(1);
    EXPECT_EQ(w->statusPanelText(6), QStringLiteral("10"));
}

TEST_F(MainWindowStatusTest, MessagePanelShowsTheCurrentCellNotTheSelectionCorner) {
    ScriptedPrompt prompt;
    const std::string path = csv("cc.csv", "a,b\nc,d\n");
    auto w = makeWindow({path});
    // A selection dragged up and left from d: the current cell stays on d.
    w->goToCell(1, 1);
    w->view().setSelection(SelMade, SelCells, CellBlock{1, 1, 0, 0});
    ASSERT_EQ(w->view().curColumn(), 1);
    ASSERT_EQ(w->view().curRow(), 1);
    w->updateStatus(1);
    EXPECT_EQ(w->statusPanelText(1), QStringLiteral("列行[1,1]-[2,2] (2x2) "));
    EXPECT_EQ(w->statusPanelText(6), QStringLiteral("d"));
}

TEST_F(MainWindowStatusTest, WithoutSimpleCalcThePanelShowsTheCell) {
    ScriptedPrompt prompt;
    home.write("vexil.ini", "[OPT]\r\nSIMPLE_CALC=0\r\n");
    const std::string path = csv("t2.csv", "5,6,7\n");
    auto w = makeWindow({path});
    w->view().setSelection(SelMade, SelCells, CellBlock{0, 0, 2, 0});
    w->updateStatus(1);
    EXPECT_EQ(w->statusPanelText(6), QStringLiteral("5"));
}

TEST_F(MainWindowStatusTest, PanelsOneAndSixChangeOnlyWithTheSelection) {
    ScriptedPrompt prompt;
    const std::string path = csv("p.csv", "a,b\n");
    auto w = makeWindow({path});
    w->hyo().setCell(0, 0, "changed");
    w->updateStatus(0);
    EXPECT_EQ(w->statusPanelText(6), QStringLiteral("a"));
    w->goToCell(1, 0);
    w->goToCell(0, 0);
    EXPECT_EQ(w->statusPanelText(6), QStringLiteral("changed"));
    EXPECT_EQ(w->statusPanelText(0), QStringLiteral("MAX列:2 MAX行:1"));
}
