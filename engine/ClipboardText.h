// ClipboardText: the text a copy puts on the clipboard and the parsing of pasted text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/SelectionRange.h"

class CMyHyo;

// How quotes in pasted text are read.
enum class ParseMode {
    Smart,   // normal paste while quoting is for line breaks only: only a quoted value with a
             // line break inside, closed before TAB or a line end, is taken as enclosed
    Strict,  // normal paste otherwise: quotes open and close enclosed parts anywhere
    Plain,   // paste without line breaks: quotes are text
};

// Pasted text cut into rows of values. Every line break inside a value is CR LF; TAB and the
// bytes 0x01-0x05 became spaces, other control bytes "?".
struct PastedBlock {
    std::string bytes;                  // the values back to back
    std::vector<std::uint32_t> ends;    // end of each value in `bytes`
    std::vector<std::uint32_t> rowEnds; // one past the last value of each row
    int widest = 0;                     // values in the longest row
    std::size_t longest = 0;            // bytes of the longest value
    bool enclosedBreaks = false;        // the smart mode took a quoted value with line breaks

    int rows() const { return static_cast<int>(rowEnds.size()); }
    int width(int row) const;
    std::string_view value(int row, int column) const;
    // A single value: one row holding one value.
    bool single() const { return rows() == 1 && width(0) == 1; }
};

class ClipboardText {
public:
    enum CopyMode { CopyTabs = 0, CopyCommas = 1 };

    // Copy text of the bounds: cells separated by TAB (or comma), rows ended by CR LF, a
    // single cell without CR LF unless it holds a line break. Appends to `out` when given.
    // Returns the byte count; measuring stops once it passes `stopAfter`, so the result may
    // then be smaller than the whole text would be (but is still above `stopAfter`).
    static std::int64_t copyText(CMyHyo& hyo, const SelectionRange& bounds, int mode,
                                 bool lineBreakOnly, std::string* out,
                                 std::int64_t stopAfter = INT64_MAX);

    // Parses one value from `pos` into `out` (replacing its contents). Returns the position
    // after the value: at a TAB, CR, LF, NUL or the end. `lineBreaks` counts the line breaks
    // of a value the smart mode took as enclosed (0 otherwise).
    static std::size_t parseValue(ParseMode mode, std::string_view text, std::size_t pos,
                                  std::string& out, int& lineBreaks);

    // The whole text. A row end at the very end starts no further row; NUL ends the text.
    static PastedBlock parse(ParseMode mode, std::string_view text);

private:
    static bool smartEnclosed(std::string_view text, std::size_t pos);
};
