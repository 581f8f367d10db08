// CMyGlobal: the program's settings (vexil.ini), window places, program paths and recent files.
#include "settings/CMyGlobal.h"

#include "platform/core/GivenCodes.h"

#include "platform/core/HelpManual.h"
#include "platform/core/HelpViewer.h"
#include "platform/core/MemoryHook.h"
#include "platform/core/ProfileFile.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/NativePath.h"
#include "platform/core/Prompt.h"
#include "platform/core/Shell.h"
#include "settings/CMyHistory.h"
#include "settings/CMyPublic.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <sys/stat.h>

namespace {

// The find and replace lists are plain CP932 for every run: lent codes become "?".
std::vector<std::string> plainEntries(const std::vector<std::string>& entries) {
    std::vector<std::string> plain;
    for (const std::string& entry : entries) plain.push_back(GivenCodes::plain(entry));
    return plain;
}

const char* const settingsFileName = "vexil.ini";
const char* const recentListName = "vexil_hist.lst";
const char* const findListName = "vexil_f.lst";
const char* const replaceListName = "vexil_r.lst";
const char* const notChosenCaption = "（未選択）";

const char* const slotSection[CMyGlobal::slotCount] = {"FORM", "FORM1", "FORM2"};
const WindowPlace slotDefault[CMyGlobal::slotCount] = {
    {0, 0, 780, 510}, {0, 0, 780, 510}, {0, 0, 462, 600}};

// The OPT keys after RET, in file order. Flags are read as integers (non-zero is true) and
// written as "1"/"0"; setters with checks apply on reading too.
struct OptionKey {
    const char* key;
    bool flag;
    int32_t fallback;
    int32_t (*get)(const CMyGlobal&);
    void (*set)(CMyGlobal&, int32_t);
};

const OptionKey optionKeys[] = {
    {"MAKEFD", false, 1, [](const CMyGlobal& g) { return g.colourFileMode(); },
     [](CMyGlobal& g, int32_t v) { g.setColourFileMode(v); }},
    {"MAKEFDLISTMAX", false, 200, [](const CMyGlobal& g) { return g.colourListMax(); },
     [](CMyGlobal& g, int32_t v) { g.setColourListMax(v); }},
    // A settings file without the key keeps each file's own quoting; a stored value stays.
    {"DBLKIND", false, CMyGlobal::QuoteAsRead, [](const CMyGlobal& g) { return g.quoteKind(); },
     [](CMyGlobal& g, int32_t v) { g.setQuoteKind(v); }},
    {"LINECUR_UMU", true, 1, [](const CMyGlobal& g) { return int32_t(g.showLineCursor()); },
     [](CMyGlobal& g, int32_t v) { g.setShowLineCursor(v != 0); }},
    {"CELLOVER", true, 1, [](const CMyGlobal& g) { return int32_t(g.cellOverflow()); },
     [](CMyGlobal& g, int32_t v) { g.setCellOverflow(v != 0); }},
    // A settings file without the key gets room for undoing a whole column of a large table
    // (and its redo); a stored value stays.
    {"UNDOSIZE", false, 64000000, [](const CMyGlobal& g) { return g.undoSize(); },
     [](CMyGlobal& g, int32_t v) { g.setUndoSize(v); }},
    {"SCALE", false, 100, [](const CMyGlobal& g) { return g.viewScale(); },
     [](CMyGlobal& g, int32_t v) { g.setViewScale(v); }},
    {"CARD_SCALE", false, 100, [](const CMyGlobal& g) { return g.cardScale(); },
     [](CMyGlobal& g, int32_t v) { g.setCardScale(v); }},
    {"SIMPLE_CALC", true, 1, [](const CMyGlobal& g) { return int32_t(g.simpleCalc()); },
     [](CMyGlobal& g, int32_t v) { g.setSimpleCalc(v != 0); }},
    {"ENDLINE", false, 0, [](const CMyGlobal& g) { return g.showEndLine(); },
     [](CMyGlobal& g, int32_t v) { g.setShowEndLine(v); }},
    {"KG_LINE", false, 0, [](const CMyGlobal& g) { return g.alternateRows(); },
     [](CMyGlobal& g, int32_t v) { g.setAlternateRows(v); }},
    {"KG_LINE_IDX", false, 0, [](const CMyGlobal& g) { return g.alternateColour(); },
     [](CMyGlobal& g, int32_t v) { g.setAlternateColour(v); }},
    {"PRINT_KIND", false, 0, [](const CMyGlobal& g) { return g.printKind(); },
     [](CMyGlobal& g, int32_t v) { g.setPrintKind(v); }},
    {"F_DBL_RETONLY", true, 1, [](const CMyGlobal& g) { return int32_t(g.fileQuoteLineBreakOnly()); },
     [](CMyGlobal& g, int32_t v) { g.setFileQuoteLineBreakOnly(v != 0); }},
    {"CP_DBL_RETONLY", true, 1, [](const CMyGlobal& g) { return int32_t(g.copyQuoteLineBreakOnly()); },
     [](CMyGlobal& g, int32_t v) { g.setCopyQuoteLineBreakOnly(v != 0); }},
    {"CELL_RET_VIEW", true, 1, [](const CMyGlobal& g) { return int32_t(g.showCellLineBreaks()); },
     [](CMyGlobal& g, int32_t v) { g.setShowCellLineBreaks(v != 0); }},
    {"TAB_RET_WARNING", true, 1, [](const CMyGlobal& g) { return int32_t(g.lineBreakCopyWarning()); },
     [](CMyGlobal& g, int32_t v) { g.setLineBreakCopyWarning(v != 0); }},
    {"SEL_COLORNO", false, 1, [](const CMyGlobal& g) { return g.selectionColour(); },
     [](CMyGlobal& g, int32_t v) { g.setSelectionColour(v); }},
    {"R_MOZICODE", false, -1, [](const CMyGlobal& g) { return g.readEncoding(); },
     [](CMyGlobal& g, int32_t v) { g.setReadEncoding(v); }},
    {"MOZICODE", false, 0, [](const CMyGlobal& g) { return g.startEncoding(); },
     [](CMyGlobal& g, int32_t v) { g.setStartEncoding(v); }},
    {"RETCODE", false, 0, [](const CMyGlobal& g) { return g.startLineEnd(); },
     [](CMyGlobal& g, int32_t v) { g.setStartLineEnd(v); }},
    {"BOM", true, 1, [](const CMyGlobal& g) { return int32_t(g.startBom()); },
     [](CMyGlobal& g, int32_t v) { g.setStartBom(v != 0); }},
    {"MAXROW", false, CMyGlobal::MinMaxRows, [](const CMyGlobal& g) { return g.maxRows(); },
     [](CMyGlobal& g, int32_t v) { g.setMaxRows(v); }},
};

// Characters of an export extension. It is part of a native path (UTF-8), so every byte
// except a continuation byte starts a character.
size_t characterCount(const std::string& text) {
    size_t count = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

bool validSlot(int slot) { return slot >= 0 && slot < CMyGlobal::slotCount; }

std::string userKeyName(int index, bool shifted) {
    return (shifted ? "USER_SKEY" : "USER_KEY") + std::to_string(index);
}

} // namespace

CMyGlobal::CMyGlobal() {
    std::string folder = ProgramFolder::path();
    if (folder.empty() || folder.back() != ProgramFolder::separator())
        folder += ProgramFolder::separator();
    settingsFolder_ = holdFolder(folder);
    programFolder_ = holdFolder(folder);
}

CMyGlobal::~CMyGlobal() {
    MemoryHook::release(settingsFolder_);
    MemoryHook::release(programFolder_);
}

char* CMyGlobal::holdFolder(const std::string& folder) {
    char* block = static_cast<char*>(MemoryHook::allocate(folder.size() + 1));
    if (!block) {
        Prompt::warn("パスの領域確保に失敗しました。");
        return nullptr;
    }
    std::memcpy(block, folder.data(), folder.size());
    return block;
}

// ---------------------------------------------------------------- settings file

void CMyGlobal::loadSettings(int screenWidth, int screenHeight) {
    ProfileFile ini;
    std::string path = settingsPath(settingsFileName);
    if (!path.empty()) ini.load(path);   // missing or unreadable: every key takes its default
    int32_t maxLeft = std::max(0, screenWidth - 200);
    int32_t maxTop = std::max(0, screenHeight - 200);
    for (int slot = 0; slot < slotCount; ++slot) loadWindowSlot(ini, slot, maxLeft, maxTop);
    cardColumnWidth_[0] = ini.readInt("FORM2", "COL_W1", 100);
    cardColumnWidth_[1] = ini.readInt("FORM2", "COL_W2", 250);

    exportHeader_ = ini.readFlag("EXP", "HEADER", false);
    std::string extension = ini.readString("EXP", "KAKU", std::string());
    if (characterCount(extension) < 5) exportExtension_ = extension;
    exportKind_ = ini.readInt("EXP", "KIND", 1);
    loadOptions(ini);
}

void CMyGlobal::loadWindowSlot(ProfileFile& ini, int slot, int32_t maxLeft, int32_t maxTop) {
    const char* section = slotSection[slot];
    const WindowPlace& fallback = slotDefault[slot];
    windowMaximized_[slot] = ini.readFlag(section, "MAX", false);
    WindowPlace& place = windowPlace_[slot];
    place.left = std::min(ini.readInt(section, "LEFT", fallback.left), maxLeft);
    place.top = std::min(ini.readInt(section, "TOP", fallback.top), maxTop);
    place.width = ini.readInt(section, "WIDTH", fallback.width);
    place.height = ini.readInt(section, "HEIGHT", fallback.height);
}

void CMyGlobal::loadOptions(ProfileFile& ini) {
    for (bool shifted : {false, true})
        for (int k = 0; k < userKeyCount; ++k)
            setUserKey(k, ini.readInt("OPT", userKeyName(k, shifted), 0), shifted);
    returnMovesRight_ = ini.readFlag("OPT", "RET", false);
    for (const OptionKey& option : optionKeys) {
        int32_t value = ini.readInt("OPT", option.key, option.fallback);
        option.set(*this, option.flag ? int32_t(value != 0) : value);
    }
    viewScaleInFile_ = viewScale_;
}

bool CMyGlobal::saveSettings(bool withOptions) {
    std::string path = settingsPath(settingsFileName);
    if (path.empty()) return false;
    // Start from the file as it is now, so lines we do not own (and keys another instance
    // wrote that this save leaves alone) survive.
    // A file that is there but cannot be read is left alone: replacing it would lose it.
    ProfileFile ini;
    struct stat existing {};
    if (!ini.load(path) && ::stat(path.c_str(), &existing) == 0) return false;
    for (int slot = 0; slot < slotCount; ++slot) saveWindowSlot(ini, slot);
    ini.writeInt("FORM2", "COL_W1", cardColumnWidth_[0]);
    ini.writeInt("FORM2", "COL_W2", cardColumnWidth_[1]);
    ini.writeFlag("EXP", "HEADER", exportHeader_);
    ini.writeString("EXP", "KAKU", exportExtension_);
    ini.writeInt("EXP", "KIND", exportKind_);
    for (bool shifted : {false, true})
        for (int k = 0; k < userKeyCount; ++k)
            ini.writeInt("OPT", userKeyName(k, shifted), userKey(k, shifted));
    ini.writeFlag("OPT", "RET", returnMovesRight_);
    const bool zoomToKeep = viewScale_ != viewScaleInFile_ && !viewScaleRunOnly_;
    if (withOptions) saveOptions(ini);
    else if (zoomToKeep) ini.writeInt("OPT", "SCALE", viewScale_);
    if (!ini.save(path)) return false;
    if (withOptions || zoomToKeep) viewScaleInFile_ = viewScale_;
    if (withOptions) viewScaleRunOnly_ = false;
    return true;
}

void CMyGlobal::saveWindowSlot(ProfileFile& ini, int slot) const {
    const char* section = slotSection[slot];
    const WindowPlace& place = windowPlace_[slot];
    ini.writeFlag(section, "MAX", windowMaximized_[slot]);
    ini.writeInt(section, "LEFT", place.left);
    ini.writeInt(section, "TOP", place.top);
    ini.writeInt(section, "WIDTH", place.width);
    ini.writeInt(section, "HEIGHT", place.height);
}

void CMyGlobal::saveOptions(ProfileFile& ini) const {
    for (const OptionKey& option : optionKeys) {
        int32_t value = option.get(*this);
        if (option.flag) ini.writeFlag("OPT", option.key, value != 0);
        else ini.writeInt("OPT", option.key, value);
    }
}

// ---------------------------------------------------------------- paths and files

std::string CMyGlobal::folderPath(const std::string& folder, const std::string& name) const {
    // Without a folder, or when the whole path is too long, the result is empty rather than
    // the bare name: a bare name would quietly put our files in the working folder.
    if (folder.empty()) return std::string();
    std::string path = folder + name;
    if (path.size() >= static_cast<size_t>(maxPathBytes)) {
        Prompt::warn("ファイル名が長すぎます。");
        return std::string();
    }
    return path;
}

std::string CMyGlobal::settingsPath(const std::string& name) const {
    return folderPath(settingsFolder(), name);
}

std::string CMyGlobal::programPath(const std::string& name) const {
    return folderPath(programFolder(), name);
}

std::string CMyGlobal::fileTimeStamp(const std::string& path) const {
    struct stat info {};
    struct tm local {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !::localtime_r(&info.st_mtime, &local))
        return "19000101000000";
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

size_t CMyGlobal::lastBackslash(const std::string& path) {
    // Native paths are UTF-8, where no byte of a multi-byte character can equal a separator,
    // so a plain byte search is the character walk.
    size_t at = path.find_last_of(ProgramFolder::separator() == '\\' ? "\\/" : "/");
    return at == std::string::npos ? 0 : at;
}

bool CMyGlobal::showHelp(const std::string& keyword) const {
    // The manual is HTML shown in the help window the main window owns; a keyword opens its
    // section, and a keyword the manual has no section for is refused like a failed look-up.
    const std::string index = HelpManual::locate(programFolder(), ProgramFolder::executablePath());
    if (index.empty()) {
        Prompt::warn("ファイルが見付かりません。");
        return false;
    }
    const std::string anchor = HelpManual::anchorFor(keyword);
    if (!keyword.empty() && !HelpManual::hasSection(index, anchor)) {
        Prompt::messageBox("そのようなキーワードはありません", "エラー", PromptButtons::Ok,
                           PromptIcon::Error);
        return false;
    }
    return HelpViewer::showManual(index, anchor);
}

int CMyGlobal::nextSequence() {
    sequenceNumber_ = (sequenceNumber_ + 1) % 100;
    return sequenceNumber_;
}

// ---------------------------------------------------------------- window places

bool CMyGlobal::isMaximized(int slot) const { return validSlot(slot) && windowMaximized_[slot]; }

void CMyGlobal::setMaximized(int slot, bool maximized) {
    if (validSlot(slot)) windowMaximized_[slot] = maximized;
}

void CMyGlobal::storeWindow(int slot, int32_t left, int32_t top, int32_t width, int32_t height) {
    if (validSlot(slot)) windowPlace_[slot] = {left, top, width, height};
}

WindowPlace CMyGlobal::windowPlace(int slot) const {
    return validSlot(slot) ? windowPlace_[slot] : WindowPlace{};
}

bool CMyGlobal::restoreWindow(int slot, WindowPlace& place) const {
    if (slot >= slotCount) {
        Prompt::messageBox("値を追加が必要", "", PromptButtons::Ok, PromptIcon::None);
        return false;
    }
    if (slot < 0 || windowMaximized_[slot]) return false;
    const WindowPlace& stored = windowPlace_[slot];
    if (stored.width == 0 || stored.height == 0) return false;
    place = stored;
    return true;
}

// ---------------------------------------------------------------- card window

void CMyGlobal::setCardColumnWidth(int index, int32_t width) {
    if (index == 0 || index == 1) cardColumnWidth_[index] = width;
}

int32_t CMyGlobal::cardColumnWidth(int index) const {
    return (index == 0 || index == 1) ? cardColumnWidth_[index] : 0;
}

void CMyGlobal::setCardRowHeight(int row, int32_t height) {
    if (row < 0) return;
    // Rows skipped over read as "no height stored".
    if (static_cast<size_t>(row) >= cardRowHeights_.size())
        cardRowHeights_.resize(static_cast<size_t>(row) + 1, -1);
    cardRowHeights_[static_cast<size_t>(row)] = height;
}

int32_t CMyGlobal::cardRowHeight(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= cardRowHeights_.size()) return -1;
    return cardRowHeights_[static_cast<size_t>(row)];
}

// ---------------------------------------------------------------- user keys and settings

void CMyGlobal::setUserKey(int index, int32_t value, bool shifted) {
    if (index >= 0 && index < userKeyCount) userKeys_[index + (shifted ? userKeyCount : 0)] = value;
}

int32_t CMyGlobal::userKey(int index, bool shifted) const {
    if (index < 0 || index >= userKeyCount) return 0;
    return userKeys_[index + (shifted ? userKeyCount : 0)];
}

void CMyGlobal::setExportExtension(const std::string& extension) {
    if (characterCount(extension) > 5) return;
    size_t start = extension.find_first_not_of('.');
    exportExtension_ = start == std::string::npos ? std::string() : extension.substr(start);
}

void CMyGlobal::setColourListMax(int32_t n) { colourListMax_ = std::clamp(n, 10, 999); }

void CMyGlobal::setQuoteKind(int32_t n) {
    if (n >= 0 && n <= QuoteAsRead) quoteKind_ = n;
}

void CMyGlobal::setMaxRows(int32_t rows) {
    if (rows >= MinMaxRows && rows <= HighestMaxRows) maxRows_ = rows;
}

void CMyGlobal::setViewScale(int32_t percent) {
    if (percent < 50 || percent > 400) return;
    if (percent != viewScale_) viewScaleRunOnly_ = false;
    viewScale_ = percent;
}

void CMyGlobal::setCardScale(int32_t percent) {
    if (percent >= 50 && percent <= 400) cardScale_ = percent;
}

// Written so that NaN is stored as the minimum too.
void CMyGlobal::setPrintScale(double scale) { printScale_ = scale >= 0.2 ? scale : 0.2; }

void CMyGlobal::setPreviewZoom(double zoom) { previewZoom_ = zoom >= 0.2 ? zoom : 0.2; }

// ---------------------------------------------------------------- recent files

void CMyGlobal::loadRecentFiles() {
    std::string path = settingsPath(recentListName);
    recentFiles_ = path.empty() ? std::vector<std::string>() : CMyHistory::readRecentList(path);
}

std::string CMyGlobal::recentFile(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= recentFiles_.size()) return std::string();
    return recentFiles_[static_cast<size_t>(index)];
}

