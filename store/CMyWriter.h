// CMyWriter: turns table rows into delimited text (quoting by mode) and streams them to a CMyFile.
#pragma once

#include <memory>
#include <string>
#include <vector>

class CMyFile;
class CMyHyo;
class ColumnQuoting;
class CMyColourFile;

// Writer modes. DBLKIND 1, 2 and 3 map to themselves; DBLKIND 0 becomes 0 when quoting for
// line breaks only (F_DBL_RETONLY) is on and 4 when it is off.
enum WriterMode {
    WriteNeededBreaksOnly = 0,
    WriteAll = 1,
    WriteTextColumns = 2,
    WriteNever = 3,
    WriteNeeded = 4,
};

class CMyWriter {
public:
    CMyWriter(CMyFile& file, char separator, int mode, int lineEnding, bool lineBreakOnly);
    ~CMyWriter();
    CMyWriter(const CMyWriter&) = delete;
    CMyWriter& operator=(const CMyWriter&) = delete;

    static int writerMode(int dblKind, bool lineBreakOnly);
    // The mode a file with this separator is written in: modes 1 and 2 become 0 in a TAB file
    // with quoting for line breaks only, so that it reads back unchanged.
    static int fileMode(char separator, int mode, bool lineBreakOnly);
    // Formats one cell (its text up to TAB or NUL) into out, or only measures it when out is
    // null. Returns the byte length of what is (or would be) written, quotes included.
    static int formatCell(bool commaFile, int mode, const char* text, char* out, int lineEnding);
    // The same for the cell bytes [begin, end) of a row (attribute records are skipped).
    static int formatSpan(bool commaFile, int mode, const char* begin, const char* end, char* out,
                          int lineEnding);
    // First cell holding CR or LF, as 0-based store row and column; false when there is none.
    static bool findLineBreak(const CMyHyo& hyo, int& row, int& column);

    // The line buffer; false when it cannot be had.
    bool allocate();
    // Fields per line: widestRow, raised to the header line's count when it is written.
    static int columnCount(const CMyHyo& hyo, bool withHeader);
    static int headerColumnCount(const CMyHyo& hyo);
    // Prepares the per-column modes (text or numeric) for lines of `count` fields.
    void setColumns(const CMyHyo& hyo, int count);
    // After setColumns: each column known from the file encloses its cells (non-empty and
    // empty ones apart) as the file did; the others, and every cell that needs it, follow the
    // writer's mode. The header line then follows the columns too.
    void keepColumnForms(const ColumnQuoting& forms);
    // The next line is written without its line end (the file's last line had none).
    void omitNextLineEnd() { skipLineEnd = true; }

    // Each returns false when the line buffer could not grow (nothing more can be written).
    bool writeHeaderLine(const CMyHyo& hyo);
    // A stored row (filter off); its attribute records go to `colour` when given.
    bool writeRow(const CMyHyo& hyo, int row, CMyColourFile* colour, int colourRow);
    // Hands what is buffered to the file.
    void flush();

    // Called at each row of a walk over the view rows [first, last], before that row is
    // written: every few rows it asks for the texts of a group of rows further on, so that
    // rows scattered over the store by a sort are in the cache by their turn.
    static void prefetchAhead(const CMyHyo& hyo, int row, int first, int last);

    bool outOfMemory() const { return memoryFailed; }

    // A row's attribute records met while the text is held (column -1: the row's own); they
    // point into the row's text and go to the colour file in row order later.
    struct AttributeNote {
        int column;
        int row;
        const char* records;
        int length;
    };
    // From here on the text gathers in the buffer and never reaches the file, and attribute
    // records go to `notes` instead of a colour file: the writer formats a piece of a save
    // on another thread. `notes` may be null when there is no colour file.
    void holdText(std::vector<AttributeNote>* notes);
    const char* heldText() const { return buffer; }
    int heldLength() const { return used; }
    void clearHeld() { used = 0; }
    // A writer of the same file, separator, mode, line end and columns (kept forms too) that
    // holds its text from the start; null when its buffer cannot be had.
    std::unique_ptr<CMyWriter> heldTwin(std::vector<AttributeNote>* notes) const;
    // Hands noted records to the colour file in the order they were met.
    static void passNotes(const std::vector<AttributeNote>& notes, CMyColourFile& colour);

private:
    static void prefetchGroup(const CMyHyo& hyo, int from, int to);
    bool appendCell(const char* begin, const char* end, int mode);
    bool appendPlain(const char* begin, const char* end, int mode);
    int scanCell(const char* text, int length, int pos, bool& plain) const;
    bool appendBytes(const char* bytes, int length);
    bool appendLineEnd();
    // Room for `extra` more bytes: the common case inline, growing (or flushing) apart.
    bool reserve(int extra) { return used + extra <= capacity || makeRoom(extra); }
    bool makeRoom(int extra);
    int modeFor(const CMyHyo& hyo, int column, bool empty) const;
    int numericMode() const;
    static bool hasTextAhead(const char* text, int length, int pos);
    bool takesAttributes(const CMyColourFile* colour) const { return colour || notes; }
    void passAttributes(CMyColourFile* colour, int column, int row, const char* records, int length);
    void writeRemainingAttributes(CMyColourFile* colour, int column, int colourRow,
                                  const char* text, int length, int pos);

    CMyFile& file;
    bool commaFile;
    char separator;
    int mode;
    int lineEnding;
    int columns = 0;
    std::vector<unsigned char> columnModes;
    std::vector<unsigned char> emptyModes;   // the same for empty cells
    bool lineBreaksOnlyTab;                  // a TAB file quoting line breaks only
    bool headerByColumn = false;
    bool skipLineEnd = false;
    enum ByteKind : unsigned char { ByteOrdinary, ByteTab, ByteRecord, ByteSpecial };
    unsigned char byteKinds[256];

    char* buffer = nullptr;
    int capacity = 0;
    int used = 0;
    bool memoryFailed = false;
    bool holding = false;
    std::vector<AttributeNote>* notes = nullptr;
};
