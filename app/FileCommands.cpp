// FileCommands: the File and Help menus' entries and functions.
#include "app/FileCommands.h"

#include "app/CommandSurfaces.h"
#include "app/CommandContext.h"
#include "store/DocumentState.h"
#include "app/DocumentSaver.h"
#include "dialogs/TfrmAbout.h"
#include "platform/core/Prompt.h"
#include "platform/core/Shell.h"
#include "settings/CMyGlobal.h"
#include "store/OpenFlow.h"

#include <QAction>

#include <filesystem>

std::span<const Command> FileCommands::entries() {
    static constexpr Command table[] = {
        {.name = "mnuFileNew", .caption = "新規作成(&N)", .button = "tb_New", .hint = "新規ファイル",
         .wrap = Wrap::Commit, .run = newWindow},
        {.name = "mnuFileOpen", .caption = "ファイルを開く(&O)...", .button = "tb_Open",
         .hint = "ファイルを開く", .wrap = Wrap::Blocked, .run = open},
        {.name = "mnuFileHist1", .caption = "（未選択）", .tag = 0, .wrap = Wrap::Blocked,
         .run = recentFile},
        {.name = "mnuFileHist2", .caption = "（未選択）", .tag = 1, .wrap = Wrap::Blocked,
         .run = recentFile},
        {.name = "mnuFileHist3", .caption = "（未選択）", .tag = 2, .wrap = Wrap::Blocked,
         .run = recentFile},
        {.name = "mnuFileHist4", .caption = "（未選択）", .tag = 3, .wrap = Wrap::Blocked,
         .run = recentFile},
        {.name = "mnuFileHist5", .caption = "（未選択）", .tag = 4, .wrap = Wrap::Blocked,
         .run = recentFile},
        // Tag 1 asks before reloading; the user key 6 reloads without asking first.
        {.name = "mnuFileReload", .caption = "再読み込み(&R)", .userFunction = 7, .tag = 1,
         .wrap = Wrap::Blocked, .run = reload},
        {.name = "cmdReloadUnasked", .userFunction = 6, .tag = 0, .wrap = Wrap::Blocked,
         .run = reload},
        {.name = "mnuFileSave", .caption = "上書き保存(&S)...", .shortcut = "Ctrl+S",
         .button = "tb_Save", .hint = "ファイルを保存する", .tag = 0, .run = save},
        {.name = "mnuFileSaveAs", .caption = "名前を付けて保存(&A)...", .tag = 1, .run = save},
        {.name = "mnuFileSaveChg", .caption = "文字コードを指定して保存(&C)...",
         .run = saveWithEncoding},
        {.name = "mnuFileCRLink", .caption = "データファイル直下に色情報ファイル(VXC)を作成",
         .tag = 0, .wrap = Wrap::Commit, .enable = EnableRule::ColourBesideData,
         .run = colourFile},
        {.name = "mnuFileCRKari", .caption = "一時保存に変更", .tag = 1, .wrap = Wrap::Commit,
         .enable = EnableRule::ColourToTemporary, .run = colourFile},
        {.name = "tb_SaveFMT", .button = "tb_SaveFMT", .hint = "ONで保存すると色情報を保存する",
         .enable = EnableRule::ColourFiles, .check = CheckRule::Own,
         .run = saveFormat},
        {.name = "mnuFileExp", .caption = "指定行数をエクスポート(&X)...", .wrap = Wrap::Commit,
         .run = exportRows},
        {.name = "mnuFileExit", .caption = "終了(&Q)", .run = exit},
        {.name = "mnuHelpHelp", .caption = "ヘルプ(&H)", .run = help},
        {.name = "mnuHelpFolder", .caption = "編集中ファイルのフォルダを開く(&F)", .run = openFolder},
        {.name = "mnuHelpAbout", .caption = "バージョン情報(&A)...", .wrap = Wrap::Commit,
         .run = about},
    };
    return table;
}

bool FileCommands::newWindow(CommandContext& w, const Command&) { return w.startInstance({}); }

bool FileCommands::open(CommandContext& w, const Command&) {
    if (!w.holdsData()) {
        w.openFile(nullptr, false, nullptr, TypeNone);
        return true;
    }
    const FileChoice choice = Prompt::chooseOpenFile(OpenFlow::openFilters(), 1);
    if (!choice.accepted) return false;
    // Filter 4 (quoted TAB) runs as "-t2", filter 3 (unquoted TAB) as "-t3".
    std::vector<std::string> arguments{choice.path};
    if (choice.filterIndex == 1) arguments.push_back("-t1");
    else if (choice.filterIndex == 3) arguments.push_back("-t3");
    else if (choice.filterIndex == 4) arguments.push_back("-t2");
    return w.startInstance(arguments);
}

bool FileCommands::recentFile(CommandContext& w, const Command& c) {
    w.chooseRecentFile(c.tag);
    return true;
}

bool FileCommands::reload(CommandContext& w, const Command& c) {
    w.reload(c.tag != 0);
    return true;
}

bool FileCommands::save(CommandContext& w, const Command& c) { return w.saver().saveDocument(c.tag != 0); }

bool FileCommands::saveWithEncoding(CommandContext& w, const Command&) {
    w.saver().saveWithEncoding();
    return true;
}

bool FileCommands::colourFile(CommandContext& w, const Command& c) {
    w.saver().colourFileCommand(c.tag);
    return true;
}

// The button is already toggled when this runs; the flow decides whether it stays so.
bool FileCommands::saveFormat(CommandContext& w, const Command& c) {
    w.saver().toggleSaveFormat(w.commands().isChecked(c.button));
    return true;
}

bool FileCommands::exportRows(CommandContext& w, const Command&) {
    w.saver().exportRows();
    return true;
}

bool FileCommands::exit(CommandContext& w, const Command&) { return w.closeWindow(); }

bool FileCommands::help(CommandContext& w, const Command&) {
    w.global().showHelp();
    return true;
}

bool FileCommands::openFolder(CommandContext& w, const Command&) {
    const std::string& filePath = w.document().filePath;
    if (filePath.empty()) {
        Prompt::warn("編集中のファイルが存在しません。");
        return false;
    }
    // A path given relative on the command line lies in the folder vexil was started in; cut
    // as it stands it would name no folder, or the root.
    std::string path = filePath;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (!error) path = absolute.string();
    std::string folder = path.substr(0, CMyGlobal::lastBackslash(path));
    const char sep = std::filesystem::path::preferred_separator;
    if (!folder.empty() && folder.back() == sep && folder.size() > 1) folder.pop_back();
    if (folder.empty()) folder = std::string(1, sep);
    if (!Shell::openFolder(folder)) Prompt::warn("実行失敗");
    return true;
}

bool FileCommands::about(CommandContext& w, const Command&) {
    TfrmAbout box(w.dialogParent());
    box.exec();
    return true;
}
