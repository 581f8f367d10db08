// SaveFlow: the save commands, written through a temporary file that replaces the target only
// when everything (data and colour information) was written.
#include "store/SaveFlow.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "platform/core/FileHook.h"
#include "platform/core/Prompt.h"
#include "platform/core/SafeFile.h"
#include "settings/CMyGlobal.h"
#include "settings/CMyPublic.h"
#include "store/CMyColourFile.h"
#include "store/CMyFile.h"
#include "store/CMyHyo.h"
#include "store/CMyWriter.h"
#include "store/DocumentState.h"
#include "store/ParallelWriter.h"
#include "store/Progress.h"
#include "store/SaveFormHandler.h"
#include "store/StagedFile.h"
#include "store/TableLimits.h"

const char* const SaveFlow::ThreeFilters =
    "CSV(カンマ区切り)(*.csv)|*.csv|TXT(タブ区切)(*.txt)|*.txt|全て(タブ区切)(*.*)|*.*";
const char* const SaveFlow::SixFilters =
    "CSV(カンマ区切)(*.csv)|*.csv|TXT(タブ区切)(*.txt)|*.txt|全て(タブ区切)(*.*)|*.*|"
    "CSV(カンマ区切)と色情報(VXC)(*.csv)|*.csv|TXT(タブ区切)と色情報(VXC)(*.txt)|*.txt|"
    "全て(タブ区切)と色情報(VXC)(*.*)|*.*";
const char* const SaveFlow::TemporaryStoreNote =
    "！色情報は一時保存です。使用頻度が少ない色情報は破棄されます。";

namespace {

const char* const MsgReadError = "読み込みでエラーが発生しましたが保存します。\nよろしいですか？";
const char* const MsgLineBreak =
    "保存時のダブルコーテーションが「完全なし」の場合、\n改行を含むデータは保存出来ません。(%d行、%d列)";
const char* const MsgCommaExtension = "カンマ区切りのファイルに拡張子%sを付けています。\nよろしいですか？";
const char* const MsgTabCsv = "タブ区切りのファイルに拡張子CSVを付けています。\nよろしいですか？";
const char* const MsgNoExtension = "拡張子がありません。\nよろしいですか？";
const char* const MsgOverwriteBoth =
    "既にファイルがあります。上書きしてもよろしいですか？\n※色情報ファイル(VXC)含む。";
const char* const MsgOverwrite = "既にファイルがあります。上書きしてもよろしいですか？";
const char* const MsgOverwriteColour = "色情報ファイル(VXC)を上書きします。\nよろしいですか？";
const char* const MsgToTemporary =
    "色情報は色情報ファイル(VXC)を削除して一時保存に変更します。\nよろしいですか？";
const char* const MsgColourExtension = "拡張子VXCはシステムファイルのため保存することは出来ません。";
const char* const MsgColourOpen = "ファイルのオープンに失敗しました。(色情報)";
const char* const MsgOpen = "ファイルのオープンに失敗しました。";
const char* const MsgMemory = "領域確保に失敗しました。";
const char* const MsgWrite = "ファイルの書き込みに失敗しました。";
const char* const MsgConvertToTemporary =
    "データファイル直下の色情報ファイル(VXC)を削除して\n一時保存に変換します。\nよろしいですか？";
const char* const MsgChangedOnDisk =
    "ファイルは開いた後に他のプログラムで変更されています。\n上書きしてもよろしいですか？";
const char* const MsgRecentList =
    "ファイルは保存しましたが、最近使ったファイルの一覧(vexil_hist.lst)を書き込めませんでした。";
const char* const MsgColourList =
    "ファイルは保存しましたが、色情報の一時保存の一覧(vxc.lst)を書き込めませんでした。";
const char* const MsgShiftJisLoss =
    "Shift-JISで保存できない文字が%d文字あります。「?」に置き換えて保存しますか？";
const char* const MsgCreateBeside = "データファイル直下に色情報ファイル(VXC)を作成します。\nよろしいですか？";

// The export form's rows go to 999,999, or to the row option when that is higher.
int maxExportRow() { return std::max(999999, TableLimits::maxRows()); }

// A file's extension is everything after the first dot of its name, as everywhere else in
// the program (data.tab.csv has the extension tab.csv and the colour file data.vxc).
std::string extensionOf(const std::string& path) { return CMyPublic::extensionPart(path); }

bool askNoDefault(const std::string& text) { return Prompt::askYesNo(text, PromptAnswer::No); }

bool askQuestion(const std::string& text, PromptAnswer defaultAnswer) {
    return Prompt::messageBox(text, "確認", PromptButtons::YesNo, PromptIcon::Question,
                              defaultAnswer) == PromptAnswer::Yes;
}

int clampRow(int row) { return std::clamp(row, 1, maxExportRow()); }

} // namespace

