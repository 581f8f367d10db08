// The main window on the offscreen platform: command line, caption, instances, close, reload,
// recent files, window place, the open folder, help and the file menu.
#include "app/CommandSurfaces.h"
#include "app/TfrmMain.h"
#include "platform/core/NativePath.h"

#include "platform/core/Shell.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "editor/CMyEdit.h"
#include "view/CMyHyoDraw.h"
#include "view/GridWidget.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

#include <QAction>
#include <QMenu>
#include <QMimeData>
#include <QDropEvent>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

// Readable QString values in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

// Records every program start instead of starting anything.
class RecordingShell : public ShellHandler {
public:
    struct Start {
        std::string exe;
        std::vector<std::string> args;
    };
    RecordingShell() { Shell::install(this); }
    ~RecordingShell() override { Shell::install(nullptr); }
    bool openUrl(const std::string& path) override {
        opened.push_back(path);
        return true;
    }
    bool startProgram(const std::string& exe, const std::vector<std::string>& args) override {
        starts.push_back({exe, args});
        return succeed;
    }
    bool openFolder(const std::string& path) override {
        folders.push_back(path);
        return succeed;
    }
    std::vector<Start> starts;
    std::vector<std::string> opened;
    std::vector<std::string> folders;
    bool succeed = true;
};

class MainWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<TfrmMain> makeWindow(const std::vector<std::string>& args = {}) {
        auto w = std::make_unique<TfrmMain>(args);
        // Instances start this test program, which certainly exists and is executable.
        w->setInstanceProgram(QCoreApplication::applicationFilePath().toStdString());
        return w;
    }
    std::string csv(const std::string& name, const std::string& bytes) {
        return home.write(name, bytes);
    }
    static QAction* action(QWidget& w, const char* name) {
        return w.findChild<QAction*>(name);
    }
    TempHome home;
    RecordingShell shell;
};

} // namespace

// ---- command line -----------------------------------------------------------------------

TEST_F(MainWindowTest, CommandLineOpensCommaFileWithHeader) {
    ScriptedPrompt prompt;
    // Left to itself the reader would take this for a TAB file; "-t1" reads it as commas
    // (the TAB inside a cell is then replaced, with a warning).
    prompt.answer(PromptAnswer::Ok);
    const std::string path = csv("data.txt", "name\tx,age\n1,2\n");
    auto w = makeWindow({path, "-t1", "-h"});
    EXPECT_EQ(w->document().filePath, path);
    EXPECT_EQ(w->document().separator, ',');
    EXPECT_TRUE(w->hyo().inHeaderMode());
    EXPECT_EQ(w->hyo().columnTitle(1), "age");
    EXPECT_EQ(w->hyo().rowCount(), 1);
    EXPECT_EQ(w->windowTitle().toStdString(), path);
}

TEST_F(MainWindowTest, CommandLineWithHeaderFirstTriesToOpenAFileNamedDashH) {
    ScriptedPrompt prompt;
    prompt.answer(PromptAnswer::Ok);
    const std::string path = csv("a.csv", "1,2\n");
    auto w = makeWindow({"-h", path});
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "ファイルが見つかりません。");
    EXPECT_TRUE(w->document().filePath.empty());
    EXPECT_FALSE(w->hyo().inHeaderMode());
}

TEST_F(MainWindowTest, CommandLineFileThatCannotBeOpenedLeavesAnUntitledWindow) {
    ScriptedPrompt prompt;
    prompt.answer(PromptAnswer::Ok);
    auto w = makeWindow({home.file("missing.csv")});
    EXPECT_TRUE(w->document().filePath.empty());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Ｖｅｘｉｌ"));
    EXPECT_TRUE(action(*w, "tb_SaveFMT")->isEnabled());
}

