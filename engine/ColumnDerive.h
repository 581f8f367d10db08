// ColumnDerive: join, split, compare and group - new columns derived from selected ones.
#pragma once

#include <string>
#include <string_view>

#include "engine/SelectionRange.h"

class CMyHyo;

// What the user selected: the bounds and whether whole rows or whole columns were taken.
enum class SelectionShape { Cells, WholeColumns, WholeRows };
struct ColumnSelection {
    SelectionRange bounds;
    SelectionShape shape = SelectionShape::Cells;
};

// When `changed`, the window marks the document modified, raises the scroll ranges, renders
// with a forced header and refreshes the status panels; otherwise nothing changed (a refusal
// was shown, or the user said No).
struct ColumnOutcome {
    bool changed = false;
    int firstNewColumn = -1;
    int newColumns = 0;
};

// Delimiter kinds of a join, and rules of a split.
enum JoinKind { JoinNone = 0, JoinSpace = 1, JoinWideSpace = 2, JoinCharacter = 10 };
enum SplitRule {
    SplitEvery = 0,            // every delimiter character ends a piece
    SplitSpaceRuns = 1,        // a space ends a piece; the spaces after it are skipped
    SplitEveryWideSpace = 2,   // every full-width space ends a piece
    SplitWideSpaceRuns = 3,    // a full-width space ends a piece; those after it are skipped
};
struct JoinRequest {
    int kind = JoinNone;
    std::string delimiter;   // for JoinCharacter: one whole character
};
struct SplitRequest {
    int rule = SplitEvery;
    std::string delimiter;   // for SplitEvery: one whole character
};

// The result columns go right of the source columns, each operation's in the next colour of
// the sequence 11, 12, 10 (as column backgrounds), and are undone as one step. Source cells
// are never touched. Refusals are shown here (caption "注意"). One object lives with each
// window, so the colour sequence and the delimiters last as long as it.
class ColumnDerive {
public:
    // The menu items' tags. Tags that ask for a delimiter (join 10, split 11) give the kind
    // with an empty delimiter: the caller fills in the entered character.
    static JoinRequest joinForTag(int tag);
    static SplitRequest splitForTag(int tag);
    static bool joinTagAsks(int tag) { return tag == 10; }
    static bool splitTagAsks(int tag) { return tag == 11; }

    ColumnOutcome join(CMyHyo& hyo, const ColumnSelection& selection, const JoinRequest& request);
    ColumnOutcome split(CMyHyo& hyo, const ColumnSelection& selection, const SplitRequest& request);
    ColumnOutcome compare(CMyHyo& hyo, const ColumnSelection& selection);
    ColumnOutcome group(CMyHyo& hyo, const ColumnSelection& selection);

    // Background colour index the next result columns get.
    int nextColour() const { return 10 + colourCounter_; }

    // The last delimiters entered for a join and a split, offered the next time (CP932).
    std::string joinDelimiter = "/";
    std::string splitDelimiter = "/";

private:
    int takeColour();

    int colourCounter_ = 1;
};
