// CMyWriter: cell quoting and the row walk shared by save and export.
#include "store/CMyWriter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/core/CodePage.h"
#include "platform/core/MemoryHook.h"
#include "store/CMyColourFile.h"
#include "store/CMyFile.h"
#include "store/CMyHyo.h"
#include "store/ColumnQuoting.h"
#include "store/RowFormat.h"

namespace {

// The line buffer starts at 500 bytes and grows to what a cell needs plus 500.
constexpr int BufferStep = 500;
constexpr int BufferSlack = 10;
// Buffered text is handed to the file once this much has gathered, so that encoding
// conversion runs over long pieces instead of one call per cell.
constexpr int FlushThreshold = 60000;

// After a sort the row walk meets a new memory page at almost every row, and each request for
// a row's text must first find its page. Requests made one row at a time wait for that one
// after another; a group made together has its pages found side by side.
constexpr int PrefetchGroup = 16;
constexpr int PrefetchDistance = 2 * PrefetchGroup;
// A row within this distance of the one before it needs no request: the processor follows
// such runs by itself, and an unsorted table is nothing but such runs.
constexpr std::uintptr_t NearBytes = 4096;
constexpr std::uintptr_t CacheLine = 64;
// Rows are a few hundred bytes; the processor follows a longer row along once it is read.
constexpr int PrefetchReach = 512;

struct Scan {
    bool enclose = false;
    bool doubling = false;
};

// Attribute records inside cell text are not text: they are stepped over, never written.
const unsigned char* skipInlineRecord(const unsigned char* p, const unsigned char* end) {
    const long n = *p;
    return (end - p > n) ? p + 1 + n : end;
}

// Decides whether the cell [p, end) is enclosed and whether quotes are doubled.
Scan decideQuoting(bool commaFile, int mode, const unsigned char* p, const unsigned char* end) {
    Scan s;
    s.enclose = (mode == WriteAll || mode == WriteTextColumns);
    s.doubling = s.enclose || !(mode == WriteNever && !commaFile);
    while (!s.enclose && p < end) {
        if (RowFormat::isRecordStart(*p)) {
            p = skipInlineRecord(p, end);
            continue;
        }
        if (CodePage::isLeadByte(*p) && p + 1 < end) {
            p += 2;
            continue;
        }
        if (*p == '\r' || *p == '\n') {
            // A lone LF is enclosed too: written bare it would end the record on reading.
            if (s.doubling) s.enclose = true;
        } else if (*p == '"') {
            if (s.doubling && (commaFile || mode != WriteNeededBreaksOnly)) s.enclose = true;
        } else if (*p == ',' && commaFile) {
            s.enclose = true;
        }
        ++p;
    }
    return s;
}

bool liesNear(const char* text, const char* previous) {
    const auto a = reinterpret_cast<std::uintptr_t>(text);
    const auto b = reinterpret_cast<std::uintptr_t>(previous);
    return previous && (a > b ? a - b : b - a) < NearBytes;
}

// Every cache line of the text, the one holding the last byte of the reach included.
void prefetchLines(const char* text, int length) {
    const auto start = reinterpret_cast<std::uintptr_t>(text);
    const std::uintptr_t last = start + static_cast<std::uintptr_t>(std::min(length, PrefetchReach));
    for (std::uintptr_t line = start & ~(CacheLine - 1); line <= last; line += CacheLine)
        __builtin_prefetch(reinterpret_cast<const void*>(line));
}

int lineEndLength(int lineEnding) { return lineEnding == 0 ? 2 : 1; }

char* putLineEnd(char* out, int lineEnding) {
    if (lineEnding == 0) { *out++ = '\r'; *out++ = '\n'; }
    else *out++ = (lineEnding == 1) ? '\r' : '\n';
    return out;
}

} // namespace

