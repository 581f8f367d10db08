// Tests of the settings object's services: sequence numbers, paths, folders, file times and
// the help look-up.
#include "settings/CMyGlobal.h"

#include "platform/core/HelpViewer.h"
#include "platform/core/MemoryHook.h"
#include "platform/core/Shell.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <sys/time.h>

namespace {
const int screenW = 1920;
const int screenH = 1080;
} // namespace

TEST(CMyGlobalServices, NextSequenceRunsOneToNinetyNineThenZero) {
    TempHome home;
    CMyGlobal g;
    for (int i = 1; i <= 99; ++i) ASSERT_EQ(g.nextSequence(), i);
    EXPECT_EQ(g.nextSequence(), 0);
    EXPECT_EQ(g.nextSequence(), 1);
}

TEST(CMyGlobalServices, PathsOf260BytesAreRefused) {
    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal g;
    EXPECT_EQ(g.settingsPath("vexil.ini"), home.path() + "/vexil.ini");
    size_t room = 259 - (home.path().size() + 1);
    EXPECT_EQ(g.programPath(std::string(room, 'a')).size(), 259u);
    EXPECT_TRUE(prompt.shown().empty());
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(g.settingsPath(std::string(room + 1, 'a')), "");
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "ファイル名が長すぎます。");
    EXPECT_EQ(prompt.last().caption, "注意");
}

TEST(CMyGlobalServices, FolderAllocationFailureIsReported) {
    TempHome home;
    ScriptedPrompt prompt;
    prompt.answer(PromptAnswer::Ok);
    MemoryHook::failAfter(1);
    CMyGlobal g;
    MemoryHook::failAfter(0);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "パスの領域確保に失敗しました。");
    EXPECT_EQ(g.settingsFolder(), "");
    EXPECT_EQ(g.settingsPath("vexil.ini"), "");   // never a bare name in the working folder
    g.loadSettings(screenW, screenH);
    EXPECT_FALSE(g.saveSettings(false));
    EXPECT_EQ(g.viewScale(), 100);
}

TEST(CMyGlobalServices, FileTimeStampInLocalTime) {
    TempHome home;
    CMyGlobal g;
    EXPECT_EQ(g.fileTimeStamp(home.file("missing.csv")), "19000101000000");
    EXPECT_EQ(g.fileTimeStamp(""), "19000101000000");
    std::string path = home.write("a.csv", "x");
    struct tm when {};
    when.tm_year = 2021 - 1900;
    when.tm_mon = 2;
    when.tm_mday = 4;
    when.tm_hour = 5;
    when.tm_min = 6;
    when.tm_sec = 7;
    when.tm_isdst = -1;
    struct timeval times[2] = {{std::mktime(&when), 0}, {std::mktime(&when), 0}};
    ASSERT_EQ(::utimes(path.c_str(), times), 0);
    EXPECT_EQ(g.fileTimeStamp(path), "20210304050607");
}

TEST(CMyGlobalServices, LastBackslashFindsTheLastSeparator) {
    EXPECT_EQ(CMyGlobal::lastBackslash("/home/a/b.csv"), 7u);
    EXPECT_EQ(CMyGlobal::lastBackslash("b.csv"), 0u);
    EXPECT_EQ(CMyGlobal::lastBackslash("/表/ソ.csv"), 4u);   // UTF-8: no byte is a separator
}

namespace {
class RecordingShell : public ShellHandler {
public:
    RecordingShell() { Shell::install(this); }
    ~RecordingShell() override { Shell::install(nullptr); }
    bool openUrl(const std::string& path) override { opened.push_back(path); return true; }
    bool startProgram(const std::string& exe, const std::vector<std::string>& args) override {
        started.push_back(exe);
        arguments = args;
        return startSucceeds;
    }
    bool openFolder(const std::string& path) override { folders.push_back(path); return true; }
    std::vector<std::string> opened, started, folders, arguments;
    bool startSucceeds = true;
};
} // namespace

TEST(CMyGlobalServices, ShowHelpNeedsTheHelpFile) {
    TempHome home;
    ScriptedPrompt prompt;
    RecordingShell shell;
    CMyGlobal g;
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(g.showHelp());
    EXPECT_EQ(prompt.last().text, "ファイルが見付かりません。");
    std::filesystem::create_directories(home.file("help/index.html"));
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(g.showHelp());
    EXPECT_EQ(prompt.shown().size(), 2u);
    EXPECT_TRUE(shell.opened.empty());
    std::filesystem::remove(home.file("help/index.html"));
    home.write("help/index.html", "<section id=\"encoding\"><a name=\"mnuFileSave\"></a>");
    EXPECT_TRUE(g.showHelp());
    EXPECT_TRUE(g.showHelp("文字コード"));
    ASSERT_EQ(shell.opened.size(), 2u);   // no help window: the browser is asked
    EXPECT_EQ(shell.opened[0], "file://" + home.file("help/index.html"));
    EXPECT_EQ(shell.opened[1], "file://" + home.file("help/index.html") + "#encoding");
}

namespace {
class RecordingHelpViewer : public HelpViewerHandler {
public:
    RecordingHelpViewer() { HelpViewer::install(this); }
    ~RecordingHelpViewer() override { HelpViewer::install(nullptr); }
    bool showManual(const std::string& index, const std::string& anchor) override {
        shown.push_back(index + "#" + anchor);
        return true;
    }
    std::vector<std::string> shown;
};
} // namespace

TEST(CMyGlobalServices, ShowHelpLooksKeywordsUpInTheManual) {
    TempHome home;
    ScriptedPrompt prompt;
    RecordingHelpViewer viewer;
    CMyGlobal g;
    home.write("help/index.html", "<section id=\"encoding\"><a name=\"mnuFileSave\"></a>");
    const std::string index = home.file("help/index.html");
    EXPECT_TRUE(g.showHelp());
    EXPECT_TRUE(g.showHelp("改行コード"));
    EXPECT_TRUE(g.showHelp("mnuFileSave"));
    EXPECT_EQ(viewer.shown, (std::vector<std::string>{index + "#", index + "#encoding",
                                                      index + "#mnuFileSave"}));
    // Unknown words, and known ones whose section this manual lacks, are refused.
    for (const char* keyword : {"知らない言葉", "抽出", "mnuNothing", "a\"b"}) {
        prompt.answer(PromptAnswer::Ok);
        EXPECT_FALSE(g.showHelp(keyword)) << keyword;
        EXPECT_EQ(prompt.last().text, "そのようなキーワードはありません");
        EXPECT_EQ(prompt.last().caption, "エラー");
    }
    EXPECT_EQ(viewer.shown.size(), 3u);
}
