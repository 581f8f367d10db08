// CMyGlobal: the program's settings (vexil.ini), window places, program paths and recent files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ProfileFile;

// Which remembered window place; each has its own section in vexil.ini.
enum WindowSlot { mainWindow = 0, previewWindow = 1, cardWindow = 2 };

// A remembered normal (not maximised) window place in screen pixels.
struct WindowPlace {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// What the window does when the user picks an entry of the recent-files menu.
struct RecentFileChoice {
    enum Action {
        Nothing,        // a cell is being edited: ignore the click
        Warn,           // show `message` (caption "注意", warning icon)
        OpenHere,       // open `path` in this window (it holds no rows and no changes)
        StartInstance   // save the settings without options and start a new instance on `path`
    };
    Action action = Nothing;
    std::string message;   // UTF-8
    std::string path;      // native path bytes
};

// One object per process, created first and destroyed last by the main window. The core never
// asks the toolkit for anything: the screen size comes in as arguments.
class CMyGlobal {
public:
    static constexpr int slotCount = 3;
    static constexpr int userKeyCount = 10;
    static constexpr int maxPathBytes = 260;
    static constexpr int recentFileCount = 5;
    static constexpr int findHistoryFileMax = 30;

    CMyGlobal();
    ~CMyGlobal();
    CMyGlobal(const CMyGlobal&) = delete;
    CMyGlobal& operator=(const CMyGlobal&) = delete;

    // --- the settings file ---
    // Reads every key of vexil.ini (defaults where missing); window places are kept on a
    // screen of the given size (left below width - 200, top below height - 200).
    void loadSettings(int screenWidth, int screenHeight);
    // Writes the window sections, EXP, the user keys and RET; the other OPT keys only with
    // `withOptions`. Returns false when the file could not be replaced (the old one stays),
    // and leaves a file that is there but cannot be read alone.
    bool saveSettings(bool withOptions);

    // --- paths and files ---
    // Folder of the settings, the lists and the help file, with a trailing separator.
    std::string settingsFolder() const { return settingsFolder_ ? settingsFolder_ : ""; }
    std::string programFolder() const { return programFolder_ ? programFolder_ : ""; }
    // folder + name; a result of 260 bytes or more warns "ファイル名が長すぎます。" and yields "".
    std::string settingsPath(const std::string& name) const;
    std::string programPath(const std::string& name) const;
    // Last-write time in local time as "YYYYMMDDhhmmss"; "19000101000000" when not found.
    std::string fileTimeStamp(const std::string& path) const;
    // Position of the last path separator, or 0 when there is none.
    static size_t lastBackslash(const std::string& path);
    // Shows the HTML manual (help/index.html, see HelpManual) at the keyword's section in the
    // help viewer; warns "ファイルが見付かりません。" when it is missing and reports
    // "そのようなキーワードはありません" for a keyword it has no section for.
    bool showHelp(const std::string& keyword = std::string()) const;
    // 1 ... 99, 0, 1 ...: makes temporary names unique within one run.
    int nextSequence();

    // --- window places ---
    bool isMaximized(int slot) const;
    void setMaximized(int slot, bool maximized);
    void storeWindow(int slot, int32_t left, int32_t top, int32_t width, int32_t height);
    // True when the caller should move its window to `place` (slot known, not maximised,
    // width and height non-zero). A slot of 3 or more shows "値を追加が必要" and returns false.
    bool restoreWindow(int slot, WindowPlace& place) const;
    WindowPlace windowPlace(int slot) const;
    int32_t windowLeft(int slot) const { return windowPlace(slot).left; }
    int32_t windowTop(int slot) const { return windowPlace(slot).top; }
    int32_t windowWidth(int slot) const { return windowPlace(slot).width; }
    int32_t windowHeight(int slot) const { return windowPlace(slot).height; }

    // --- card window ---
    void setCardColumnWidth(int index, int32_t width);
    int32_t cardColumnWidth(int index) const;
    void setCardRowHeight(int row, int32_t height);
    // -1 when no height was stored for that row.
    int32_t cardRowHeight(int row) const;

    // --- user keys: index 0-9, `shifted` selects the Shift+Ctrl half ---
    void setUserKey(int index, int32_t value, bool shifted);
    int32_t userKey(int index, bool shifted) const;

