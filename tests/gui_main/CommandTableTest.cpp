// The command table against the main window's published menus, toolbar, palette and user-key
// functions: every entry's name, caption, shortcut, hint and slot, the menus built from it,
// the rules, and the user-key dispatch on a real window.
#include "app/CommandRules.h"
#include "app/CommandSurfaces.h"
#include "app/CommandTable.h"
#include "app/TfrmMain.h"

#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "view/GridWidget.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

struct Item {
    const char* name;
    const char* caption;
    const char* shortcut;
};

// Each menu's items in order; submenus appear as their caption with the name of the submenu.
const std::map<std::string, std::vector<Item>> expectedMenus = {
    {"mnuFile",
     {{"mnuFileNew", "新規作成(&N)", ""},
      {"mnuFileOpen", "ファイルを開く(&O)...", ""},
      {"mnuFileHist", "最近保存したファイルを開く", ""},
      {"mnuFileReload", "再読み込み(&R)", ""},
      {"mnuFileCRList", "一時保存の色情報読込(&I)...", ""},
      {"mnuFileSave", "上書き保存(&S)...", "Ctrl+S"},
      {"mnuFileSaveAs", "名前を付けて保存(&A)...", ""},
      {"mnuFileSaveChg", "文字コードを指定して保存(&C)...", ""},
      {"mnuFileCRSave", "色情報ファイル保存", ""},
      {"mnuFileExp", "指定行数をエクスポート(&X)...", ""},
      {"mnuFilePreview", "プレビュー(&V)...", ""},
      {"mnuFilePrintSetup", "ページ設定...", ""},
      {"mnuFilePrint", "印刷(&P)...", ""},
      {"mnuFileExit", "終了(&Q)", ""}}},
    {"mnuFileHist",
     {{"mnuFileHist1", "（未選択）", ""},
      {"mnuFileHist2", "（未選択）", ""},
      {"mnuFileHist3", "（未選択）", ""},
      {"mnuFileHist4", "（未選択）", ""},
      {"mnuFileHist5", "（未選択）", ""}}},
    {"mnuFileCRSave",
     {{"mnuFileCRLink", "データファイル直下に色情報ファイル(VXC)を作成", ""},
      {"mnuFileCRKari", "一時保存に変更", ""}}},
    {"mnuEdit",
     {{"mnuEditUndo", "元に戻す(&Z)", "Ctrl+Z"},
      {"mnuEditRedo", "やり直し(&R)", "Ctrl+Y"},
      {"mnuEditCopy", "コピー(&C)", ""},
      {"mnuEditPaste", "貼り付け(&P)", ""},
      {"mnuEditPasteNoRet", "貼り付け(改行なし)", ""},
      {"mnuEditPasteRote", "貼り付け(縦横変換)", ""},
      {"mnuEditZenToHan", "全角->半角", ""},
      {"mnuEditHanToZen", "半角->全角", ""},
      {"mnuEditUpper", "大文字変換(UPPER CASE)", ""},
      {"mnuEditLower", "小文字変換(lower case)", ""},
      {"mnuEditKanaToHira", "半角ｶﾀｶﾅ->ひらがな", ""},
      {"mnuEditHiraToKana", "ひらがな->半角ｶﾀｶﾅ", ""},
      {"mnuEditColUnion", "列の結合データ作成", ""},
      {"mnuEditColDiv", "列の分解データ作成", ""},
      {"mnuEditColCmp", "左右の列の相違比較", ""},
      {"mnuEditColGroup", "該当列をグループ化", ""}}},
    {"mnuEditColUnion",
     {{"mnuEditColUnionNon", "区切文字(なし)", ""},
      {"mnuEditColUnionSpc", "区切文字(半角スペース)", ""},
      {"mnuEditColUnionZSpc", "区切文字(全角スペース)", ""},
      {"mnuEditColUnionKanma", "区切文字(カンマ)", ""},
      {"mnuEditColUnionFree", "区切文字(任意)...", ""}}},
    {"mnuEditColDiv",
     {{"mnuEditColDivSpc", "区切文字(半角スペース)", ""},
      {"mnuEditColDivZSpc", "区切文字(全角スペース)", ""},
      {"mnuEditColDivKanma", "区切文字(カンマ)", ""},
      {"mnuEditColDivMaSpc", "間(半角スペース)", ""},
      {"mnuEditColDivMaZSpc", "間(全角スペース)", ""},
      {"mnuEditColDivFree", "区切文字(任意)...", ""}}},
    {"mnuFind",
     {{"mnuFindFind", "検索(&F)...", "Ctrl+F"},
      {"mnuFindFindUp", "上検索", "Shift+F3"},
      {"mnuFindFindDown", "下検索", "F3"},
      {"mnuFindReplace", "置換(&R)...", "Ctrl+R"},
      {"mnuFindSel", "抽出...", ""},
      {"mnuFindSelClear", "抽出解除", ""}}},
    {"mnuTool",
     {{"mnuShowOneHeader", "１行目をヘッダーとする(&H)", ""},
      {"mnuShowScrfix", "列固定(&R)", ""},
      {"mnuKougo", "交互背景色モード(&L)", "Ctrl+L"},
      {"mnuOptionScaleUp", "表示拡大(&U)", "F9"},
      {"mnuOptionScaleDown", "表示縮小(&S)", "Shift+F9"},
      {"mnuToolCardEdit", "カード編集(&C)...", "F5"},
      {"mnuOptionUserKey", "ユーザー定義キー割当", ""},
      {"mnuOptionOption", "オプション(&O)...", "Ctrl+O"}}},
    {"mnuHelp",
     {{"mnuHelpHelp", "ヘルプ(&H)", ""},
      {"mnuHelpData", "選択中の情報表示(&D)...", ""},
      {"mnuHelpFolder", "編集中ファイルのフォルダを開く(&F)", ""},
      {"mnuHelpAbout", "バージョン情報(&A)...", ""}}},
};