TEST_F(MainWindowTest, LongSecondArgumentStillOpensTheFile) {
    ScriptedPrompt prompt;
    const std::string path = csv("b.csv", "h1,h2\n1,2\n");
    auto w = makeWindow({path, std::string(257, 'x'), "-h"});
    EXPECT_EQ(w->document().filePath, path);
    EXPECT_FALSE(w->hyo().inHeaderMode());
    EXPECT_EQ(w->hyo().rowCount(), 2);
}

// ---- caption ----------------------------------------------------------------------------

TEST_F(MainWindowTest, CaptionShowsProductOrPathAndTheModifiedMark) {
    ScriptedPrompt prompt;
    auto w = makeWindow();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Ｖｅｘｉｌ"));
    w->updateCaption(true, false);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Ｖｅｘｉｌ(更新)"));
    EXPECT_TRUE(w->document().modified);
    w->updateCaption(false, false);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Ｖｅｘｉｌ"));

    const std::string path = csv("c.csv", "1\n");
    auto opened = makeWindow({path});
    opened->updateCaption(true, false);
    EXPECT_EQ(opened->windowTitle().toStdString(), path + "(更新)");
    // The path is the main window's title only: Qt appends a set display name to every
    // window's title, message boxes included.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}

TEST_F(MainWindowTest, CaptionNamesTheFilterColumnWhileTheFilterButtonIsDown) {
    ScriptedPrompt prompt;
    auto w = makeWindow();
    w->hyo().setFilterCondition(2, "x", 0);
    action(*w, "tb_Filter")->setChecked(true);
    w->updateCaption(true, true);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Ｖｅｘｉｌ(更新) - 【3列目を抽出中】"));
    action(*w, "tb_Filter")->setChecked(false);
    w->updateCaption(true, true);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Ｖｅｘｉｌ(更新)"));
}

TEST_F(MainWindowTest, EditsRebuildTheCaptionOnlyOnTheFirstChangeUnlessForced) {
    ScriptedPrompt prompt;
    auto w = makeWindow();
    w->updateCaption(true, false);
    w->setWindowTitle("changed elsewhere");
    w->updateCaption(true, false);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("changed elsewhere"));
    w->updateCaption(true, true);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Ｖｅｘｉｌ(更新)"));
}

// ---- instances --------------------------------------------------------------------------

TEST_F(MainWindowTest, NewStartsAnInstanceWithoutArgumentsAfterSavingSettings) {
    ScriptedPrompt prompt;
    auto w = makeWindow();
    ASSERT_FALSE(std::filesystem::exists(home.file("vexil.ini")));
    action(*w, "mnuFileNew")->trigger();
    ASSERT_EQ(shell.starts.size(), 1u);
    EXPECT_EQ(shell.starts[0].exe, QCoreApplication::applicationFilePath().toStdString());
    EXPECT_TRUE(shell.starts[0].args.empty());
    EXPECT_TRUE(std::filesystem::exists(home.file("vexil.ini")));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Ｖｅｘｉｌ"));
}

TEST_F(MainWindowTest, OpenFromAModifiedEmptyWindowStartsAnotherInstance) {
    ScriptedPrompt prompt;
    const std::string path = csv("d.txt", "a\tb\n");
    auto w = makeWindow();
    w->updateCaption(true, false);
    prompt.chooseFile(path, 4);
    action(*w, "mnuFileOpen")->trigger();
    ASSERT_EQ(shell.starts.size(), 1u);
    EXPECT_EQ(shell.starts[0].args, (std::vector<std::string>{path, "-t2"}));
    EXPECT_TRUE(w->document().filePath.empty());
}

TEST_F(MainWindowTest, OpenInAnEmptyWindowReadsWithTheChosenFilter) {
    ScriptedPrompt prompt;
    const std::string path = csv("q.txt", "\"a\tb\"\tc\n");
    auto w = makeWindow();
    prompt.chooseFile(path, 3);   // TAB, quotes never enclose
    action(*w, "mnuFileOpen")->trigger();
    EXPECT_TRUE(shell.starts.empty());
    EXPECT_EQ(w->document().filePath, path);
    EXPECT_EQ(w->document().separator, '\t');
    EXPECT_EQ(w->global().quoteKind(), 3);
    EXPECT_EQ(w->hyo().cellString(0, 0), "\"a");
    EXPECT_EQ(w->statusPanelText(2), QStringLiteral("TAB"));
}

