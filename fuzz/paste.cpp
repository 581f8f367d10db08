// Fuzz target: pasted text in every parse mode, normal and transposed, into a small table with
// colours; the paste must leave well-formed rows and its undo the exact bytes of before, and
// the table's copy pasted into an empty table gives back the same cells.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/ClipboardText.h"
#include "engine/PasteOperation.h"
#include "store/CMyHyo.h"
#include "store/RowFormat.h"

namespace {

std::string allRows(CMyHyo& hyo) {
    std::string out;
    for (int i = 0; i < hyo.storeRowCount(); ++i) out += hyo.rowList().line(i) + '\n';
    return out;
}

void fillTable(CMyHyo& hyo) {
    const bool was = hyo.journal().setRecording(false);
    hyo.setRow(0, std::string("a\t\x02\x05\x03" "b\tc"));
    hyo.setRow(1, std::string("\x07\x02\x05\x01" "d"));
    hyo.setRow(3, std::string("\"q\"\t\x82\xa0\r\nx"));
    hyo.setWidestRow(hyo.widestRowCount());
    hyo.journal().setRecording(was);
}

// The smart reading takes a quote as text unless a closing quote and a line break follow
// before any TAB. A cell that starts with a quote and is copied unquoted (it has no line
// break) is followed by TAB, except in the last column, where the scan runs on into the next
// row and may join cells; the property holds for every other table. Copies quote cells with
// line breaks (smart) or also cells with quotes (strict).
bool smartCopyIsAmbiguous(CMyHyo& hyo, const SelectionRange& all) {
    for (int row = all.top; row <= all.bottom; ++row) {
        const std::string cell = hyo.cellString(all.right, row);
        if (!cell.empty() && cell[0] == '"' && cell.find_first_of("\r\n") == std::string::npos) return true;
    }
    return false;
}

void copyThenPasteKeepsCells(CMyHyo& hyo, const SelectionRange& all, bool lineBreakOnly) {
    if (lineBreakOnly && smartCopyIsAmbiguous(hyo, all)) return;
    std::string copied;
    ClipboardText::copyText(hyo, all, ClipboardText::CopyTabs, lineBreakOnly, &copied);
    CMyHyo pasted;
    pasted.journal().setLimit(10000000);
    PasteOptions options;
    options.lineBreakOnly = lineBreakOnly;
    options.warnLineBreaks = false;
    if (PasteOperation::paste(pasted, {0, 0, 0, 0}, copied, options) != PasteOutcome::Pasted) std::abort();
    for (int row = all.top; row <= all.bottom; ++row)
        for (int column = all.left; column <= all.right; ++column)
            if (pasted.cellString(column - all.left, row - all.top) != hyo.cellString(column, row))
                std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint8_t control = data[0];
    const uint8_t place = data[1];
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

    PasteOptions options;
    options.plain = control & 1;
    options.lineBreakOnly = control & 2;
    options.warnLineBreaks = false;
    const int column = place & 7;
    const int row = (place >> 3) & 7;
    SelectionRange bounds{column, row, column, row};
    if (control & 4) bounds.right += (control >> 4) & 3;
    if (control & 8) bounds.bottom += (control >> 6) & 3;

    CMyHyo hyo;
    hyo.journal().setLimit(10000000);
    fillTable(hyo);
    const std::string before = allRows(hyo);
    const PasteOutcome outcome = (control & 0x30) == 0x30
                                     ? PasteOperation::pasteTransposed(hyo, bounds, text, options)
                                     : PasteOperation::paste(hyo, bounds, text, options);
    for (int i = 0; i < hyo.storeRowCount(); ++i) {
        const char* bytes = hyo.rowList().lineText(i);
        const int length = hyo.rowList().lineLength(i);
        if (bytes && RowFormat::positionalCells(bytes, length) > hyo.widestRowValue() + 1) std::abort();
    }
    if (outcome == PasteOutcome::Pasted) {
        hyo.undo();
        if (allRows(hyo) != before) std::abort();
    } else if (allRows(hyo) != before) {
        std::abort();
    }
    // The copy of what is there now measures what it writes.
    std::string copied;
    const SelectionRange all{0, 0, 7, 9};
    if (ClipboardText::copyText(hyo, all, control & 1, control & 2, &copied) !=
        static_cast<std::int64_t>(copied.size()))
        std::abort();
    copyThenPasteKeepsCells(hyo, all, control & 2);
    return 0;
}