// Where and how a save writes.
struct SaveFlow::Target {
    std::string path;
    char separator = ',';
    int colourMode = 0;
    bool deleteBeside = false;   // the user agreed to drop the colour file beside the new path
};

// One pass of the writer: the file, its format and the rows.
struct SaveFlow::Output {
    std::string path;
    int encoding = 0;
    int lineEnding = 0;
    bool bom = false;
    char separator = ',';
    int mode = 0;
    bool titleLine = false;      // the column titles first
    bool rowZeroFirst = false;   // row 0 first, then the range (header wanted, no header mode)
    int first = 0;               // inclusive range of rows
    int last = -1;
    bool viewRows = false;       // rows through the filter map (export) or stored rows (save)
    bool keepForm = false;       // columns enclosed as read, last line ended as read
};

SaveFlow::SaveFlow(CMyHyo& hyo, CMyGlobal& global, DocumentState& doc, SaveFlowWindow window)
    : hyo(hyo), global(global), doc(doc), window(std::move(window)) {}

void SaveFlow::note(const std::string& text) const {
    if (window.setColourNote) window.setColourNote(text);
}

void SaveFlow::wait(bool on) const {
    if (window.waitCursor) window.waitCursor(on);
}

std::string SaveFlow::saveTitle(int encoding, int lineEnding, bool withBom) {
    std::string name = encoding == 0 ? "SHIFT-JIS" : encoding == 15 ? "UTF8" : encoding == 10 ? "UTF16" : "ETC";
    if (withBom && (encoding == 15 || encoding == 10)) name += "(BOM)";
    const char* end = lineEnding == 1 ? "CR" : lineEnding == 2 ? "LF" : "CRLF";
    return "名前を付けて保存(" + name + " - " + end + ")";
}

bool SaveFlow::refuseLineBreaks() const {
    int row = 0, column = 0;
    if (!CMyWriter::findLineBreak(hyo, row, column)) return false;
    char text[256];
    std::snprintf(text, sizeof text, MsgLineBreak, row + 1, column + 1);
    Prompt::warn(text);
    return true;
}

// ---- save -----------------------------------------------------------------------------------

bool SaveFlow::saveDocument(bool saveAs) {
    if (window.closeEditor) window.closeEditor();
    note("");
    if (doc.readError) {
        if (!askNoDefault(MsgReadError)) return false;
        doc.readError = false;
    }
    const int mode = CMyWriter::writerMode(global.quoteKind(), global.fileQuoteLineBreakOnly());
    if (mode == WriteNever && refuseLineBreaks()) return false;

    Target target;
    if (!saveAs && !doc.filePath.empty()) {
        if (changedOnDisk() && !askNoDefault(MsgChangedOnDisk)) return false;
        target.path = doc.filePath;
        target.separator = doc.separator;
        target.colourMode = doc.colourMode;
    } else if (!chooseSaveTarget(target)) {
        return false;
    }
    return writeDocument(target, saveAs);
}

// Another program or instance wrote the file since it was opened or last saved here. A file
// that is gone is simply written again.
bool SaveFlow::changedOnDisk() const {
    long long size = 0, modified = 0;
    if (doc.diskSize < 0 || doc.diskPath != doc.filePath ||
        !SafeFile::stamp(doc.filePath, size, modified))
        return false;
    return size != doc.diskSize || modified != doc.diskTime;
}

int SaveFlow::preselectedFilter() const {
    int filter = 1;
    if (doc.separator == '\t')
        filter = (doc.filePath.empty() || CMyPublic::sameIgnoringCase(extensionOf(doc.filePath), "txt"))
                     ? 2
                     : 3;
    if (global.colourFileMode() != 0 && doc.colourMode == 1) filter += 3;
    return filter;
}

