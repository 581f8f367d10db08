// Texts of the main window's status panels, built from plain values so they can be checked alone.
#pragma once

#include <string>

// Every result is UTF-8 ready for the status bar; cell texts and column names come in as CP932.
class StatusText {
public:
    // Panel 0: "MAX列:%d MAX行:%d".
    static std::string tableSize(int columns, int rows);
    // Panel 1 for the selection bounds (zero-based); `columnName` (CP932, may be empty) is the
    // name of the left column, shown cut to 30 bytes in parentheses.
    static std::string selection(int c1, int r1, int c2, int r2, const std::string& columnName);
    // Panel 6 totals: "横計:%s" along a row, "縦計:%s" down a column.
    static std::string total(bool alongRow, double sum);
    // Panel 6 cell excerpt: the cell text cut to 54 bytes, line breaks shown as blanks.
    static std::string cellExcerpt(const char* cellText);
    // Panel 5: "%d%%".
    static std::string zoom(int scale);
    // Panels 2 to 4.
    static std::string separator(char separator, bool colourFileInUse);
    static std::string encoding(int encoding, bool withBom);
    static std::string lineEnding(int lineEnding);

    // Copies `text` (CP932) up to its first TAB or NUL; when n bytes have been copied and more
    // follow, ".." ends the copy. A double-byte character is never split, so the copied part
    // may be n + 1 bytes. Returns CP932 bytes.
    static std::string cut(const char* text, size_t n);
};
