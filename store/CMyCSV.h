// CMyCSV: parses a comma- or TAB-separated file, one record per call, into field texts.
#pragma once

#include "store/CMyFile.h"

#include <string>
#include <vector>

// One record as the open flow stores it.
struct RecordView {
    const char* row = nullptr;            // kept fields joined by TABs, NUL-terminated
    int length = 0;
    int count = 0;                        // fields of the record, kept or not
    int kept = 0;
    int cells = 0;                        // cellCount()
    bool lineBreak = false;               // a field holds a line break
    const unsigned char* forms = nullptr; // fieldForms(), `kept` of them
};

// Two parsers: the general one (every separator, full double-quote handling) and the TAB-only
// one in which quotes matter only around fields that hold line breaks. Input comes from CMyFile
// as CP932 pieces; the parser keeps unread bytes across pieces so that looking one byte ahead
// never depends on where a piece was cut.
class CMyCSV {
public:
    static constexpr int MaxFieldBytes = 5000;         // general parser, any field
    static constexpr int MaxQuotedTabField = 10000;    // TAB parser, a quoted field
    static constexpr int MaxKeptFields = 999;          // fields beyond are counted, not kept

    // readRecord results
    static constexpr int FieldTooLong = -20;
    static constexpr int TabInsideQuotes = -21;
    static constexpr int QuotedTooLongOrNoMemory = -9;
    static constexpr int ReadFailure = -99;
    static constexpr int MoreTextNeeded = -30;   // readFromText: the record runs past the text
    // NUL bytes a text handed to readFromText must have after its end.
    static constexpr std::size_t TextPadding = 64;

    CMyCSV();
    ~CMyCSV();
    CMyCSV(const CMyCSV&) = delete;
    CMyCSV& operator=(const CMyCSV&) = delete;

    // 0, or 1 with `message` (file not found / encoding differs / cannot be read), or 5 when the
    // field buffer cannot be had (after showing "メモリが足りません。(-070407)").
    int open(const std::string& path, int encoding, bool allowChange);
    // 1 comma, 0 TAB; also sets the separator. Leaves the input at the first data byte. The
    // first TAB or comma outside quotes decides (a TAB inside quotes decides for TAB), looking
    // through up to the first megabyte. With `tabName` (a file named *.tsv) a TAB outside
    // quotes anywhere in the first record decides for TAB, even after a comma.
    int detectSeparator(bool tabName = false);
    void setSeparator(char separator) { fieldSeparator = separator; }
    void setQuotesActive(bool on) { quotesActive = on; }
    void setStrictQuotes(bool on) { strictQuotes = on; }
    char separatorInUse() const { return fieldSeparator; }
    bool quotesInUse() const { return quotesActive; }
    bool strictQuotesInUse() const { return strictQuotes; }
    // Reads the rest of the file in another encoding (the colour file may say so).
    void setEncoding(int encoding) { file.textEncoding = encoding; }

    // Number of fields of the next record (0 at the end) or a negative code with `message`.
    int readRecord();
    // NUL-terminated text of a kept field of the last record ("" beyond them).
    const char* field(int index) const {
        return index < 0 || index >= keptFields() ? "" : fieldBuffer + fieldStart(index);
    }
    int fieldLength(int index) const {
        if (index < 0 || index >= keptFields()) return 0;
        return static_cast<int>(fieldEnds[index] - fieldStart(index));
    }
    int keptFields() const { return static_cast<int>(fieldEnds.size()); }
    // Bytes of text taken from the file so far (after decoding), for progress reports.
    long long fetchedBytes() const { return fetched; }
    // Bytes of the kept fields of the last record with their separators.
    int keptTextLength() const { return fieldEnds.empty() ? 0 : static_cast<int>(fieldEnds.back()); }
    // Turns the kept fields into one TAB-separated row in place and returns it; field() is not
    // valid afterwards (until the next record).
    const char* joinKeptFields(int& length);
    // Whether a field of the last record holds a line break.
    bool recordHasLineBreak() const { return lineBreakInRecord; }
    // Per kept field of the last record, its form in the file: 1 when it stood whole in
    // double quotes, plus 2 when it is empty (ColumnQuoting::noteRecord takes these).
    const unsigned char* fieldForms() const { return forms; }
    // Whether the last record read ended at the end of the file without a line break.
    bool endedWithoutLineBreak() const { return unterminatedEnd; }

    // Cells a row keeps of the last record: all kept fields when the last has text or the
    // record ends in a separator right after a field with text; else up to the last with text.
    int cellCount() const;
    // The last record (`count` its readRecord result) as a row: the kept fields are joined in
    // place (see joinKeptFields).
    RecordView takeRecord(int count);