TEST_F(MainWindowTest, OpenDialogFilterChoosesTheTypeOptionOfTheNewInstance) {
    ScriptedPrompt prompt;
    const std::string first = csv("e.csv", "1,2\n");
    auto w = makeWindow({first});
    const std::pair<int, std::vector<std::string>> cases[] = {
        {1, {"x", "-t1"}}, {2, {"x"}}, {3, {"x", "-t3"}}, {4, {"x", "-t2"}}, {5, {"x"}}};
    for (const auto& [filter, expected] : cases) {
        prompt.chooseFile("x", filter);
        action(*w, "mnuFileOpen")->trigger();
        ASSERT_FALSE(shell.starts.empty());
        EXPECT_EQ(shell.starts.back().args, expected) << "filter " << filter;
    }
    EXPECT_EQ(shell.starts.size(), 5u);
}

TEST_F(MainWindowTest, StartFailuresAreReported) {
    ScriptedPrompt prompt;
    auto w = makeWindow();
    shell.succeed = false;
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(w->startInstance({"x"}));
    EXPECT_EQ(prompt.last().text, "実行に失敗しました。");
    EXPECT_EQ(prompt.last().caption, "注意");

    w->setInstanceProgram(home.file("no-such-program"));
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(w->startInstance({"x"}));
    EXPECT_EQ(prompt.last().text, ".EXEファイルが無効です。");
}

TEST_F(MainWindowTest, DroppingTwoFilesOpensOnlyTheFirst) {
    ScriptedPrompt prompt;
    const std::string a = csv("f1.csv", "1,2\n");
    const std::string b = csv("f2.csv", "3,4\n");
    auto w = makeWindow();
    w->FormDropFiles({QString::fromStdString(a), QString::fromStdString(b)});
    EXPECT_EQ(w->document().filePath, a);
    EXPECT_TRUE(shell.starts.empty());

    // The window now holds data: the next drop goes to another instance, quoted path only.
    w->FormDropFiles({QString::fromStdString(b)});
    ASSERT_EQ(shell.starts.size(), 1u);
    EXPECT_EQ(shell.starts[0].args, std::vector<std::string>{b});
}

// Text being typed into an untitled window is stored before a dropped file is looked at:
// the window then holds data, so the file opens in another instance and the text stays.
TEST_F(MainWindowTest, ADropWhileTypingStoresTheTextAndOpensElsewhere) {
    ScriptedPrompt prompt;
    const std::string a = csv("typed.csv", "1,2\n");
    auto w = makeWindow();
    w->show();
    w->gridWidget().setFocus();
    QTest::keyClicks(&w->gridWidget(), QStringLiteral("abc"));
    ASSERT_TRUE(w->isEditing());
    w->FormDropFiles({QString::fromStdString(a)});
    EXPECT_FALSE(w->isEditing());
    EXPECT_EQ(w->hyo().cellString(0, 0), "abc");
    EXPECT_TRUE(w->document().filePath.empty());
    EXPECT_TRUE(w->document().modified);
    ASSERT_EQ(shell.starts.size(), 1u);
    EXPECT_EQ(shell.starts[0].args, std::vector<std::string>{a});
    // The next Enter types nowhere: no cell of anything changes.
    QTest::keyClick(&w->gridWidget(), Qt::Key_Return);
    EXPECT_EQ(w->hyo().cellString(0, 0), "abc");
    EXPECT_EQ(w->hyo().rowCount(), 1);
}