CMyWriter::CMyWriter(CMyFile& file, char separator, int mode, int lineEnding, bool lineBreakOnly)
    : file(file), commaFile(separator == ','), separator(separator),
      mode(fileMode(separator, mode, lineBreakOnly)), lineEnding(lineEnding),
      lineBreaksOnlyTab(separator == '\t' && lineBreakOnly) {
    std::memset(byteKinds, ByteOrdinary, sizeof byteKinds);
    byteKinds[static_cast<unsigned char>('\t')] = ByteTab;
    for (int c = 1; c <= 5; ++c) byteKinds[c] = ByteRecord;
    for (unsigned char c : {'\r', '\n', '"'}) byteKinds[c] = ByteSpecial;
    if (commaFile) byteKinds[static_cast<unsigned char>(',')] = ByteSpecial;
}

CMyWriter::~CMyWriter() { MemoryHook::release(buffer); }

int CMyWriter::writerMode(int dblKind, bool lineBreakOnly) {
    switch (dblKind) {
    case 1: return WriteAll;
    case 2: return WriteTextColumns;
    case 3: return WriteNever;
    default: return lineBreakOnly ? WriteNeededBreaksOnly : WriteNeeded;
    }
}

int CMyWriter::fileMode(char separator, int mode, bool lineBreakOnly) {
    // A TAB file with quoting for line breaks only is read back by the parser that keeps the
    // quotes of a field without a line break. Enclosing every cell there would add a pair of
    // quotes to each cell at every save and open, so such a file quotes line breaks only.
    if (separator == '\t' && lineBreakOnly && (mode == WriteAll || mode == WriteTextColumns))
        return WriteNeededBreaksOnly;
    return mode;
}

int CMyWriter::formatCell(bool commaFile, int mode, const char* text, char* out, int lineEnding) {
    // The text ends at TAB or NUL; a double-byte character is taken whole.
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* end = p;
    while (*end && *end != '\t') end += (CodePage::isLeadByte(*end) && end[1] && end[1] != '\t') ? 2 : 1;
    return formatSpan(commaFile, mode, text, reinterpret_cast<const char*>(end), out, lineEnding);
}

