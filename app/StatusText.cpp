// StatusText: the wording of the status panels.
#include "app/StatusText.h"

#include "platform/core/CodePage.h"
#include "settings/CMyPublic.h"

#include <cstdio>

namespace {

constexpr size_t columnNameBytes = 30;
constexpr size_t cellExcerptBytes = 54;

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

// Line breaks inside the cell are shown as blanks: the panel has room for one line only.
std::string StatusText::cellExcerpt(const char* cellText) {
    std::string text = cut(cellText, cellExcerptBytes);
    for (size_t i = 0; i < text.size(); ++i) {
        if (CodePage::isLeadByte(static_cast<unsigned char>(text[i]))) ++i;
        else if (text[i] == '\r' || text[i] == '\n') text[i] = ' ';
    }
    return CodePage::toUtf8(text);
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
