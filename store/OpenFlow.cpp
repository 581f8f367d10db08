// OpenFlow: opens a delimited-text file into the table store and sets the document state.
#include "store/OpenFlow.h"

#include "platform/core/Prompt.h"
#include "platform/core/SafeFile.h"
#include "platform/core/StaleTemporaries.h"
#include "settings/CMyGlobal.h"
#include "settings/CMyPublic.h"
#include "store/CMyCSV.h"
#include "store/CMyHyo.h"
#include "store/CMyLine.h"
#include "store/ColumnQuoting.h"
#include "store/DocumentState.h"
#include "store/ParallelReader.h"
#include "store/Progress.h"
#include "store/TableLimits.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace {

const char* const FilterTexts[] = {
    "CSVファイル(*.csv)|*.csv",
    "テキスト(タブ区切)(*.txt,*.tsv)|*.txt;*.tsv",
    "タブ区切(ﾀﾞﾌﾞﾙｺｰﾃｰｼｮﾝ囲み無し)(*.*)|*.*",
    "タブ区切(ﾀﾞﾌﾞﾙｺｰﾃｰｼｮﾝ囲み有り)(*.*)|*.*",
    "タブ区切(*.*)|*.*",
};

// Whether the file's extension (everything after the first dot of its name, as for the colour
// file beside a data file) is vxc in any case.
bool isColourFileName(const std::string& path) {
    std::string extension = CMyPublic::extensionPart(path);
    if (extension.size() != 3) return false;
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return extension == "vxc";
}

// Whether the name ends in ".tsv" in any case: such a file is TAB-separated whenever its first
// record holds a TAB, even when a comma comes first (a first cell "Tokyo, Osaka").
bool hasTabExtension(const std::string& path) {
    if (path.size() < 4) return false;
    std::string end = path.substr(path.size() - 4);
    for (char& c : end)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return end == ".tsv";
}

// The replacement warning names what was replaced, one line per kind that occurred.
std::string replacedWarning(const CMyCSV::Replaced& counts) {
    std::string text = "警告：データ上、表示出来ない文字が発生しました。";
    auto line = [&text](int count, const char* what, const char* into) {
        if (count <= 0) return;
        char buffer[160];
        std::snprintf(buffer, sizeof buffer, "\n・%s(%d個)は%sに変換しました。", what, count, into);
        text += buffer;
    };
    line(counts.nulls, "NULL文字", "スペース");
    line(counts.tabs, "セル内のTAB文字", "スペース");
    line(counts.controls, "表示上未使用のシステム文字", "?");
    line(counts.brokenLeads, "2バイト目が欠けた文字", "?");
    return text;
}

} // namespace

struct OpenFlow::Attempt {
    std::string path;
    char separator = 0;        // 0: detect
    bool quotesForced = false;
    bool retry = false;
    bool headerFlag = false;
    int freezeFirst = 0;
    int freezeEnd = 0;
    long long diskSize = -1;   // for the progress of the read
    long long diskTime = 0;
};

// The rows of a file as they are read, kept apart from the table until the reading is over,
// so that a stopped open leaves the table as it was.
struct OpenFlow::ReadRows {
    CMyLine lines{2048};
    ColumnQuoting quoting;
    std::vector<std::pair<int, int>> heights;   // row and height of rows with line breaks
    int widest = 0;
    bool readError = false;
    void clear() {
        lines.clear();
        quoting.reset();
        heights.clear();
        widest = 0;
    }
};

OpenFlow::OpenFlow(CMyHyo& hyo, CMyGlobal& global, DocumentState& doc, OpenFlowWindow window,
                   OpenColourHooks colour)
    : hyo(hyo), global(global), doc(doc), window(std::move(window)), colour(std::move(colour)) {}

std::string OpenFlow::openFilters() {
    std::string filters;
    for (const char* text : FilterTexts) {
        if (!filters.empty()) filters += '|';
        filters += text;
    }
    return filters;
}

void OpenFlow::applyTypeOption(int typeOption, Attempt& attempt) {
    switch (typeOption) {
    case TypeComma:
        attempt.separator = ',';
        break;
    case TypeTab:
        attempt.separator = '\t';
        global.setQuoteKind(0);
        attempt.quotesForced = true;
        break;
    case TypeTabNoQuotes:
        attempt.separator = '\t';
        global.setQuoteKind(3);
        global.setFileQuoteLineBreakOnly(false);
        attempt.quotesForced = true;
        break;
    default:
        break;
    }
}