// Toolbar buttons in order, with their hints and the menu item they act as (if any).
struct Button {
    const char* name;
    const char* hint;
    const char* asItem;
};
const std::vector<Button> expectedButtons = {
    {"tb_New", "新規ファイル", "mnuFileNew"},
    {"tb_Open", "ファイルを開く", "mnuFileOpen"},
    {"tb_Save", "ファイルを保存する", "mnuFileSave"},
    {"tb_SaveFMT", "ONで保存すると色情報を保存する", nullptr},
    {"tb_Preview", "プレビュー", "mnuFilePreview"},
    {"tb_Find", "検索", "mnuFindFind"},
    {"tb_SortUp", "選択列を昇順に並べる", nullptr},
    {"tb_SortDown", "選択列を降順に並べる", nullptr},
    {"tb_Filter", "抽出の実行有無", nullptr},
    {"tb_FilterSet", "抽出の検索文字列を設定", "mnuFindSel"},
    {"tb_KindText", "文字列（左詰め）", nullptr},
    {"tb_KindNum", "数値（右詰め）", nullptr},
    {"tb_Ret", "リターンの移動方向", nullptr},
    {"tb_Card", "カード編集(F5)", "mnuToolCardEdit"},
};

QStringList names(const QMenu* m) {
    QStringList out;
    for (QAction* a : m->actions())
        if (!a->isSeparator()) out << (a->menu() ? a->menu()->objectName() : a->objectName());
    return out;
}

class CommandTableTest : public ::testing::Test {
protected:
    TempHome home;
};

} // namespace

TEST_F(CommandTableTest, MenusAreBuiltFromTheTableWithTheirCaptionsAndShortcuts) {
    ScriptedPrompt prompt;
    TfrmMain w({});
    QStringList bar;
    for (QAction* a : w.menuBar()->actions()) bar << a->menu()->objectName() + ":" + a->text();
    EXPECT_EQ(bar, (QStringList{"mnuFile:ファイル(&F)", "mnuEdit:編集(&E)", "mnuFind:検索(&S)",
                                "mnuTool:ツール(&T)", "mnuHelp:ヘルプ(&H)"}));
    for (const auto& [menuName, items] : expectedMenus) {
        const QMenu* m = w.findChild<QMenu*>(QString::fromStdString(menuName));
        ASSERT_NE(m, nullptr) << menuName;
        QStringList want, wantText, wantKeys, gotText, gotKeys;
        for (const Item& i : items) {
            want << i.name;
            wantText << QString::fromUtf8(i.caption);
            wantKeys << i.shortcut;
        }
        for (QAction* a : m->actions()) {
            if (a->isSeparator()) continue;
            gotText << (a->menu() ? a->menu()->title() : a->text());
            gotKeys << a->shortcut().toString(QKeySequence::PortableText);
        }
        EXPECT_EQ(names(m), want) << menuName;
        EXPECT_EQ(gotText, wantText) << menuName;
        EXPECT_EQ(gotKeys, wantKeys) << menuName;
    }
}

