// SizeChange: column widths and row heights set by a border drag (and by fitting), as one
// undo step.
#pragma once

#include "engine/EditOutcome.h"

class CMyHyo;

class SizeChange {
public:
    // Columns first..last get `width` (unscaled). Declining to go on without undo changes
    // nothing. Sizes do not mark the document modified.
    static EditOutcome columnWidths(CMyHyo& hyo, int first, int last, int width, int row);
    // Rows first..last get `height` (unscaled).
    static EditOutcome rowHeights(CMyHyo& hyo, int first, int last, int height);
};
