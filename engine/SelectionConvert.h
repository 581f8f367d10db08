// SelectionConvert: the width, kana and case commands over the cells of a selection.
#pragma once

#include "store/KanaConvert.h"
#include "engine/SelectionRange.h"

class CMyHyo;

struct ConvertSetting {
    unsigned options = 0;
    CaseChange change = CaseChange::None;
};

// When changedCells > 0 the window marks the document modified, raises the scroll ranges,
// renders and refreshes the status panels.
struct ConvertOutcome {
    int changedCells = 0;
    int skippedCells = 0;    // results over the cell limit, left as they were
    bool declined = false;   // the user would not go on without undo: nothing changed
};

class SelectionConvert {
public:
    // The Edit menu's conversion tags (user keys 50..55 run tags 0..5): 全角->半角,
    // 半角->全角, upper case, lower case, half-width katakana to hiragana, hiragana to
    // half-width katakana. Any other tag converts to full width.
    static ConvertSetting forTag(int tag);

    // Converts every existing cell of the bounds (view rows, clamped to the table) as one
    // undo step; only cells whose text changes are recorded and rewritten. A cell whose
    // result would pass the cell limit stays and is counted (and reported); a cell with an
    // invalid double-byte sequence stays silently.
    static ConvertOutcome run(CMyHyo& hyo, const SelectionRange& bounds, ConvertSetting setting);
};
