// Long seeded random sessions on the real main window: keys, clicks, every enabled command,
// undo and saves, checking after each step that the cursor, the status bar and the file on
// disk still agree with the store. VEXIL_RANDOM_STEPS sets the length, VEXIL_RANDOM_SEED the
// seed; a failure names both and the step.
#include "app/Command.h"
#include "app/CommandSurfaces.h"
#include "app/CommandTable.h"
#include "app/TfrmMain.h"
#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"
#include "support/TempHome.h"
#include "view/CMyHyoDraw.h"
#include "view/GridWidget.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

// Answers every message box with a random choice among its buttons, saves to the session's
// file and cancels every open chooser.
class RandomPrompt : public PromptHandler {
public:
    RandomPrompt(std::mt19937& random, std::string savePath)
        : random(random), savePath(std::move(savePath)), previous(Prompt::handler()) {
        Prompt::install(this);
    }
    ~RandomPrompt() override { Prompt::install(previous); }

    PromptAnswer messageBox(const std::string&, const std::string&, PromptButtons buttons,
                            PromptIcon, PromptAnswer) override {
        switch (buttons) {
        case PromptButtons::Ok: return PromptAnswer::Ok;
        case PromptButtons::OkCancel: return pick({PromptAnswer::Ok, PromptAnswer::Cancel});
        case PromptButtons::YesNo: return pick({PromptAnswer::Yes, PromptAnswer::No});
        case PromptButtons::YesNoCancel:
            return pick({PromptAnswer::Yes, PromptAnswer::No, PromptAnswer::Cancel});
        }
        return PromptAnswer::Ok;
    }
    void beep() override {}
    FileChoice chooseOpenFile(const std::string&, int) override { return {}; }
    FileChoice chooseSaveFile(const std::string&, const std::string&, int,
                              const std::string&) override {
        return {true, savePath, 1};
    }

private:
    PromptAnswer pick(std::initializer_list<PromptAnswer> answers) {
        return answers.begin()[random() % answers.size()];
    }
    std::mt19937& random;
    std::string savePath;
    PromptHandler* previous;
};

// Closes whatever modal dialog a command opens, as a user pressing Esc would.
class ModalCloser {
public:
    ModalCloser() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal) ++closed;
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
            else if (modal) modal->close();
        });
        timer.start(5);
    }
    int closedCount() const { return closed; }

private:
    int closed = 0;
    QTimer timer;
};

int environmentNumber(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}

// Commands left out: they start another program, open a file chooser for another file,
// close the window or hand a folder or the help to the desktop.
const std::set<std::string>& leftOut() {
    static const std::set<std::string> names{
        "mnuFileNew",   "mnuFileOpen",  "mnuFileHist1", "mnuFileHist2", "mnuFileHist3",
        "mnuFileHist4", "mnuFileHist5", "mnuFileExit",  "mnuHelpHelp",  "mnuHelpFolder"};
    return names;
}

class RandomSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        seed = static_cast<unsigned>(environmentNumber("VEXIL_RANDOM_SEED", 19));
        steps = environmentNumber("VEXIL_RANDOM_STEPS", 3000);
        random.seed(seed);
        path = home.write("session.csv", "a,b,c\r\n1,2,3\r\nx,\"y z\",\r\n,,q\r\n");
        prompt = std::make_unique<RandomPrompt>(random, path);
        w = std::make_unique<TfrmMain>(std::vector<std::string>{path});
        w->setInstanceProgram("/bin/true");
        w->resize(900, 600);
        w->show();
        QApplication::setActiveWindow(w.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        w->gridWidget().setFocus();
        for (const Command& c : CommandTable::all())
            if (!leftOut().count(c.name)) commands.push_back(&c);
    }

    int below(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }

    // The grid hands keys on to its in-cell editor while that is open.
    QWidget* keyTarget() { return &w->gridWidget(); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(keyTarget(), k, m);
    }

    // keyClicks takes ASCII only; wider characters come as key events carrying their text.
    void typeText(const QString& text) {
        for (const QChar ch : text) {
            if (ch.unicode() < 0x80) QTest::keyClick(keyTarget(), ch.toLatin1());
            else QTest::sendKeyEvent(QTest::Click, keyTarget(), Qt::Key_unknown, QString(ch),
                                     Qt::NoModifier);
        }
    }

    std::string step() {
        static const Qt::Key moves[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down,
                                        Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp,
                                        Qt::Key_PageDown, Qt::Key_Tab};
        static const Qt::KeyboardModifiers mods[] = {
            Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier,
            Qt::ControlModifier | Qt::ShiftModifier};
        static const char* const typed[] = {"a", "7", "xy", "1,2", " ", "-3.5", "\"q", "ｱ"};
        const int roll = below(100);
        if (roll < 30) {
            const Qt::Key k = moves[below(std::size(moves))];
            key(k, mods[below(4)]);
            return "move key " + std::to_string(k);
        }
        if (roll < 42) {
            const char* text = typed[below(std::size(typed))];
            typeText(QString::fromUtf8(text));
            return std::string("type ") + text;
        }
        if (roll < 48) { key(Qt::Key_Return); return "Enter"; }
        if (roll < 52) { key(Qt::Key_Escape); return "Esc"; }
        if (roll < 56) { key(Qt::Key_Delete); return "Delete"; }
        if (roll < 60) { key(Qt::Key_F2); return "F2"; }
        if (roll < 68) return click();
        if (roll < 90) {
            const Command& c = *commands[below(static_cast<int>(commands.size()))];
            if (w->commands().run(c)) ++commandsTakingEffect;
            return std::string("command ") + c.name;
        }
        if (roll < 97) { key(Qt::Key_Z, Qt::ControlModifier); return "undo"; }
        w->commands().run(*CommandTable::find("mnuFileSave"));
        return "save";
    }

    std::string click() {
        const int c = below(8), r = below(14);
        const auto rect = w->view().cellRect(c, r);
        if (!rect) return "click off screen";
        QTest::mouseClick(&w->gridWidget(), Qt::LeftButton,
                          below(4) == 0 ? Qt::ShiftModifier : Qt::KeyboardModifiers{},
                          rect->center());
        return "click " + std::to_string(c) + "," + std::to_string(r);
    }

    // Empty when the window agrees with itself, else what disagrees.
    std::string checkWindow() {
        const int column = w->view().curColumn(), row = w->view().curRow();
        if (column < 0 || row < 0 || column >= 999 || row >= 500000)
            return "cursor outside the grid at " + std::to_string(column) + "," +
                   std::to_string(row);
        if (w->isEditing()) return {};
        const QString size = QStringLiteral("MAX列:%1 MAX行:%2")
                                 .arg(w->hyo().widestRowValue())
                                 .arg(w->hyo().rowCount());
        if (w->statusPanelText(0) != size)
            return "status shows " + w->statusPanelText(0).toStdString() + ", store has " +
                   size.toStdString();
        if (w->hyo().widestRowValue() < w->hyo().widestRowCount())
            return "widest row is " + std::to_string(w->hyo().widestRowCount()) +
                   " cells, the store counts " + std::to_string(w->hyo().widestRowValue());
        return {};
    }

    // Saves, reads the file into a fresh window and compares every cell; empty when equal.
    std::string checkSaveAndReopen() {
        w->commitEdit();
        if (w->hyo().rowCount() != w->hyo().storeRowCount()) return {};  // filtered: later
        w->commands().run(*CommandTable::find("mnuFileSave"));
        if (w->document().modified) return {};  // the save was declined or refused
        CMyHyo& now = w->hyo();
        TfrmMain fresh(std::vector<std::string>{path});
        CMyHyo& read = fresh.hyo();
        const int rows = std::max(now.storeRowCount(), read.storeRowCount());
        for (int r = 0; r < rows; ++r)
            for (int c = 0, cells = std::max(now.cellCount(r), read.cellCount(r)); c < cells; ++c)
                if (now.cellString(c, r) != read.cellString(c, r))
                    return "after reopening, cell " + std::to_string(c) + "," + std::to_string(r) +
                           " is \"" + read.cellString(c, r) + "\", was \"" + now.cellString(c, r) +
                           "\"";
        ++reopenChecks;
        return {};
    }

    TempHome home;
    std::mt19937 random;
    unsigned seed = 0;
    int steps = 0;
    int reopenChecks = 0;
    int commandsTakingEffect = 0;
    std::string path;
    std::unique_ptr<RandomPrompt> prompt;
    std::unique_ptr<TfrmMain> w;
    std::vector<const Command*> commands;
};

} // namespace

TEST_F(RandomSessionTest, WindowStoreAndFileStayInAgreement) {
    std::cout << "random session: seed " << seed << ", " << steps << " steps\n";
    ModalCloser closer;
    std::string recent;  // the last few actions, shown with a failure
    for (int i = 1; i <= steps; ++i) {
        const std::string action = step();
        recent = (recent.size() > 400 ? recent.substr(recent.find(';', 100) + 2) : recent) +
                 action + "; ";
        std::string fault = checkWindow();
        if (fault.empty() && (i % 200 == 0 || i == steps)) fault = checkSaveAndReopen();
        ASSERT_TRUE(fault.empty()) << "seed " << seed << ", step " << i << " (" << action
                                   << "): " << fault << "\n  after: " << recent;
    }
    std::cout << "random session: " << steps << " steps, " << commandsTakingEffect
              << " commands took effect, " << closer.closedCount() << " dialogs closed, "
              << reopenChecks << " save-and-reopen comparisons, final table "
              << w->hyo().widestRowValue() << " x " << w->hyo().rowCount() << "\n";
    EXPECT_GT(reopenChecks, 0);
}
// Rows inserted from the keyboard grow the table: the size panel must follow at once.
TEST_F(RandomSessionTest, RowsInsertedByCtrlIShowInTheSizePanel) {
    EXPECT_EQ(w->statusPanelText(0).toStdString(), "MAX列:3 MAX行:4");
    w->goToCell(1, 1);
    key(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(w->statusPanelText(0).toStdString(), "MAX列:3 MAX行:5");
    key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(w->statusPanelText(0).toStdString(), "MAX列:3 MAX行:6");
    EXPECT_EQ(w->hyo().cellString(0, 3), "1");
}

// Colouring a cell below the table adds the rows up to it; the size panel shows them.
TEST_F(RandomSessionTest, ColouringBelowTheTableShowsInTheSizePanel) {
    w->goToCell(1, 7);
    w->commands().run(*CommandTable::find("cmdBackColour3"));
    w->commands().run(*CommandTable::find("cmdTextColour2"));
    EXPECT_EQ(w->hyo().rowCount(), 8);
    EXPECT_EQ(w->statusPanelText(0).toStdString(), "MAX列:3 MAX行:8");
}
