// PasteOperation: writes pasted text into the table (normal, without line breaks, transposed).
#pragma once

#include <string_view>

#include "engine/SelectionRange.h"

class CMyHyo;

// Outcome of a paste; refusals and the undo question were shown already.
enum class PasteOutcome {
    Pasted,     // the table changed (the document is modified)
    Declined,   // the user chose not to go on without undo; nothing changed
    Refused,    // too big for a cell or the grid, or a range for a transposed paste
    Failed,     // memory ran out part-way; what was written can be undone
};

struct PasteOptions {
    bool plain = false;          // "貼り付け(改行なし)": quotes are text, every line end a row end
    bool lineBreakOnly = true;   // quoting for line breaks only: the smart reading of quotes
    bool warnLineBreaks = true;  // show the notice when quotes were taken as enclosing
};

class PasteOperation {
public:
    // The text's rows go to the bounds' top-left, repeated down a selection of several rows;
    // a single value fills every cell of a selection. One undo step.
    static PasteOutcome paste(CMyHyo& hyo, const SelectionRange& bounds, std::string_view text,
                              const PasteOptions& options);
    // The text's rows become columns from the current cell; the bounds must be one cell.
    static PasteOutcome pasteTransposed(CMyHyo& hyo, const SelectionRange& bounds,
                                        std::string_view text, const PasteOptions& options);
};
