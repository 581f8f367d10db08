// ColourOperations: text and background colours on cells, whole rows and whole columns.
#pragma once

#include "engine/SelectionRange.h"

class CMyHyo;

// What the selection covers decides where the colour goes.
enum class ColourTarget { Cells, Rows, Columns };

class ColourOperations {
public:
    // Sets (index 0..31) or removes (any other index) the text or background colour on the
    // bounds as one undo step. Whole rows and whole columns take the colour themselves and
    // drop the cells' own colour of that kind, so theirs shows. 0 done, -1 when the user
    // declined going on without undo (nothing changed).
    static int setColour(CMyHyo& hyo, ColourTarget target, const SelectionRange& bounds,
                         bool textColour, int index);

private:
    static bool recordCellColours(CMyHyo& hyo, int row, int left, int right, int kind);
    static void removeCellColours(CMyHyo& hyo, int row, int left, int right, int kind);
};
