// OpenFlow: the window's open flow (openFileOnce / openFile) run without a window.
#pragma once

#include <functional>
#include <string>

class CMyCSV;
class CMyGlobal;
class CMyHyo;
class Progress;
struct RecordView;
struct DocumentState;

// File type chosen on the command line ("-t1".."-t3") or by the open dialog's filter.
enum TypeOption { TypeNone = 0, TypeComma = 1, TypeTab = 2, TypeTabNoQuotes = 3 };

// What only the window knows or does. Every member may be left empty.
struct OpenFlowWindow {
    std::function<int()> editorLineHeight;        // one line of the in-cell editor, pixels
    std::function<int()> scrollBarHeight;         // the grid's vertical scroll bar, pixels
    std::function<void()> releaseFreeze;          // before reading
    std::function<void()> releaseFilterButton;    // before reading
    std::function<void(bool)> waitCursor;         // true while reading
    std::function<void(const std::string&)> setCaption;  // caption and application title
    std::function<void()> resetScroll;            // scroll positions and ranges
    std::function<void(int first, int end)> restoreFreeze;  // a freeze recorded in the colour file
    std::function<void()> refresh;                // redraw after loading
};

// Handed to the colour-file hooks while a file is opened.
struct ColourOpenContext {
    std::string dataPath;          // the file being opened
    std::string tempName;          // temporary-store name asked for, or empty
    CMyHyo* hyo = nullptr;
    CMyGlobal* global = nullptr;
    DocumentState* doc = nullptr;
    CMyCSV* reader = nullptr;      // setStrictQuotes / setEncoding as the recorded settings say
    char separator = ',';
    bool retry = false;
    bool quotesForced = false;     // the file type fixed the quote settings for this open
    bool encodingDetected = false; // the encoding came from a mark or the content scan
    // May be changed by the header hook:
    bool headerFlag = false;
    int freezeFirst = 0;
    int freezeEnd = 0;             // 0: no freeze recorded
};

// What the colour file says about reading the rows: -1 or 0 where it says nothing.
struct ColourReaderSettings {
    int quoteKind = -1;
    int strictQuotes = -1;     // 1 strict, 0 quotes only around line breaks
    int encoding = 0;
};

// Steps the colour-information file adds to the open: what it says about reading the rows
// (looked up before the table changes), the header (returns true when the file is open and its
// cell records are to be read after the rows) and the records.
struct OpenColourHooks {
    std::function<ColourReaderSettings(const ColourOpenContext&)> readerSettings;
    std::function<bool(ColourOpenContext&)> colourHeader;
    std::function<void(ColourOpenContext&, int rowOffset)> colourRecords;
};

class OpenFlow {
public:
    static constexpr int MaxColumns = 999;
    static constexpr int MaxPathBytes = 260;

    // openFileOnce results
    static constexpr int Loaded = 0;
    static constexpr int CancelledOrReadError = -1;
    static constexpr int Refused = -2;
    static constexpr int Cancelled = -3;          // stopped by the user: nothing changed
    static constexpr int RetryWithTabParser = -99;

    OpenFlow(CMyHyo& hyo, CMyGlobal& global, DocumentState& doc, OpenFlowWindow window = {},
             OpenColourHooks colour = {});

    // One attempt. path empty: the open dialog is shown.
    int openFileOnce(const std::string& path, bool headerFlag, const std::string& tempName,
                     bool retry, int typeOption);
    // The entry every caller uses: retries a TAB file whose quotes hold a TAB with the TAB parser.
    int openFile(const std::string& path, bool headerFlag, const std::string& tempName,
                 int typeOption);

    // The open dialog's filters, "text|pattern|..." in dialog order.
    static std::string openFilters();

    // What the last open did (for the window and for tests).
    int rowsRead() const { return rows; }

private:
    struct Attempt;
    struct Before;
    struct ReadRows;
    static constexpr int ReadAgain = -100;   // the parallel read leaves it to record by record
    int choosePath(std::string& path, Attempt& attempt);
    void applyTypeOption(int typeOption, Attempt& attempt);
    bool prepareReader(CMyCSV& reader, Attempt& attempt, const std::string& tempName);
    ColourOpenContext colourContext(CMyCSV& reader, const Attempt& attempt, const std::string& tempName);
    bool readColourHeader(CMyCSV& reader, Attempt& attempt, const std::string& tempName,
                          ColourOpenContext& context);
    int readRecords(CMyCSV& reader, Attempt& attempt, ReadRows& read);
    int readInParallel(CMyCSV& reader, Progress& progress, ReadRows& read);
    bool storeRecord(const RecordView& record, int rowIndex, ReadRows& read);
    void takeRows(CMyCSV& reader, Attempt& attempt, const std::string& tempName, ReadRows& read);
    int rowHeightFor(const char* text, int length) const;
    void finishLoad(CMyCSV& reader, Attempt& attempt);

    CMyHyo& hyo;
    CMyGlobal& global;
    DocumentState& doc;
    OpenFlowWindow window;
    OpenColourHooks colour;
    int rows = 0;
    bool dropped = false;
    // The dialog's choice, kept for the retry of the same file.
    std::string lastPath;
    char lastSeparator = 0;
    bool lastForced = false;
    bool carryChoice = false;
};