// Steps 1-3: the path from the caller or the open dialog, refused when too long or a colour file.
int OpenFlow::choosePath(std::string& path, Attempt& attempt) {
    if (path.empty()) {
        FileChoice choice = Prompt::chooseOpenFile(openFilters(), 1);
        if (!choice.accepted || choice.path.empty()) return CancelledOrReadError;
        path = choice.path;
        attempt.separator = choice.filterIndex <= 1 ? ',' : '\t';
        if (choice.filterIndex == 3) {
            global.setQuoteKind(3);
            global.setFileQuoteLineBreakOnly(false);
            attempt.quotesForced = true;
        } else if (choice.filterIndex == 4) {
            global.setQuoteKind(0);
            attempt.quotesForced = true;
        }
    }
    if (path.size() > static_cast<std::size_t>(MaxPathBytes)) {
        Prompt::warn("指定されたパスが長すぎます。");
        return Refused;
    }
    if (isColourFileName(path)) {
        Prompt::warn("拡張子VXCはシステムファイルのため開くことは出来ません。");
        return Refused;
    }
    return Loaded;
}

// What an open changes before it knows that it will read the file through; a stopped open
// puts it back.
struct OpenFlow::Before {
    DocumentState doc;
    int quoteKind = 0;
    bool lineBreakOnly = false;
};

int OpenFlow::openFileOnce(const std::string& path, bool headerFlag, const std::string& tempName,
                           bool retry, int typeOption) {
    const Before before{doc, global.quoteKind(), global.fileQuoteLineBreakOnly()};
    Attempt attempt;
    attempt.retry = retry;
    attempt.headerFlag = headerFlag;
    attempt.path = path;
    if (carryChoice) {
        attempt.separator = lastSeparator;
        attempt.quotesForced = lastForced;
        carryChoice = false;
    } else if (!path.empty()) {
        applyTypeOption(typeOption, attempt);
    }
    int chosen = choosePath(attempt.path, attempt);
    if (chosen != Loaded) return chosen;
    lastPath = attempt.path;
    lastSeparator = attempt.separator;
    lastForced = attempt.quotesForced;

    CMyCSV reader;
    if (!prepareReader(reader, attempt, tempName)) return Refused;
    if (window.waitCursor) window.waitCursor(true);
    ReadRows read;
    int result = readRecords(reader, attempt, read);
    if (result == RetryWithTabParser || result == Cancelled) {
        reader.close();
        if (window.waitCursor) window.waitCursor(false);
        if (result == Cancelled) {
            doc = before.doc;
            global.setQuoteKind(before.quoteKind);
            global.setFileQuoteLineBreakOnly(before.lineBreakOnly);
        }
        return result;
    }
    takeRows(reader, attempt, tempName, read);
    return result;
}

// Opens the file and settles how it is read: encoding, separator and what the colour file
// says about quotes. Nothing of the table changes yet.
bool OpenFlow::prepareReader(CMyCSV& reader, Attempt& attempt, const std::string& tempName) {
    if (!SafeFile::stamp(attempt.path, attempt.diskSize, attempt.diskTime)) attempt.diskSize = -1;
    reader.setStrictQuotes(!(attempt.retry || global.fileQuoteLineBreakOnly()));
    int readSetting = global.readEncoding();
    bool fixed = readSetting == 0 || readSetting == 10 || readSetting == 15;
    int opened = reader.open(attempt.path, fixed ? readSetting : 0, !fixed);
    if (opened != 0) {
        if (!reader.message.empty()) Prompt::warn(reader.message);
        return false;
    }
    StaleTemporaries::sweepFolderOf(attempt.path);

    doc.encoding = reader.detectedEncoding;
    doc.withBom = global.startBom();
    if (doc.encoding != 0) doc.withBom = reader.bomSeen;
    if (attempt.separator == 0)
        attempt.separator = reader.detectSeparator(hasTabExtension(attempt.path)) == 1 ? ',' : '\t';
    reader.setSeparator(attempt.separator);

    int quoteKind = global.quoteKind();
    if (global.colourFileMode() != 0 && colour.readerSettings) {
        ColourOpenContext context = colourContext(reader, attempt, tempName);
        const ColourReaderSettings recorded = colour.readerSettings(context);
        if (recorded.quoteKind >= 0) quoteKind = recorded.quoteKind;
        if (recorded.strictQuotes >= 0) reader.setStrictQuotes(recorded.strictQuotes == 1);
        if (recorded.encoding != 0) reader.setEncoding(recorded.encoding);
    }
    reader.setQuotesActive(!(attempt.separator == '\t' && quoteKind == 3));
    return true;
}