TEST_F(CommandTableTest, EveryEntryIsNamedOnceAndRunsAFunction) {
    std::set<std::string> seen, shortcuts, menuItems;
    for (const auto& [menu, items] : expectedMenus)
        for (const Item& i : items) menuItems.insert(i.name);
    int inMenus = 0;
    for (const Command& c : CommandTable::all()) {
        ASSERT_NE(c.name, nullptr);
        EXPECT_TRUE(seen.insert(c.name).second) << c.name;
        EXPECT_NE(c.run, nullptr) << c.name;
        if (c.shortcut) EXPECT_TRUE(shortcuts.insert(c.shortcut).second) << c.shortcut;
        if (c.caption) {
            EXPECT_EQ(menuItems.count(c.name), 1u) << c.name;
            ++inMenus;
        } else {
            // Commands outside the menus reach the user through a button, the palette or a key.
            const bool reachable = c.button || c.palette[0].used() || c.userFunction > 0;
            EXPECT_TRUE(reachable) << c.name;
            EXPECT_EQ(c.shortcut, nullptr) << c.name;
        }
    }
    // Every menu item except the submenus themselves is an entry.
    EXPECT_EQ(inMenus, int(menuItems.size()) - 4);
    EXPECT_EQ(shortcuts.size(), 12u);   // with Ctrl+Y for redo (Ctrl+Shift+Z is its second)
}

TEST_F(CommandTableTest, ToolBarFollowsTheTableWithHintsAndSharedCommands) {
    ScriptedPrompt prompt;
    TfrmMain w({});
    auto* bar = w.findChild<QToolBar*>("ToolBar2");
    ASSERT_NE(bar, nullptr);
    QStringList got, want;
    int separators = 0;
    for (QAction* a : bar->actions()) {
        if (a->isSeparator()) ++separators;
        else got << a->objectName();
    }
    for (const Button& b : expectedButtons) {
        want << b.name;
        const QAction* a = w.findChild<QAction*>(b.name);
        ASSERT_NE(a, nullptr) << b.name;
        EXPECT_EQ(a->toolTip(), QString::fromUtf8(b.hint)) << b.name;
        EXPECT_TRUE(a->shortcut().isEmpty()) << b.name;
        const Command* c = CommandTable::find(b.name);
        ASSERT_NE(c, nullptr);
        if (b.asItem) EXPECT_STREQ(c->name, b.asItem);
        else EXPECT_EQ(c->caption, nullptr) << b.name;
    }
    EXPECT_EQ(got, want);
    EXPECT_EQ(separators, 5);
    for (const char* toggle : {"tb_SaveFMT", "tb_Filter", "tb_Ret"})
        EXPECT_TRUE(w.findChild<QAction*>(toggle)->isCheckable()) << toggle;
}

TEST_F(CommandTableTest, PaletteSlotsHoldTheirCommandsByMode) {
    struct Slot {
        int mode, row;
        const char* caption;
        const char* command;
    };
    const std::vector<Slot> expectedRows = {
        {0, 0, "コピー", "mnuEditCopy"},        {0, 1, "貼付", "mnuEditPaste"},
        {0, 2, "貼付(改行なし)", "mnuEditPasteNoRet"}, {0, 3, "貼付(縦横変換)", "mnuEditPasteRote"},
        {1, 0, "行のコピー", "mnuEditCopy"},    {1, 1, "行の挿入", "cmdInsertRows"},
        {1, 2, "行の削除", "cmdDeleteRows"},    {2, 0, "列幅調整", "cmdFitWidths"},
        {2, 1, "列のコピー", "mnuEditCopy"},    {2, 2, "列の挿入", "cmdInsertColumns"},
        {2, 3, "列の削除", "cmdDeleteColumns"}, {2, 4, "昇順", "tb_SortUp"},
        {2, 5, "降順", "tb_SortDown"},
    };
    int used = 0;
    for (const Command& c : CommandTable::all())
        for (const PaletteSlot& s : c.palette) used += s.used();
    EXPECT_EQ(used, int(expectedRows.size()));
    for (const Slot& s : expectedRows) {
        const Command* c = CommandTable::byPaletteSlot(s.mode, s.row);
        ASSERT_NE(c, nullptr) << s.caption;
        EXPECT_STREQ(c->name, s.command);
        bool captioned = false;
        for (const PaletteSlot& p : c->palette)
            captioned |= p.mode == s.mode && p.row == s.row && std::string(p.caption) == s.caption;
        EXPECT_TRUE(captioned) << s.caption;
    }
    EXPECT_EQ(CommandTable::byPaletteSlot(0, 4), nullptr);
    EXPECT_EQ(CommandTable::byPaletteSlot(1, 3), nullptr);
    // Ascending from the palette passes another tag than the button, but only 1 descends.
    EXPECT_NE(CommandTable::find("tb_SortUp")->tag, 1);
    EXPECT_EQ(CommandTable::find("tb_SortDown")->tag, 1);
}