    // --- persistent settings ---
    bool exportHeader() const { return exportHeader_; }
    void setExportHeader(bool on) { exportHeader_ = on; }
    const std::string& exportExtension() const { return exportExtension_; }
    // More than 5 characters is ignored; leading dots are dropped.
    void setExportExtension(const std::string& extension);
    int32_t exportKind() const { return exportKind_; }
    void setExportKind(int32_t kind) { exportKind_ = kind; }
    bool returnMovesRight() const { return returnMovesRight_; }
    void setReturnMovesRight(bool on) { returnMovesRight_ = on; }
    int32_t colourFileMode() const { return colourFileMode_; }
    void setColourFileMode(int32_t mode) { colourFileMode_ = mode; }
    int32_t colourListMax() const { return colourListMax_; }
    void setColourListMax(int32_t n);   // clamped to 10-999
    int32_t quoteKind() const { return quoteKind_; }
    // 0-4, anything else ignored. 4 keeps each file's own quoting on saving.
    static constexpr int32_t QuoteAsRead = 4;
    void setQuoteKind(int32_t n);
    bool showLineCursor() const { return showLineCursor_; }
    void setShowLineCursor(bool on) { showLineCursor_ = on; }
    bool cellOverflow() const { return cellOverflow_; }
    void setCellOverflow(bool on) { cellOverflow_ = on; }
    int32_t undoSize() const { return undoSize_; }
    void setUndoSize(int32_t bytes) { undoSize_ = bytes; }
    int32_t viewScale() const { return viewScale_; }
    void setViewScale(int32_t percent); // 50-400, anything else ignored
    // The scale just set came from a run-only OK of the options: saves without the options
    // leave SCALE alone until the scale changes again.
    void keepViewScaleForRun() { viewScaleRunOnly_ = true; }
    int32_t cardScale() const { return cardScale_; }
    void setCardScale(int32_t percent); // 50-400, anything else ignored
    // MAXROW: the most rows the reader keeps and any edit may make.
    static constexpr int32_t MinMaxRows = 500000;
    static constexpr int32_t HighestMaxRows = 10000000;
    int32_t maxRows() const { return maxRows_; }
    void setMaxRows(int32_t rows);      // MinMaxRows-HighestMaxRows, anything else ignored
    bool simpleCalc() const { return simpleCalc_; }
    void setSimpleCalc(bool on) { simpleCalc_ = on; }
    int32_t showEndLine() const { return showEndLine_; }
    void setShowEndLine(int32_t n) { showEndLine_ = n; }
    int32_t alternateRows() const { return alternateRows_; }
    void setAlternateRows(int32_t n) { alternateRows_ = n; }
    int32_t alternateColour() const { return alternateColour_; }
    void setAlternateColour(int32_t n) { alternateColour_ = n; }
    int32_t printKind() const { return printKind_; }
    void setPrintKind(int32_t n) { printKind_ = n; }
    bool fileQuoteLineBreakOnly() const { return fileQuoteLineBreakOnly_; }
    void setFileQuoteLineBreakOnly(bool on) { fileQuoteLineBreakOnly_ = on; }
    bool copyQuoteLineBreakOnly() const { return copyQuoteLineBreakOnly_; }
    void setCopyQuoteLineBreakOnly(bool on) { copyQuoteLineBreakOnly_ = on; }
    bool showCellLineBreaks() const { return showCellLineBreaks_; }
    void setShowCellLineBreaks(bool on) { showCellLineBreaks_ = on; }
    bool lineBreakCopyWarning() const { return lineBreakCopyWarning_; }
    void setLineBreakCopyWarning(bool on) { lineBreakCopyWarning_ = on; }
    int32_t selectionColour() const { return selectionColour_; }
    void setSelectionColour(int32_t n) { selectionColour_ = n; }
    int32_t readEncoding() const { return readEncoding_; }
    void setReadEncoding(int32_t code) { readEncoding_ = code; }
    int32_t startEncoding() const { return startEncoding_; }
    void setStartEncoding(int32_t code) { startEncoding_ = code; }
    int32_t startLineEnd() const { return startLineEnd_; }
    void setStartLineEnd(int32_t code) { startLineEnd_ = code; }
    bool startBom() const { return startBom_; }
    void setStartBom(bool on) { startBom_ = on; }