// The rows are in: the table, the document and the window take the file from here on.
void OpenFlow::takeRows(CMyCSV& reader, Attempt& attempt, const std::string& tempName, ReadRows& read) {
    hyo.reset();
    hyo.journal().setRecording(false);
    if (window.releaseFreeze) window.releaseFreeze();
    if (window.releaseFilterButton) window.releaseFilterButton();
    doc.separator = attempt.separator;
    ColourOpenContext context;
    bool colourOpen = readColourHeader(reader, attempt, tempName, context);
    hyo.adoptRows(read.lines, std::move(read.quoting));
    for (const auto& [row, height] : read.heights) hyo.setRowHeight(row, height);
    hyo.setWidestRow(read.widest);
    doc.readError = read.readError;
    doc.lineEnding = reader.lineEndingKind();
    doc.endsWithoutLineBreak = reader.endedWithoutLineBreak();
    doc.diskPath = attempt.path;
    doc.diskSize = attempt.diskSize;
    doc.diskTime = attempt.diskTime;
    if (colourOpen && colour.colourRecords) colour.colourRecords(context, attempt.headerFlag ? 1 : 0);
    finishLoad(reader, attempt);
}

ColourOpenContext OpenFlow::colourContext(CMyCSV& reader, const Attempt& attempt,
                                          const std::string& tempName) {
    ColourOpenContext context;
    context.dataPath = attempt.path;
    context.tempName = tempName;
    context.hyo = &hyo;
    context.global = &global;
    context.doc = &doc;
    context.reader = &reader;
    context.separator = attempt.separator;
    context.retry = attempt.retry;
    context.quotesForced = attempt.quotesForced;
    context.encodingDetected = reader.bomSeen || doc.encoding != 0;
    context.headerFlag = attempt.headerFlag;
    return context;
}

// Step 8: the colour-information file may change the freeze, the header flag, the quote
// settings and the encoding (what it says about reading the rows was looked up before them).
bool OpenFlow::readColourHeader(CMyCSV& reader, Attempt& attempt, const std::string& tempName,
                                ColourOpenContext& context) {
    doc.colourMode = global.colourFileMode();
    doc.colourFileInUse = false;
    doc.colourTempName.clear();
    doc.colourListIndex = -1;
    if (global.colourFileMode() == 0 || !colour.colourHeader) return false;
    context = colourContext(reader, attempt, tempName);
    int encodingBefore = doc.encoding;
    bool open = colour.colourHeader(context);
    attempt.headerFlag = context.headerFlag;
    attempt.freezeFirst = context.freezeFirst;
    attempt.freezeEnd = context.freezeEnd;
    if (doc.encoding != encodingBefore) reader.setEncoding(doc.encoding);
    return open;
}

// Step 10: every record becomes one row, built in one pass and stored once, apart from the
// table until the file is read through.
int OpenFlow::readRecords(CMyCSV& reader, Attempt& attempt, ReadRows& read) {
    Progress progress("読み込み", std::max(attempt.diskSize, 1LL));
    if (ParallelReader::worthwhile(attempt.diskSize)) {
        const int result = readInParallel(reader, progress, read);
        if (result != ReadAgain) return result;
        // Anything but a clean read (a record in error, the row limit, no memory) is read
        // again record by record, so that the rows kept, the messages and the counts are
        // exactly those of that reading.
        read.clear();
        if (!reader.restart()) {
            read.readError = true;
            Prompt::messageBox("ファイルの読込に失敗しました。", "読み込みエラー", PromptButtons::Ok,
                               PromptIcon::Error);
            return CancelledOrReadError;
        }
    }
    rows = 0;
    dropped = false;
    for (;;) {
        if (!progress.report(reader.fetchedBytes())) return Cancelled;
        int count = reader.readRecord();
        if (count == 0) break;
        if (count < 0) {
            read.readError = true;
            if (count == CMyCSV::TabInsideQuotes && attempt.separator == '\t' &&
                reader.strictQuotesInUse() && !attempt.retry)
                return RetryWithTabParser;
            // The rows read so far stay, and so does their width.
            Prompt::messageBox(reader.message, "読み込みエラー", PromptButtons::Ok,
                               PromptIcon::Error);
            return CancelledOrReadError;
        }
        if (rows >= TableLimits::maxRows()) {
            // What is left would be lost by the next save; the read-error flag makes it ask.
            read.readError = true;
            Prompt::warn("最大行に到達したため読み込みを中断しました。");
            break;
        }
        if (count > MaxColumns) dropped = true;
        if (!storeRecord(reader.takeRecord(count), rows, read)) {
            read.readError = true;
            break;
        }
        ++rows;
    }
    return Loaded;
}