TEST_F(MainWindowTest, ADropUsesItsFirstItemOnly) {
    ScriptedPrompt prompt;
    const std::string a = csv("dr1.csv", "1,2\n");
    auto w = makeWindow();
    auto drop = [&](const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        // Qt delivers a drop to the widget that accepted the drag's entry.
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w.get(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w.get(), &event);
        EXPECT_TRUE(event.isAccepted());
        QCoreApplication::processEvents();
    };
    // A first item that is no file opens nothing, not the file that follows it.
    drop({QUrl("https://example.com/x.csv"), QUrl::fromLocalFile(QString::fromStdString(a))});
    EXPECT_TRUE(w->document().filePath.empty());
    drop({QUrl::fromLocalFile(QString::fromStdString(a))});
    EXPECT_EQ(w->document().filePath, a);
    EXPECT_TRUE(shell.starts.empty());
}

// ---- recent files -----------------------------------------------------------------------

TEST_F(MainWindowTest, RecentFilesRefuseEmptyOpenAndMissingEntries) {
    ScriptedPrompt prompt;
    const std::string open = csv("open.csv", "1\n");
    const std::string other = csv("other.csv", "2\n");
    // The open file as listed: in another case only where the file system ignores case.
    std::string listed = open;
    if (NativePath::caseBlind())
        for (char& c : listed) c = char(std::toupper(static_cast<unsigned char>(c)));
    home.write("vexil_hist.lst", listed + "\r\n" + home.file("gone.csv") + "\r\n" + other + "\r\n");
    auto w = makeWindow({open});

    for (int i = 0; i < 4; ++i) prompt.answer(PromptAnswer::Ok);
    w->chooseRecentFile(3);
    w->chooseRecentFile(0);
    w->chooseRecentFile(1);
    w->chooseRecentFile(4);
    w->chooseRecentFile(2);
    EXPECT_EQ(prompt.texts(), (std::vector<std::string>{
                                  "未設定のため開くことは出来ません。", "現在開いているファイルです。",
                                  "選択したファイルは存在しませんでした。",
                                  "未設定のため開くことは出来ません。"}));
    // The last choice held a real file and the window holds data: another instance.
    ASSERT_EQ(shell.starts.size(), 1u);
    EXPECT_EQ(shell.starts[0].args, std::vector<std::string>{other});
}

TEST_F(MainWindowTest, RecentFilesMenuShowsPathsOrNotChosen) {
    ScriptedPrompt prompt;
    home.write("vexil_hist.lst", "/tmp/x.csv\r\n");
    auto w = makeWindow();
    QMenu* menu = w->findChild<QMenu*>("mnuFileHist");
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    EXPECT_EQ(action(*w, "mnuFileHist1")->text(), QStringLiteral("/tmp/x.csv"));
    EXPECT_EQ(action(*w, "mnuFileHist2")->text(), QStringLiteral("（未選択）"));
}

// ---- close ------------------------------------------------------------------------------

TEST_F(MainWindowTest, CloseAsksOnlyWhenModifiedAndCancelKeepsTheWindow) {
    ScriptedPrompt prompt;
    auto w = makeWindow();
    w->show();
    w->updateCaption(true, false);
    prompt.answer(PromptAnswer::Cancel);
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(prompt.last().text, "更新されています。保存しますか？");
    EXPECT_EQ(prompt.last().caption, "確認");
    EXPECT_EQ(prompt.last().icon, PromptIcon::Warning);
    EXPECT_EQ(prompt.last().buttons, PromptButtons::YesNoCancel);
    EXPECT_FALSE(std::filesystem::exists(home.file("vexil.ini")));

    prompt.answer(PromptAnswer::No);
    EXPECT_TRUE(w->close());
    EXPECT_TRUE(std::filesystem::exists(home.file("vexil.ini")));
}

TEST_F(MainWindowTest, YesThenCancelledSaveDialogKeepsTheWindowOpen) {
    ScriptedPrompt prompt;
    auto w = makeWindow();
    w->show();
    w->updateCaption(true, false);
    prompt.answer(PromptAnswer::Yes);
    prompt.cancelChooser();
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->document().modified);
}