TEST_F(CommandTableTest, EveryUserKeyFunctionHasOneCommand) {
    const std::map<int, std::string> basic = {
        {1, "mnuOptionUserKey"}, {2, "tb_Filter"},        {3, "mnuFindSel"},
        {4, "mnuFindSelClear"},  {5, "mnuShowOneHeader"}, {6, "cmdReloadUnasked"},
        {7, "mnuFileReload"},    {8, "mnuEditRedo"},      {50, "mnuEditZenToHan"}, {51, "mnuEditHanToZen"},
        {52, "mnuEditUpper"},    {53, "mnuEditLower"},    {54, "mnuEditKanaToHira"},
        {55, "mnuEditHiraToKana"}};
    std::set<int> numbers;
    for (const Command& c : CommandTable::all())
        if (c.userFunction) EXPECT_TRUE(numbers.insert(c.userFunction).second) << c.userFunction;
    EXPECT_EQ(numbers.size(), 48u);  // the 49 functions less "（未定義）"
    for (const auto& [number, name] : basic) {
        const Command* c = CommandTable::byUserFunction(number);
        ASSERT_NE(c, nullptr) << number;
        EXPECT_EQ(c->name, name);
    }
    // The conversions carry their kind as the tag, the colours their index (-1 none).
    EXPECT_EQ(CommandTable::byUserFunction(52)->tag, 2);
    for (int number = 100; number <= 116; ++number) {
        const Command* bg = CommandTable::byUserFunction(number);
        const Command* text = CommandTable::byUserFunction(number + 100);
        ASSERT_TRUE(bg && text) << number;
        EXPECT_EQ(bg->tag, number - 101);
        EXPECT_EQ(text->tag, number - 101);
        EXPECT_NE(bg->run, text->run);
    }
    EXPECT_EQ(CommandTable::byUserFunction(0), nullptr);
    EXPECT_EQ(CommandTable::byUserFunction(9), nullptr);
    EXPECT_EQ(CommandTable::byUserFunction(117), nullptr);
}

TEST_F(CommandTableTest, RulesFollowTheColourModeFilterAndViewModes) {
    CommandState s;
    EXPECT_TRUE(CommandRules::enabled(EnableRule::Always, s));
    EXPECT_FALSE(CommandRules::enabled(EnableRule::ColourFiles, s));
    s.colourFiles = true;
    EXPECT_TRUE(CommandRules::enabled(EnableRule::ColourFiles, s));
    // Without a file neither move of the colour information is offered.
    EXPECT_FALSE(CommandRules::enabled(EnableRule::ColourBesideData, s));
    EXPECT_FALSE(CommandRules::enabled(EnableRule::ColourToTemporary, s));
    s.hasFile = true;
    EXPECT_TRUE(CommandRules::enabled(EnableRule::ColourBesideData, s));
    EXPECT_FALSE(CommandRules::enabled(EnableRule::ColourToTemporary, s));
    s.colourMode = 1;
    EXPECT_FALSE(CommandRules::enabled(EnableRule::ColourBesideData, s));
    EXPECT_TRUE(CommandRules::enabled(EnableRule::ColourToTemporary, s));
    s.colourFiles = false;
    EXPECT_FALSE(CommandRules::enabled(EnableRule::ColourToTemporary, s));
    EXPECT_FALSE(CommandRules::enabled(EnableRule::Filtered, s));
    s.filtered = true;
    EXPECT_TRUE(CommandRules::enabled(EnableRule::Filtered, s));

    s.headerMode = true;
    EXPECT_TRUE(CommandRules::checked(CheckRule::Header, s));
    EXPECT_FALSE(CommandRules::checked(CheckRule::Frozen, s));
    s.alternate = true;
    EXPECT_TRUE(CommandRules::checked(CheckRule::Alternate, s));
    EXPECT_FALSE(CommandRules::checked(CheckRule::Own, s));
}