bool SaveFlow::chooseSaveTarget(Target& target) {
    const bool colourOn = global.colourFileMode() != 0;
    const int preselected = preselectedFilter();
    const FileChoice choice =
        Prompt::chooseSaveFile(saveTitle(doc.encoding, doc.lineEnding, doc.withBom),
                               colourOn ? SixFilters : ThreeFilters, preselected, doc.filePath);
    if (!choice.accepted || choice.path.empty()) return false;
    const int filter = choice.filterIndex;
    target.path = choice.path;
    // A data file named like a colour file would replace its own colour file and could not be
    // opened again.
    if (CMyPublic::sameIgnoringCase(extensionOf(target.path), "vxc")) {
        Prompt::warn(MsgColourExtension);
        return false;
    }
    if (!confirmExtension(filter, target.path, target.separator)) return false;
    target.colourMode = filter >= 4 ? 1 : colourOn ? 2 : 0;
    if (!confirmOverwrite(target.path, target.colourMode)) return false;
    if (preselected >= 4 && filter <= 3 &&
        CMyPublic::fileExists(CMyColourFile::besidePath(target.path))) {
        if (!askNoDefault(MsgToTemporary)) return false;
        target.deleteBeside = true;
    }
    return true;
}

bool SaveFlow::confirmExtension(int filter, std::string& path, char& separator) const {
    if (filter == 1 || filter == 4) {
        separator = ',';
        CMyPublic::setExtension(path, ".csv", false);
        const std::string extension = extensionOf(path);
        if (CMyPublic::sameIgnoringCase(extension, "csv")) return true;
        char text[512];
        std::snprintf(text, sizeof text, MsgCommaExtension, extension.c_str());
        return askNoDefault(text);
    }
    separator = '\t';
    if (filter == 2 || filter == 5) CMyPublic::setExtension(path, ".txt", false);
    if (CMyPublic::sameIgnoringCase(extensionOf(path), "csv")) return askNoDefault(MsgTabCsv);
    if (extensionOf(path).empty()) return askNoDefault(MsgNoExtension);
    return true;
}

bool SaveFlow::confirmOverwrite(const std::string& path, int colourMode) const {
    const bool dataExists = CMyPublic::fileExists(path);
    const bool colourExists =
        colourMode == 1 && CMyPublic::fileExists(CMyColourFile::besidePath(path));
    if (dataExists && colourExists) return askNoDefault(MsgOverwriteBoth);
    if (dataExists) return askNoDefault(MsgOverwrite);
    if (colourExists) return askQuestion(MsgOverwriteColour, PromptAnswer::Yes);
    return true;
}

bool SaveFlow::writeDocument(const Target& target, bool saveAs) {
    DocumentState trial = doc;
    trial.separator = target.separator;
    trial.colourMode = target.colourMode;
    if (trial.colourMode != 2) trial.colourTempName.clear();

    CMyColourFile colour;
    bool withColour = false;
    if (global.colourFileMode() > 0) {
        ColourSettings settings;
        if (window.viewSettings)
            window.viewSettings(settings.freezeFirst, settings.freezeEnd, settings.alternate);
        settings.headerFlag = hyo.inHeaderMode() ? 1 : 0;
        settings.separator = static_cast<unsigned char>(target.separator);
        settings.quoteKind = global.quoteKind();
        settings.flags = global.fileQuoteLineBreakOnly() ? 1 : 0;
        settings.formatFlags = CMyColourFile::formatFlagsFor(doc.withBom, doc.lineEnding, doc.encoding);
        const int created = colour.createColourFile(target.path, saveAs, trial, global, hyo, settings);
        if (created < 0) {
            Prompt::warn(MsgColourOpen);
            return false;
        }
        withColour = created > 0;
    }

    Output out;
    out.path = target.path;
    out.encoding = doc.encoding;
    out.lineEnding = doc.lineEnding;
    out.bom = doc.withBom;
    out.separator = target.separator;
    out.mode = CMyWriter::writerMode(global.quoteKind(), global.fileQuoteLineBreakOnly());
    out.titleLine = hyo.inHeaderMode();
    out.first = 0;
    out.last = hyo.storeRowCount() - 1;
    out.keepForm = global.quoteKind() == CMyGlobal::QuoteAsRead;
    StagedFile staged(target.path);
    if (!writeRows(out, withColour ? &colour : nullptr, staged)) return false;

    // The colour file goes first: a data file is never left beside colours of an older save.
    if ((withColour && !colour.commit(trial)) || !staged.commit()) {
        Prompt::warn(MsgWrite);
        return false;
    }
    // A document saved under a new name has a colour file beside it only if this save made one.
    const bool linked = withColour && !colour.toTemporaryStore();
    const bool newName = target.path != doc.filePath;
    doc.colourTempName = trial.colourTempName;
    doc.colourFileInUse = linked || (trial.colourFileInUse && !newName && !target.deleteBeside);
    doc.colourMode = target.colourMode;
    doc.separator = target.separator;
    if (target.deleteBeside) FileHook::remove(CMyColourFile::besidePath(target.path).c_str());
    finishDocument(target, withColour ? &colour : nullptr);
    return true;
}