TEST_F(MainWindowTest, YesSavesAndCloses) {
    ScriptedPrompt prompt;
    const std::string path = csv("g.csv", "1,2\n");
    auto w = makeWindow({path});
    w->show();
    w->hyo().setCell(0, 0, "9");
    w->updateCaption(true, false);
    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(w->close());
    // The file's own LF line ends are kept.
    EXPECT_EQ(TempHome::read(path), "9,2\n");
}

TEST_F(MainWindowTest, CloseStoresACellStillBeingEditedAndAsks) {
    ScriptedPrompt prompt;
    const std::string path = csv("ed.csv", "1,2\n");
    auto w = makeWindow({path});
    w->show();
    w->editor().open(0, 0, 60, 16, 300, 200, "typed", 0, 5001);
    prompt.answer(PromptAnswer::Cancel);
    EXPECT_FALSE(w->close());
    EXPECT_EQ(prompt.last().text, "更新されています。保存しますか？");
    EXPECT_EQ(w->hyo().cellString(0, 0), "typed");
    EXPECT_FALSE(w->isEditing());
}

TEST_F(MainWindowTest, UnmodifiedWindowClosesWithoutQuestion) {
    ScriptedPrompt prompt;
    auto w = makeWindow();
    w->show();
    EXPECT_TRUE(w->close());
    EXPECT_TRUE(prompt.shown().empty());
}

// ---- window place -----------------------------------------------------------------------

TEST_F(MainWindowTest, FirstStartUsesDefaultPlaceAndCloseStoresIt) {
    ScriptedPrompt prompt;
    auto w = makeWindow();
    EXPECT_EQ(w->pos(), QPoint(0, 0));
    EXPECT_EQ(w->size(), QSize(780, 510));
    w->move(40, 30);
    w->resize(640, 420);
    EXPECT_TRUE(w->close());

    CMyGlobal stored;
    stored.loadSettings(4000, 4000);
    EXPECT_FALSE(stored.isMaximized(mainWindow));
    EXPECT_EQ(stored.windowLeft(mainWindow), 40);
    EXPECT_EQ(stored.windowTop(mainWindow), 30);
    EXPECT_EQ(stored.windowWidth(mainWindow), 640);
    EXPECT_EQ(stored.windowHeight(mainWindow), 420);

    auto again = makeWindow();
    EXPECT_EQ(again->pos(), QPoint(40, 30));
    EXPECT_EQ(again->size(), QSize(640, 420));
}

TEST_F(MainWindowTest, MaximisedCloseKeepsTheNormalPlace) {
    ScriptedPrompt prompt;
    home.write("vexil.ini", "[FORM]\r\nMAX=0\r\nLEFT=10\r\nTOP=20\r\nWIDTH=500\r\nHEIGHT=300\r\n");
    auto w = makeWindow();
    EXPECT_EQ(w->pos(), QPoint(10, 20));
    w->setWindowState(Qt::WindowMaximized);
    EXPECT_TRUE(w->close());

    CMyGlobal stored;
    stored.loadSettings(4000, 4000);
    EXPECT_TRUE(stored.isMaximized(mainWindow));
    EXPECT_EQ(stored.windowLeft(mainWindow), 10);
    EXPECT_EQ(stored.windowWidth(mainWindow), 500);
    auto again = makeWindow();
    EXPECT_TRUE(again->windowState() & Qt::WindowMaximized);
}

TEST_F(MainWindowTest, ReturnDirectionToggleIsRestoredAndSaved) {
    ScriptedPrompt prompt;
    home.write("vexil.ini", "[OPT]\r\nRET=1\r\n");
    auto w = makeWindow();
    QAction* ret = action(*w, "tb_Ret");
    ASSERT_NE(ret, nullptr);
    EXPECT_TRUE(ret->isChecked());
    ret->setChecked(false);
    EXPECT_TRUE(w->close());
    CMyGlobal stored;
    stored.loadSettings(4000, 4000);
    EXPECT_FALSE(stored.returnMovesRight());
}

