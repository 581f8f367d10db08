// CodePage: iconv-based conversion on POSIX; the Windows branch uses the system code pages.
#include "platform/core/CodePage.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

#include <cstring>

namespace {

#ifndef _WIN32

// One iconv conversion; bytes that cannot be converted are replaced and counted.
class IconvConverter {
public:
    IconvConverter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~IconvConverter() { if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd); }
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;

    // Converts `in`; on an invalid or unconvertible unit, writes `replacement`, skips
    // `unitSize(in)` bytes and counts one loss.
    template <typename Skip>
    int convert(const char* in, size_t inLeft, std::string& out, std::string_view replacement,
                Skip skipUnit) {
        out.clear();
        if (cd == reinterpret_cast<iconv_t>(-1)) return -1;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        int losses = 0;
        out.resize(inLeft * 2 + 16);
        size_t produced = 0;
        char* src = const_cast<char*>(in);
        while (inLeft > 0) {
            char* dst = out.data() + produced;
            size_t outLeft = out.size() - produced;
            size_t rc = iconv(cd, &src, &inLeft, &dst, &outLeft);
            produced = out.size() - outLeft;
            if (rc != static_cast<size_t>(-1)) break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            // EILSEQ or EINVAL (truncated sequence at the end): replace one unit and go on.
            size_t skip = skipUnit(reinterpret_cast<const unsigned char*>(src), inLeft);
            src += skip;
            inLeft -= skip;
            if (out.size() - produced < replacement.size()) out.resize(out.size() * 2 + 8);
            std::memcpy(out.data() + produced, replacement.data(), replacement.size());
            produced += replacement.size();
            ++losses;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
        out.resize(produced);
        return losses;
    }

private:
    iconv_t cd;
};

size_t cp932UnitSize(const unsigned char* p, size_t left) {
    return (CodePage::isLeadByte(*p) && left >= 2) ? 2 : 1;
}

size_t utf8UnitSize(const unsigned char* p, size_t left) {
    size_t n = 1;
    while (n < left && n < 4 && (p[n] & 0xC0) == 0x80) ++n;
    return n;
}

size_t utf16UnitSize(const unsigned char*, size_t left) { return left >= 2 ? 2 : left; }

// glibc's CP932 maps some Unicode characters onto a code that reads back as another one;
// a round trip tells them apart.
int countChangedCharacters(std::string_view original, std::string_view cp932,
                           int (*back)(std::string_view, std::string&)) {
    std::string again;
    back(cp932, again);
    if (again == original) return 0;
    // Count characters of the original that differ, walking UTF-8 units in step.
    int changed = 0;
    size_t i = 0, j = 0;
    while (i < original.size() && j < again.size()) {
        size_t a = utf8UnitSize(reinterpret_cast<const unsigned char*>(original.data() + i),
                                original.size() - i);
        size_t b = utf8UnitSize(reinterpret_cast<const unsigned char*>(again.data() + j),
                                again.size() - j);
        if (original.substr(i, a) != again.substr(j, b)) ++changed;
        i += a;
        j += b;
    }
    return changed;
}

#endif

} // namespace

#ifndef _WIN32

int CodePage::cp932ToUtf8(std::string_view cp932, std::string& utf8) {
    IconvConverter conv("UTF-8", "CP932");
    return conv.convert(cp932.data(), cp932.size(), utf8, "\xEF\xBF\xBD", cp932UnitSize);
}

int CodePage::utf8ToCp932(std::string_view utf8, std::string& cp932) {
    IconvConverter conv("CP932", "UTF-8");
    int lost = conv.convert(utf8.data(), utf8.size(), cp932, "?", utf8UnitSize);
    if (lost < 0) return lost;
    // Characters that did convert but come back different count as lost as well. Those that
    // already became "?" read back as "?" and are not counted twice.
    std::string again;
    cp932ToUtf8(cp932, again);
    if (again == utf8) return lost;
    int changed = countChangedCharacters(utf8, cp932, [](std::string_view s, std::string& o) {
        return CodePage::cp932ToUtf8(s, o);
    });
    return changed > lost ? changed : lost;
}

int CodePage::cp932ToUtf16(std::string_view cp932, std::u16string& utf16) {
    IconvConverter conv("UTF-16LE", "CP932");
    std::string bytes;
    int lost = conv.convert(cp932.data(), cp932.size(), bytes, std::string_view("\xFD\xFF", 2),
                            cp932UnitSize);
    utf16.assign(bytes.size() / 2, u'\0');
    std::memcpy(utf16.data(), bytes.data(), utf16.size() * 2);
    return lost;
}

int CodePage::utf16ToCp932(std::u16string_view utf16, std::string& cp932) {
    // Through UTF-8 so that the round-trip check above is shared.
    IconvConverter conv("UTF-8", "UTF-16LE");
    std::string utf8;
    int bad = conv.convert(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2, utf8,
                           "\xEF\xBF\xBD", utf16UnitSize);
    int lost = utf8ToCp932(utf8, cp932);
    return (bad > 0 ? bad : 0) + (lost > 0 ? lost : 0);
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