bool CMyGlobal::addRecentFile(const std::string& path) {
    if (path.empty() || path.size() >= static_cast<size_t>(maxPathBytes)) return true;
    // One entry per line: a name holding a line break (possible on Linux) or a NUL byte
    // would come back as pieces of other paths.
    if (path.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) return true;
    loadRecentFiles();
    if (!recentFiles_.empty() && NativePath::same(recentFiles_.front(), path)) return true;
    std::vector<std::string> updated = recentFiles_;
    auto later = std::find_if(updated.begin(), updated.end(), [&](const std::string& entry) {
        return NativePath::same(entry, path);
    });
    if (later != updated.end()) updated.erase(later);
    updated.insert(updated.begin(), path);
    if (updated.size() > static_cast<size_t>(recentFileCount)) updated.resize(recentFileCount);
    std::string file = settingsPath(recentListName);
    // A list that cannot be written keeps the old file and the list read from it.
    if (file.empty() || !CMyHistory::writeList(file, updated, recentFileCount)) return false;
    recentFiles_ = std::move(updated);
    return true;
}

std::string CMyGlobal::recentMenuCaption(int index) const {
    std::string path = recentFile(index);
    return path.empty() ? notChosenCaption : path;
}

RecentFileChoice CMyGlobal::chooseRecentFile(int index, const std::string& currentPath,
                                             bool editing, bool holdsData) const {
    RecentFileChoice choice;
    if (editing) return choice;
    std::string path = recentFile(index);
    choice.action = RecentFileChoice::Warn;
    if (path.empty()) choice.message = "未設定のため開くことは出来ません。";
    else if (NativePath::same(path, currentPath)) choice.message = "現在開いているファイルです。";
    else if (!CMyPublic::fileExists(path)) choice.message = "選択したファイルは存在しませんでした。";
    else {
        choice.action = holdsData ? RecentFileChoice::StartInstance : RecentFileChoice::OpenHere;
        choice.path = path;
    }
    return choice;
}

bool CMyGlobal::startInstance(const std::string& path) {
    saveSettings(false);
    std::string exe = ProgramFolder::executablePath();
    if (exe.empty() || !Shell::startProgram(exe, {path})) {
        Prompt::warn("実行に失敗しました。");
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- find histories

std::vector<std::string> CMyGlobal::loadFindHistory() const {
    std::string path = settingsPath(findListName);
    return path.empty() ? std::vector<std::string>() : CMyHistory::readFindList(path);
}

std::vector<std::string> CMyGlobal::loadReplaceHistory() const {
    std::string path = settingsPath(replaceListName);
    return path.empty() ? std::vector<std::string>() : CMyHistory::readFindList(path);
}

bool CMyGlobal::saveFindHistory(const std::vector<std::string>& entries) const {
    if (entries.empty()) return true;
    std::string path = settingsPath(findListName);
    return !path.empty() && CMyHistory::writeList(path, plainEntries(entries), findHistoryFileMax);
}

bool CMyGlobal::saveReplaceHistory(const std::vector<std::string>& entries) const {
    if (entries.empty()) return true;
    std::string path = settingsPath(replaceListName);
    return !path.empty() && CMyHistory::writeList(path, plainEntries(entries), findHistoryFileMax);
}