// The data is saved: what fails from here on (the lists) is said in its own words.
void SaveFlow::finishDocument(const Target& target, CMyColourFile* colour) {
    doc.diskPath = target.path;
    if (!SafeFile::stamp(target.path, doc.diskSize, doc.diskTime)) doc.diskSize = -1;
    if (colour && colour->toTemporaryStore()) {
        if (!CMyColourFile::updateTemporaryList(target.path, doc, global)) Prompt::warn(MsgColourList);
        note(TemporaryStoreNote);
    }
    doc.filePath = target.path;
    doc.modified = false;
    if (!global.addRecentFile(target.path)) Prompt::warn(MsgRecentList);
    if (window.refresh) window.refresh();
}

// Writes the rows to the staged temporary file; true when every write and the close
// succeeded. The colour file, when given, is finished (not yet committed) on success.
bool SaveFlow::writeRows(Output& out, CMyColourFile* colour, StagedFile& staged) {
    CMyFile file;
    if (!staged.writable() || staged.prepare().empty() ||
        file.open(staged.prepare(), CMyFile::ModeWrite, out.encoding) != 0) {
        if (colour) colour->abandon();
        Prompt::warn(MsgOpen);
        return false;
    }
    CMyWriter writer(file, out.separator, out.mode, out.lineEnding, global.fileQuoteLineBreakOnly());
    if (!writer.allocate()) {
        file.close();
        if (colour) colour->abandon();
        Prompt::warn(MsgMemory);
        return false;
    }
    wait(true);
    if (out.bom) file.writeBom();
    writer.setColumns(hyo, CMyWriter::columnCount(hyo, out.titleLine));
    if (out.keepForm) writer.keepColumnForms(hyo.columnQuoting());
    const bool lastLineOpen = out.keepForm && doc.endsWithoutLineBreak;
    if (lastLineOpen && out.first > out.last) writer.omitNextLineEnd();
    bool ok = !out.titleLine || writer.writeHeaderLine(hyo);

    // Every stored row is written, whatever the filter shows; export follows the view.
    const bool filtered = hyo.isFiltered();
    if (!out.viewRows) hyo.setFilterActive(false);
    auto storeRowOf = [&](int row) { return out.viewRows ? hyo.storeRow(row) : row; };
    if (ok && out.rowZeroFirst) ok = writer.writeRow(hyo, storeRowOf(0), nullptr, 0);
    // A file written in place cannot go back to what it was: that save runs to the end.
    Progress progress("保存", static_cast<long long>(out.last) - out.first + 1, !staged.inPlace());
    bool cancelled = false;
    ParallelWriter::Rows walk{out.first, out.last, storeRowOf, lastLineOpen};
    ParallelWriter::Outcome shared = ParallelWriter::Outcome::NotStarted;
    if (ok) {
        ParallelWriter parallel(hyo, file, colour, writer);
        shared = parallel.run(walk, [&](long long done) { return staged.inPlace() || progress.report(done); });
        cancelled = shared == ParallelWriter::Outcome::Cancelled;
        ok = shared != ParallelWriter::Outcome::OutOfMemory;
    }
    for (int row = out.first; ok && shared == ParallelWriter::Outcome::NotStarted && row <= out.last; ++row) {
        if (!staged.inPlace() && !progress.report(row - out.first)) {
            cancelled = true;
            break;
        }
        if (lastLineOpen && row == out.last) writer.omitNextLineEnd();
        // The rows ahead are named as the view numbers them; a save turned the filter off
        // above, so there they are the store rows themselves.
        CMyWriter::prefetchAhead(hyo, row, out.first, out.last);
        ok = writer.writeRow(hyo, storeRowOf(row), colour, row);
    }
    hyo.setFilterActive(filtered);
    writer.flush();

    const int colourStatus = (ok && colour) ? colour->finishColourFile() : 0;
    const int lentCodes = file.unrepresentableCharacters();
    const int dataStatus = file.close();
    wait(false);
    // Cancelled: the staged file goes with `staged`, the old file and its colours stay.
    if (cancelled) {
        if (colour) colour->abandon();
        return false;
    }
    if (!ok) {
        if (colour) colour->abandon();
        Prompt::warn(MsgMemory);
        return false;
    }
    if (colourStatus != 0 || dataStatus != 0) {
        if (colour) colour->abandon();
        Prompt::warn(MsgWrite);
        return false;
    }
    // The file is still only staged: No leaves the old one (and its colours) as they were.
    if (lentCodes == 0) return true;
    char question[200];
    std::snprintf(question, sizeof question, MsgShiftJisLoss, lentCodes);
    if (!askQuestion(question, PromptAnswer::No)) {
        if (colour) colour->abandon();
        return false;
    }
    return true;
}

