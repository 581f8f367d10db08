// CodePage: table-driven CP932 conversion (tables taken once from the system's converter)
// with the run's lent codes for characters CP932 lacks.
#include "platform/core/CodePage.h"

#include "platform/core/GivenCodes.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

constexpr char16_t NoChar = 0xFFFF;      // CP932 never decodes to U+FFFF
constexpr uint16_t NoCode = 0xFFFF;      // 0xFF is no lead byte, so no CP932 code is 0xFFFF
constexpr char16_t Replacement = 0xFFFD;

// How many bytes of a word (read from memory in order) come before the first with its high bit
// set; `high` holds only the high bits and is not zero.
inline size_t asciiBytesBefore(uint64_t high) {
    if constexpr (std::endian::native == std::endian::little)
        return static_cast<size_t>(std::countr_zero(high)) / 8;
    else
        return static_cast<size_t>(std::countl_zero(high)) / 8;
}

// Decodes one UTF-8 sequence at s[i]; returns its code point or -1 for an invalid one, and the
// number of bytes to skip. A broken sequence skips its lead and the continuation bytes present.
int32_t decodeUtf8(const unsigned char* s, size_t n, size_t i, size_t& used) {
    unsigned char c = s[i];
    if (c < 0x80) { used = 1; return c; }
    int len = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xC2 && c <= 0xDF ? 2 : 0;
    if (len == 0) { used = 1; return -1; }
    uint32_t cp = c & (len == 2 ? 0x1F : len == 3 ? 0x0F : 0x07);
    size_t k = 1;
    for (; k < static_cast<size_t>(len) && i + k < n && (s[i + k] & 0xC0) == 0x80; ++k)
        cp = (cp << 6) | (s[i + k] & 0x3F);
    used = k;
    if (k < static_cast<size_t>(len)) return -1;
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return -1;
    return static_cast<int32_t>(cp);
}

// The CP932 tables, built once from the system's converter (glibc's "CP932", or code page 932).
class Cp932Tables {
public:
    Cp932Tables() : decodeTable(new char16_t[65536]), encodeTable(new uint16_t[65536]) {
        for (int i = 0; i < 65536; ++i) decodeTable[i] = NoChar;
        for (int i = 0; i < 65536; ++i) encodeTable[i] = NoCode;
        buildDecode();
        buildEncode();
    }

    // Unicode for a single byte (lead == 0) or a double-byte code; NoChar when none.
    char16_t decode(uint16_t code) const { return decodeTable[code]; }
    // CP932 code for a BMP character; NoCode when none. Codes below 0x100 are single bytes.
    uint16_t encode(char16_t ch) const { return encodeTable[ch]; }

private:
    // Every code CP932 could have: the single bytes and lead/trail pairs.
    template <typename Each>
    static void eachCode(Each each) {
        for (int b = 0; b < 256; ++b)
            if (!CodePage::isLeadByte(static_cast<unsigned char>(b))) each(static_cast<uint16_t>(b), 1);
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!CodePage::isLeadByte(static_cast<unsigned char>(lead))) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail)
                if (trail != 0x7F) each(static_cast<uint16_t>(lead << 8 | trail), 2);
        }
    }

    void setEncode(int ch, const char* out, size_t outLen) {
        if (outLen == 1)
            encodeTable[ch] = static_cast<unsigned char>(out[0]);
        else if (outLen == 2)
            encodeTable[ch] = static_cast<uint16_t>(static_cast<unsigned char>(out[0]) << 8 |
                                                    static_cast<unsigned char>(out[1]));
    }

#ifdef _WIN32
    void buildDecode() {
        eachCode([this](uint16_t code, int length) {
            char in[2] = {static_cast<char>(length == 2 ? code >> 8 : code), static_cast<char>(code & 0xFF)};
            wchar_t out[4];
            if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, length == 2 ? in : in + 1, length, out, 4) == 1)
                decodeTable[code] = static_cast<char16_t>(out[0]);
        });
    }

    void buildEncode() {
        for (int ch = 0; ch < 65536; ++ch) {
            if (ch >= 0xD800 && ch <= 0xDFFF) continue;
            const wchar_t in = static_cast<wchar_t>(ch);
            char out[4];
            BOOL usedDefault = FALSE;
            const int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &in, 1, out, 4, nullptr, &usedDefault);
            if (n > 0 && !usedDefault) setEncode(ch, out, static_cast<size_t>(n));
        }
    }