    // --- kept only while the program runs ---
    double printScale() const { return printScale_; }
    void setPrintScale(double scale);   // below 0.2 stored as 0.2
    double previewZoom() const { return previewZoom_; }
    void setPreviewZoom(double zoom);   // below 0.2 stored as 0.2
    bool printGrid() const { return printGrid_; }
    void setPrintGrid(bool on) { printGrid_ = on; }

    // --- recent files (vexil_hist.lst) ---
    // Rereads the list from its file (a missing file leaves it empty).
    void loadRecentFiles();
    // Path at `index` of the list as last loaded, "" when there is none.
    std::string recentFile(int index) const;
    // Puts `path` on top after a successful save; rereads first so instances share the list.
    // False when the list could not be written (the old list stays); the caller reports it.
    bool addRecentFile(const std::string& path);
    // Caption of recent-files menu item `index` (0-4): the path or "（未選択）". Call
    // loadRecentFiles() first when the menu opens.
    std::string recentMenuCaption(int index) const;
    // Decides what choosing recent-files item `index` does. `currentPath` is the open
    // document, `editing` whether a cell is being edited, `holdsData` whether the window has
    // rows or unsaved changes.
    RecentFileChoice chooseRecentFile(int index, const std::string& currentPath, bool editing,
                                      bool holdsData) const;
    // Saves the settings without options and starts a new instance on `path`; warns
    // "実行に失敗しました。" when the program cannot be started.
    bool startInstance(const std::string& path);

    // --- find and replace histories (vexil_f.lst, vexil_r.lst) ---
    std::vector<std::string> loadFindHistory() const;
    std::vector<std::string> loadReplaceHistory() const;
    // Writes at most 30 entries; an empty list leaves the file untouched.
    bool saveFindHistory(const std::vector<std::string>& entries) const;
    bool saveReplaceHistory(const std::vector<std::string>& entries) const;

private:
    std::string folderPath(const std::string& folder, const std::string& name) const;
    void loadWindowSlot(ProfileFile& ini, int slot, int32_t maxLeft, int32_t maxTop);
    void saveWindowSlot(ProfileFile& ini, int slot) const;
    void loadOptions(ProfileFile& ini);
    void saveOptions(ProfileFile& ini) const;
    static char* holdFolder(const std::string& folder);

    // Held in blocks of their own so a failed allocation can be reported (null = empty).
    char* settingsFolder_ = nullptr;
    char* programFolder_ = nullptr;

    bool windowMaximized_[slotCount] = {false, false, false};
    WindowPlace windowPlace_[slotCount] = {{0, 0, 780, 350}, {}, {}};
    int32_t cardColumnWidth_[2] = {100, 250};
    std::vector<int32_t> cardRowHeights_;

    double printScale_ = 1.0;
    double previewZoom_ = 1.0;
    bool printGrid_ = true;
    int sequenceNumber_ = 0;

    bool exportHeader_ = false;
    std::string exportExtension_;
    int32_t exportKind_ = 1;
    int32_t userKeys_[2 * userKeyCount] = {};
    bool returnMovesRight_ = false;
    int32_t colourFileMode_ = 1;
    int32_t colourListMax_ = 200;
    int32_t quoteKind_ = 0;
    bool showLineCursor_ = true;
    bool cellOverflow_ = true;
    int32_t undoSize_ = 0;
    int32_t viewScale_ = 100;
    // SCALE as the file last held it: the zoom keys change SCALE, and a save without the
    // options still keeps that change, so the next start shows the same zoom.
    int32_t viewScaleInFile_ = 100;
    bool viewScaleRunOnly_ = false;
    int32_t cardScale_ = 100;
    int32_t maxRows_ = MinMaxRows;
    bool simpleCalc_ = true;
    int32_t showEndLine_ = 0;
    int32_t alternateRows_ = 0;
    int32_t alternateColour_ = 0;
    int32_t printKind_ = 0;
    bool fileQuoteLineBreakOnly_ = true;
    bool copyQuoteLineBreakOnly_ = true;
    bool showCellLineBreaks_ = true;
    bool lineBreakCopyWarning_ = true;
    int32_t selectionColour_ = 1;
    int32_t readEncoding_ = -1;
    int32_t startEncoding_ = 0;
    int32_t startLineEnd_ = 0;
    bool startBom_ = true;

    std::vector<std::string> recentFiles_;
};
