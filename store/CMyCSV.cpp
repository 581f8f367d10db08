// CMyCSV: the general and the TAB-only delimited-text parsers over CMyFile's CP932 pieces.
#include "store/CMyCSV.h"

#include "platform/core/CodePage.h"
#include "platform/core/MemoryHook.h"
#include "platform/core/Prompt.h"
#include "platform/core/VectorState.h"

#include <algorithm>
#include <cstring>
#include <limits>

#if defined(__SSE2__) && defined(__GNUC__)
#define VEXIL_SCAN_SSE2 1
#include <emmintrin.h>
#endif

namespace {

constexpr std::size_t FieldBufferStep = 2048;
constexpr std::size_t FieldBufferSlack = 16;
constexpr int MessageExcerptBytes = 20;
constexpr std::size_t CopySlack = 32;
// A step of a parser that leaves the record open.
constexpr int KeepReading = 1 << 30;

const char* const NoMemoryText = "メモリが足りません。(-070407)";

// Copies a short run as one sixteen-byte move; both buffers keep CopySlack bytes of room past
// what they hold, so the bytes beyond the run are scratch that later writes replace.
inline void copyBytes(char* to, const char* from, std::size_t count) {
    if (count <= 16) std::memcpy(to, from, 16);
    else std::memcpy(to, from, count);
}

} // namespace

CMyCSV::CMyCSV() = default;

CMyCSV::~CMyCSV() { close(); }

void CMyCSV::close() {
    file.close();
    MemoryHook::release(fieldBuffer);
    fieldBuffer = nullptr;
    fieldCapacity = 0;
    fieldUsed = 0;
    // The last record's fields lived in the buffer just released.
    fieldEnds.clear();
    lastFieldCount = 0;
    ownInput = std::string();
    input = nullptr;
    spanMode = false;
    cursor = inputEnd = 0;
}

int CMyCSV::open(const std::string& path, int encoding, bool allowChange) {
    message.clear();
    // What the last file showed does not carry over to this one.
    recordCount = crlfCount = crCount = lfCount = replacedTabs = brokenLeads = 0;
    detectedEncoding = encoding;
    bomSeen = false;
    if (!allocateFieldBuffer()) {
        Prompt::messageBox(NoMemoryText, "注意", PromptButtons::Ok, PromptIcon::Warning);
        return 5;
    }
    int opened = file.open(path, CMyFile::ModeRead, encoding);
    if (opened == CMyFile::NotRegularFile) {
        message = "読込できないファイルです。";
        return 1;
    }
    if (opened != 0) {
        message = "ファイルが見つかりません。";
        return 1;
    }
    int status = file.detectEncoding(allowChange, detectedEncoding, bomSeen);
    if (status == -2) {
        message = "文字コードが異なります。";
        file.close();
        return 1;
    }
    if (status < -2) {
        message = "読込できないファイルです。";
        file.close();
        return 1;
    }
    beginInput();
    return 0;
}

void CMyCSV::beginInput() {
    if (ownInput.size() < 2 * CMyFile::ChunkSize) ownInput.assign(2 * CMyFile::ChunkSize, '\0');
    fieldEnds.reserve(MaxKeptFields + 1);
    std::memset(ownInput.data(), 0, 4);
    input = ownInput.data();
    spanMode = false;
    cursor = inputEnd = 0;
    inputEof = false;
    resumePending = false;
    resumeAt = 0;
    unterminatedEnd = false;
}

int CMyCSV::lineEndingKind() const {
    if (crlfCount > 0) return 0;
    if (crCount > 0 && lfCount > 0) return lfCount < crCount ? 1 : 2;
    if (crCount > 0) return 1;
    if (lfCount > 0) return 2;
    return 0;
}

CMyCSV::Replaced CMyCSV::replaced() const {
    Replaced counts;
    counts.nulls = file.replacedNulls();
    counts.controls = file.replacedControls() - counts.nulls;
    counts.tabs = replacedTabs;
    counts.brokenLeads = brokenLeads;
    return counts;
}