// The wrap is the only place that refuses while the editor is open or stores its text first,
// so every entry carries the one it needs: Blocked, Commit, or neither for these few.
TEST_F(CommandTableTest, EveryEntryIsBlockedOrCommitsAsItNeeds) {
    const std::set<std::string> blocked = {
        "mnuFileOpen", "mnuFileHist1", "mnuFileHist2", "mnuFileHist3", "mnuFileHist4",
        "mnuFileHist5", "mnuFileReload", "cmdReloadUnasked", "mnuOptionScaleUp",
        "mnuOptionScaleDown", "tb_KindText", "tb_KindNum", "mnuEditColUnionNon",
        "mnuEditColUnionSpc", "mnuEditColUnionZSpc", "mnuEditColUnionKanma",
        "mnuEditColUnionFree", "mnuEditColDivSpc", "mnuEditColDivZSpc", "mnuEditColDivKanma",
        "mnuEditColDivMaSpc", "mnuEditColDivMaZSpc", "mnuEditColDivFree", "mnuEditColCmp",
        "mnuEditColGroup", "mnuFindFind", "mnuFindFindUp", "mnuFindFindDown", "mnuFindReplace",
        "tb_SortUp", "tb_SortDown", "mnuFileCRList"};
    // The save flows and the view modes store an edit themselves, undo and redo beep while
    // editing,
    // and the rest never touch the table.
    const std::set<std::string> neither = {
        "mnuFileSave", "mnuFileSaveAs", "mnuFileSaveChg", "tb_SaveFMT", "mnuFileExit",
        "mnuHelpHelp", "mnuHelpFolder", "mnuEditUndo", "mnuEditRedo", "mnuShowOneHeader", "mnuShowScrfix",
        "mnuKougo", "tb_Ret", "mnuOptionUserKey"};
    int commits = 0;
    for (const Command& c : CommandTable::all()) {
        const bool isBlocked = c.wrap & Wrap::Blocked;
        const bool isCommit = c.wrap & Wrap::Commit;
        EXPECT_EQ(isBlocked, blocked.count(c.name) == 1) << c.name;
        EXPECT_EQ(isCommit, !blocked.count(c.name) && !neither.count(c.name)) << c.name;
        commits += isCommit;
    }
    EXPECT_EQ(commits, 63);
}

TEST_F(CommandTableTest, UserKeysRunTheirFunctionOrSayWhyNot) {
    ScriptedPrompt prompt;
    const std::string path = home.write("u.csv", "name,age\n1,2\n");
    TfrmMain w({path});
    CMyGlobal& g = w.global();
    g.setUserKey(8, 5, true);   // Shift+Ctrl+9: first row as header
    g.setUserKey(0, -1, false);  // Ctrl+1: not usable
    g.setUserKey(1, 999, false); // Ctrl+2: a number no function has
    g.setUserKey(3, 116, false); // Ctrl+4: background colour 15, which asks nothing

    for (int i = 0; i < 3; ++i) prompt.answer(PromptAnswer::Ok);
    w.commands().runUserKey(9, true);
    EXPECT_TRUE(w.hyo().inHeaderMode());
    EXPECT_TRUE(w.findChild<QAction*>("mnuShowOneHeader")->isChecked());
    w.commands().runUserKey(9, false);  // the plain list's ninth entry is empty
    w.commands().runUserKey(1, false);
    QTest::keyClick(&w.gridWidget(), Qt::Key_2, Qt::ControlModifier);  // from the grid
    w.commands().runUserKey(4, false);
    w.commands().runUserKey(0, false);  // Ctrl+0 is no user key
    EXPECT_EQ(prompt.texts(), (std::vector<std::string>{
                                  "ユーザー定義キーに機能が割り当てられていません。",
                                  "使用出来ないユーザー定義キーです。",
                                  "ユーザー定義キーに機能が割り当てられていません。"}));
    for (const auto& shown : prompt.shown()) EXPECT_EQ(shown.caption, "注意");
    EXPECT_TRUE(w.hyo().inHeaderMode());
}