TEST_F(MainWindowTest, WindowNeverGetsSmallerThanTheMinimum) {
    ScriptedPrompt prompt;
    auto w = makeWindow();
    w->resize(100, 50);
    EXPECT_EQ(w->size(), QSize(250, 200));
}

TEST_F(MainWindowTest, ResizingHandsTheGridAreaToTheView) {
    ScriptedPrompt prompt;
    auto w = makeWindow();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    w->resize(600, 400);
    QTRY_COMPARE(w->view().viewWidth(), w->gridWidget().width());
    EXPECT_EQ(w->view().viewHeight(), w->gridWidget().height());
    // The grid is what is left of the client area beside scr_Right and above the bottom panel.
    auto* right = w->findChild<QWidget*>("scr_Right");
    auto* bottom = w->findChild<QWidget*>("pnl_Bottom");
    EXPECT_EQ(w->gridWidget().width() + right->width(), bottom->width());
    EXPECT_EQ(right->width(), 17);
    EXPECT_EQ(bottom->height(), 25);
    EXPECT_EQ(w->gridWidget().height(), right->height());
}

// ---- reload -----------------------------------------------------------------------------

TEST_F(MainWindowTest, ReloadQuestionsAndRefusals) {
    ScriptedPrompt prompt;
    auto w = makeWindow();
    prompt.answer(PromptAnswer::No);
    w->reload(true);
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"再読み込みをします。\nよろしいですか？"});
    EXPECT_EQ(prompt.last().caption, "確認");
    EXPECT_EQ(prompt.last().icon, PromptIcon::Question);
    EXPECT_EQ(prompt.last().buttons, PromptButtons::YesNo);

    prompt.clear();
    prompt.answer(PromptAnswer::Yes);
    prompt.answer(PromptAnswer::Ok);
    w->reload(true);
    EXPECT_EQ(prompt.last().text, "読み込むファイルがありません。");
    EXPECT_EQ(prompt.last().caption, "注意");
}

TEST_F(MainWindowTest, ReloadOfAModifiedDocumentAsksBeforeDroppingChanges) {
    ScriptedPrompt prompt;
    const std::string path = csv("h.csv", "1,2\n3,4\n");
    auto w = makeWindow({path});
    w->hyo().setCell(0, 0, "changed");
    w->updateCaption(true, false);

    prompt.answer(PromptAnswer::No);
    w->reload(false);
    EXPECT_EQ(prompt.last().text, "更新データが破棄されます。\nよろしいですか？");
    EXPECT_EQ(prompt.last().defaultAnswer, PromptAnswer::No);
    EXPECT_EQ(prompt.last().icon, PromptIcon::Warning);
    EXPECT_EQ(prompt.last().caption, "確認");
    EXPECT_EQ(w->hyo().cellString(0, 0), "changed");

    prompt.answer(PromptAnswer::Yes);
    w->reload(false);
    EXPECT_EQ(w->hyo().cellString(0, 0), "1");
    EXPECT_FALSE(w->document().modified);
    EXPECT_EQ(w->windowTitle().toStdString(), path);
}

TEST_F(MainWindowTest, ReloadKeepsTheCursorWhenTheRowStillExists) {
    ScriptedPrompt prompt;
    std::string rows;
    for (int i = 0; i < 40; ++i) rows += std::to_string(i) + ",x\n";
    const std::string path = csv("r.csv", rows);
    auto w = makeWindow({path});
    w->goToCell(1, 30);
    w->reload(false);
    EXPECT_EQ(w->view().curColumn(), 1);
    EXPECT_EQ(w->view().curRow(), 30);

    // Far beyond the reloaded data the cursor goes to the row after it.
    home.write("r.csv", "1,2\n2,3\n");
    w->goToCell(0, 300);
    w->reload(false);
    EXPECT_EQ(w->view().curColumn(), 0);
    EXPECT_EQ(w->view().curRow(), 2);
}

