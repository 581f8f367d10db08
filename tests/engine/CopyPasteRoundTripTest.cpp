// Copy then paste inside the program gives back the same cells, however long the quoted
// cell a copy writes.
#include <gtest/gtest.h>

#include <string>

#include "engine/ClipboardText.h"
#include "engine/PasteOperation.h"
#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"

namespace {

// Copies a 2 x 2 table, `first` and `second` down its first column, with quotes for line
// breaks only, pastes the text into an empty table and tells how the result differs.
std::string copyAndPaste(const std::string& first, const std::string& second) {
    CMyHyo from;
    from.setCellBytes(0, 0, first.data(), static_cast<int>(first.size()));
    from.setCell(1, 0, "b");
    from.setCellBytes(0, 1, second.data(), static_cast<int>(second.size()));
    from.setCell(1, 1, "d");
    std::string text;
    ClipboardText::copyText(from, {0, 0, 1, 1}, ClipboardText::CopyTabs, true, &text);
    CMyHyo to;
    PasteOptions options;
    options.warnLineBreaks = false;
    if (PasteOperation::paste(to, {0, 0, 0, 0}, text, options) != PasteOutcome::Pasted) return "refused";
    std::string differences = std::to_string(to.rowCount()) + " rows";
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 2; ++column)
            if (to.cellString(column, row) != from.cellString(column, row))
                differences += ", cell " + std::to_string(column) + "," + std::to_string(row) +
                               " has " + std::to_string(to.cellString(column, row).size()) + " bytes";
    return differences;
}

} // namespace

TEST(CopyPasteRoundTrip, LongQuotedCellsComeBackWhole) {
    ScriptedPrompt prompt;
    const std::string full = std::string(4998, 'a') + "\r\n";   // 5,000 bytes
    EXPECT_EQ(copyAndPaste(full, "c"), "2 rows");
    const std::string quotes = std::string(3000, '"') + "\r\nq";   // doubled: over 5,000
    EXPECT_EQ(copyAndPaste("a", quotes), "2 rows");
}
