// Tests of the history lists: recent files, the recent-files menu rules and the find lists.
#include "platform/core/NativePath.h"
#include "settings/CMyGlobal.h"
#include "settings/CMyHistory.h"

#include "FileLimit.h"
#include "platform/core/Shell.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
std::vector<std::string> recentList(const CMyGlobal& g) {
    std::vector<std::string> list;
    for (int i = 0; i < 5; ++i) list.push_back(g.recentFile(i));
    return list;
}
} // namespace

TEST(RecentFiles, NewestFirstWithoutDuplicatesAndAtMostFive) {
    TempHome home;
    CMyGlobal g;
    g.addRecentFile("/d/A.csv");
    g.addRecentFile("/d/B.csv");
    g.addRecentFile("/d/A.csv");
    EXPECT_EQ(TempHome::read(home.file("vexil_hist.lst")), "/d/A.csv\r\n/d/B.csv\r\n");
    for (const char* name : {"/d/1", "/d/2", "/d/3", "/d/4", "/d/5", "/d/6"}) g.addRecentFile(name);
    CMyGlobal other;   // another instance sees the list through the file
    other.loadRecentFiles();
    EXPECT_EQ(recentList(other), (std::vector<std::string>{"/d/6", "/d/5", "/d/4", "/d/3", "/d/2"}));
    EXPECT_EQ(other.recentFile(5), "");
    EXPECT_EQ(other.recentFile(-1), "");
}

// The same file is one entry; whether names differing in case are the same file is the file
// system's rule (different files on Linux, one file on Windows).
TEST(RecentFiles, DuplicatesByTheFileSystemsRuleAndLongPaths) {
    TempHome home;
    CMyGlobal g;
    g.addRecentFile("/x/Old.csv");
    g.addRecentFile("/DATA/x.CSV");
    std::string before = TempHome::read(home.file("vexil_hist.lst"));
    g.addRecentFile("/DATA/x.CSV");   // same as entry 0: the file is not rewritten
    EXPECT_EQ(TempHome::read(home.file("vexil_hist.lst")), before);
    g.addRecentFile("/X/OLD.CSV");
    EXPECT_EQ(recentList(g)[0], "/X/OLD.CSV");
    if (NativePath::caseBlind()) {
        EXPECT_EQ(recentList(g)[1], "/DATA/x.CSV");   // the older entry moved to the top
        EXPECT_EQ(recentList(g)[2], "");
    } else {
        EXPECT_EQ(recentList(g)[1], "/DATA/x.CSV");   // another file: both stay
        EXPECT_EQ(recentList(g)[2], "/x/Old.csv");
        g.addRecentFile("/x/Old.csv");                // the same file moves to the top
        EXPECT_EQ(recentList(g)[0], "/x/Old.csv");
        EXPECT_EQ(recentList(g)[3], "");
        g.addRecentFile("/X/OLD.CSV");
    }
    g.addRecentFile("/" + std::string(259, 'p'));   // 260 bytes: never recorded
    g.addRecentFile("");
    g.addRecentFile("/" + std::string(258, 'q'));   // 259 bytes is fine
    g.addRecentFile("/d/two\nlines.csv");           // would read back as two entries
    g.addRecentFile("/d/cr\r.csv");
    g.addRecentFile(std::string("/d/nul\0.csv", 11));
    g.loadRecentFiles();
    EXPECT_EQ(g.recentFile(0).size(), 259u);
    EXPECT_EQ(g.recentFile(1), "/X/OLD.CSV");
    EXPECT_EQ(g.recentFile(3), NativePath::caseBlind() ? "" : "/DATA/x.CSV");
}

TEST(RecentFiles, ReaderRulesForLineEndsEmptyLinesAndLongLines) {
    TempHome home;
    std::string longLine(2100, 'z');
    const char raw[] = "/a\r\n\r/b\n\n/c\r/d\0tail\r";
    home.write("vexil_hist.lst", std::string(raw, sizeof raw - 1) + longLine);
    CMyGlobal g;
    g.loadRecentFiles();
    EXPECT_EQ(g.recentFile(0), "/a");
    EXPECT_EQ(g.recentFile(1), "");          // an empty line is an empty entry
    EXPECT_EQ(g.recentFile(2), "/b/c");      // LF bytes are dropped, CR ends the line
    EXPECT_EQ(g.recentFile(3), "/d");        // nothing after a NUL byte
    EXPECT_EQ(g.recentFile(4), std::string(1024, 'z'));   // long lines come in pieces
    std::vector<std::string> all = CMyHistory::readRecentList(home.file("vexil_hist.lst"));
    ASSERT_EQ(all.size(), 7u);
    EXPECT_EQ(all[6], std::string(52, 'z'));

    // Exactly 1024 bytes is one entry; one byte more starts a second piece.
    home.write("vexil_hist.lst", std::string(1024, 'a') + "\r" + std::string(1025, 'b') + "\r");
    all = CMyHistory::readRecentList(home.file("vexil_hist.lst"));
    EXPECT_EQ(all, (std::vector<std::string>{std::string(1024, 'a'), std::string(1024, 'b'), "b"}));
}