// ---- folder, help and the file menu ---------------------------------------------------

TEST_F(MainWindowTest, OpenFolderWithoutFileRefuses) {
    ScriptedPrompt prompt;
    auto w = makeWindow();
    prompt.answer(PromptAnswer::Ok);
    action(*w, "mnuHelpFolder")->trigger();
    EXPECT_EQ(prompt.last().text, "編集中のファイルが存在しません。");

    const std::string path = csv("sub/k.csv", "1\n");
    auto opened = makeWindow({path});
    action(*opened, "mnuHelpFolder")->trigger();
    ASSERT_EQ(shell.folders.size(), 1u);
    EXPECT_EQ(shell.folders[0], home.file("sub"));
}

TEST_F(MainWindowTest, OpenFolderOfARelativeCommandLinePathOpensTheStartFolder) {
    ScriptedPrompt prompt;
    csv("rel.csv", "1\n");
    csv("sub/rel2.csv", "1\n");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(home.path());
    auto bare = makeWindow({"rel.csv"});
    auto nested = makeWindow({"sub/rel2.csv"});
    action(*bare, "mnuHelpFolder")->trigger();
    action(*nested, "mnuHelpFolder")->trigger();
    std::filesystem::current_path(before);
    EXPECT_EQ(bare->document().filePath, "rel.csv");
    const std::string start = std::filesystem::path(home.path()).string();
    EXPECT_EQ(shell.folders, (std::vector<std::string>{start, home.file("sub")}));
}

TEST_F(MainWindowTest, HelpOpensTheHelpFileOrSaysNotFound) {
    ScriptedPrompt prompt;
    auto w = makeWindow();
    prompt.answer(PromptAnswer::Ok);
    action(*w, "mnuHelpHelp")->trigger();
    EXPECT_EQ(prompt.last().text, "ファイルが見付かりません。");

    const std::string help = home.write("help/index.html", "help");
    action(*w, "mnuHelpHelp")->trigger();
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], "file://" + help);
}

TEST_F(MainWindowTest, FileMenuEnablesColourCommandsByMode) {
    ScriptedPrompt prompt;
    auto w = makeWindow();
    QMenu* file = w->findChild<QMenu*>("mnuFile");
    emit file->aboutToShow();
    EXPECT_TRUE(w->findChild<QMenu*>("mnuFileCRSave")->isEnabled());
    EXPECT_FALSE(action(*w, "mnuFileCRLink")->isEnabled());   // no file yet
    EXPECT_FALSE(action(*w, "mnuFileCRKari")->isEnabled());
    EXPECT_TRUE(action(*w, "tb_SaveFMT")->isEnabled());
    EXPECT_TRUE(action(*w, "tb_SaveFMT")->isChecked());        // MAKEFD 1: beside the file

    const std::string path = csv("m.csv", "1\n");
    auto opened = makeWindow({path});
    emit opened->findChild<QMenu*>("mnuFile")->aboutToShow();
    EXPECT_FALSE(action(*opened, "mnuFileCRLink")->isEnabled());
    EXPECT_TRUE(action(*opened, "mnuFileCRKari")->isEnabled());

    home.write("vexil.ini", "[OPT]\r\nMAKEFD=0\r\n");
    auto off = makeWindow();
    emit off->findChild<QMenu*>("mnuFile")->aboutToShow();
    EXPECT_FALSE(off->findChild<QMenu*>("mnuFileCRSave")->isEnabled());
    EXPECT_FALSE(action(*off, "tb_SaveFMT")->isEnabled());
    EXPECT_FALSE(action(*off, "tb_SaveFMT")->isChecked());
}
