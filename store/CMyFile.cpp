// CMyFile: buffered file access, encoding recognition, the cut walks and conversion.
#include "store/CMyFile.h"

#include "platform/core/CodePage.h"
#include "platform/core/GivenCodes.h"
#include "platform/core/FileHook.h"
#include "store/EncodingScan.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

#ifdef _WIN32
#include <share.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr std::size_t ReadAhead = 64 * 1024;
constexpr std::size_t WriteFlushAt = 64 * 1024;
// The cut walks stop at the first position at or beyond these offsets.
constexpr int CutFrom = 1018;
constexpr int CutFromUtf16 = 1014;
// A file whose first bytes are plain ASCII is scanned on up to this size for a decision.
constexpr int WideScanLimit = 1024 * 1024;
constexpr int ScanSize = 1000;

bool isUtf16Encoding(int encoding) { return encoding == 10 || encoding == 11; }

#ifndef _WIN32
// Opening a FIFO for reading waits for a writer, and a device may never end: the path is
// opened without waiting and refused (errno ENOTSUP) unless it is a regular file.
std::FILE* openRegularForReading(const std::string& path) {
    int fd = FileHook::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        FileHook::close(fd);
        errno = ENOTSUP;
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* stream = ::fdopen(fd, "rb");
    if (!stream) FileHook::close(fd);
    return stream;
}
#endif

} // namespace

CMyFile::CMyFile() { std::memset(chunk, 0, sizeof chunk); }

CMyFile::~CMyFile() { close(); }

int CMyFile::open(const std::string& path, int mode, int encoding) {
    if (isOpen()) {
        errorText = "既に開かれています。";
        return -2;
    }
    errorFlag = 1;
    static const char* const modes[] = {"rb", "wb", "w+b"};
    if (mode < ModeRead || mode > ModeReadWrite) return -1;
    errno = 0;
    std::FILE* opened = nullptr;
    if (path.find('\0') != std::string::npos) {
        // The system would see only the part before the zero byte: another file than named.
        errno = ENOENT;
    } else {
#ifdef _WIN32
        // Nobody else may have the file while it is read or written.
        opened = _fsopen(path.c_str(), modes[mode], _SH_DENYRW);
#else
        opened = mode == ModeRead ? openRegularForReading(path) : FileHook::fopen(path.c_str(), modes[mode]);
#endif
    }
    if (!opened && errno == ENOTSUP) {
        errorText = "読込できないファイルです。";
        return NotRegularFile;
    }
    if (!opened) {
        char text[96];
        std::snprintf(text, sizeof text, "ファイルオープンに失敗しました。(%d)", errno);
        errorText = text;
        return -1;
    }
    // This class buffers by itself; the stream only carries the reads and writes.
    std::setvbuf(opened, nullptr, _IONBF, 0);
    handle = opened;
    openMode = mode;
    textEncoding = encoding;
    dataStart = -1;
    emptyFile = false;
    replacedCount = 0;
    nullCount = 0;
    lostCount = 0;
    carryCount = 0;
    readPos = 0;
    readBuffer.clear();
    readEof = false;
    lastWasRead = false;
    writeBuffer.clear();
    errorFlag = 0;
    return 0;
}

int CMyFile::close() {
    int status = 0;
    if (isOpen()) {
        if (errorFlag != 0 || !flushWrites()) status = -1;
        if (FileHook::fclose(handle) != 0 && openMode != ModeRead) status = -1;
        handle = nullptr;
    }
    if (status != 0) errorFlag = 1;
    convertBuffer = std::string();
    wideBuffer = std::u16string();
    readBuffer = std::string();
    writeBuffer = std::string();
    readPos = 0;
    carryCount = 0;
    return status;
}

bool CMyFile::fileMissing(const std::string& path) {
    if (path.empty()) return false;
    if (path.find('\0') != std::string::npos) return true;   // no entry can have that name
    std::error_code ec;
    return std::filesystem::symlink_status(path, ec).type() == std::filesystem::file_type::not_found;
}

// ---- raw reading ------------------------------------------------------------------------

int CMyFile::readRaw(char* into, int wanted) {
    if (!flushWrites()) return -1;
    int got = 0;
    while (got < wanted) {
        if (readPos < readBuffer.size()) {
            std::size_t take = std::min<std::size_t>(readBuffer.size() - readPos, wanted - got);
            std::memcpy(into + got, readBuffer.data() + readPos, take);
            readPos += take;
            got += static_cast<int>(take);
            continue;
        }
        if (readEof) break;
        readBuffer.resize(ReadAhead);
        lastWasRead = true;
        std::size_t n = std::fread(readBuffer.data(), 1, ReadAhead, handle);
        if (std::ferror(handle)) {
            readBuffer.clear();
            readPos = 0;
            return -1;
        }
        readBuffer.resize(n);
        readPos = 0;
        if (n < ReadAhead) readEof = true;
    }
    return got;
}