#else
    static bool convertOne(iconv_t cd, const char* in, size_t inLen, char* out, size_t& outLen) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in);
        char* dst = out;
        size_t left = outLen;
        if (iconv(cd, &src, &inLen, &dst, &left) == static_cast<size_t>(-1) || inLen != 0)
            return false;
        outLen -= left;
        return true;
    }

    void buildDecode() {
        iconv_t cd = iconv_open("UTF-16LE", "CP932");
        if (cd == reinterpret_cast<iconv_t>(-1)) return;
        eachCode([&](uint16_t code, int length) {
            char in[2] = {static_cast<char>(length == 2 ? code >> 8 : code), static_cast<char>(code & 0xFF)};
            char out[8];
            size_t outLen = sizeof out;
            if (!convertOne(cd, length == 2 ? in : in + 1, length, out, outLen) || outLen != 2) return;
            decodeTable[code] = static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                                      static_cast<unsigned char>(out[1]) << 8);
        });
        iconv_close(cd);
    }

    void buildEncode() {
        iconv_t cd = iconv_open("CP932", "UTF-16LE");
        if (cd == reinterpret_cast<iconv_t>(-1)) return;
        for (int ch = 0; ch < 65536; ++ch) {
            if (ch >= 0xD800 && ch <= 0xDFFF) continue;
            char in[2] = {static_cast<char>(ch & 0xFF), static_cast<char>(ch >> 8)};
            char out[8];
            size_t outLen = sizeof out;
            if (convertOne(cd, in, 2, out, outLen)) setEncode(ch, out, outLen);
        }
        iconv_close(cd);
    }
#endif

    std::unique_ptr<char16_t[]> decodeTable;
    std::unique_ptr<uint16_t[]> encodeTable;
};

const Cp932Tables& tables() {
    static const Cp932Tables instance;
    return instance;
}

constexpr char32_t FirstPrivate = 0xE000;   // CP932's images of the user-defined area
constexpr char32_t LastPrivate = 0xE757;

// The code of a character that is not plainly CP932's: a private-use character's own area
// code while that is not lent to another, else the code lent to it; NoCode when the table is
// full. Kept out of line so that the common path below stays small.
[[gnu::noinline]] uint16_t unusualCode(char32_t cp, const Cp932Tables& t) {
    if (cp >= FirstPrivate && cp <= LastPrivate) {
        const uint16_t code = t.encode(static_cast<char16_t>(cp));
        if (code != NoCode && t.decode(code) == cp && !GivenCodes::isGiven(code)) {
            GivenCodes::keepNative(code);
            return code;
        }
    } else if (cp <= 0xFFFF) {
        const uint16_t code = t.encode(static_cast<char16_t>(cp));
        if (code != NoCode && t.decode(code) == cp) return code;
    }
    const uint16_t lent = GivenCodes::codeFor(cp);
    return lent != 0 ? lent : NoCode;
}

// CP932 code for one character: CP932's own when it comes back as the same character, else
// the code lent to it; NoCode when the table is full. Codes below 0x100 are single bytes.
inline uint16_t codeOfScalar(char32_t cp, const Cp932Tables& t) {
    if (cp < FirstPrivate) {
        const uint16_t code = t.encode(static_cast<char16_t>(cp));
        if (code != NoCode && t.decode(code) == cp) return code;
    }
    return unusualCode(cp, t);
}

// Lent codes may stand for U+FFFF itself, so the walks below mark "no character" outside Unicode.
constexpr char32_t NoScalar = 0xFFFFFFFF;

