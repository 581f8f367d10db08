// The help window: opened from the Help menu, owned by and reused for the main window, keyword
// look-up, links, find in page, zoom, and the two refusals.
#include "app/TfrmMain.h"
#include "dialogs/HelpWindowHandler.h"
#include "dialogs/TfrmHelp.h"
#include "platform/core/HelpViewer.h"
#include "platform/core/Shell.h"
#include "settings/CMyGlobal.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "view/GridWidget.h"
#include "support_gui/ShownWindow.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

class LinkShell : public ShellHandler {
public:
    LinkShell() { Shell::install(this); }
    ~LinkShell() override { Shell::install(nullptr); }
    bool openUrl(const std::string& url) override { opened.push_back(url); return true; }
    bool startProgram(const std::string&, const std::vector<std::string>&) override { return false; }
    bool openFolder(const std::string&) override { return false; }
    std::vector<std::string> opened;
};

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(std::string(std::getenv("VEXIL_SOURCE_DIR")) + "/help",
                              home.file("help"), std::filesystem::copy_options::recursive);
        window = std::make_unique<TfrmMain>(std::vector<std::string>{});
        window->show();
        viewer = std::make_unique<HelpWindowHandler>(window.get());
        HelpViewer::install(viewer.get());
    }
    void TearDown() override { HelpViewer::install(nullptr); }

    TfrmHelp* openHelp() {
        findAction(*window, "mnuHelpHelp")->trigger();
        return window->findChild<TfrmHelp*>();
    }
    // Text of the first line shown at the top of the page.
    static QString topLine(QTextBrowser& browser) {
        return browser.cursorForPosition(QPoint(4, 4)).block().text();
    }

    TempHome home;
    ScriptedPrompt prompt;
    LinkShell shell;
    std::unique_ptr<TfrmMain> window;
    std::unique_ptr<HelpViewerHandler> viewer;
};

TEST_F(HelpWindowTest, HelpMenuOpensOneWindowThatIsReused) {
    TfrmHelp* help = openHelp();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->windowTitle(), QStringLiteral("Vexil ヘルプ"));
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(help->isModal());
    EXPECT_EQ(help->parentWidget(), window.get());
    EXPECT_TRUE(help->browser().source().toLocalFile().endsWith("/help/index.html"));
    EXPECT_TRUE(help->browser().toPlainText().contains(QStringLiteral("読込時と同じ")));

    help->close();
    EXPECT_EQ(openHelp(), help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(window->findChildren<TfrmHelp*>().size(), 1);
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(HelpWindowTest, KeywordsOpenAtTheirSectionAndLinksMoveAndGoBack) {
    CMyGlobal settings;
    ASSERT_TRUE(settings.showHelp("ダブルコーテーション"));
    TfrmHelp* help = window->findChild<TfrmHelp*>();
    ASSERT_NE(help, nullptr);
    QTextBrowser& browser = help->browser();
    EXPECT_EQ(browser.source().fragment(), "quote");
    EXPECT_GT(browser.verticalScrollBar()->value(), 0);
    EXPECT_EQ(topLine(browser), QStringLiteral("ダブルコーテーション"));

    emit browser.anchorClicked(QUrl("#sort"));
    EXPECT_EQ(topLine(browser), QStringLiteral("並べ替え"));
    QTest::keyClick(&browser, Qt::Key_Left, Qt::AltModifier);   // back
    EXPECT_EQ(topLine(browser), QStringLiteral("ダブルコーテーション"));
    help->findChild<QAction*>("act_Forward")->trigger();
    EXPECT_EQ(browser.source().fragment(), "sort");

    // Pages outside the manual go to the desktop's browser; the manual stays where it was.
    emit browser.anchorClicked(QUrl("https://example.org/vexil"));
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"https://example.org/vexil"}));
    EXPECT_EQ(browser.source().fragment(), "sort");

    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(settings.showHelp("知らない言葉"));
    EXPECT_EQ(prompt.last().text, "そのようなキーワードはありません");
    EXPECT_EQ(prompt.last().caption, "エラー");
    EXPECT_EQ(browser.source().fragment(), "sort");
}

TEST_F(HelpWindowTest, MissingManualIsReportedAndNoWindowOpens) {
    std::filesystem::remove_all(home.file("help"));
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(openHelp(), nullptr);
    EXPECT_EQ(prompt.last().text, "ファイルが見付かりません。");
    EXPECT_EQ(prompt.last().caption, "注意");
}

TEST_F(HelpWindowTest, CtrlFFindsInThePageAndCtrlWheelZooms) {
    TfrmHelp* help = openHelp();
    ASSERT_NE(help, nullptr);
    QApplication::setActiveWindow(help);
    QTextBrowser& browser = help->browser();
    QTest::keyClick(&browser, Qt::Key_F, Qt::ControlModifier);
    auto* field = help->findChild<QLineEdit*>("txt_Find");
    ASSERT_TRUE(field->isVisible());
    EXPECT_TRUE(field->hasFocus());
    field->insert(QStringLiteral("読込時と同じ"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(browser.textCursor().selectedText(), QStringLiteral("読込時と同じ"));
    const int first = browser.textCursor().position();
    QTest::keyClick(field, Qt::Key_Return);   // the next one further down
    EXPECT_GT(browser.textCursor().position(), first);

    field->setText(QStringLiteral("どこにもない語句"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(prompt.beeps(), 1);
    EXPECT_GT(browser.textCursor().position(), first);   // the last find stays selected

    const qreal size = browser.font().pointSizeF();
    const QPointF at(20, 20);
    QWheelEvent wheel(at, browser.viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(browser.viewport(), &wheel);
    EXPECT_GT(browser.font().pointSizeF(), size);
}

} // namespace
