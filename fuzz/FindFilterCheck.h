// The invariants of find, replace all and the filter over cells decoded from fuzz bytes; shared
// by the fuzz target and the test that replays its corpus.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/FindReplace.h"
#include "store/CMyHyo.h"
#include "store/CellMatch.h"
#include "store/CellRegex.h"
#include "store/Cp932Text.h"

namespace FindFilterCheck {

// Thrown when an invariant does not hold.
struct Broken {
    const char* what;
};

#define FIND_FILTER_CHECK(condition) \
    do { if (!(condition)) throw Broken{#condition}; } while (0)

inline std::string allRows(CMyHyo& hyo) {
    std::string out;
    for (int i = 0; i < hyo.storeRowCount(); ++i) out += hyo.rowList().line(i) + '\n';
    return out;
}

inline bool cellIsSound(const std::string& text) {
    if (text.size() > 5000) return false;
    for (unsigned char c : text)
        if (c == '\t' || (c >= 1 && c <= 5)) return false;
    return true;
}

// The kinds must agree: case-distinguishing tests imply their case-ignoring twins, equal
// implies start, end and contain, and the numeric kinds order consistently.
inline void kindsAgree(std::string_view cell, const std::string& pattern) {
    bool text[8];
    for (int k = 0; k < 8; ++k) text[k] = CellMatch(pattern, k, CellMatch::NumberRule::Find).matches(cell);
    for (int k = 0; k < 4; ++k) FIND_FILTER_CHECK(!text[k + 4] || text[k]);
    for (int base : {0, 4}) {
        if (text[base]) FIND_FILTER_CHECK(text[base + 1] && text[base + 2] && text[base + 3]);
        if (text[base + 1] || text[base + 2]) FIND_FILTER_CHECK(text[base + 3]);
    }
    if (pattern.empty()) FIND_FILTER_CHECK(text[4] == cell.empty() && text[3] == cell.empty());
    for (auto rule : {CellMatch::NumberRule::Find, CellMatch::NumberRule::Filter}) {
        bool number[5];
        for (int k = 0; k < 5; ++k) number[k] = CellMatch(pattern, MatchNumberEqual + k, rule).matches(cell);
        const bool equal = number[0], atLeast = number[1], atMost = number[2], above = number[3], below = number[4];
        FIND_FILTER_CHECK(!(above && below) && !(equal && (above || below)));
        FIND_FILTER_CHECK(atLeast == (equal || above) && atMost == (equal || below));
    }
    FIND_FILTER_CHECK(!CellMatch(pattern, 9, CellMatch::NumberRule::Find).matches(cell));
}

inline bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The pattern as a regular expression that matches its characters literally.
inline std::string escaped(std::string_view pattern) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); i += Cp932Text::charLength(pattern, i)) {
        const unsigned char c = static_cast<unsigned char>(pattern[i]);
        char hex[16];
        if (c >= 0x80 || (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'))
            out.append(pattern.substr(i, Cp932Text::charLength(pattern, i)));
        else if (std::snprintf(hex, sizeof hex, "\\x{%x}", c) > 0)
            out += hex;
    }
    return out;
}

// Regular expressions: a match starts and ends at character starts, "$0" gives the cell back,
// the case-distinguishing pattern implies the caseless one, and over ASCII text the escaped
// pattern agrees with the text kinds (equal, start, end, contain). Compiled once per input.
struct RegexForms {
    explicit RegexForms(const std::string& pattern) : pattern(pattern), withCase(pattern, true), noCase(pattern, false) {
        if (pattern.empty() || !isAscii(pattern)) return;
        const std::string literal = escaped(pattern);
        const std::string forms[4] = {"^" + literal + "$", "^" + literal, literal + "$", literal};
        for (int k = 0; k < 4; ++k) {
            literals[k] = std::make_unique<CellRegex>(forms[k], true);
            literals[k + 4] = std::make_unique<CellRegex>(forms[k], false);
        }
    }

    void check(std::string_view cell) const {
        std::size_t start = 0, end = 0;
        std::string out;
        if (withCase.firstMatch(cell, start, end))
            FIND_FILTER_CHECK(start <= end && Cp932Text::isCharStart(cell, start) && Cp932Text::isCharStart(cell, end));
        const int same = withCase.replace(cell, "$0", out);
        FIND_FILTER_CHECK(same == 0 || same == CellRegex::GaveUp);
        const bool cased = withCase.matches(cell), caseless = noCase.matches(cell);
        if (!withCase.gaveUp() && !noCase.gaveUp()) FIND_FILTER_CHECK(!cased || caseless);
        if (!literals[0] || !isAscii(cell)) return;
        for (int k = 0; k < 4; ++k) {
            FIND_FILTER_CHECK(literals[k]->matches(cell) == CellMatch::matchesText(cell, pattern, k + 4));
            FIND_FILTER_CHECK(literals[k + 4]->matches(cell) == CellMatch::matchesText(cell, pattern, k));
        }
    }

    std::string pattern;
    CellRegex withCase, noCase;
    std::unique_ptr<CellRegex> literals[8];
};

inline std::string line(const uint8_t*& at, const uint8_t* end) {
    std::string text;
    while (at < end && *at != '\n') text += static_cast<char>(*at++);
    if (at < end) ++at;
    return text;
}

// Decodes the bytes (kind, range corner, negation and colour, pattern line, replacement line,
// rows) and checks every invariant; throws Broken when one does not hold.
inline void run(const uint8_t* data, size_t size) {
    if (size < 4) return;
    static const int kinds[] = {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 14, 8, MatchRegexNoCase, MatchRegex};
    const int kind = kinds[data[0] % 16];
    const int corner = data[1];
    const bool negate = data[2] & 1;
    const int colour = (data[2] >> 1) % 17 - 1;   // -1: no colouring
    const uint8_t* at = data + 3;
    const uint8_t* end = data + size;
    const std::string pattern = line(at, end).substr(0, FindReplace::MaxTextBytes);
    const std::string replacement = line(at, end).substr(0, FindReplace::MaxTextBytes);

    CMyHyo hyo;
    hyo.journal().setLimit(10000000);
    int rows = 0;
    while (at < end && rows < 100) {
        std::string row = line(at, end);
        for (char& c : row)
            if (c == '\0' || (c >= 1 && c <= 5) || c == 7) c = 'x';
        hyo.setRow(rows++, row);
    }
    if (rows == 0) return;
    hyo.setWidestRow(hyo.widestRowCount());

    const RegexForms regex(pattern);
    for (int r = 0; r < hyo.rowCount(); ++r)
        for (int c = 0; c < hyo.widestRowCount() && c < 8; ++c) {
            kindsAgree(hyo.cellString(c, r), pattern);
            regex.check(hyo.cellString(c, r));
        }

    // Replace all inside a corner of the table.
    const SelectionRange range{corner % 3, (corner >> 2) % 4, corner % 3 + (corner >> 4) % 3,
                               (corner >> 2) % 4 + 4};
    FindParameters params;
    FindReplace::setFindText(params, pattern, 1, kind);
    FindReplace::setReplaceText(params, replacement);
    const std::string before = allRows(hyo);
    const int columns = hyo.widestRowCount() + 2;
    std::vector<std::string> outside;
    for (int r = 0; r < hyo.rowCount(); ++r)
        for (int c = 0; c < columns; ++c)
            if (r < range.top || r > range.bottom || c < range.left || c > range.right)
                outside.push_back(hyo.cellRawString(c, r));
    const int entries = hyo.journal().entryCount();
    const FindOutcome outcome = FindReplace::findAll(hyo, params, range, colour, true);
    size_t next = 0;
    for (int r = 0; r < hyo.rowCount(); ++r)
        for (int c = 0; c < columns; ++c) {
            FIND_FILTER_CHECK(cellIsSound(hyo.cellString(c, r)));
            if (r < range.top || r > range.bottom || c < range.left || c > range.right)
                FIND_FILTER_CHECK(hyo.cellRawString(c, r) == outside[next++]);
        }
    if (outcome.modified()) {
        FIND_FILTER_CHECK(hyo.journal().entryCount() == entries + 1);
        hyo.undo();
        FIND_FILTER_CHECK(allRows(hyo) == before);
    } else {
        FIND_FILTER_CHECK(allRows(hyo) == before);
    }

    // The filter keeps exactly the rows whose cell passes the condition.
    const int column = corner % 4;
    if (hyo.applyFilter(column, pattern, kind, 0, negate) == 0) {
        const CellMatch condition(pattern, kind, CellMatch::NumberRule::Filter);
        int kept = 0;
        for (int r = 0; r < hyo.storeRowCount(); ++r) {
            hyo.setFilterActive(false);
            const bool passes = condition.matches(hyo.cellString(column, r)) != negate;
            hyo.setFilterActive(true);
            if (passes) FIND_FILTER_CHECK(hyo.filterStoreRow(kept++) == r);
        }
        FIND_FILTER_CHECK(kept == hyo.rowCount());
    }
}

#undef FIND_FILTER_CHECK

} // namespace FindFilterCheck
