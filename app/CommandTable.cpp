// CommandTable: the area files' entries in one list, and the menu and toolbar layouts.
#include "app/CommandTable.h"

#include "app/ClipboardCommands.h"
#include "app/ConvertCommands.h"
#include "app/DialogCommands.h"
#include "app/FileCommands.h"
#include "app/FindCommands.h"
#include "app/PrintCommands.h"
#include "app/ViewCommands.h"

const std::vector<Command>& CommandTable::all() {
    static const std::vector<Command> table = [] {
        std::vector<Command> t;
        for (std::span<const Command> area :
             {FileCommands::entries(), ViewCommands::entries(), ClipboardCommands::entries(),
              ConvertCommands::entries(), FindCommands::entries(), PrintCommands::entries(),
              DialogCommands::entries()})
            t.insert(t.end(), area.begin(), area.end());
        return t;
    }();
    return table;
}

const Command* CommandTable::find(std::string_view name) {
    for (const Command& c : all())
        if (name == c.name || (c.button && name == c.button)) return &c;
    return nullptr;
}

const Command* CommandTable::byUserFunction(int number) {
    if (number <= 0) return nullptr;
    for (const Command& c : all())
        if (c.userFunction == number) return &c;
    return nullptr;
}

const Command* CommandTable::byPaletteSlot(int mode, int row) {
    for (const Command& c : all())
        for (const PaletteSlot& slot : c.palette)
            if (slot.used() && slot.mode == mode && slot.row == row) return &c;
    return nullptr;
}

const std::vector<MenuLayout>& CommandTable::menus() {
    static const std::vector<MenuLayout> layout = {
        {"mnuFile", "ファイル(&F)", nullptr, EnableRule::Always,
         {"mnuFileNew", "mnuFileOpen", "mnuFileHist", "mnuFileReload", "-", "mnuFileCRList", "-",
          "mnuFileSave", "mnuFileSaveAs", "mnuFileSaveChg", "mnuFileCRSave", "mnuFileExp", "-",
          "mnuFilePreview", "mnuFilePrintSetup", "mnuFilePrint", "-", "mnuFileExit"}},
        {"mnuEdit", "編集(&E)", nullptr, EnableRule::Always,
         {"mnuEditUndo", "mnuEditRedo", "-", "mnuEditCopy", "mnuEditPaste", "mnuEditPasteNoRet",
          "mnuEditPasteRote", "-", "mnuEditZenToHan", "mnuEditHanToZen", "mnuEditUpper",
          "mnuEditLower", "mnuEditKanaToHira", "mnuEditHiraToKana", "-", "mnuEditColUnion",
          "mnuEditColDiv", "mnuEditColCmp", "mnuEditColGroup"}},
        {"mnuFind", "検索(&S)", nullptr, EnableRule::Always,
         {"mnuFindFind", "mnuFindFindUp", "mnuFindFindDown", "mnuFindReplace", "-", "mnuFindSel",
          "mnuFindSelClear"}},
        {"mnuTool", "ツール(&T)", nullptr, EnableRule::Always,
         {"mnuShowOneHeader", "mnuShowScrfix", "mnuKougo", "-", "mnuOptionScaleUp",
          "mnuOptionScaleDown", "-", "mnuToolCardEdit", "-", "mnuOptionUserKey",
          "mnuOptionOption"}},
        {"mnuHelp", "ヘルプ(&H)", nullptr, EnableRule::Always,
         {"mnuHelpHelp", "mnuHelpData", "mnuHelpFolder", "-", "mnuHelpAbout"}},
        {"mnuFileHist", "最近保存したファイルを開く", "mnuFile", EnableRule::Always,
         {"mnuFileHist1", "mnuFileHist2", "mnuFileHist3", "mnuFileHist4", "mnuFileHist5"}},
        {"mnuFileCRSave", "色情報ファイル保存", "mnuFile", EnableRule::ColourFiles,
         {"mnuFileCRLink", "mnuFileCRKari"}},
        {"mnuEditColUnion", "列の結合データ作成", "mnuEdit", EnableRule::Always,
         {"mnuEditColUnionNon", "mnuEditColUnionSpc", "mnuEditColUnionZSpc",
          "mnuEditColUnionKanma", "mnuEditColUnionFree"}},
        {"mnuEditColDiv", "列の分解データ作成", "mnuEdit", EnableRule::Always,
         {"mnuEditColDivSpc", "mnuEditColDivZSpc", "mnuEditColDivKanma", "mnuEditColDivMaSpc",
          "mnuEditColDivMaZSpc", "mnuEditColDivFree"}},
    };
    return layout;
}

const std::vector<const char*>& CommandTable::toolBar() {
    static const std::vector<const char*> layout = {
        "tb_New",    "tb_Open",      "tb_Save",     "tb_SaveFMT", "-",      "tb_Preview",
        "tb_Find",   "-",            "tb_SortUp",   "tb_SortDown", "-",     "tb_Filter",
        "tb_FilterSet", "-",         "tb_KindText", "tb_KindNum", "-",      "tb_Ret",
        "tb_Card"};
    return layout;
}