bool CMyCSV::allocateFieldBuffer() {
    if (fieldBuffer) return true;
    fieldBuffer = static_cast<char*>(MemoryHook::allocate(FieldBufferStep + FieldBufferSlack));
    if (!fieldBuffer) return false;
    fieldCapacity = FieldBufferStep;
    return true;
}

// ---- input window -----------------------------------------------------------------------

CMyCSV::Fetch CMyCSV::fillInput(std::size_t count) {
    if (spanMode) {
        // Text handed over whole: short of its end there is nothing more to fetch. A record
        // that would look past the end of a text that is not the file's last stops here.
        if (!inputEof) return Fetch::More;
        return cursor < inputEnd ? Fetch::Ok : Fetch::End;
    }
    while (inputEnd - cursor < count && !inputEof) {
        // Drop what was read, except the text a broken quoted field may have to read again.
        std::size_t keep = resumePending ? std::min(cursor, resumeAt) : cursor;
        if (keep > 0) {
            std::memmove(ownInput.data(), ownInput.data() + keep, inputEnd - keep);
            inputEnd -= keep;
            cursor -= keep;
            if (resumePending) resumeAt -= keep;
            std::memset(ownInput.data() + inputEnd, 0, 4);
        }
        int length = 0;
        const char* piece = file.readChunk(length);
        if (!piece) return Fetch::Failed;
        if (length == 0) {
            inputEof = true;
            break;
        }
        // Slack past the end lets short runs be copied sixteen bytes at a time.
        if (ownInput.size() < inputEnd + length + CopySlack)
            ownInput.resize((inputEnd + length + CopySlack) * 2);
        std::memcpy(ownInput.data() + inputEnd, piece, length);
        input = ownInput.data();
        inputEnd += length;
        fetched += length;
        std::memset(ownInput.data() + inputEnd, 0, 4);
    }
    return cursor < inputEnd ? Fetch::Ok : Fetch::End;
}

void CMyCSV::buildByteClasses() {
    for (int c = 0; c < 256; ++c) {
        unsigned char kind = 0;
        if (c < 0x20 || c == '"' || c == static_cast<unsigned char>(fieldSeparator)) kind = 2;
        else if (CodePage::isLeadByte(static_cast<unsigned char>(c))) kind = 1;
        byteClass[c] = kind;
    }
    classesFor = fieldSeparator;
}

// First position at or after `start` that needs a decision: a quote, a control byte, the
// separator, or a lead byte whose second byte would be one of those. The scan looks only for
// those bytes (sixteen at a time where SSE2 is there) and settles the one lead-byte question
// at the end: every other byte may follow a lead byte as its second byte.
std::size_t CMyCSV::skipPlain(std::size_t start) const {
    const auto* p = reinterpret_cast<const unsigned char*>(input);
    std::size_t i = start;
#ifdef VEXIL_SCAN_SSE2
    const __m128i below = _mm_set1_epi8(0x20);
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i separator = _mm_set1_epi8(fieldSeparator);
    for (; i + 16 <= inputEnd; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        // The signed compare also catches bytes from 0x80 up; their sign bits are taken out.
        unsigned low = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(v, below))) &
                       ~static_cast<unsigned>(_mm_movemask_epi8(v));
        unsigned same = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(v, quote), _mm_cmpeq_epi8(v, separator))));
        if ((low | same) != 0) {
            i += static_cast<std::size_t>(__builtin_ctz(low | same));
            return leadWithoutTrailBefore(start, i) ? i - 1 : i;
        }
    }
#endif
    while (byteClass[p[i]] != 2) ++i;   // stops at the NUL after the input at the latest
    return leadWithoutTrailBefore(start, i) ? i - 1 : i;
}

// Whether the byte before `at` is a lead byte (so the byte at `at` would be its second byte).
// `start` is a character boundary, and so is the position after any byte that cannot be a lead
// byte: counting the lead-valued bytes back from `at` tells by its parity.
bool CMyCSV::leadWithoutTrailBefore(std::size_t start, std::size_t at) const {
    const auto* p = reinterpret_cast<const unsigned char*>(input);
    std::size_t j = at;
    while (j > start && CodePage::isLeadByte(p[j - 1])) --j;
    return (at - j) % 2 == 1;
}