// The character of a single byte or double-byte code; NoScalar when it is none.
inline char32_t scalarOfCode(uint16_t code, const Cp932Tables& t) {
    const char16_t ch = t.decode(code);
    if (ch == NoChar) return NoScalar;
    if (ch >= FirstPrivate && ch <= LastPrivate) {
        if (const char32_t lent = GivenCodes::scalarOf(code)) return lent;
    }
    return ch;
}

// Appends the CP932 form of one character; returns 1 when it could not be carried.
inline int appendCp932(std::string& out, char32_t cp, const Cp932Tables& t) {
    const uint16_t code = codeOfScalar(cp, t);
    if (code == NoCode) {
        out.push_back('?');
        return 1;
    }
    if (code >= 0x100) out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
    return 0;
}

// Walks CP932 bytes and hands each character (or U+FFFD for a byte that is none) to `emit`.
template <typename Emit>
int decodeCp932(std::string_view cp932, Emit emit) {
    const Cp932Tables& t = tables();
    const auto* s = reinterpret_cast<const unsigned char*>(cp932.data());
    size_t n = cp932.size();
    int lost = 0;
    for (size_t i = 0; i < n;) {
        unsigned char c = s[i];
        if (c < 0x80) {
            emit(static_cast<char32_t>(c));
            ++i;
            continue;
        }
        char32_t ch = NoScalar;
        if (CodePage::isLeadByte(c) && i + 1 < n) {
            ch = scalarOfCode(static_cast<uint16_t>(c << 8 | s[i + 1]), t);
            if (ch != NoScalar) {
                emit(ch);
                i += 2;
                continue;
            }
        } else if (!CodePage::isLeadByte(c)) {
            ch = scalarOfCode(c, t);
        }
        if (ch == NoScalar) {
            ch = Replacement;
            ++lost;
        }
        emit(ch);
        ++i;
    }
    return lost;
}

void appendUtf16(std::u16string& out, char32_t ch) {
    if (ch < 0x10000) {
        out.push_back(static_cast<char16_t>(ch));
    } else {
        out.push_back(static_cast<char16_t>(0xD800 + ((ch - 0x10000) >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + ((ch - 0x10000) & 0x3FF)));
    }
}

} // namespace

int CodePage::utf8ToCp932(std::string_view utf8, std::string& cp932) {
    const Cp932Tables& t = tables();
    // CP932 never needs more bytes than UTF-8 for the same text (a lent code takes two bytes,
    // a character without one at least two; "?" stands for at least one).
    cp932.resize(utf8.size());
    char* out = cp932.data();
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    size_t n = utf8.size();
    int lost = 0;
    for (size_t i = 0; i < n;) {
        if (s[i] < 0x80) {
            *out++ = static_cast<char>(s[i++]);
            continue;
        }
        size_t used = 1;
        int32_t cp = decodeUtf8(s, n, i, used);
        i += used;
        uint16_t code = cp < 0 ? NoCode : codeOfScalar(static_cast<char32_t>(cp), t);
        if (code == NoCode) {
            *out++ = '?';
            ++lost;
            continue;
        }
        if (code >= 0x100) *out++ = static_cast<char>(code >> 8);
        *out++ = static_cast<char>(code & 0xFF);
    }
    cp932.resize(static_cast<size_t>(out - cp932.data()));
    return lost;
}