// A big file on several threads: Loaded when every record was read and kept, Cancelled, or
// ReadAgain.
int OpenFlow::readInParallel(CMyCSV& reader, Progress& progress, ReadRows& read) {
    rows = 0;
    dropped = false;
    ParallelReader parallel(reader);
    auto keep = [&](const RecordView& record) {
        if (rows >= TableLimits::maxRows()) return false;
        if (record.count > MaxColumns) dropped = true;
        if (!storeRecord(record, rows, read)) return false;
        ++rows;
        return true;
    };
    auto report = [&] { return progress.report(reader.fetchedBytes()); };
    switch (parallel.run(keep, report)) {
    case ParallelReader::Outcome::Done: return Loaded;
    case ParallelReader::Outcome::Cancelled: return Cancelled;
    default: return ReadAgain;
    }
}

bool OpenFlow::storeRecord(const RecordView& record, int rowIndex, ReadRows& read) {
    int height = 0;
    if (record.lineBreak) {
        // Fields hold no TAB (the reader makes it a blank or ends the field there).
        const char* field = record.row;
        const char* end = record.row + record.length;
        for (;;) {
            const char* tab = static_cast<const char*>(std::memchr(field, '\t', end - field));
            if (!tab) tab = end;
            int fieldHeight = rowHeightFor(field, static_cast<int>(tab - field));
            if (fieldHeight > 0) height = fieldHeight;
            if (tab == end) break;
            field = tab + 1;
        }
    }
    read.widest = std::max(read.widest, record.cells);
    // A save that keeps the file's form encloses each column's cells as the file did.
    read.quoting.noteRecord(record.forms, record.kept);
    const int kept = record.kept;
    read.lines.reserveLine(rowIndex, record.length - (kept > 0 ? kept - 1 : 0) + kept + 10);
    if (read.lines.setLine(rowIndex, record.row, record.length) == 0) return false;
    if (height > 0) read.heights.emplace_back(rowIndex, height);
    return true;
}

// Height for a field of k > 1 lines: k editor lines, at most the scroll bar's height less 10,
// at least one line; 0 for a single line (or when no window measures lines).
int OpenFlow::rowHeightFor(const char* text, int length) const {
    if (!window.editorLineHeight) return 0;
    int lines = 1;
    for (int i = 0; i < length; ++i) {
        if (text[i] == '\r') {
            ++lines;
            if (i + 1 < length && text[i + 1] == '\n') ++i;
        }
    }
    if (lines <= 1) return 0;
    int lineHeight = window.editorLineHeight();
    int height = lineHeight * lines;
    if (window.scrollBarHeight) height = std::min(height, window.scrollBarHeight() - 10);
    return std::max(height, lineHeight);
}

// Steps 12-16.
void OpenFlow::finishLoad(CMyCSV& reader, Attempt& attempt) {
    const CMyCSV::Replaced replaced = reader.replaced();
    int unrepresentable = reader.unrepresentableCharacters();
    reader.close();
    if (window.waitCursor) window.waitCursor(false);
    if (dropped) {
        doc.readError = true;
        Prompt::warn("最大列を超える情報があったため切り捨てられたデータがあります。");
    }
    doc.filePath = attempt.path;
    doc.modified = false;
    if (window.setCaption) window.setCaption(attempt.path);
    if (window.resetScroll) window.resetScroll();
    if (attempt.freezeEnd != 0 && window.restoreFreeze)
        window.restoreFreeze(attempt.freezeFirst, attempt.freezeEnd);
    if (attempt.headerFlag && hyo.cellCount(0) > 0) hyo.takeHeaderRow();
    hyo.journal().setRecording(true);
    if (window.refresh) window.refresh();
    if (replaced.nulls + replaced.controls + replaced.tabs + replaced.brokenLeads > 0)
        Prompt::warn(replacedWarning(replaced));
    if (unrepresentable > 0) {
        char text[320];
        std::snprintf(text, sizeof text,
                      "警告：Shift-JISで表せない文字が%d文字あったため、「?」または別の文字に"
                      "変換しました。\n上書き保存すると元の文字は失われます。",
                      unrepresentable);
        Prompt::warn(text);
    }
}

int OpenFlow::openFile(const std::string& path, bool headerFlag, const std::string& tempName,
                       int typeOption) {
    int result = openFileOnce(path, headerFlag, tempName, false, typeOption);
    if (result != RetryWithTabParser) return result;
    // The retry reads the same file (the one chosen in the dialog when no path was given).
    carryChoice = path.empty();
    result = openFileOnce(path.empty() ? lastPath : path, headerFlag, tempName, true, typeOption);
    if (result == Loaded) {
        global.setFileQuoteLineBreakOnly(true);
        Prompt::warn("データ内にTAB文字が入ったため設定を『ダブルコーテーションの囲みを改行のみ』に"
                     "変更して読込ました。");
    }
    return result;
}