// Copies the text at the cursor that needs no decision straight into the field buffer. With
// `splitFields` (outside quotes) separators end fields on the way, unless the field grew too
// long (the caller reports it) or the fields kept are complete. Most of a file passes here.
bool CMyCSV::copyRun(bool splitFields, bool& endedAfterSeparator) {
    // Room is made for each run as it is found: a text handed over whole may be far longer
    // than any field.
    auto roomFor = [this](std::size_t count) {
        std::size_t room = fieldUsed + count + CopySlack;
        return room <= fieldCapacity || growFieldBuffer(room);
    };
    const char* p = input;
    std::size_t start = cursor;
    std::size_t i = skipPlain(start);
    endedAfterSeparator = false;
    while (splitFields && i < inputEnd && p[i] == fieldSeparator && lastFieldCount < MaxKeptFields &&
           (fieldUsed - currentFieldStart) + (i - start) <= static_cast<std::size_t>(MaxFieldBytes)) {
        if (!roomFor(i - start)) return false;
        copyBytes(fieldBuffer + fieldUsed, p + start, i - start);
        fieldUsed += i - start;
        // Only the first field here can have been enclosed: its closing quote came just before.
        forms[fieldEnds.size()] = static_cast<unsigned char>(
            (i == start && fieldForm == FormClosed) + (fieldUsed == currentFieldStart ? 2 : 0));
        fieldBuffer[fieldUsed] = '\0';
        fieldEnds.push_back(fieldUsed++);
        ++lastFieldCount;
        currentFieldStart = fieldUsed;
        fieldForm = FormStart;
        start = i + 1;
        endedAfterSeparator = true;
        i = skipPlain(start);
        if (i != start) endedAfterSeparator = false;
    }
    if (!roomFor(i - start)) return false;
    copyBytes(fieldBuffer + fieldUsed, p + start, i - start);
    fieldUsed += i - start;
    if (i != start) {
        endedAfterSeparator = false;
        if (splitFields) fieldForm = FormOther;   // text outside quotes
    }
    cursor = i;
    return true;
}

const char* CMyCSV::joinKeptFields(int& length) {
    length = keptTextLength();
    for (std::size_t i = 0; i + 1 < fieldEnds.size(); ++i) fieldBuffer[fieldEnds[i]] = '\t';
    return fieldBuffer;
}

// ---- field buffer -----------------------------------------------------------------------

bool CMyCSV::growFieldBuffer(std::size_t need) {
    std::size_t capacity = fieldCapacity;
    while (capacity < need) capacity += std::max(FieldBufferStep, capacity / 2);
    void* grown = MemoryHook::reallocate(fieldBuffer, fieldCapacity + FieldBufferSlack,
                                         capacity + FieldBufferSlack);
    if (!grown) return false;
    fieldBuffer = static_cast<char*>(grown);
    fieldCapacity = capacity;
    return true;
}

bool CMyCSV::appendBytes(const char* bytes, std::size_t count) {
    if (fieldUsed + count + 1 > fieldCapacity && !growFieldBuffer(fieldUsed + count + 1))
        return false;
    std::memcpy(fieldBuffer + fieldUsed, bytes, count);
    fieldUsed += count;
    return true;
}

// A double-byte character whole. A lead byte followed by a byte that means something here (a
// control byte, a quote, the separator, the end) has lost its second byte: it becomes "?", so
// that no scan over the stored row can step over the TAB, line break or NUL after it.
bool CMyCSV::copyCharacter() {
    const char* p = input + cursor;
    if (byteClass[static_cast<unsigned char>(p[1])] != 2) {
        cursor += 2;
        return appendBytes(p, 2);
    }
    ++cursor;
    ++brokenLeads;
    return appendBytes("?", 1);
}

