// CodePage: table-driven CP932 conversion (tables taken once from iconv); Windows uses the system.
#include "platform/core/CodePage.h"

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

#ifndef _WIN32

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

// The CP932 tables, built once from glibc's "CP932" converter.
class Cp932Tables {
public:
    Cp932Tables() : decodeTable(new char16_t[65536]), encodeTable(new uint16_t[65536]) {
        buildDecode();
        buildEncode();
    }

    // Unicode for a single byte (lead == 0) or a double-byte code; NoChar when none.
    char16_t decode(uint16_t code) const { return decodeTable[code]; }
    // CP932 code for a BMP character; NoCode when none. Codes below 0x100 are single bytes.
    uint16_t encode(char16_t ch) const { return encodeTable[ch]; }

private:
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
        for (int i = 0; i < 65536; ++i) decodeTable[i] = NoChar;
        iconv_t cd = iconv_open("UTF-16LE", "CP932");
        if (cd == reinterpret_cast<iconv_t>(-1)) return;
        for (int b = 0; b < 256; ++b) {
            if (CodePage::isLeadByte(static_cast<unsigned char>(b))) continue;
            decodeInto(cd, static_cast<uint16_t>(b), 1);
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!CodePage::isLeadByte(static_cast<unsigned char>(lead))) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail)
                if (trail != 0x7F) decodeInto(cd, static_cast<uint16_t>(lead << 8 | trail), 2);
        }
        iconv_close(cd);
    }

    void decodeInto(iconv_t cd, uint16_t code, int length) {
        char in[2] = {static_cast<char>(length == 2 ? code >> 8 : code),
                      static_cast<char>(code & 0xFF)};
        char out[8];
        size_t outLen = sizeof out;
        if (!convertOne(cd, length == 2 ? in : in + 1, length, out, outLen) || outLen != 2) return;
        decodeTable[code] = static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                                  static_cast<unsigned char>(out[1]) << 8);
    }

    void buildEncode() {
        for (int i = 0; i < 65536; ++i) encodeTable[i] = NoCode;
        iconv_t cd = iconv_open("CP932", "UTF-16LE");
        if (cd == reinterpret_cast<iconv_t>(-1)) return;
        for (int ch = 0; ch < 65536; ++ch) {
            if (ch >= 0xD800 && ch <= 0xDFFF) continue;
            char in[2] = {static_cast<char>(ch & 0xFF), static_cast<char>(ch >> 8)};
            char out[8];
            size_t outLen = sizeof out;
            if (!convertOne(cd, in, 2, out, outLen)) continue;
            if (outLen == 1)
                encodeTable[ch] = static_cast<unsigned char>(out[0]);
            else if (outLen == 2)
                encodeTable[ch] = static_cast<uint16_t>(static_cast<unsigned char>(out[0]) << 8 |
                                                        static_cast<unsigned char>(out[1]));
        }
        iconv_close(cd);
    }

    std::unique_ptr<char16_t[]> decodeTable;
    std::unique_ptr<uint16_t[]> encodeTable;
};

const Cp932Tables& tables() {
    static const Cp932Tables instance;
    return instance;
}

// Appends the CP932 form of one BMP character; returns 1 when it was not carried exactly.
inline int appendCp932(std::string& out, char16_t ch, const Cp932Tables& t) {
    uint16_t code = t.encode(ch);
    if (code == NoCode) {
        out.push_back('?');
        return 1;
    }
    if (code < 0x100) {
        out.push_back(static_cast<char>(code));
    } else {
        out.push_back(static_cast<char>(code >> 8));
        out.push_back(static_cast<char>(code & 0xFF));
    }
    return t.decode(code) == ch ? 0 : 1;
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
            emit(static_cast<char16_t>(c));
            ++i;
            continue;
        }
        char16_t ch = NoChar;
        if (CodePage::isLeadByte(c) && i + 1 < n) {
            ch = t.decode(static_cast<uint16_t>(c << 8 | s[i + 1]));
            if (ch != NoChar) {
                emit(ch);
                i += 2;
                continue;
            }
        } else if (!CodePage::isLeadByte(c)) {
            ch = t.decode(c);
        }
        if (ch == NoChar) {
            ch = Replacement;
            ++lost;
        }
        emit(ch);
        ++i;
    }
    return lost;
}

#endif

} // namespace

#ifndef _WIN32

