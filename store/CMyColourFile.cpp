// CMyColourFile: writing and reading the .vxc file, locating it, and the temporary-store list.
#include "store/CMyColourFile.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <unistd.h>
#include <vector>

#include "platform/core/FileHook.h"
#include "platform/core/Prompt.h"
#include "settings/CMyGlobal.h"
#include "settings/CMyPublic.h"
#include "platform/core/NativePath.h"
#include "platform/core/GivenCodes.h"
#include "platform/core/SafeFile.h"
#include "store/CMyHyo.h"
#include "store/CMyLine.h"
#include "store/DocumentState.h"
#include "store/LittleEndian.h"
#include "store/StagedFile.h"

namespace {

constexpr char StoreFolderName[] = "vxc_data";
constexpr char ListFileName[] = "vxc.lst";
constexpr int SettingsLeadSize = 44;
// The list is a few hundred short lines; anything far larger is not ours to read whole.
constexpr size_t MaxListBytes = 4u << 20;
const char* const MsgListUnreadable = "色情報の一時保存の一覧(vxc.lst)を読み込めませんでした。";
// Colour-file contents that no table of this program can hold are ignored on reading.
constexpr int MaxColumns = 999;
constexpr int MaxColumnWidth = 30000;
constexpr int MaxRowHeight = 65535;

const char* const MsgOtherFormat = "定義情報のファイル定義が異なるため読み込みません。";
const char* const MsgTooOld = "定義情報が古いため読み込みません。";
const char* const MsgTooNew =
    "定義情報が新しいため古いアプリケーションでは読み込みません。\nバージョンアップしてください。";
const char* const MsgRecordSize = "定義情報のファイルの定義が異なるため読み込みません。";
const char* const MsgInvalid = "VXCファイルの定義が不正です。";

// Value of an attribute record: one byte sign-extended, wider values zero-extended.
int32_t recordValue(const unsigned char* record, int n) {
    if (n < 2) return 0;
    if (n == 2) return static_cast<int32_t>(static_cast<signed char>(record[1]));
    uint32_t v = 0;
    for (int i = 1; i < n; ++i) v |= static_cast<uint32_t>(record[i]) << (8 * (i - 1));
    return static_cast<int32_t>(v);
}

bool plausibleColour(int32_t value) { return (value >= 0 && value < 32) || value == 120; }

bool plausibleAttribute(int32_t kind, int32_t value, bool rowAttribute) {
    switch (kind) {
    case 4:
    case 5: return plausibleColour(value);
    case 11: return !rowAttribute;
    case 100: return rowAttribute && value > 0 && value <= MaxRowHeight;
    default: return false;
    }
}

// Column records read from a file are trusted only as far as the table can use them.
void sanitiseColumns(CMyHyo& hyo) {
    for (int c = 0; c < hyo.columnCount(); ++c) {
        const int length = hyo.columnRecordLength(c);
        const unsigned char* record = hyo.columnRecord(c);
        if (!record) continue;
        unsigned char fixed[ColumnRecordSize + MaxColumnTitle + 1] = {};
        std::memcpy(fixed, record, static_cast<size_t>(length < ColumnRecordSize ? length : ColumnRecordSize));
        if (length < ColumnRecordSize)
            LittleEndian::put32(fixed, DefaultColumnWidth), fixed[10] = fixed[11] = NoColour;
        const int32_t width = LittleEndian::get32(fixed);
        if (width < 0 || width > MaxColumnWidth) LittleEndian::put32(fixed, DefaultColumnWidth);
        if (fixed[8] > 1) fixed[8] = 0;
        if (fixed[9] > 1) fixed[9] = 0;
        for (int i : {10, 11})
            if (!plausibleColour(fixed[i])) fixed[i] = NoColour;
        int total = ColumnRecordSize;
        if (length > ColumnRecordSize) {
            const auto* title = reinterpret_cast<const char*>(record + ColumnRecordSize);
            int titleLength = 0;
            while (ColumnRecordSize + titleLength < length && titleLength < MaxColumnTitle &&
                   static_cast<unsigned char>(title[titleLength]) >= 0x20)
                ++titleLength;
            std::memcpy(fixed + ColumnRecordSize, title, static_cast<size_t>(titleLength));
            if (titleLength > 0) total += titleLength + 1;
        }
        if (total != length || std::memcmp(fixed, record, static_cast<size_t>(total)) != 0)
            hyo.setColumnRecord(c, reinterpret_cast<const char*>(fixed), total);
    }
    if (hyo.columnCount() > MaxColumns) hyo.truncateColumns(MaxColumns);
}

// `unreadable` (when given) is set when the list is there but could not be read.
std::vector<std::string> readList(const std::string& path, bool* unreadable = nullptr) {
    std::vector<std::string> lines;
    std::string bytes;
    if (unreadable) *unreadable = false;
    if (path.empty() || !SafeFile::readAll(path, bytes, MaxListBytes)) {
        if (unreadable) *unreadable = !path.empty() && ::access(path.c_str(), F_OK) == 0;
        return lines;
    }
    std::string line;
    for (char c : bytes) {
        if (c == '\r' || c == '\n') {
            if (!line.empty()) lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

bool listLineMatches(const std::string& line, const std::string& dataPath,
                     const std::string& dataStamp, const CMyGlobal& global) {
    if (line.size() <= static_cast<size_t>(CMyColourFile::ListPathOffset)) return false;
    const std::string recorded = line.substr(CMyColourFile::ListPathOffset);
    const std::string stamp = line.substr(18, 14);
    if (!NativePath::same(CMyPublic::fileNamePart(recorded), CMyPublic::fileNamePart(dataPath)))
        return false;
    if (stamp != dataStamp) return false;
    // A copy elsewhere takes the entry only when the recorded file is gone or has changed.
    return NativePath::same(recorded, dataPath) || !CMyPublic::fileExists(recorded) ||
           global.fileTimeStamp(recorded) != stamp;
}

} // namespace

CMyColourFile::CMyColourFile() = default;

CMyColourFile::~CMyColourFile() { abandon(); }

// ---- paths --------------------------------------------------------------------------------

std::string CMyColourFile::besidePath(const std::string& dataPath) {
    std::string path = dataPath;
    CMyPublic::setExtension(path, ".vxc", true);
    return path;
}

std::string CMyColourFile::storeFolder(const CMyGlobal& global) {
    const std::string path = global.programPath(StoreFolderName);
    return path.empty() ? std::string(StoreFolderName) : path;
}

std::string CMyColourFile::storePath(const CMyGlobal& global, const std::string& name) {
    const std::string relative = std::string(StoreFolderName) + "/F" + name + ".vxc";
    const std::string path = global.programPath(relative);
    return path.empty() ? relative : path;
}

std::string CMyColourFile::listPath(const CMyGlobal& global) {
    const std::string relative = std::string(StoreFolderName) + "/" + ListFileName;
    const std::string path = global.programPath(relative);
    return path.empty() ? relative : path;
}

std::string CMyColourFile::makeTemporaryName(CMyGlobal& global) {
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S", &local);
    char name[40];
    std::snprintf(name, sizeof name, "%s_%02d", stamp, global.nextSequence() % 100);
    return name;
}

bool CMyColourFile::isTemporaryName(const std::string& name) {
    if (name.size() != static_cast<size_t>(TempNameLength) || name[14] != '_') return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (i != 14 && (name[i] < '0' || name[i] > '9')) return false;
    return true;
}

int CMyColourFile::formatFlagsFor(bool withBom, int lineEnding, int encoding) {
    int flags = FormatValid;
    if (!withBom) flags |= FormatNoBom;
    if (lineEnding == 2) flags |= FormatLf;
    if (lineEnding == 1) flags |= FormatCr;
    if (encoding == 15) flags |= FormatUtf8;
    if (encoding == 10 || encoding == 11) flags |= FormatUtf16;
    return flags;
}

// ---- open ---------------------------------------------------------------------------------

std::string CMyColourFile::locateColourFile(const std::string& dataPath, const std::string& name,
                                            CMyGlobal& global, DocumentState& doc) {
    doc.colourMode = global.colourFileMode();
    doc.colourFileInUse = false;
    doc.colourListIndex = -1;
    doc.colourTempName.clear();
    if (global.colourFileMode() == 0) return std::string();

    const std::string beside = besidePath(dataPath);
    if (CMyPublic::fileExists(beside)) {
        doc.colourMode = 1;
        doc.colourFileInUse = true;
        return beside;
    }
    if (!name.empty()) {
        doc.colourMode = 2;
        doc.colourTempName = name.substr(0, TempNameLength);
        return storePath(global, doc.colourTempName);
    }
    bool unreadable = false;
    const std::vector<std::string> lines = readList(listPath(global), &unreadable);
    if (unreadable) Prompt::warn(MsgListUnreadable);
    const std::string stamp = global.fileTimeStamp(dataPath);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!listLineMatches(lines[i], dataPath, stamp, global)) continue;
        doc.colourMode = 2;
        doc.colourTempName = lines[i].substr(0, TempNameLength);
        doc.colourListIndex = static_cast<int>(i);
        return storePath(global, doc.colourTempName);
    }
    return beside;
}

bool CMyColourFile::openForReading(const std::string& path) {
    closeStream();
    // A FIFO or device under the colour file's name would block the open or never end.
    if (path.empty() || SafeFile::isSpecial(path)) return false;
    stream = FileHook::fopen(path.c_str(), "rb");
    return stream != nullptr;
}

void CMyColourFile::adopt(std::FILE* opened) {
    closeStream();
    stream = opened;
}

int CMyColourFile::readColourHeader(CMyHyo& hyo, ColourSettings& settings) {
    settings = ColourSettings();
    if (!stream) return -1;
    const char* problem = nullptr;
    char magic[3];
    int32_t version = 0, recordSize = 0;
    if (std::fread(magic, 1, 3, stream) != 3 || std::memcmp(magic, "VXC", 3) != 0)
        problem = MsgOtherFormat;
    else if (!LittleEndian::read32(stream, version) || version / 100 != 2)
        problem = MsgTooOld;
    else if (version % 100 > 1)
        problem = MsgTooNew;
    else if (!LittleEndian::read32(stream, recordSize) || recordSize != RecordSize)
        problem = MsgRecordSize;
    else if (!readBlockChecked(hyo))
        problem = MsgInvalid;
    if (problem) {
        Prompt::warn(problem);
        closeStream();
        return -1;
    }
    CMyLine block(2048);
    if (block.readBlock(stream) < 0) {
        Prompt::warn(MsgInvalid);
        closeStream();
        return -1;
    }
    if (block.lineLength(1) == SettingsRecordSize) {
        const auto* r = reinterpret_cast<const unsigned char*>(block.lineText(1));
        settings.freezeFirst = LittleEndian::get32(r);
        settings.freezeEnd = LittleEndian::get32(r + 4);
        settings.headerFlag = LittleEndian::get32(r + 8);
        settings.separator = LittleEndian::get32(r + 36);
        settings.quoteKind = LittleEndian::get32(r + 40);
        settings.flags = LittleEndian::get32(r + 44);
        settings.formatFlags = LittleEndian::get32(r + 48);
        settings.alternate = LittleEndian::get32(r + 52);
        settings.present = true;
    }
    return 0;
}

bool CMyColourFile::readBlockChecked(CMyHyo& hyo) {
    const int result = hyo.readColumns(stream);
    sanitiseColumns(hyo);
    return result >= 0;
}

int CMyColourFile::readColourRecords(CMyHyo& hyo, int rowOffset) {
    if (!stream) return -1;
    int32_t recordSize = 0;
    if (!LittleEndian::read32(stream, recordSize) || recordSize != RecordSize) {
        Prompt::warn(MsgInvalid);
        closeStream();
        return -1;
    }
    const int rows = hyo.storeRowCount();
    int applied = 0;
    unsigned char record[RecordSize];
    while (std::fread(record, 1, RecordSize, stream) == static_cast<size_t>(RecordSize)) {
        const int32_t column = LittleEndian::get32(record);
        const int32_t kind = LittleEndian::get32(record + 8);
        const int32_t value = LittleEndian::get32(record + 12);
        const int64_t row = static_cast<int64_t>(LittleEndian::get32(record + 4)) + rowOffset;
        if (column == -1 && LittleEndian::get32(record + 4) == -1) break;
        // Records for places the table does not have are dropped rather than growing it.
        if (row < 0 || row >= rows || column < -1 || column >= MaxColumns) continue;
        if (!plausibleAttribute(kind, value, column == -1)) continue;
        const int r = static_cast<int>(row);
        if (column == -1) hyo.setRowAttribute(r, kind, value, 1);
        else hyo.setCellAttribute(column, r, kind, value, 1, 1);
        ++applied;
    }
    closeStream();
    return applied;
}

// ---- save ---------------------------------------------------------------------------------

int CMyColourFile::createColourFile(const std::string& dataPath, bool saveAs,
                                    const DocumentState& doc, CMyGlobal& global,
                                    const CMyHyo& hyo, const ColourSettings& settings) {
    abandon();
    if (global.colourFileMode() <= 0) return 0;
    temporaryStore = doc.colourMode == 2;
    if (temporaryStore) {
        std::error_code ignored;
        std::filesystem::create_directories(storeFolder(global), ignored);
        tempName = (doc.colourTempName.empty() || saveAs) ? makeTemporaryName(global) : doc.colourTempName;
        target = storePath(global, tempName);
    } else {
        tempName.clear();
        target = besidePath(dataPath);
    }
    staged = std::make_unique<StagedFile>(target);
    if (staged->writable() && !staged->prepare().empty())
        stream = FileHook::fopen(staged->prepare().c_str(), "wb");
    if (!stream) {
        staged.reset();
        return -1;
    }
    writeFailed = false;
    finished = false;
    if (!writeHeader(hyo, settings)) writeFailed = true;
    return 1;
}

// The colour file is plain CP932 for every run: a title holding lent codes is written with "?"
// in their place.
int CMyColourFile::writeColumns(const CMyHyo& hyo) {
    bool lent = false;
    for (int c = 0; c < hyo.columnCount() && !lent; ++c) lent = GivenCodes::countIn(hyo.columnTitle(c)) > 0;
    if (!lent) return hyo.writeColumns(stream);
    CMyLine plain(2048);
    for (int c = 0; c < hyo.columnCount(); ++c) {
        const unsigned char* record = hyo.columnRecord(c);
        const int length = record ? hyo.columnRecordLength(c) : 0;
        std::string line(reinterpret_cast<const char*>(record), static_cast<size_t>(length));
        if (length > ColumnRecordSize) line = line.substr(0, ColumnRecordSize) + GivenCodes::plain(hyo.columnTitle(c)) + '\0';
        if (!plain.setLine(c, line.data(), static_cast<int>(line.size()))) return -1;
    }
    return plain.writeBlock(stream);
}

bool CMyColourFile::writeHeader(const CMyHyo& hyo, const ColourSettings& settings) {
    if (FileHook::fwrite("VXC", 1, 3, stream) != 3) return false;
    put32(Version);
    put32(RecordSize);
    if (writeColumns(hyo) < 0) return false;

    unsigned char lead[SettingsLeadSize] = {};
    LittleEndian::put32(lead, 1);
    unsigned char record[SettingsRecordSize] = {};
    LittleEndian::put32(record, settings.freezeFirst);
    LittleEndian::put32(record + 4, settings.freezeEnd);
    LittleEndian::put32(record + 8, settings.headerFlag);
    LittleEndian::put32(record + 36, settings.separator);
    LittleEndian::put32(record + 40, settings.quoteKind);
    LittleEndian::put32(record + 44, settings.flags);
    LittleEndian::put32(record + 48, settings.formatFlags);
    LittleEndian::put32(record + 52, settings.alternate);
    CMyLine block(2048);
    // Each line is checked: a failed first line would otherwise be filled in empty by the second.
    if (!block.setLine(0, reinterpret_cast<const char*>(lead), SettingsLeadSize) ||
        !block.setLine(1, reinterpret_cast<const char*>(record), SettingsRecordSize) ||
        block.lineCount() != 2 || block.writeBlock(stream) < 0)
        return false;
    // The records follow the record size, repeated as their own small header.
    put32(RecordSize);
    return !writeFailed;
}

void CMyColourFile::put32(int32_t value) {
    if (!LittleEndian::write32(stream, value)) writeFailed = true;
}

void CMyColourFile::putRecord(int32_t column, int32_t row, int32_t kind, int32_t value) {
    unsigned char bytes[RecordSize];
    LittleEndian::put32(bytes, column);
    LittleEndian::put32(bytes + 4, row);
    LittleEndian::put32(bytes + 8, kind);
    LittleEndian::put32(bytes + 12, value);
    if (FileHook::fwrite(bytes, 1, RecordSize, stream) != static_cast<size_t>(RecordSize)) writeFailed = true;
}

void CMyColourFile::writeRowAttributes(int row, const char* prefix, int length) {
    if (!stream) return;
    const auto* p = reinterpret_cast<const unsigned char*>(prefix);
    const unsigned char* end = p + length;
    while (p + 1 < end && *p == 0x07) {
        const int n = p[1];
        if (n < 1 || n > 5 || p + 2 + n > end) break;
        putRecord(-1, row, p[2], recordValue(p + 2, n));
        p += 2 + n;
    }
}

void CMyColourFile::writeCellAttributes(int column, int row, const char* records, int length) {
    if (!stream) return;
    const auto* p = reinterpret_cast<const unsigned char*>(records);
    const unsigned char* end = p + length;
    while (p < end) {
        const int n = p[0];
        if (n < 1 || n > 5 || p + 1 + n > end) break;
        putRecord(column, row, p[1], recordValue(p + 1, n));
        p += 1 + n;
    }
}

int CMyColourFile::finishColourFile() {
    if (!stream) return -1;
    putRecord(-1, -1, 0, 0);
    if (FileHook::fflush(stream) != 0 || std::ferror(stream)) writeFailed = true;
    if (FileHook::fclose(stream) != 0) writeFailed = true;
    stream = nullptr;
    finished = !writeFailed;
    return finished ? 0 : -1;
}

bool CMyColourFile::commit(DocumentState& doc) {
    if (!finished || !staged || !staged->commit()) return false;
    staged.reset();
    finished = false;
    if (temporaryStore) {
        doc.colourTempName = tempName;
    } else {
        doc.colourTempName.clear();
        doc.colourFileInUse = true;
    }
    return true;
}

void CMyColourFile::abandon() {
    closeStream();
    staged.reset();
    finished = false;
}

void CMyColourFile::closeStream() {
    if (stream) FileHook::fclose(stream);
    stream = nullptr;
}

// ---- the temporary-store list -------------------------------------------------------------

bool CMyColourFile::updateTemporaryList(const std::string& dataPath, const DocumentState& doc,
                                        CMyGlobal& global) {
    const std::string& name = doc.colourTempName;
    if (name.size() != static_cast<size_t>(TempNameLength)) return true;
    const std::string path = listPath(global);
    bool unreadable = false;
    std::vector<std::string> lines = readList(path, &unreadable);
    // A list that is there but cannot be read now is left alone: rewriting it from nothing
    // would drop every other document's entry.
    if (unreadable) return false;
    bool removed = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].size() > static_cast<size_t>(ListPathOffset) && lines[i].compare(0, TempNameLength, name) == 0) {
            lines.erase(lines.begin() + static_cast<long>(i));
            removed = true;
            break;
        }
    }
    lines.insert(lines.begin(), name + " " + global.fileTimeStamp(dataPath) + " 0000000000 " + dataPath);
    const size_t keep = static_cast<size_t>(global.colourListMax());
    std::vector<std::string> evicted;
    if (!removed && lines.size() > keep) {
        for (size_t i = keep; i < lines.size(); ++i)
            if (lines[i].size() > static_cast<size_t>(ListPathOffset))
                evicted.push_back(lines[i].substr(0, TempNameLength));
        lines.resize(keep);
    }
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    if (!SafeFile::replace(path, bytes)) return false;
    // Files are removed only once the list no longer names them.
    // Only names this program makes ("yyyymmddhhnnss_NN") name files to delete: the list is
    // shared and plain text, and a damaged line must not reach outside the store.
    for (const std::string& gone : evicted)
        if (isTemporaryName(gone)) FileHook::remove(storePath(global, gone).c_str());
    return true;
}

std::vector<std::string> CMyColourFile::readTemporaryList(const CMyGlobal& global) {
    return readList(listPath(global));
}

int CMyColourFile::removeTemporaryEntry(const CMyGlobal& global, const std::string& tempName) {
    // The name alone builds the store path, so only names this program makes are taken.
    if (!isTemporaryName(tempName)) return 0;
    const std::string path = listPath(global);
    std::vector<std::string> lines = readList(path);
    // An entry has a path after the 44-byte head, as wherever else the list is read: a damaged
    // line of the same name before it is not the entry the user chose.
    const auto entry = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.size() > static_cast<size_t>(ListPathOffset) && line.compare(0, TempNameLength, tempName) == 0;
    });
    if (entry == lines.end()) return 0;
    lines.erase(entry);
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    if (!SafeFile::replace(path, bytes)) return -1;
    FileHook::remove(storePath(global, tempName).c_str());
    return 1;
}