bool CMyCSV::finishField() {
    if (lastFieldCount < MaxKeptFields) {
        forms[fieldEnds.size()] = static_cast<unsigned char>(
            (fieldForm == FormClosed || enclosedPending) + (fieldUsed == currentFieldStart ? 2 : 0));
        if (!appendBytes("", 1)) return false;
        fieldEnds.push_back(fieldUsed - 1);
    } else {
        fieldUsed = currentFieldStart;   // counted, not kept
    }
    currentFieldStart = fieldUsed;
    fieldForm = FormStart;
    enclosedPending = false;
    // Fields beyond those kept are only counted; a line of billions of separators stops there.
    if (lastFieldCount < std::numeric_limits<int>::max()) ++lastFieldCount;
    return true;
}

void CMyCSV::skipLineEnd(bool count) {
    if (input[cursor] == '\r' && input[cursor + 1] == '\n') {
        cursor += 2;
        if (count) ++crlfCount;
    } else {
        if (count) ++(input[cursor] == '\r' ? crCount : lfCount);
        ++cursor;
    }
}

void CMyCSV::clearRecord() {
    if (!message.empty()) message.clear();
    lineBreakInRecord = false;
    fieldForm = FormStart;
    enclosedPending = false;
    lastFieldCount = 0;
    fieldUsed = 0;
    currentFieldStart = 0;
    fieldEnds.clear();
}

int CMyCSV::finishRecord() {
    if (lastFieldCount > 0) ++recordCount;
    return lastFieldCount;
}

int CMyCSV::outOfMemory() {
    message = NoMemoryText;
    return QuotedTooLongOrNoMemory;
}

int CMyCSV::fieldTooLong() {
    message = "セル内の文字数が最大数を超えるため読み込みを中断しました。";
    return FieldTooLong;
}

int CMyCSV::readFailed() {
    message = "ファイルの読込に失敗しました。";
    return ReadFailure;
}

// ---- parsers ----------------------------------------------------------------------------

int CMyCSV::readRecord() {
    // The window's code between two records may have left the AVX state dirty.
    VectorState::clearUpperHalves();
    clearRecord();
    if ((!file.isOpen() && !spanMode) || !fieldBuffer) return 0;
    if (classesFor != fieldSeparator) buildByteClasses();
    if (fieldSeparator == '\t' && !strictQuotes) return readTabRecord();
    return readGeneral();
}

int CMyCSV::readGeneral() {
    bool quoted = false;
    for (;;) {
        if (fieldUsed - currentFieldStart > static_cast<std::size_t>(MaxFieldBytes))
            return fieldTooLong();
        Fetch fetched = ensureAhead(2);
        if (fetched == Fetch::Failed) return readFailed();
        if (fetched == Fetch::More) return MoreTextNeeded;
        if (fetched == Fetch::End) {
            if (lastFieldCount > 0 || fieldUsed > currentFieldStart) unterminatedEnd = true;
            if (fieldUsed > currentFieldStart && !finishField()) return outOfMemory();
            break;
        }
        std::size_t before = cursor;
        bool afterSeparator = false;
        if (!copyRun(!quoted, afterSeparator)) return outOfMemory();
        if (cursor != before) continue;
        int result;
        if (CodePage::isLeadByte(static_cast<unsigned char>(input[cursor]))) {
            if (!quoted) fieldForm = FormOther;
            result = copyCharacter() ? KeepReading : outOfMemory();
        } else if (quoted)
            result = quotedGeneralByte(quoted);
        else
            result = plainGeneralByte(quoted);
        if (result != KeepReading) return result;
    }
    return finishRecord();
}