int CMyWriter::formatSpan(bool commaFile, int mode, const char* begin, const char* stop, char* out,
                          int lineEnding) {
    const auto* p = reinterpret_cast<const unsigned char*>(begin);
    const auto* end = reinterpret_cast<const unsigned char*>(stop);
    const Scan s = decideQuoting(commaFile, mode, p, end);
    int length = s.enclose ? 2 : 0;
    if (s.enclose && out) *out++ = '"';
    while (p < end) {
        if (RowFormat::isRecordStart(*p)) {
            p = skipInlineRecord(p, end);
        } else if (CodePage::isLeadByte(*p) && p + 1 < end) {
            if (out) { *out++ = static_cast<char>(p[0]); *out++ = static_cast<char>(p[1]); }
            p += 2;
            length += 2;
        } else if (*p == '\r' || (*p == '\n' && s.enclose)) {
            p += (p[0] == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
            length += lineEndLength(lineEnding);
            if (out) out = putLineEnd(out, lineEnding);
        } else if (*p == '"' && s.enclose && s.doubling) {
            if (out) { *out++ = '"'; *out++ = '"'; }
            ++p;
            length += 2;
        } else {
            if (out) *out++ = static_cast<char>(*p);
            ++p;
            ++length;
        }
    }
    if (s.enclose && out) *out++ = '"';
    return length;
}

bool CMyWriter::findLineBreak(const CMyHyo& hyo, int& row, int& column) {
    CMyLine& rows = const_cast<CMyHyo&>(hyo).rowList();
    for (int r = 0; r < rows.lineCount(); ++r) {
        const char* text = rows.lineText(r);
        const int length = rows.lineLength(r);
        if (!text) continue;
        int pos = RowFormat::prefixEnd(text, length);
        for (int c = 0; pos < length; ++c) {
            const int end = RowFormat::cellEnd(text, length, pos);
            const auto* p = reinterpret_cast<const unsigned char*>(text) + RowFormat::textStart(text, end, pos);
            const auto* stop = reinterpret_cast<const unsigned char*>(text) + end;
            while (p < stop) {
                if (RowFormat::isRecordStart(*p)) { p = skipInlineRecord(p, stop); continue; }
                if (CodePage::isLeadByte(*p) && p + 1 < stop) { p += 2; continue; }
                if (*p == '\r' || *p == '\n') { row = r; column = c; return true; }
                ++p;
            }
            pos = end + 1;
        }
    }
    return false;
}

int CMyWriter::headerColumnCount(const CMyHyo& hyo) {
    int count = hyo.widestRowValue();
    for (int c = hyo.columnCount() - 1; c >= 0; --c) {
        if (!hyo.columnTitle(c).empty()) {
            if (c + 1 > count) count = c + 1;
            break;
        }
    }
    return count < 1 ? 1 : count;
}

int CMyWriter::columnCount(const CMyHyo& hyo, bool withHeader) {
    const int widest = hyo.widestRowValue();
    if (!withHeader) return widest;
    const int header = headerColumnCount(hyo);
    return header > widest ? header : widest;
}

void CMyWriter::setColumns(const CMyHyo& hyo, int count) {
    columns = count;
    columnModes.assign(static_cast<size_t>(count < 0 ? 0 : count), static_cast<unsigned char>(mode));
    if (mode == WriteTextColumns) {
        for (int c = 0; c < count; ++c)
            if (hyo.columnKind(c) == 1) columnModes[c] = static_cast<unsigned char>(numericMode());
    }
    emptyModes = columnModes;
}

void CMyWriter::keepColumnForms(const ColumnQuoting& forms) {
    headerByColumn = true;
    // Such a file is read by the parser that keeps the quotes of a field without a line
    // break as text: enclosing there would add quotes to the cells at every save and open.
    if (lineBreaksOnlyTab) return;
    for (int c = 0; c < columns; ++c) {
        if (forms.enclosesText(c)) columnModes[c] = WriteAll;
        if (forms.enclosesEmpty(c)) emptyModes[c] = WriteAll;
    }
}

bool CMyWriter::allocate() {
    if (buffer) return true;
    buffer = static_cast<char*>(MemoryHook::allocate(BufferStep + BufferSlack));
    if (!buffer) return false;
    capacity = BufferStep;
    return true;
}

bool CMyWriter::makeRoom(int extra) {
    if (!holding && used > 0) flush();
    if (used + extra <= capacity) return true;
    // Held text keeps what it has and grows by half at least; a flushed buffer only has to
    // take the one piece.
    long long wanted = static_cast<long long>(used) + extra + BufferStep;
    if (holding) wanted = std::max(wanted, static_cast<long long>(capacity) + capacity / 2);
    if (wanted > INT32_MAX - BufferSlack) {
        memoryFailed = true;
        return false;
    }
    const int newCapacity = static_cast<int>(wanted);
    char* grown = static_cast<char*>(MemoryHook::allocate(static_cast<size_t>(newCapacity) + BufferSlack));
    if (!grown) {
        memoryFailed = true;
        return false;
    }
    if (used > 0) std::memcpy(grown, buffer, static_cast<size_t>(used));
    MemoryHook::release(buffer);
    buffer = grown;
    capacity = newCapacity;
    return true;
}

void CMyWriter::holdText(std::vector<AttributeNote>* attributeNotes) {
    holding = true;
    notes = attributeNotes;
}

std::unique_ptr<CMyWriter> CMyWriter::heldTwin(std::vector<AttributeNote>* attributeNotes) const {
    auto twin = std::make_unique<CMyWriter>(file, separator, mode, lineEnding, false);
    // The constructor derives the file mode and byte kinds; this writer's own are copied over.
    twin->commaFile = commaFile;
    twin->mode = mode;
    twin->lineBreaksOnlyTab = lineBreaksOnlyTab;
    twin->columns = columns;
    twin->columnModes = columnModes;
    twin->emptyModes = emptyModes;
    twin->headerByColumn = headerByColumn;
    std::memcpy(twin->byteKinds, byteKinds, sizeof byteKinds);
    if (!twin->allocate()) return nullptr;
    twin->holdText(attributeNotes);
    return twin;
}

void CMyWriter::passNotes(const std::vector<AttributeNote>& notes, CMyColourFile& colour) {
    for (const AttributeNote& note : notes) {
        if (note.column < 0) colour.writeRowAttributes(note.row, note.records, note.length);
        else colour.writeCellAttributes(note.column, note.row, note.records, note.length);
    }
}

void CMyWriter::passAttributes(CMyColourFile* colour, int column, int row, const char* records,
                               int length) {
    if (notes) notes->push_back(AttributeNote{column, row, records, length});
    else if (column < 0) colour->writeRowAttributes(row, records, length);
    else colour->writeCellAttributes(column, row, records, length);
}

void CMyWriter::flush() {
    if (used == 0 || holding) return;
    file.writeText(std::string_view(buffer, static_cast<size_t>(used)));
    used = 0;
}

void CMyWriter::prefetchAhead(const CMyHyo& hyo, int row, int first, int last) {
    if ((row - first) % PrefetchGroup != 0) return;
    // The walk's first rows have no rows before them to ask for them.
    if (row == first)
        for (int from = first; from < first + PrefetchDistance && from <= last; from += PrefetchGroup)
            prefetchGroup(hyo, from, std::min(last, from + PrefetchGroup - 1));
    const int from = row + PrefetchDistance;
    prefetchGroup(hyo, from, std::min(last, from + PrefetchGroup - 1));
}

void CMyWriter::prefetchGroup(const CMyHyo& hyo, int from, int to) {
    const char* texts[PrefetchGroup];
    int lengths[PrefetchGroup];
    int count = 0;
    const char* previous = hyo.rowText(from - 1);
    // The first line of each row first, so that the pages of the whole group are sought
    // together; then the rest of the rows.
    for (int r = from; r <= to; ++r) {
        const char* text = hyo.rowText(r);
        if (text && !liesNear(text, previous)) {
            __builtin_prefetch(text);
            texts[count] = text;
            lengths[count++] = hyo.rowLength(r);
        }
        previous = text;
    }
    for (int i = 0; i < count; ++i) prefetchLines(texts[i], lengths[i]);
}

bool CMyWriter::appendBytes(const char* bytes, int length) {
    if (!reserve(length)) return false;
    std::memcpy(buffer + used, bytes, static_cast<size_t>(length));
    used += length;
    return true;
}

bool CMyWriter::appendLineEnd() {
    if (skipLineEnd) {
        skipLineEnd = false;
        return true;
    }
    static const char* const ends[] = {"\r\n", "\r", "\n"};
    const int kind = (lineEnding >= 0 && lineEnding <= 2) ? lineEnding : 0;
    if (!appendBytes(ends[kind], lineEndLength(kind))) return false;
    if (used >= FlushThreshold) flush();
    return true;
}

// Finds the end of the cell text starting at pos (the next TAB, attribute records stepped over
// as the store steps over them) and whether the text is plain: no byte that quoting could
// change (quote, line break, record, and comma in a comma file). Plain text is copied as is.
int CMyWriter::scanCell(const char* text, int length, int pos, bool& plain) const {
    const auto* p = reinterpret_cast<const unsigned char*>(text) + pos;
    const auto* end = reinterpret_cast<const unsigned char*>(text) + length;
    plain = true;
    while (p < end) {
        const unsigned char kind = byteKinds[*p];
        if (kind == ByteOrdinary) { ++p; continue; }
        if (kind == ByteTab) break;
        plain = false;
        p = (kind == ByteRecord) ? skipInlineRecord(p, end) : p + 1;
    }
    return static_cast<int>(p - reinterpret_cast<const unsigned char*>(text));
}

bool CMyWriter::appendPlain(const char* begin, const char* end, int cellMode) {
    const int length = static_cast<int>(end - begin);
    const bool enclose = cellMode == WriteAll || cellMode == WriteTextColumns;
    const int total = length + (enclose ? 2 : 0);
    if (used + total > capacity && !reserve(total)) return false;
    char* out = buffer + used;
    if (enclose) *out++ = '"';
    std::memcpy(out, begin, static_cast<size_t>(length));
    if (enclose) out[length] = '"';
    used += total;
    return true;
}

bool CMyWriter::appendCell(const char* begin, const char* end, int cellMode) {
    const int length = formatSpan(commaFile, cellMode, begin, end, nullptr, lineEnding);
    if (used + length > capacity && !reserve(length)) return false;
    formatSpan(commaFile, cellMode, begin, end, buffer + used, lineEnding);
    used += length;
    return true;
}

bool CMyWriter::writeHeaderLine(const CMyHyo& hyo) {
    const int count = headerColumnCount(hyo);
    for (int c = 0; c < count; ++c) {
        if (c > 0 && !appendBytes(&separator, 1)) return false;
        std::string title = hyo.columnTitle(c);
        if (title.empty()) title = std::to_string(c + 1);
        // Titles are stored up to the first control byte, so they cannot hold a TAB.
        const int cellMode = headerByColumn ? modeFor(hyo, c, false) : mode;
        if (!appendCell(title.data(), title.data() + title.size(), cellMode)) return false;
    }
    return appendLineEnd();
}

bool CMyWriter::writeRow(const CMyHyo& hyo, int row, CMyColourFile* colour, int colourRow) {
    CMyLine& rows = const_cast<CMyHyo&>(hyo).rowList();
    const char* text = rows.lineText(row);
    const int length = text ? rows.lineLength(row) : 0;
    int pos = text ? RowFormat::prefixEnd(text, length) : 0;
    if (takesAttributes(colour) && pos > 0) passAttributes(colour, -1, colourRow, text, pos);
    // A row without cell bytes has no cells; one with them has TABs + 1 cells.
    bool more = text && pos < length;

    for (int c = 0; c < columns || more; ++c) {
        // A row wider than widestRow claims still loses nothing: its cells that hold text
        // are written too.
        if (c >= columns && !hasTextAhead(text, length, pos)) {
            if (takesAttributes(colour)) writeRemainingAttributes(colour, c, colourRow, text, length, pos);
            break;
        }
        const char* begin = "";
        const char* end = begin;
        bool plain = true;
        if (more) {
            const int textStart = RowFormat::textStart(text, length, pos);
            if (takesAttributes(colour) && textStart > pos)
                passAttributes(colour, c, colourRow, text + pos, textStart - pos);
            const int cellEnd = scanCell(text, length, textStart, plain);
            begin = text + textStart;
            end = text + cellEnd;
            more = cellEnd < length;
            pos = cellEnd + 1;
        }
        if (c > 0 && !appendBytes(&separator, 1)) return false;
        const int cellMode = modeFor(hyo, c, begin == end);
        if (!(plain ? appendPlain(begin, end, cellMode) : appendCell(begin, end, cellMode))) return false;
    }
    return appendLineEnd();
}

int CMyWriter::modeFor(const CMyHyo& hyo, int column, bool empty) const {
    if (column < columns) return empty ? emptyModes[column] : columnModes[column];
    if (mode == WriteTextColumns && hyo.columnKind(column) == 1) return numericMode();
    return mode;
}

int CMyWriter::numericMode() const {
    // Numeric columns are quoted only where needed. A TAB file still in mode 2 is read with
    // full quote handling (see fileMode), where a bare quote would start a quoted field, so
    // there a quote encloses the cell.
    return commaFile ? WriteNeededBreaksOnly : WriteNeeded;
}

bool CMyWriter::hasTextAhead(const char* text, int length, int pos) {
    if (!text) return false;
    while (pos < length) {
        const int end = RowFormat::cellEnd(text, length, pos);
        if (RowFormat::textStart(text, end, pos) < end) return true;
        pos = end + 1;
    }
    return false;
}

void CMyWriter::writeRemainingAttributes(CMyColourFile* colour, int column, int colourRow,
                                         const char* text, int length, int pos) {
    if (!text) return;
    for (; pos < length; ++column) {
        const int end = RowFormat::cellEnd(text, length, pos);
        const int start = RowFormat::textStart(text, end, pos);
        if (start > pos) passAttributes(colour, column, colourRow, text + pos, start - pos);
        pos = end + 1;
    }
}
