// Undo and redo from the main window's edit menu: messages, the editor, the cursor and the
// modified mark.
#include "app/CommandSurfaces.h"
#include "app/TfrmMain.h"
#include "editor/CMyEdit.h"
#include "store/CMyHyo.h"
#include "view/CMyHyoDraw.h"
#include "view/GridWidget.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "support_gui/ShownWindow.h"

#include <QAction>
#include <gtest/gtest.h>

#include <memory>

namespace {

class UndoWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<TfrmMain> makeWindow(const std::vector<std::string>& args = {}) {
        return std::make_unique<TfrmMain>(args);
    }
    std::string csv(const std::string& name, const std::string& bytes) { return home.write(name, bytes); }
    static QAction* action(QWidget& w, const char* name) { return findAction(w, name); }
    TempHome home;
};

} // namespace

TEST_F(UndoWindowTest, UndoWithEmptyJournalSaysSo) {
    ScriptedPrompt prompt;
    auto w = makeWindow();
    prompt.answer(PromptAnswer::Ok);
    action(*w, "mnuEditUndo")->trigger();
    EXPECT_EQ(prompt.last().text, "Undoデータがありません。");
}

TEST_F(UndoWindowTest, UndoWhileEditingOnlyBeeps) {
    ScriptedPrompt prompt;
    const std::string path = csv("ue.csv", "1,2\n");
    auto w = makeWindow({path});
    w->hyo().setCell(0, 0, "x");
    w->editor().open(0, 0, 60, 16, 300, 200, "abc", 0, 5001);
    ASSERT_TRUE(w->isEditing());
    action(*w, "mnuEditUndo")->trigger();
    EXPECT_EQ(prompt.beeps(), 1);
    EXPECT_EQ(w->hyo().cellString(0, 0), "x");
    w->editor().close();
}

TEST_F(UndoWindowTest, UndoPutsTheTextBackAndMovesTheCursorThere) {
    ScriptedPrompt prompt;
    const std::string path = csv("z.csv", "1,2\n3,4\n");
    auto w = makeWindow({path});
    w->hyo().setCell(1, 1, "x");
    w->updateCaption(true, false);
    action(*w, "mnuEditUndo")->trigger();
    EXPECT_EQ(w->hyo().cellString(1, 1), "4");
    EXPECT_EQ(w->lastStatusRange(), (TfrmMain::Bounds{1, 1, 1, 1}));
    EXPECT_TRUE(w->document().modified);
}

TEST_F(UndoWindowTest, RedoPutsBackWhatUndoTookAndBothMarkModified) {
    ScriptedPrompt prompt;
    const std::string path = csv("y.csv", "1,2\n3,4\n");
    auto w = makeWindow({path});
    w->hyo().setCell(1, 1, "x");
    ASSERT_FALSE(w->document().modified);
    action(*w, "mnuEditUndo")->trigger();
    EXPECT_EQ(w->hyo().cellString(1, 1), "4");
    EXPECT_TRUE(w->document().modified);
    EXPECT_TRUE(action(*w, "mnuEditRedo")->isEnabled());

    w->updateCaption(false, true);
    w->goToCell(0, 0);
    action(*w, "mnuEditRedo")->trigger();
    EXPECT_EQ(w->hyo().cellString(1, 1), "x");
    EXPECT_TRUE(w->document().modified);
    EXPECT_EQ(w->view().curColumn(), 1);
    EXPECT_EQ(w->view().curRow(), 1);
    // Nothing left to redo: the item is disabled and shows no message.
    EXPECT_FALSE(action(*w, "mnuEditRedo")->isEnabled());

    // A new change after an undo leaves nothing to redo.
    action(*w, "mnuEditUndo")->trigger();
    ASSERT_TRUE(action(*w, "mnuEditRedo")->isEnabled());
    w->hyo().setCell(0, 0, "y");
    w->commands().refresh();
    EXPECT_FALSE(action(*w, "mnuEditRedo")->isEnabled());
    EXPECT_EQ(w->hyo().cellString(1, 1), "4");
    EXPECT_TRUE(prompt.shown().empty());
}