// Inside quotes: a doubled quote is one quote, a single one ends the quotes, a line break is
// kept as CR LF, and a TAB stops reading.
int CMyCSV::quotedGeneralByte(bool& quoted) {
    char c = input[cursor];
    if (c == '"') {
        if (input[cursor + 1] != '"') {
            quoted = false;
            if (fieldForm == FormOpen) fieldForm = FormClosed;
            ++cursor;
            return KeepReading;
        }
        cursor += 2;
        return appendBytes("\"", 1) ? KeepReading : outOfMemory();
    }
    if (c == '\r' || c == '\n') {
        skipLineEnd(false);
        lineBreakInRecord = true;
        return appendBytes("\r\n", 2) ? KeepReading : outOfMemory();
    }
    if (c == '\t') {
        // In a TAB file this calls for the TAB parser. A comma file from other programs may
        // hold TABs in quoted text: the cell cannot, so the TAB becomes a blank.
        if (fieldSeparator == '\t') {
            message = "ダブルコーテーションの囲み内にTAB文字が発生したので処理を中断しました。";
            return TabInsideQuotes;
        }
        ++cursor;
        ++replacedTabs;
        return appendBytes(" ", 1) ? KeepReading : outOfMemory();
    }
    ++cursor;
    return appendBytes(&c, 1) ? KeepReading : outOfMemory();
}

// Outside quotes: a quote opens them, the separator ends the field, a line break the record.
int CMyCSV::plainGeneralByte(bool& quoted) {
    char c = input[cursor];
    ++cursor;
    if (c == '"' && quotesActive) {
        quoted = true;
        // Enclosed is a field that opens with the quote and ends with the closing one.
        fieldForm = fieldForm == FormStart ? FormOpen : FormOther;
        return KeepReading;
    }
    if (c == fieldSeparator) return finishField() ? KeepReading : outOfMemory();
    if (c == '\r' || c == '\n') {
        --cursor;
        if (!finishField()) return outOfMemory();
        skipLineEnd(true);
        return finishRecord();
    }
    if (c == '\t') {
        // A cell cannot hold a TAB: it would split the row into one cell more.
        ++replacedTabs;
        c = ' ';
    }
    fieldForm = FormOther;
    return appendBytes(&c, 1) ? KeepReading : outOfMemory();
}

int CMyCSV::readTabRecord() {
    TabField state;
    for (;;) {
        std::size_t n = fieldUsed - currentFieldStart;
        if (state.quoted && n > static_cast<std::size_t>(MaxQuotedTabField))
            return state.sawBreak ? breakQuotedTabField(state) : tooLargeQuoted();
        if (!state.quoted && n > static_cast<std::size_t>(MaxFieldBytes)) return fieldTooLong();
        Fetch fetched = ensureAhead(2);
        if (fetched == Fetch::Failed) return readFailed();
        if (fetched == Fetch::More) return MoreTextNeeded;
        if (fetched == Fetch::End) {
            if (state.quoted && state.sawBreak) return breakQuotedTabField(state);
            if (lastFieldCount > 0 || n > 0) unterminatedEnd = true;
            if (n > 0 && !finishField()) return outOfMemory();
            break;
        }
        char c = input[cursor];
        if (state.atFieldStart && c == '"' && quotesActive) {
            state.quoted = true;
            state.atFieldStart = false;
            ++cursor;
            if (!appendBytes("\"", 1)) return outOfMemory();
            continue;
        }
        state.atFieldStart = false;
        std::size_t before = cursor;
        bool afterSeparator = false;
        if (!copyRun(!state.quoted, afterSeparator)) return outOfMemory();
        if (cursor != before) {
            state.atFieldStart = afterSeparator;
            continue;
        }
        int result;
        if (CodePage::isLeadByte(static_cast<unsigned char>(c)))
            result = copyCharacter() ? KeepReading : outOfMemory();
        else if (state.quoted)
            result = quotedTabByte(state, n);
        else
            result = plainTabByte(state);
        if (result != KeepReading) return result;
    }
    return finishRecord();
}

// Outside quotes: TAB ends the field, a line break the record; anything else is text.
int CMyCSV::plainTabByte(TabField& state) {
    char c = input[cursor];
    if (c == '\t') {
        ++cursor;
        state.atFieldStart = true;
        return finishField() ? KeepReading : outOfMemory();
    }
    if (c == '\r' || c == '\n') {
        if (!finishField()) return outOfMemory();
        skipLineEnd(true);
        return finishRecord();
    }
    ++cursor;
    return appendBytes(&c, 1) ? KeepReading : outOfMemory();
}

