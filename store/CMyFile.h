// CMyFile: data-file access, encoding recognition, chunked reading as Shift-JIS, encoded writing.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

// Everything above this class works on Shift-JIS (CP932) bytes. Reading hands out pieces of at
// most 1024 raw bytes, cut so that no character, doubled quote, CR LF or surrogate pair is split,
// converted to CP932. Writing converts CP932 text to the file's encoding.
//
// Writes are buffered. A write the system refuses sets errorFlag to 1; from then on writeText
// returns 0. close() flushes and returns -1 when any write (or the close) failed, so a writer
// that wrote to a temporary file can tell whether it may rename it over the old one.
class CMyFile {
public:
    // open modes
    static constexpr int ModeRead = 0;       // existing file, reading
    static constexpr int ModeWrite = 1;      // create or truncate, writing
    static constexpr int ModeReadWrite = 2;  // create or truncate, reading and writing

    static constexpr int ChunkSize = 1024;

    CMyFile();
    ~CMyFile();
    CMyFile(const CMyFile&) = delete;
    CMyFile& operator=(const CMyFile&) = delete;

    static constexpr int NotRegularFile = -3;

    // 0 opened; -1 the system refused (errorText "ファイルオープンに失敗しました。(%d)") or the
    // mode is unknown; -2 a file is already open (errorText "既に開かれています。"); -3 the path
    // to read is a FIFO, device, folder or socket (errorText "読込できないファイルです。").
    int open(const std::string& path, int mode, int encoding);
    // Flushes pending writes and closes; 0, or -1 when a write or the close failed.
    int close();
    bool isOpen() const { return handle != nullptr; }

    // Recognises the encoding from the byte-order mark or the first bytes. Returns 2 (mark of
    // another encoding adopted), 1 (mark matches), 0 (no mark, or one byte), -1 empty file,
    // -2 mark differs while no change is allowed (or the mark could not be read), -3 read
    // failure. Leaves the file at the first data byte.
    int detectEncoding(bool allowChange, int& encoding, bool& bomSeen);
    // Seeks to the first data byte: its offset (0, 2 or 3), -1 empty file, -2/-3 read errors.
    int rewindToData();
    // Next piece as NUL-terminated CP932 text; "" (length 0) at the end; nullptr on failure.
    const char* readChunk(int& length);

    // Converts CP932 text to the file's encoding and writes it: bytes written, 0 on failure.
    int writeText(std::string_view text);
    // Whether text in `encoding` is written as other bytes than its own (Unicode, or lent
    // codes in a Shift-JIS file); then encodeText makes them, on any thread.
    static bool changesText(int encoding);
    // The bytes of CP932 `text` in a file of `encoding`; returns the lent codes that became
    // "?" (a Shift-JIS file), 0 otherwise.
    static int encodeText(int encoding, std::string_view text, std::string& bytes);
    // Writes what encodeText made for this file, counting the characters it lost.
    int writeEncoded(std::string_view bytes, int lost);
    // FF FE (10), FE FF (11), EF BB BF (15), nothing otherwise: bytes written.
    int writeBom();
    // CR LF (0), CR (1) or LF (2), as two-byte units in UTF-16: bytes written.
    int writeLineEnd(int kind);

    // True when path is non-empty and there is no file-system entry for it.
    static bool fileMissing(const std::string& path);

    // Control bytes replaced while reading (NUL by a blank, others by "?").
    int replacedControls() const { return replacedCount; }
    // Of those, the NUL bytes (the blanks).
    int replacedNulls() const { return nullCount; }
    // Characters lost: while reading UTF-8 or UTF-16, what neither CP932 nor a lent code can
    // hold (written as "?"); while writing Shift-JIS, the lent codes written as "?".
    int unrepresentableCharacters() const { return lostCount; }

    int errorFlag = 0;          // 1 while opening or after a failed write; 0 after a good open
    std::string errorText;      // last error message (UTF-8)
    int textEncoding = 0;       // encoding code in use
    int dataStart = -1;         // offset of the first data byte after the mark; -1 unknown

private:
    int readRaw(char* into, int wanted);
    bool seekTo(long offset);
    bool flushWrites();
    int writeRaw(const char* bytes, std::size_t count);
    int cutPoint(int rawLength) const;
    int cutShiftJis(int rawLength) const;
    int cutUtf8(int rawLength) const;
    int cutUtf16(int rawLength) const;
    void replaceControls(char* text, int length);
    const char* convertChunk(int length, int& outLength);
    int scanContent();

    std::FILE* handle = nullptr;
    int openMode = ModeRead;
    bool emptyFile = false;
    int replacedCount = 0;
    int nullCount = 0;
    int lostCount = 0;

    // The raw piece being cut: 1024 bytes plus three NULs (aligned for UTF-16 units).
    alignas(4) char chunk[ChunkSize + 4];
    int carryCount = 0;
    char carry[ChunkSize];
    // Conversion buffers kept between calls.
    std::string convertBuffer;
    std::u16string wideBuffer;

    // Read-ahead so that 1024-byte pieces do not each cost a system call.
    std::string readBuffer;
    std::size_t readPos = 0;
    bool readEof = false;
    bool lastWasRead = false;
    // Pending output.
    std::string writeBuffer;
};
