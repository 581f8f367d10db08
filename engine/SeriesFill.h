// SeriesFill: extends a block of cells over a larger range (fill handle, F4) as one undo step.
#pragma once

#include "engine/EditOutcome.h"
#include "engine/SelectionRange.h"

#include <string>
#include <string_view>

class CMyHyo;
class CMyPublic;

// A rectangle of cells in view coordinates; the corners may be given in either order.
using FillBlock = SelectionRange;

// The source block is continued to the right over the target's extra columns, then down over
// its extra rows. A source exactly two cells wide (or tall) is read as a series and continued;
// any other source is repeated cyclically. The target's old text is journalled as one area.
class SeriesFill {
public:
    SeriesFill(CMyHyo& hyo, CMyPublic& dates);

    // Cells written: render, mark modified and raise the scroll ranges (the fill may reach
    // beyond the table). Nothing when the corners differ, the target adds no cells, or the
    // user declined going on without undo.
    EditOutcome run(const FillBlock& source, const FillBlock& target);

    // The value after an older value and a newer one: the next date of a date series, else the
    // first differing digit run continued (|2q - p|), else the older value itself.
    std::string continueSeries(std::string_view older, std::string_view newer);
    // The same without the date rule.
    static std::string continueText(std::string_view older, std::string_view newer);

private:
    void prepareDates();

    CMyHyo& hyo_;
    CMyPublic& dates_;
    std::string firstValue_;
    bool datesPrepared_ = false;
};
