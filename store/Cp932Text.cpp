// Cp932Text: character-aware matching over Shift-JIS text.
#include "store/Cp932Text.h"

#include <algorithm>

#include "platform/core/CodePage.h"

namespace {

bool lead(char c) { return CodePage::isLeadByte(static_cast<unsigned char>(c)); }

char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

bool hasAsciiLetter(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); i += Cp932Text::charLength(text, i)) {
        const char c = foldAscii(text[i]);
        if (c >= 'a' && c <= 'z') return true;
    }
    return false;
}

}  // namespace

int Cp932Text::charLength(std::string_view text, std::size_t pos) {
    return (lead(text[pos]) && pos + 1 < text.size()) ? 2 : 1;
}

bool Cp932Text::isCharStart(std::string_view text, std::size_t pos) {
    if (pos == 0 || pos >= text.size()) return pos == 0 || pos == text.size();
    // A byte outside the lead-byte ranges always ends a character, so count the lead-byte
    // values between the last such byte and pos: they pair up from there.
    std::size_t run = 0;
    for (std::size_t i = pos; i > 0 && lead(text[i - 1]); --i) ++run;
    return run % 2 == 0;
}

bool Cp932Text::matchesAt(std::string_view text, std::size_t pos, std::string_view pattern,
                          bool ignoreCase) {
    if (pos > text.size() || text.size() - pos < pattern.size()) return false;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const int patternChar = charLength(pattern, i);
        if (charLength(text, pos + i) != patternChar) return false;
        if (patternChar == 2) {
            if (text[pos + i] != pattern[i] || text[pos + i + 1] != pattern[i + 1]) return false;
        } else {
            const char a = text[pos + i];
            const char b = pattern[i];
            if (ignoreCase ? foldAscii(a) != foldAscii(b) : a != b) return false;
        }
        i += static_cast<std::size_t>(patternChar);
    }
    return true;
}

std::size_t Cp932Text::find(std::string_view text, std::string_view pattern, bool ignoreCase,
                            std::size_t from) {
    if (pattern.empty() || from > text.size()) return npos;
    if (!ignoreCase || !hasAsciiLetter(pattern)) {
        // Byte search for candidates, then keep only those at character starts.
        for (std::size_t hit = text.find(pattern, from); hit != npos;
             hit = text.find(pattern, hit + 1)) {
            if (isCharStart(text, hit) && matchesAt(text, hit, pattern, false)) return hit;
        }
        return npos;
    }
    // The first byte in either case gives the candidates (memchr speed over long cells); a
    // candidate counts only at a character start.
    const char lower = foldAscii(pattern[0]);
    const char upper = (lower >= 'a' && lower <= 'z') ? static_cast<char>(lower - ('a' - 'A')) : lower;
    std::size_t nextLower = text.find(lower, from);
    std::size_t nextUpper = upper != lower ? text.find(upper, from) : npos;
    while (nextLower != npos || nextUpper != npos) {
        const std::size_t hit = std::min(nextLower, nextUpper);
        if (hit + pattern.size() > text.size()) return npos;
        if (isCharStart(text, hit) && matchesAt(text, hit, pattern, true)) return hit;
        if (hit == nextLower) nextLower = text.find(lower, hit + 1);
        if (hit == nextUpper) nextUpper = text.find(upper, hit + 1);
    }
    return npos;
}

bool Cp932Text::equals(std::string_view text, std::string_view pattern, bool ignoreCase) {
    return text.size() == pattern.size() && matchesAt(text, 0, pattern, ignoreCase);
}

bool Cp932Text::startsWith(std::string_view text, std::string_view pattern, bool ignoreCase) {
    return matchesAt(text, 0, pattern, ignoreCase);
}

bool Cp932Text::endsWith(std::string_view text, std::string_view pattern, bool ignoreCase) {
    if (text.size() < pattern.size()) return false;
    const std::size_t pos = text.size() - pattern.size();
    return isCharStart(text, pos) && matchesAt(text, pos, pattern, ignoreCase);
}

std::size_t Cp932Text::fitLength(std::string_view text, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + static_cast<std::size_t>(charLength(text, end));
        if (next > maxBytes) break;
        end = next;
    }
    return end;
}

int Cp932Text::sanitise(std::string& text) {
    int replaced = 0;
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 || byte == '\r' || byte == '\n') continue;
        c = (byte == '\t' || (byte >= 0x01 && byte <= 0x05)) ? ' ' : '?';
        ++replaced;
    }
    return replaced;
}