TEST(RecentFiles, FailedWriteIsToldToTheCallerAndKeepsTheOldFile) {
    TempHome home;
    ScriptedPrompt prompt;
    home.write("vexil_hist.lst", "/old.csv\r\n");
    CMyGlobal g;
    {
        FileLimit limit(4);
        EXPECT_FALSE(g.addRecentFile("/new.csv"));
    }
    // The caller says what failed: the list alone, or the list after a saved file.
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_EQ(TempHome::read(home.file("vexil_hist.lst")), "/old.csv\r\n");
    EXPECT_EQ(g.recentFile(0), "/old.csv");
}

TEST(RecentFilesMenu, CaptionsAndChoices) {
    TempHome home;
    CMyGlobal g;
    g.loadRecentFiles();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(g.recentMenuCaption(i), "（未選択）");
    RecentFileChoice choice = g.chooseRecentFile(0, "", false, false);
    EXPECT_EQ(choice.action, RecentFileChoice::Warn);
    EXPECT_EQ(choice.message, "未設定のため開くことは出来ません。");

    std::string existing = home.write("Data.csv", "a,b\r\n");
    g.addRecentFile(home.file("gone.csv"));
    g.addRecentFile(existing);
    g.loadRecentFiles();
    EXPECT_EQ(g.recentMenuCaption(0), existing);
    EXPECT_EQ(g.chooseRecentFile(0, existing, true, true).action, RecentFileChoice::Nothing);
    choice = g.chooseRecentFile(0, existing, false, true);
    EXPECT_EQ(choice.message, "現在開いているファイルです。");
    // Another case is another file on Linux, the same one on Windows.
    choice = g.chooseRecentFile(0, home.file("DATA.CSV"), false, true);
    EXPECT_EQ(choice.message == "現在開いているファイルです。", NativePath::caseBlind());
    choice = g.chooseRecentFile(1, existing, false, true);
    EXPECT_EQ(choice.message, "選択したファイルは存在しませんでした。");
    choice = g.chooseRecentFile(0, "", false, true);
    EXPECT_EQ(choice.action, RecentFileChoice::StartInstance);
    EXPECT_EQ(choice.path, existing);
    EXPECT_EQ(g.chooseRecentFile(0, "", false, false).action, RecentFileChoice::OpenHere);
}

namespace {
class StartRecorder : public ShellHandler {
public:
    StartRecorder() { Shell::install(this); }
    ~StartRecorder() override { Shell::install(nullptr); }
    bool openUrl(const std::string&) override { return false; }
    bool startProgram(const std::string& exe, const std::vector<std::string>& args) override {
        program = exe;
        arguments = args;
        return succeed;
    }
    bool openFolder(const std::string&) override { return false; }
    std::string program;
    std::vector<std::string> arguments;
    bool succeed = true;
};
} // namespace

TEST(RecentFilesMenu, StartInstanceSavesSettingsFirst) {
    TempHome home;
    ScriptedPrompt prompt;
    StartRecorder shell;
    CMyGlobal g;
    g.loadSettings(1920, 1080);
    g.setUserKey(2, 17, false);
    EXPECT_TRUE(g.startInstance("/d/my file.csv"));
    EXPECT_FALSE(shell.program.empty());
    EXPECT_EQ(shell.arguments, std::vector<std::string>{"/d/my file.csv"});
    EXPECT_NE(TempHome::read(home.file("vexil.ini")).find("USER_KEY2=17"), std::string::npos);
    shell.succeed = false;
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(g.startInstance("/d/x.csv"));
    EXPECT_EQ(prompt.last().text, "実行に失敗しました。");
}

TEST(FindHistory, ReadsAnyLineEndAndWritesThirtyEntries) {
    TempHome home;
    home.write("vexil_f.lst", "one\r\ntwo\rthree\n\nfour");
    CMyGlobal g;
    EXPECT_EQ(g.loadFindHistory(), (std::vector<std::string>{"one", "two", "three", "", "four"}));
    EXPECT_TRUE(g.loadReplaceHistory().empty());
    std::vector<std::string> many;
    for (int i = 0; i < 35; ++i) many.push_back("t" + std::to_string(i));
    ASSERT_TRUE(g.saveFindHistory(many));
    std::vector<std::string> back = g.loadFindHistory();
    ASSERT_EQ(back.size(), 30u);
    EXPECT_EQ(back.front(), "t0");
    EXPECT_EQ(back.back(), "t29");
    EXPECT_TRUE(g.saveReplaceHistory({}));   // an empty list leaves the file alone
    EXPECT_FALSE(std::filesystem::exists(home.file("vexil_r.lst")));
    ASSERT_TRUE(g.saveReplaceHistory({"\x95\x5c"}));
    EXPECT_EQ(TempHome::read(home.file("vexil_r.lst")), "\x95\x5c\r\n");
}

TEST(FindHistory, PushMovesATextToTheTop) {
    std::vector<std::string> list;
    CMyHistory::pushFindEntry(list, "a");
    CMyHistory::pushFindEntry(list, "a");
    EXPECT_EQ(list, std::vector<std::string>{"a"});
    CMyHistory::pushFindEntry(list, "b");
    CMyHistory::pushFindEntry(list, "A");   // case distinguished
    CMyHistory::pushFindEntry(list, "a");
    EXPECT_EQ(list, (std::vector<std::string>{"a", "A", "b"}));
}