// ---- save with encoding ----------------------------------------------------------------------

bool SaveFlow::saveWithEncoding() {
    SaveFormHandler* forms = SaveFormHandler::installed();
    EncodingChoice choice;
    choice.encoding = doc.encoding;
    choice.lineEnding = doc.lineEnding;
    choice.withBom = doc.withBom;
    if (!forms || !forms->showSaveChg(choice)) return false;
    const int oldEncoding = doc.encoding, oldLineEnding = doc.lineEnding;
    const bool oldBom = doc.withBom;
    doc.encoding = choice.encoding;
    doc.lineEnding = choice.lineEnding;
    if (choice.encoding != 0) doc.withBom = choice.withBom;
    if (saveDocument(true)) return true;
    doc.encoding = oldEncoding;
    doc.lineEnding = oldLineEnding;
    doc.withBom = oldBom;
    return false;
}

// ---- export ---------------------------------------------------------------------------------

bool SaveFlow::exportCommand(bool wholeRowsSelected, int firstRow, int lastRow) {
    SaveFormHandler* forms = SaveFormHandler::installed();
    ExportChoice choice;
    choice.firstRow = clampRow(wholeRowsSelected ? firstRow : 1);
    choice.lastRow = clampRow(wholeRowsSelected ? lastRow : hyo.rowCount());
    choice.includeHeader = global.exportHeader();
    choice.format.encoding = doc.encoding;
    choice.format.lineEnding = doc.lineEnding;
    choice.format.withBom = doc.withBom;
    if (!forms || !forms->showSaveExp(choice)) return false;
    global.setExportHeader(choice.includeHeader);
    int first = choice.firstRow - 1, last = choice.lastRow - 1;
    if (first < 0) first = 0;
    if (last < 0) last = 0;
    if (last < first) first = last;
    return exportRows(first, last, choice.format.withBom, choice.format.lineEnding,
                      choice.format.encoding, choice.includeHeader);
}