int CodePage::utf8ToCp932(std::string_view utf8, std::string& cp932) {
    const Cp932Tables& t = tables();
    // CP932 never needs more bytes than UTF-8 for the same text ("?" stands for at least one).
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
        uint16_t code = cp < 0 || cp > 0xFFFF ? NoCode : t.encode(static_cast<char16_t>(cp));
        if (code == NoCode) {
            *out++ = '?';
            ++lost;
            continue;
        }
        if (code >= 0x100) *out++ = static_cast<char>(code >> 8);
        *out++ = static_cast<char>(code & 0xFF);
        if (t.decode(code) != cp) ++lost;
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
        char16_t u = utf16[i];
        if (u >= 0xD800 && u <= 0xDFFF) {
            // A pair stands for a character beyond CP932; a lone half is no character at all.
            if (u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
                utf16[i + 1] <= 0xDFFF)
                ++i;
            cp932.push_back('?');
            ++lost;
            continue;
        }
        lost += appendCp932(cp932, u, t);
    }
    return lost;
}

int CodePage::cp932ToUtf16(std::string_view cp932, std::u16string& utf16) {
    utf16.clear();
    utf16.reserve(cp932.size());
    return decodeCp932(cp932, [&](char16_t ch) { utf16.push_back(ch); });
}

// Converts into a buffer sized for the worst case (three UTF-8 bytes for every CP932 byte: a
// half-width kana byte becomes three), then cut to what was written; runs of ASCII are copied
// eight bytes at a time.
int CodePage::cp932ToUtf8(std::string_view cp932, std::string& utf8) {
    const Cp932Tables& t = tables();
    utf8.resize(cp932.size() * 3);
    char* out = utf8.data();
    const auto* s = reinterpret_cast<const unsigned char*>(cp932.data());
    const size_t n = cp932.size();
    int lost = 0;
    auto put = [&out](char16_t ch) {
        if (ch < 0x800) {
            *out++ = static_cast<char>(0xC0 | (ch >> 6));
        } else {
            *out++ = static_cast<char>(0xE0 | (ch >> 12));
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
        char16_t ch = NoChar;
        size_t used = 1;
        if (CodePage::isLeadByte(c)) {
            if (i + 1 < n) {
                ch = t.decode(static_cast<uint16_t>(c << 8 | s[i + 1]));
                if (ch != NoChar) used = 2;
            }
        } else {
            ch = t.decode(c);
        }
        if (ch == NoChar) {
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

#else

int CodePage::cp932ToUtf16(std::string_view cp932, std::u16string& utf16) {
    int n = MultiByteToWideChar(932, 0, cp932.data(), int(cp932.size()), nullptr, 0);
    utf16.resize(n);
    MultiByteToWideChar(932, 0, cp932.data(), int(cp932.size()),
                        reinterpret_cast<wchar_t*>(utf16.data()), n);
    return 0;
}

int CodePage::utf16ToCp932(std::u16string_view utf16, std::string& cp932) {
    const wchar_t* w = reinterpret_cast<const wchar_t*>(utf16.data());
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(932, 0, w, int(utf16.size()), nullptr, 0, "?", &usedDefault);
    cp932.resize(n);
    WideCharToMultiByte(932, 0, w, int(utf16.size()), cp932.data(), n, "?", &usedDefault);
    std::u16string back;
    cp932ToUtf16(cp932, back);
    int changed = 0;
    for (size_t i = 0; i < utf16.size() && i < back.size(); ++i) changed += utf16[i] != back[i];
    return changed;
}

int CodePage::cp932ToUtf8(std::string_view cp932, std::string& utf8) {
    std::u16string wide;
    int lost = cp932ToUtf16(cp932, wide);
    const wchar_t* w = reinterpret_cast<const wchar_t*>(wide.data());
    int n = WideCharToMultiByte(CP_UTF8, 0, w, int(wide.size()), nullptr, 0, nullptr, nullptr);
    utf8.resize(n);
    WideCharToMultiByte(CP_UTF8, 0, w, int(wide.size()), utf8.data(), n, nullptr, nullptr);
    return lost;
}

int CodePage::utf8ToCp932(std::string_view utf8, std::string& cp932) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::u16string wide(n, u'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()),
                        reinterpret_cast<wchar_t*>(wide.data()), n);
    return utf16ToCp932(wide, cp932);
}

#endif

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
