// FileCommands: the File and Help menus' entries and functions.
#include "app/FileCommands.h"

#include "app/CommandSurfaces.h"
#include "app/TfrmMain.h"
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
         .wrap = Wrap::Commit, .run = newWindow, .operation = "TfrmMain::startInstance"},
        {.name = "mnuFileOpen", .caption = "ファイルを開く(&O)...", .button = "tb_Open",
         .hint = "ファイルを開く", .wrap = Wrap::Blocked, .run = open,
         .operation = "TfrmMain::openFile"},
        {.name = "mnuFileHist1", .caption = "（未選択）", .tag = 0, .wrap = Wrap::Blocked,
         .run = recentFile, .operation = "TfrmMain::chooseRecentFile"},
        {.name = "mnuFileHist2", .caption = "（未選択）", .tag = 1, .wrap = Wrap::Blocked,
         .run = recentFile, .operation = "TfrmMain::chooseRecentFile"},
        {.name = "mnuFileHist3", .caption = "（未選択）", .tag = 2, .wrap = Wrap::Blocked,
         .run = recentFile, .operation = "TfrmMain::chooseRecentFile"},
        {.name = "mnuFileHist4", .caption = "（未選択）", .tag = 3, .wrap = Wrap::Blocked,
         .run = recentFile, .operation = "TfrmMain::chooseRecentFile"},
        {.name = "mnuFileHist5", .caption = "（未選択）", .tag = 4, .wrap = Wrap::Blocked,
         .run = recentFile, .operation = "TfrmMain::chooseRecentFile"},
        // Tag 1 asks before reloading; the user key 6 reloads without asking first.
        {.name = "mnuFileReload", .caption = "再読み込み(&R)", .userFunction = 7, .tag = 1,
         .run = reload, .operation = "TfrmMain::reload"},
        {.name = "cmdReloadUnasked", .userFunction = 6, .tag = 0, .run = reload,
         .operation = "TfrmMain::reload"},
        {.name = "mnuFileSave", .caption = "上書き保存(&S)...", .shortcut = "Ctrl+S",
         .button = "tb_Save", .hint = "ファイルを保存する", .tag = 0, .run = save,
         .operation = "SaveFlow::saveDocument"},
        {.name = "mnuFileSaveAs", .caption = "名前を付けて保存(&A)...", .tag = 1, .run = save,
         .operation = "SaveFlow::saveDocument"},
        {.name = "mnuFileSaveChg", .caption = "文字コードを指定して保存(&C)...",
         .run = saveWithEncoding, .operation = "SaveFlow::saveWithEncoding"},
        {.name = "mnuFileCRLink", .caption = "データファイル直下に色情報ファイル(VXC)を作成",
         .tag = 0, .wrap = Wrap::Commit, .enable = EnableRule::ColourBesideData,
         .run = colourFile, .operation = "SaveFlow::colourFileCommand"},
        {.name = "mnuFileCRKari", .caption = "一時保存に変更", .tag = 1, .wrap = Wrap::Commit,
         .enable = EnableRule::ColourToTemporary, .run = colourFile,
         .operation = "SaveFlow::colourFileCommand"},
        {.name = "tb_SaveFMT", .button = "tb_SaveFMT", .hint = "ONで保存すると色情報を保存する",
         .enable = EnableRule::ColourFiles, .check = CheckRule::Own,
         .run = saveFormat, .operation = "SaveFlow::toggleSaveFormat"},
        {.name = "mnuFileExp", .caption = "指定行数をエクスポート(&X)...", .wrap = Wrap::Commit,
         .run = exportRows, .operation = "SaveFlow::exportCommand"},
        {.name = "mnuFileExit", .caption = "終了(&Q)", .run = exit,
         .operation = "TfrmMain::closeEvent"},
        {.name = "mnuHelpHelp", .caption = "ヘルプ(&H)", .run = help,
         .operation = "CMyGlobal::showHelp"},
        {.name = "mnuHelpFolder", .caption = "編集中ファイルのフォルダを開く(&F)", .run = openFolder,
         .operation = "Shell::openFolder"},
        {.name = "mnuHelpAbout", .caption = "バージョン情報(&A)...", .wrap = Wrap::Commit,
         .run = about, .operation = "TfrmAbout"},
    };
    return table;
}

bool FileCommands::newWindow(TfrmMain& w, const Command&) { return w.startInstance({}); }

bool FileCommands::open(TfrmMain& w, const Command&) {
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

bool FileCommands::recentFile(TfrmMain& w, const Command& c) {
    w.chooseRecentFile(c.tag);
    return true;
}

bool FileCommands::reload(TfrmMain& w, const Command& c) {
    w.reload(c.tag != 0);
    return true;
}

bool FileCommands::save(TfrmMain& w, const Command& c) { return w.saveDocument(c.tag != 0); }

bool FileCommands::saveWithEncoding(TfrmMain& w, const Command&) {
    w.saveWithEncoding();
    return true;
}

bool FileCommands::colourFile(TfrmMain& w, const Command& c) {
    w.colourFileCommand(c.tag);
    return true;
}

// The button is already toggled when this runs; the flow decides whether it stays so.
bool FileCommands::saveFormat(TfrmMain& w, const Command& c) {
    QAction* button = w.commands().action(c.button);
    w.toggleSaveFormat(button && button->isChecked());
    return true;
}

bool FileCommands::exportRows(TfrmMain& w, const Command&) {
    w.exportRows();
    return true;
}

bool FileCommands::exit(TfrmMain& w, const Command&) { return w.close(); }

bool FileCommands::help(TfrmMain& w, const Command&) {
    w.global().showHelp();
    return true;
}

bool FileCommands::openFolder(TfrmMain& w, const Command&) {
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

bool FileCommands::about(TfrmMain& w, const Command&) {
    TfrmAbout box(&w);
    box.exec();
    return true;
}
