// The manual's lookup: keywords to sections, links to them, where the manual is found.
#include "platform/core/HelpManual.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

TEST(HelpManual, KeywordsOpenTheirSections) {
    EXPECT_EQ(HelpManual::anchorFor("文字コード"), "encoding");
    EXPECT_EQ(HelpManual::anchorFor("抽出"), "filter");
    EXPECT_EQ(HelpManual::anchorFor("mnuFileSaveAs"), "mnuFileSaveAs");
    EXPECT_EQ(HelpManual::anchorFor(""), "");
    EXPECT_EQ(HelpManual::anchorFor("知らない言葉"), "");
    EXPECT_EQ(HelpManual::anchorFor("a\"><script>"), "");   // never pasted into the link

    EXPECT_EQ(HelpManual::urlFor("/opt/v x/ヘ/index.html", "区切り"),
              "file:///opt/v%20x/%E3%83%98/index.html#separator");
    EXPECT_EQ(HelpManual::urlFor("/opt/help/index.html", ""), "file:///opt/help/index.html");
}

TEST(HelpManual, FoundInTheProgramFolderThenBesideOrBelowTheExecutable) {
    TempHome home;
    const std::string exe = home.file("prefix/bin/vexil");
    EXPECT_EQ(HelpManual::locate(home.file("portable"), exe), "");
    home.write("prefix/share/vexil/help/index.html", "installed");
    EXPECT_EQ(HelpManual::locate(home.file("portable"), exe),
              home.file("prefix/share/vexil/help/index.html"));
    home.write("prefix/bin/help/index.html", "build tree");
    EXPECT_EQ(HelpManual::locate(home.file("portable"), exe), home.file("prefix/bin/help/index.html"));
    home.write("portable/help/index.html", "portable");
    EXPECT_EQ(HelpManual::locate(home.file("portable"), exe), home.file("portable/help/index.html"));
}

// Every section a keyword leads to exists in the manual that ships with the program.
TEST(HelpManual, TheManualHasEverySectionTheKeywordsName) {
    const char* source = std::getenv("VEXIL_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    std::ifstream in(std::string(source) + "/help/index.html");
    ASSERT_TRUE(in.good());
    std::stringstream text;
    text << in.rdbuf();
    const std::string manual = text.str();
    for (const char* keyword :
         {"はじめに", "開く", "保存", "文字コード", "区切り", "引用符", "色情報", "移動", "編集",
          "キー", "ステータスバー", "コマンドライン", "コピー", "行", "並べ替え", "検索", "抽出",
          "変換", "結合", "オプション", "ユーザー定義キー", "カード", "色情報一覧", "印刷", "連番",
          "ヘルプ"})
        EXPECT_NE(manual.find("id=\"" + HelpManual::anchorFor(keyword) + "\""), std::string::npos)
            << keyword;
    for (const char* command : {"mnuFileOpen", "mnuFileSave", "mnuFileSaveAs", "mnuFileSaveChg",
                                "mnuFileExp", "mnuHelpHelp", "mnuHelpFolder"})
        EXPECT_NE(manual.find(std::string("id=\"") + command + "\""), std::string::npos) << command;
}
