// StatusText: the wording of the status panels.
#include "app/StatusText.h"

#include "platform/core/CodePage.h"
#include "settings/CMyPublic.h"

#include <charconv>
#include <cstdio>

namespace {

constexpr size_t columnNameBytes = 30;
constexpr size_t cellExcerptBytes = 54;
constexpr int maxNumberCharacters = 14;

std::string format(const char* pattern, int a, int b) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, a, b);
    return buffer;
}

} // namespace

std::string StatusText::cut(const char* text, size_t n) {
    std::string out;
    if (!text) return out;
    for (size_t i = 0; text[i] != '\0' && text[i] != '\t';) {
        if (out.size() >= n) {
            out += "..";
            break;
        }
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const bool pair = CodePage::isLeadByte(c) && text[i + 1] != '\0';
        out.append(text + i, pair ? 2 : 1);
        i += pair ? 2 : 1;
    }
    return out;
}

bool StatusText::cellNumber(const char* text, double& value) {
    value = 0;
    if (!text) return false;
    const char* p = text;
    const bool negative = *p == '-';
    if (negative) ++p;
    const char* digits = p;
    bool point = false;
    for (int count = 0;; ++p) {
        if (*p == '.') {
            if (point) return false;
            point = true;
        } else if (*p < '0' || *p > '9') {
            break;
        }
        if (++count > maxNumberCharacters) return false;
    }
    if (!negative && p == digits) return false;
    // from_chars ignores the locale, so a German desktop still reads "1.5" as one and a half;
    // it refuses a lone "." or "-", which then add nothing.
    double magnitude = 0;
    if (p != digits) std::from_chars(digits, p, magnitude);
    value = negative ? -magnitude : magnitude;
    return true;
}

std::string StatusText::tableSize(int columns, int rows) {
    return format("MAX列:%d MAX行:%d", columns, rows);
}

std::string StatusText::selection(int c1, int r1, int c2, int r2, const std::string& columnName) {
    std::string text;
    if (c1 == c2 && r1 == r2) {
        text = format("列行[%d,%d]", c1 + 1, r1 + 1);
    } else {
        char buffer[128];
        std::snprintf(buffer, sizeof buffer, "列行[%d,%d]-[%d,%d] (%dx%d) ", c1 + 1, r1 + 1,
                      c2 + 1, r2 + 1, c2 - c1 + 1, r2 - r1 + 1);
        text = buffer;
    }
    if (!columnName.empty())
        text += "(" + CodePage::toUtf8(cut(columnName.c_str(), columnNameBytes)) + ")";
    return text;
}

std::string StatusText::total(bool alongRow, double sum) {
    return std::string(alongRow ? "横計:" : "縦計:") + CMyPublic::formatNumber(sum, 5, true);
}

std::string StatusText::cellExcerpt(const char* cellText) {
    return CodePage::toUtf8(cut(cellText, cellExcerptBytes));
}

std::string StatusText::zoom(int scale) { return std::to_string(scale) + "%"; }

std::string StatusText::separator(char separator, bool colourFileInUse) {
    std::string text = separator == ',' ? "CSV" : "TAB";
    if (colourFileInUse) text += "+色情報";
    return text;
}

std::string StatusText::encoding(int encoding, bool withBom) {
    const char* bom = withBom ? "(BOM)" : "";
    switch (encoding) {
    case 0: return "SHIFT-JIS";
    case 10: return std::string("UTF16") + bom;
    case 15: return std::string("UTF8") + bom;
    default: return "ETC";
    }
}

std::string StatusText::lineEnding(int lineEnding) {
    switch (lineEnding) {
    case 1: return "CR";
    case 2: return "LF";
    default: return "CRLF";
    }
}