bool CMyFile::seekTo(long offset) {
    if (!flushWrites()) return false;
    readBuffer.clear();
    readPos = 0;
    readEof = false;
    carryCount = 0;
    std::clearerr(handle);
    return std::fseek(handle, offset, SEEK_SET) == 0;
}

// ---- encoding recognition ---------------------------------------------------------------

int CMyFile::detectEncoding(bool allowChange, int& encoding, bool& bomSeen) {
    bomSeen = false;
    encoding = textEncoding;
    if (!isOpen() || !seekTo(0)) return -3;
    unsigned char head[3] = {0, 0, 0};
    int got = readRaw(reinterpret_cast<char*>(head), 2);
    if (got < 0) return -3;
    if (got == 0) {
        dataStart = 0;
        emptyFile = true;
        return -1;
    }
    int markCode = -1;
    dataStart = 0;
    if (got == 2 && head[0] == 0xFE && head[1] == 0xFF) {
        markCode = 11;
        dataStart = 2;
    } else if (got == 2 && head[0] == 0xFF && head[1] == 0xFE) {
        markCode = 10;
        dataStart = 2;
    } else if (got == 2 && head[0] == 0xEF && head[1] == 0xBB) {
        int third = readRaw(reinterpret_cast<char*>(head + 2), 1);
        if (third < 0) return -2;
        if (third == 1 && head[2] == 0xBF) {
            markCode = 15;
            dataStart = 3;
        }
    }
    if (markCode >= 0) {
        bomSeen = true;
        if (!seekTo(dataStart)) return -3;
        if (markCode == textEncoding) return 1;
        if (!allowChange) return -2;
        textEncoding = encoding = markCode;
        return 2;
    }
    if (got == 1 || !allowChange) {
        if (!seekTo(0)) return -3;
        return 0;
    }
    int result = scanContent();
    if (result < -1) return result;
    textEncoding = encoding = result;
    return seekTo(dataStart) ? 0 : -3;
}

// Reads the first 1000 bytes and decides. When they tell nothing apart (plain ASCII, or text
// that reads well both as UTF-8 and as Shift-JIS) the scan goes on over the first megabyte: a
// UTF-8 file may begin with a long ASCII header and would otherwise be shown as garbled
// Shift-JIS.
int CMyFile::scanContent() {
    if (!seekTo(0)) return -3;
    std::string bytes(ScanSize, '\0');
    int got = readRaw(bytes.data(), ScanSize);
    if (got < 0) return -3;
    auto scan = [&bytes](int count, bool complete) {
        return EncodingScan::classify(reinterpret_cast<const unsigned char*>(bytes.data()), count,
                                      complete);
    };
    EncodingScan::Result result = scan(got, got < ScanSize);
    if (result.decided || got < ScanSize) return result.encoding;
    // Read on in read-ahead sized steps, so that a small file costs no megabyte of buffer.
    bool complete = false;
    while (got < WideScanLimit) {
        int step = std::min<int>(static_cast<int>(ReadAhead), WideScanLimit - got);
        bytes.resize(got + step);
        int more = readRaw(bytes.data() + got, step);
        if (more < 0) return -3;
        got += more;
        if (more < step) {
            complete = true;
            break;
        }
    }
    return scan(got, complete).encoding;
}

// Reading starts again from the first data byte, and so do the counts of what it replaced.
int CMyFile::rewindToData() {
    if (!isOpen()) return -3;
    replacedCount = 0;
    nullCount = 0;
    lostCount = 0;
    if (dataStart < 0) {
        int encoding;
        bool bom;
        int status = detectEncoding(false, encoding, bom);
        if (status == -1) return -1;
        if (status < -1) return status;
    }
    if (!seekTo(dataStart)) return -3;
    return emptyFile ? -1 : dataStart;
}

// ---- chunked reading --------------------------------------------------------------------

const char* CMyFile::readChunk(int& length) {
    length = 0;
    if (!isOpen()) return nullptr;
    std::memcpy(chunk, carry, carryCount);
    int got = readRaw(chunk + carryCount, ChunkSize - carryCount);
    if (got < 0) return nullptr;
    int raw = carryCount + got;
    carryCount = 0;
    std::memset(chunk + raw, 0, 4);
    if (raw == ChunkSize) {
        int cut = cutPoint(raw);
        carryCount = raw - cut;
        std::memcpy(carry, chunk + cut, carryCount);
        std::memset(chunk + cut, 0, 4);
        raw = cut;
    }
    return convertChunk(raw, length);
}