int CodePage::utf16ToCp932(std::u16string_view utf16, std::string& cp932) {
    const Cp932Tables& t = tables();
    cp932.clear();
    cp932.reserve(utf16.size() * 2);
    int lost = 0;
    for (size_t i = 0; i < utf16.size(); ++i) {
        char32_t u = utf16[i];
        if (u >= 0xD800 && u <= 0xDFFF) {
            // A lone half is no character at all.
            if (u > 0xDBFF || i + 1 >= utf16.size() || utf16[i + 1] < 0xDC00 || utf16[i + 1] > 0xDFFF) {
                cp932.push_back('?');
                ++lost;
                continue;
            }
            u = 0x10000 + ((u - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        }
        lost += appendCp932(cp932, u, t);
    }
    return lost;
}

int CodePage::cp932ToUtf16(std::string_view cp932, std::u16string& utf16) {
    utf16.clear();
    utf16.reserve(cp932.size());
    return decodeCp932(cp932, [&](char32_t ch) { appendUtf16(utf16, ch); });
}

// Converts into a buffer sized for the worst case (three UTF-8 bytes for every CP932 byte: a
// half-width kana byte becomes three, a lent code at most four), then cut to what was written;
// runs of ASCII are copied eight bytes at a time.
int CodePage::cp932ToUtf8(std::string_view cp932, std::string& utf8) {
    const Cp932Tables& t = tables();
    utf8.resize(cp932.size() * 3);
    char* out = utf8.data();
    const auto* s = reinterpret_cast<const unsigned char*>(cp932.data());
    const size_t n = cp932.size();
    int lost = 0;
    auto put = [&out](char32_t ch) {
        if (ch < 0x800) {
            *out++ = static_cast<char>(0xC0 | (ch >> 6));
        } else if (ch < 0x10000) {
            *out++ = static_cast<char>(0xE0 | (ch >> 12));
            *out++ = static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        } else {
            *out++ = static_cast<char>(0xF0 | (ch >> 18));
            *out++ = static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
            *out++ = static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        }
        *out++ = static_cast<char>(0x80 | (ch & 0x3F));
    };
    size_t i = 0;
    while (i < n) {
        if (i + 8 <= n) {
            // Eight bytes are copied; the walk advances over the ASCII ones among them (the
            // buffer has room for three bytes per input byte, so the copy never overruns).
            uint64_t word;
            std::memcpy(&word, s + i, 8);
            const uint64_t high = word & 0x8080808080808080ULL;
            std::memcpy(out, s + i, 8);
            const size_t ascii = high == 0 ? 8 : asciiBytesBefore(high);
            out += ascii;
            i += ascii;
            if (ascii == 8) continue;
        }
        unsigned char c = s[i];
        if (c < 0x80) {
            *out++ = static_cast<char>(c);
            ++i;
            continue;
        }
        char32_t ch = NoScalar;
        size_t used = 1;
        if (CodePage::isLeadByte(c)) {
            if (i + 1 < n) {
                ch = scalarOfCode(static_cast<uint16_t>(c << 8 | s[i + 1]), t);
                if (ch != NoScalar) used = 2;
            }
        } else {
            ch = scalarOfCode(c, t);
        }
        if (ch == NoScalar) {
            ch = Replacement;
            ++lost;
        }
        if (ch < 0x80) *out++ = static_cast<char>(ch);
        else put(ch);
        i += used;
    }
    utf8.resize(static_cast<size_t>(out - utf8.data()));
    return lost;
}

int CodePage::utf16BytesToCp932(std::string_view bytes, bool bigEndian, std::string& cp932) {
    std::u16string units(bytes.size() / 2, u'\0');
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    for (size_t i = 0; i < units.size(); ++i) {
        unsigned char a = s[2 * i], b = s[2 * i + 1];
        units[i] = static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    }
    int lost = utf16ToCp932(units, cp932);
    if (bytes.size() % 2 != 0) {
        // A file cut inside its last unit.
        cp932.push_back('?');
        ++lost;
    }
    return lost;
}

int CodePage::cp932ToUtf16Bytes(std::string_view cp932, bool bigEndian, std::string& bytes) {
    std::u16string units;
    int lost = cp932ToUtf16(cp932, units);
    bytes.resize(units.size() * 2);
    for (size_t i = 0; i < units.size(); ++i) {
        char hi = static_cast<char>(units[i] >> 8), lo = static_cast<char>(units[i] & 0xFF);
        bytes[2 * i] = bigEndian ? hi : lo;
        bytes[2 * i + 1] = bigEndian ? lo : hi;
    }
    return lost;
}

std::string CodePage::toUtf8(std::string_view cp932) {
    std::string out;
    cp932ToUtf8(cp932, out);
    return out;
}

std::string CodePage::toCp932(std::string_view utf8) {
    std::string out;
    utf8ToCp932(utf8, out);
    return out;
}
