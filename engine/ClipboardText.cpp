// ClipboardText: the text a copy puts on the clipboard and the parsing of pasted text.
#include "engine/ClipboardText.h"

#include <algorithm>

#include "store/CMyHyo.h"
#include "store/CMyWriter.h"
#include "store/Cp932Text.h"
#include "store/RowFormat.h"

namespace {

bool endsValue(char c) { return c == '\t' || c == '\r' || c == '\n' || c == '\0'; }

// Appends a line break as CR LF; `at` is on CR or LF and moves past the break.
void takeLineBreak(std::string_view text, std::size_t& at, std::string& out) {
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
    ++at;
    out += "\r\n";
}

bool holdsLineBreak(const char* begin, const char* end) {
    return std::find_if(begin, end, [](char c) { return c == '\r' || c == '\n'; }) != end;
}

} // namespace

int PastedBlock::width(int row) const {
    const std::uint32_t first = row > 0 ? rowEnds[row - 1] : 0;
    return static_cast<int>(rowEnds[row] - first);
}

std::string_view PastedBlock::value(int row, int column) const {
    const std::uint32_t index = (row > 0 ? rowEnds[row - 1] : 0) + column;
    const std::uint32_t begin = index > 0 ? ends[index - 1] : 0;
    return std::string_view(bytes).substr(begin, ends[index] - begin);
}

std::int64_t ClipboardText::copyText(CMyHyo& hyo, const SelectionRange& bounds, int mode,
                                     bool lineBreakOnly, std::string* out, std::int64_t stopAfter) {
    const bool commas = mode == CopyCommas;
    const char separator = commas ? ',' : '\t';
    // As a TAB file is written: quotes for line breaks only, or also for quotes; a comma copy
    // quotes commas, line breaks and quotes.
    const int cellMode = commas || !lineBreakOnly ? WriteNeeded : WriteNeededBreaksOnly;
    const bool singleCell = bounds.left == bounds.right && bounds.top == bounds.bottom;
    std::int64_t total = 0;
    for (int row = bounds.top; row <= bounds.bottom && total <= stopAfter; ++row) {
        const int storeIndex = hyo.storeRow(row);
        const bool present = storeIndex >= 0 && storeIndex < hyo.storeRowCount();
        const char* text = present ? hyo.rowText(row) : nullptr;
        const int length = present ? hyo.rowLength(row) : 0;
        CellSpan span = text ? RowFormat::locate(text, length, bounds.left) : CellSpan{};
        bool breakInside = false;
        for (int column = bounds.left; column <= bounds.right; ++column) {
            if (column > bounds.left) {
                ++total;
                if (out) *out += separator;
            }
            if (!span.exists) continue;
            const char* begin = text + span.textStart;
            const char* end = text + span.end;
            const int size = CMyWriter::formatSpan(commas, cellMode, begin, end, nullptr, 0);
            total += size;
            if (singleCell) breakInside = holdsLineBreak(begin, end);
            if (out) {
                const std::size_t at = out->size();
                out->resize(at + size);
                CMyWriter::formatSpan(commas, cellMode, begin, end, out->data() + at, 0);
            }
            if (span.end >= length) {
                span.exists = false;
            } else {
                span.start = span.end + 1;
                span.end = RowFormat::cellEnd(text, length, span.start);
                span.textStart = RowFormat::textStart(text, span.end, span.start);
            }
        }
        if (!singleCell || breakInside) {
            total += 2;
            if (out) *out += "\r\n";
        }
    }
    return total;
}

// A quote opens an enclosed value only if a closing quote follows that stands before TAB or
// a line end, with a line break between the quotes. A TAB before the closing quote means the
// quote was text. The scan runs to the end of the text: a copied cell of the full size grows
// by its quotes, so no limit of the cell's size would find them all. It stops at the first
// closing quote, so pasting stays linear.
bool ClipboardText::smartEnclosed(std::string_view text, std::size_t pos) {
    bool sawBreak = false;
    for (std::size_t at = pos + 1; at < text.size();) {
        const char c = text[at];
        if (c == '\t' || c == '\0') return false;
        if (c == '"') {
            if (at + 1 < text.size() && text[at + 1] == '"') {
                at += 2;
                continue;
            }
            return sawBreak && at + 1 < text.size() &&
                   (text[at + 1] == '\t' || text[at + 1] == '\r' || text[at + 1] == '\n');
        }
        if (c == '\r' || c == '\n') sawBreak = true;
        at += Cp932Text::charLength(text, at);
    }
    return false;
}

std::size_t ClipboardText::parseValue(ParseMode mode, std::string_view text, std::size_t pos,
                                      std::string& out, int& lineBreaks) {
    out.clear();
    lineBreaks = 0;
    std::size_t at = pos;
    if (mode == ParseMode::Smart && at < text.size() && text[at] == '"' && smartEnclosed(text, at)) {
        ++at;
        while (at < text.size()) {
            const char c = text[at];
            if (c == '"') {
                if (at + 1 < text.size() && text[at + 1] == '"') {
                    out += '"';
                    at += 2;
                    continue;
                }
                return at + 1;  // the closing quote; a TAB or line end follows
            }
            if (c == '\r' || c == '\n') {
                takeLineBreak(text, at, out);
                ++lineBreaks;
            } else {
                out += c;
                ++at;
            }
        }
        return at;
    }
    bool enclosed = false;
    while (at < text.size()) {
        const char c = text[at];
        if (!enclosed) {
            if (endsValue(c)) break;
            if (c == '"' && mode == ParseMode::Strict) enclosed = true;
            else out += c;
            ++at;
        } else if (c == '"') {
            const bool doubled = at + 1 < text.size() && text[at + 1] == '"';
            if (doubled) out += '"';
            else enclosed = false;
            at += doubled ? 2 : 1;
        } else if (c == '\r' || c == '\n') {
            takeLineBreak(text, at, out);
        } else if (c == '\0') {
            break;
        } else {
            out += c;
            ++at;
        }
    }
    return at;
}

PastedBlock ClipboardText::parse(ParseMode mode, std::string_view text) {
    PastedBlock block;
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    block.bytes.reserve(text.size());
    std::string value;
    std::size_t at = 0;
    int inRow = 0;
    while (true) {
        int breaks = 0;
        at = parseValue(mode, text, at, value, breaks);
        if (breaks > 0) block.enclosedBreaks = true;
        Cp932Text::sanitise(value);
        block.bytes += value;
        block.ends.push_back(static_cast<std::uint32_t>(block.bytes.size()));
        block.longest = std::max(block.longest, value.size());
        ++inRow;
        if (at < text.size() && text[at] == '\t') {
            ++at;
            continue;
        }
        block.rowEnds.push_back(static_cast<std::uint32_t>(block.ends.size()));
        block.widest = std::max(block.widest, inRow);
        inRow = 0;
        if (at >= text.size()) break;
        if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
        ++at;  // the CR or LF ending the row
        if (at >= text.size()) break;
    }
    return block;
}