const char* CMyFile::convertChunk(int raw, int& length) {
    if (isUtf16Encoding(textEncoding)) {
        lostCount += CodePage::utf16BytesToCp932(std::string_view(chunk, raw), textEncoding == 11,
                                                 convertBuffer);
        // Control characters would be taken for the store's own marks; treat them as in the
        // byte encodings.
        replaceControls(convertBuffer.data(), static_cast<int>(convertBuffer.size()));
    } else if (textEncoding == 15) {
        replaceControls(chunk, raw);
        lostCount += CodePage::utf8ToCp932(std::string_view(chunk, raw), convertBuffer);
    } else {
        replaceControls(chunk, raw);
        // The file's own user-defined characters are never lent to others.
        GivenCodes::keepNativeIn(std::string_view(chunk, raw));
        length = raw;
        return chunk;
    }
    length = static_cast<int>(convertBuffer.size());
    return convertBuffer.c_str();
}

void CMyFile::replaceControls(char* text, int length) {
    int i = 0;
    while (i < length) {
        // Eight bytes at once while none of them is below 0x20 (the usual case).
        if (i + 8 <= length) {
            std::uint64_t word;
            std::memcpy(&word, text + i, 8);
            if (((word - 0x2020202020202020ULL) & ~word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        for (int end = std::min(i + 8, length); i < end; ++i) {
            unsigned char c = static_cast<unsigned char>(text[i]);
            if (c >= 0x20 || c == '\t' || c == '\r' || c == '\n') continue;
            text[i] = c == 0 ? ' ' : '?';
            ++replacedCount;
            if (c == 0) ++nullCount;
        }
    }
}

int CMyFile::cutPoint(int raw) const {
    if (isUtf16Encoding(textEncoding)) return cutUtf16(raw);
    if (textEncoding == 15) return cutUtf8(raw);
    return cutShiftJis(raw);
}

namespace {

// After a single byte: a second quote or an LF stays with it.
int stepSingle(const unsigned char* c, int p) {
    unsigned char b = c[p++];
    if (b == '"') {
        if (c[p] == '"') ++p;
    } else if (c[p] == '\n') {
        ++p;
    }
    return p;
}

// A TAB at the stop is included; a CR or LF with an LF right after it.
int includeSeparatorAtStop(const unsigned char* c, int p) {
    if (c[p] == '\t') return p + 1;
    if (c[p] == '\r' || c[p] == '\n') {
        ++p;
        if (c[p] == '\n') ++p;
    }
    return p;
}

} // namespace

// A position the walk from the start of the piece is sure to visit, at or before `limit`: the
// byte before it is single-byte text that is no quote (so it cannot be the second half of any
// step over it), and it is no LF (which would be taken along). Steps are at most two bytes, so
// the walk lands on it whatever came before. Starting there gives the same cut as walking from
// the start, without walking the whole piece. `single` tells which bytes always stand alone.
template <typename Single>
int syncPoint(const unsigned char* c, int limit, Single single) {
    for (int q = limit; q > 0; --q)
        if (single(c[q - 1]) && c[q - 1] != '"' && c[q] != '\n') return q;
    return 0;
}

int CMyFile::cutShiftJis(int raw) const {
    const auto* c = reinterpret_cast<const unsigned char*>(chunk);
    // Bytes below 0x40 are neither lead nor (valid) second bytes; a lead byte still swallows
    // whatever follows it, which the sync rule allows for.
    int p = syncPoint(c, CutFrom, [](unsigned char b) { return b < 0x40; });
    while (p < CutFrom)
        p = CodePage::isLeadByte(c[p]) ? p + 2 : stepSingle(c, p);
    return std::min(includeSeparatorAtStop(c, p), raw);
}

int CMyFile::cutUtf8(int raw) const {
    const auto* c = reinterpret_cast<const unsigned char*>(chunk);
    // A sequence only takes continuation bytes along, so ASCII always stands alone.
    int p = syncPoint(c, CutFrom, [](unsigned char b) { return b < 0x80; });
    while (p < CutFrom) {
        unsigned char b = c[p];
        int length = b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF8 ? 4 : b < 0xFC ? 5
                   : b < 0xFE ? 6 : 1;
        if (length == 1) {
            p = stepSingle(c, p);
            continue;
        }
        // A broken sequence ends at its first byte that is no continuation byte.
        int k = 1;
        while (k < length && (c[p + k] & 0xC0) == 0x80) ++k;
        p += k;
    }
    return std::min(includeSeparatorAtStop(c, p), raw);
}

int CMyFile::cutUtf16(int raw) const {
    const auto* c = reinterpret_cast<const unsigned char*>(chunk);
    bool big = textEncoding == 11;
    auto unit = [&](int p) -> unsigned {
        return big ? (c[p] << 8 | c[p + 1]) : (c[p + 1] << 8 | c[p]);
    };
    int p = 0;
    while (p < CutFromUtf16) {
        unsigned u = unit(p);
        if (u >= 0xD800 && u <= 0xDBFF && unit(p + 2) >= 0xDC00 && unit(p + 2) <= 0xDFFF) {
            // A surrogate pair in one step. A lone surrogate is one unit: stepping 4 from it
            // could cut the pair that follows it in two.
            p += 4;
        } else if (u == '"') {
            p += 2;
            if (unit(p) == '"') p += 2;
        } else {
            p += 2;
        }
        if (unit(p) == '\n') p += 2;
    }
    unsigned u = unit(p);
    if (u == '\t') {
        p += 2;
    } else if (u == '\r' || u == '\n') {
        p += 2;
        if (unit(p) == '\n') p += 2;
    }
    return std::min(p, raw);
}

// ---- writing ----------------------------------------------------------------------------

bool CMyFile::flushWrites() {
    if (writeBuffer.empty()) return true;
    std::size_t written = FileHook::fwrite(writeBuffer.data(), 1, writeBuffer.size(), handle);
    bool ok = written == writeBuffer.size() && FileHook::fflush(handle) == 0;
    writeBuffer.clear();
    if (!ok) errorFlag = 1;
    return ok;
}

int CMyFile::writeRaw(const char* bytes, std::size_t count) {
    if (!isOpen() || errorFlag != 0) return 0;
    if (lastWasRead) {
        // Read-ahead went past the logical position; step back before writing there (a
        // stream also wants a seek between reading and writing).
        std::fseek(handle, -static_cast<long>(readBuffer.size() - readPos), SEEK_CUR);
        readBuffer.clear();
        readPos = 0;
        readEof = false;
        lastWasRead = false;
    }
    writeBuffer.append(bytes, count);
    if (writeBuffer.size() >= WriteFlushAt && !flushWrites()) return 0;
    return static_cast<int>(count);
}

int CMyFile::writeText(std::string_view text) {
    if (text.empty()) return 0;
    if (!changesText(textEncoding)) return writeRaw(text.data(), text.size());
    lostCount += encodeText(textEncoding, text, convertBuffer);
    return writeRaw(convertBuffer.data(), convertBuffer.size());
}

bool CMyFile::changesText(int encoding) {
    return isUtf16Encoding(encoding) || encoding == 15 || GivenCodes::givenCount() > 0;
}

int CMyFile::encodeText(int encoding, std::string_view text, std::string& bytes) {
    if (isUtf16Encoding(encoding)) {
        CodePage::cp932ToUtf16Bytes(text, encoding == 11, bytes);
        return 0;
    }
    if (encoding == 15) {
        CodePage::cp932ToUtf8(text, bytes);
        return 0;
    }
    // Lent codes mean nothing in a Shift-JIS file: "?" goes there (the save asked first).
    int replaced = 0;
    bytes = GivenCodes::plain(text, &replaced);
    return replaced;
}

int CMyFile::writeEncoded(std::string_view bytes, int lost) {
    if (bytes.empty()) return 0;
    lostCount += lost;
    return writeRaw(bytes.data(), bytes.size());
}

int CMyFile::writeBom() {
    switch (textEncoding) {
    case 10: return writeRaw("\xFF\xFE", 2);
    case 11: return writeRaw("\xFE\xFF", 2);
    case 15: return writeRaw("\xEF\xBB\xBF", 3);
    default: return 0;
    }
}

int CMyFile::writeLineEnd(int kind) {
    static const char* const ends[] = {"\r\n", "\r", "\n"};
    const char* end = ends[kind == 1 || kind == 2 ? kind : 0];
    if (!isUtf16Encoding(textEncoding)) return writeRaw(end, std::strlen(end));
    char units[4];
    int n = 0;
    for (const char* p = end; *p; ++p) {
        units[n++] = textEncoding == 11 ? '\0' : *p;
        units[n++] = textEncoding == 11 ? *p : '\0';
    }
    return writeRaw(units, n);
}