    // Reading pieces of a file on several threads. readFromText reads records from `text`
    // (`length` bytes and TextPadding NUL bytes after them) instead of the file; `final` says
    // that it ends where the file ends. Otherwise a record that would look past its end stops
    // with MoreTextNeeded and is to be read again, from where it began, with more text.
    void readFromText(const char* text, std::size_t length, bool final);
    std::size_t textPosition() const { return cursor; }
    // Takes the separator and quote settings of `other`, with counts at zero. False when the
    // field buffer cannot be had.
    bool takeSettingsOf(const CMyCSV& other);
    // What the reading counted (records, line ends, replaced bytes, an end without a break):
    // a piece's counts are added to the whole file's.
    struct Counts {
        int records = 0, crlf = 0, cr = 0, lf = 0, tabs = 0, brokenLeads = 0;
        bool unterminated = false;
    };
    Counts counts() const;
    void setCounts(const Counts& counts);
    void addCounts(const Counts& piece);
    // Appends the file's next decoded text to `into` until it grew by `want` bytes or the file
    // ended (`ended`). False when the file cannot be read (message set).
    bool appendFileText(std::string& into, std::size_t want, bool& ended);
    // Starts the file again at its first data byte, every count at zero. False when it cannot.
    bool restart();

    int lineEndingKind() const;
    // What the reader replaced so that the store can hold the text, by kind.
    struct Replaced {
        int nulls = 0;          // NUL bytes, stored as blanks
        int controls = 0;       // other control bytes, stored as "?"
        int tabs = 0;           // TABs in a comma file's text, stored as blanks
        int brokenLeads = 0;    // lead bytes without their second byte, stored as "?"
    };
    Replaced replaced() const;
    int replacedControls() const { return file.replacedControls() + replacedTabs + brokenLeads; }
    int unrepresentableCharacters() const { return file.unrepresentableCharacters(); }
    void close();

    std::string message;          // last error message (UTF-8)
    int recordCount = 0;
    int detectedEncoding = 0;
    bool bomSeen = false;
    int crlfCount = 0;
    int crCount = 0;
    int lfCount = 0;

private:
    enum class Fetch { Ok, End, Failed, More };

    int readGeneral();
    int readTabRecord();
    // Makes `count` bytes from the cursor readable (NUL beyond the end of the file).
    Fetch ensureAhead(std::size_t count) {
        if (inputEnd - cursor >= count) return Fetch::Ok;
        return fillInput(count);
    }
    Fetch fillInput(std::size_t count);
    std::size_t fieldStart(int index) const { return index == 0 ? 0 : fieldEnds[index - 1] + 1; }
    bool allocateFieldBuffer();
    void buildByteClasses();
    bool appendBytes(const char* bytes, std::size_t count);
    bool growFieldBuffer(std::size_t need);
    bool copyCharacter();
    std::size_t skipPlain(std::size_t start) const;
    bool leadWithoutTrailBefore(std::size_t start, std::size_t at) const;
    bool copyRun(bool splitFields, bool& endedAfterSeparator);
    bool finishField();
    void skipLineEnd(bool count);
    int finishRecord();
    void unquoteField();
    // Where the TAB parser stands in the current field.
    struct TabField {
        bool atFieldStart = true;
        bool quoted = false;
        bool sawBreak = false;          // a line break inside the quotes
        std::size_t lengthAtBreak = 0;  // field length before that first break
        int breakKind = 0;              // 0 CR LF, 1 CR, 2 LF
    };
    // Where the general parser stands in the current field, for telling enclosed fields.
    enum FieldForm : unsigned char { FormStart, FormOpen, FormClosed, FormOther };
    int quotedGeneralByte(bool& quoted);
    int plainGeneralByte(bool& quoted);
    int plainTabByte(TabField& state);
    int quotedTabByte(TabField& state, std::size_t length);
    int quoteInTabField(TabField& state);
    int breakQuotedTabField(const TabField& state);
    int tooLargeQuoted();
    int outOfMemory();
    int readFailed();
    int fieldTooLong();
    void clearRecord();
    void beginInput();
    char scanForSeparator(bool tabName);

    CMyFile file;
    char fieldSeparator = ',';
    bool quotesActive = true;
    bool strictQuotes = false;
    // Bytes the store could not hold as they are: a TAB in a comma file's text (stored as a
    // blank) and a lead byte without its second byte (stored as "?").
    int replacedTabs = 0;
    int brokenLeads = 0;

    // Input window: unread CP932 bytes of the current and following pieces, NUL padded; it
    // lies in ownInput, or in the caller's text while reading from text.
    std::string ownInput;
    const char* input = nullptr;
    bool spanMode = false;
    std::size_t cursor = 0;
    std::size_t inputEnd = 0;
    long long fetched = 0;   // text handed over by the file so far
    bool inputEof = false;
    // Re-parse of a broken quoted TAB field: the input from `resumeAt` (just after the field's
    // first line break) is kept and read again as the start of the next record.
    bool resumePending = false;
    std::size_t resumeAt = 0;

    // The fields of the last record, each followed by a NUL, in one growing buffer.
    char* fieldBuffer = nullptr;
    std::size_t fieldCapacity = 0;
    std::size_t fieldUsed = 0;
    std::size_t currentFieldStart = 0;
    std::vector<std::size_t> fieldEnds;   // end (NUL position) of each kept field
    int lastFieldCount = 0;
    bool lineBreakInRecord = false;
    // Per kept field, its form (see fieldForms); set as each field ends.
    unsigned char forms[MaxKeptFields + 1] = {};
    FieldForm fieldForm = FormStart;
    bool enclosedPending = false;      // the TAB parser unquoted the field being finished
    bool unterminatedEnd = false;

    // Per byte: 0 ordinary text, 1 lead byte, 2 needs a decision (controls, quote, separator).
    unsigned char byteClass[256] = {};
    char classesFor = 0;
};