bool SaveFlow::exportRows(int first, int last, bool bom, int lineEnding, int encoding,
                          bool includeHeader) {
    if (first < 0 || last < first) return false;
    if (window.closeEditor) window.closeEditor();
    const int mode = CMyWriter::writerMode(global.quoteKind(), global.fileQuoteLineBreakOnly());
    if (mode == WriteNever && refuseLineBreaks()) return false;

    const int kind = global.exportKind();
    const std::string& remembered = global.exportExtension();
    char name[64];
    std::snprintf(name, sizeof name, "(%d-%d)", first + 1, last + 1);
    std::string proposed = name;
    int filter = kind == 1 ? 1 : kind == 2 ? 2 : 3;
    if (filter == 3 && !remembered.empty()) proposed += "." + remembered;
    // The chooser opens where the document lies, not in the folder vexil was started from.
    const std::filesystem::path folder = std::filesystem::path(doc.filePath).parent_path();
    if (!folder.empty()) proposed = (folder / proposed).string();
    const FileChoice choice =
        Prompt::chooseSaveFile(saveTitle(encoding, lineEnding, bom), ThreeFilters, filter, proposed);
    if (!choice.accepted || choice.path.empty()) return false;

    Output out;
    out.path = choice.path;
    if (choice.filterIndex == 1) {
        global.setExportKind(1);
        CMyPublic::setExtension(out.path, ".csv", false);
        out.separator = ',';
    } else if (choice.filterIndex == 2) {
        global.setExportKind(2);
        CMyPublic::setExtension(out.path, ".txt", false);
        out.separator = '\t';
    } else {
        global.setExportKind(9);
        global.setExportExtension(extensionOf(out.path));
        out.separator = '\t';
    }
    if (CMyPublic::fileExists(out.path) && !askNoDefault(MsgOverwrite)) return false;

    out.encoding = encoding;
    out.lineEnding = lineEnding;
    out.bom = bom;
    out.mode = mode;
    out.viewRows = true;
    const int rowCount = hyo.rowCount();
    out.first = first;
    out.last = last < rowCount - 1 ? last : rowCount - 1;
    if (includeHeader && hyo.inHeaderMode()) {
        out.titleLine = true;
    } else if (includeHeader) {
        out.rowZeroFirst = rowCount > 0;
        if (out.first < 1) out.first = 1;
    }
    StagedFile staged(out.path);
    if (!writeRows(out, nullptr, staged)) return false;
    if (!staged.commit()) {
        Prompt::warn(MsgWrite);
        return false;
    }
    return true;
}

// ---- colour-file commands -------------------------------------------------------------------

// The colour file beside the data goes only once the store holds the colours; a save that
// does not happen leaves the document linked to that file as before.
bool SaveFlow::moveToTemporaryStore() {
    doc.colourMode = 2;
    if (saveDocument(false)) {
        deleteBesideFile();
        return true;
    }
    doc.colourMode = 1;
    return false;
}

void SaveFlow::deleteBesideFile() {
    if (doc.filePath.empty()) return;
    FileHook::remove(CMyColourFile::besidePath(doc.filePath).c_str());
    doc.colourFileInUse = false;
}

bool SaveFlow::toggleSaveFormat(bool pressed) {
    if (global.colourFileMode() == 0) return false;
    if (pressed) {
        doc.colourMode = 1;
    } else if (doc.colourMode == 1 && !doc.filePath.empty() && doc.colourFileInUse) {
        if (!askQuestion(MsgConvertToTemporary, PromptAnswer::None)) return true;
        moveToTemporaryStore();
    } else {
        doc.colourMode = 2;
    }
    if (window.refresh) window.refresh();
    return doc.colourFileInUse || doc.colourMode == 1;
}

bool SaveFlow::colourFileCommand(int tag) {
    if (doc.colourMode == 0) {
        Prompt::warn("色情報を扱いません。");
        return false;
    }
    if (doc.filePath.empty()) {
        Prompt::warn("当処理は一度保存されていることが必要です。");
        return false;
    }
    if (tag == 1) {
        if (doc.colourMode == 2) {
            Prompt::warn("既に一時保存状態です。");
            return false;
        }
        if (!askQuestion(MsgConvertToTemporary, PromptAnswer::None)) return false;
        return moveToTemporaryStore();
    }
    if (doc.colourMode == 1) {
        Prompt::warn("既に連動済みです。");
        return false;
    }
    if (!askQuestion(MsgCreateBeside, PromptAnswer::None)) return false;
    doc.colourMode = 1;
    return saveDocument(false);
}

bool SaveFlow::confirmReloadFromStore() const {
    return !doc.modified || askNoDefault("更新データが破棄されます。\nよろしいですか？");
}