// Inside quotes: quotes, TABs and line breaks decide whether the field is properly quoted.
int CMyCSV::quotedTabByte(TabField& state, std::size_t length) {
    char c = input[cursor];
    if (c == '"') return quoteInTabField(state);
    if (c == '\t') {
        if (state.sawBreak) return breakQuotedTabField(state);
        state.quoted = false;   // the TAB then ends the field as usual
        return KeepReading;
    }
    if (c == '\r' || c == '\n') {
        if (!state.sawBreak) {
            state.sawBreak = true;
            state.lengthAtBreak = length;
            state.breakKind = c == '\n' ? 2 : input[cursor + 1] == '\n' ? 0 : 1;
        }
        skipLineEnd(false);
        lineBreakInRecord = true;
        if (!resumePending) {
            resumePending = true;
            resumeAt = cursor;
        }
        return appendBytes("\r\n", 2) ? KeepReading : outOfMemory();
    }
    ++cursor;
    return appendBytes(&c, 1) ? KeepReading : outOfMemory();
}

int CMyCSV::quoteInTabField(TabField& state) {
    char next = input[cursor + 1];
    bool atEnd = cursor + 1 >= inputEnd;
    if (next == '"' && !atEnd) {
        cursor += 2;
        return appendBytes("\"\"", 2) ? KeepReading : outOfMemory();
    }
    if (next == '\t' || next == '\r' || next == '\n' || atEnd) {
        // The closing quote. A quoted field at the very end of a file without a final line
        // break is closed as well.
        ++cursor;
        bool ok = true;
        if (state.sawBreak) {
            unquoteField();
            enclosedPending = true;
        } else {
            ok = appendBytes("\"", 1);
        }
        state.quoted = false;
        resumePending = false;
        if (!ok || !finishField()) return outOfMemory();
        if (atEnd) return KeepReading;
        if (next == '\t') {
            ++cursor;
            state.atFieldStart = true;
            state.sawBreak = false;
            return KeepReading;
        }
        skipLineEnd(false);
        return finishRecord();
    }
    if (state.sawBreak) return breakQuotedTabField(state);
    ++cursor;
    state.quoted = false;
    return appendBytes("\"", 1) ? KeepReading : outOfMemory();
}

// Drops the opening quote and the closing one (already consumed) and collapses doubled quotes.
void CMyCSV::unquoteField() {
    char* start = fieldBuffer + currentFieldStart;
    char* end = fieldBuffer + fieldUsed;
    char* out = start;
    for (char* p = start + 1; p < end; ++p) {
        if (CodePage::isLeadByte(static_cast<unsigned char>(*p)) && p + 1 < end) {
            *out++ = *p++;
            *out++ = *p;
            continue;
        }
        *out++ = *p;
        if (*p == '"' && p + 1 < end && p[1] == '"') ++p;
    }
    fieldUsed = static_cast<std::size_t>(out - fieldBuffer);
}

// The quote did not close the field properly: the field ends at its first line break and the
// text after that break is read again as the next record.
int CMyCSV::breakQuotedTabField(const TabField& state) {
    fieldUsed = currentFieldStart + state.lengthAtBreak;
    if (!finishField()) return outOfMemory();
    ++(state.breakKind == 0 ? crlfCount : state.breakKind == 1 ? crCount : lfCount);
    cursor = resumeAt;
    resumePending = false;
    return finishRecord();
}

int CMyCSV::tooLargeQuoted() {
    const char* text = fieldBuffer + currentFieldStart;
    int take = 0;
    while (take < MessageExcerptBytes) {
        int step = CodePage::isLeadByte(static_cast<unsigned char>(text[take])) ? 2 : 1;
        if (take + step > MessageExcerptBytes) break;
        take += step;
    }
    message = "セル内のデータが大きすぎます。(" + CodePage::toUtf8(std::string_view(text, take)) +
              "・・・)";
    return QuotedTooLongOrNoMemory;
}
