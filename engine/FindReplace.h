// FindReplace: find next, find all, replace and colouring of found cells over a cell range.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/FindParameters.h"
#include "engine/SelectionRange.h"

class CMyHyo;
class CellMatch;
class Progress;

// What a find did, for the window to move the cursor, redraw and report.
struct FindOutcome {
    bool found = false;
    int column = -1;         // the (last) match
    int row = -1;
    int matches = 0;         // cells that matched
    int replaced = 0;        // cells whose text changed
    int coloured = 0;        // cells whose background changed
    int skipped = 0;         // cells left alone: the replaced text would reach 5,000 bytes
    bool cancelled = false;  // the user declined going on without undo, or stopped it: nothing changed
    bool gaveUp = false;     // a regular expression ran too long on a cell: nothing changed
    bool modified() const { return replaced > 0 || coloured > 0; }
};

// Every command records one undo area for all the cells it changes (texts first, then the
// old backgrounds), so a replace all is undone in one step. Matching is at Shift-JIS character
// starts only; replacing is byte-exact, so a cell found only by ignoring case keeps its text
// and is not counted as replaced. With a regular-expression kind every match of the pattern is
// replaced by the expanded replacement ($1, ${name}, ...); a pattern that runs too long on a
// cell stops the command with "検索が複雑すぎるため中断しました。" before anything changes.
class FindReplace {
public:
    static constexpr std::size_t MaxTextBytes = 50;
    static constexpr int MaxMatches = 9999999;

    // False (after "検索文字が長すぎます。", or the pattern's fault for a regular-expression
    // kind) when the text is over 50 bytes or not a valid pattern: nothing changes.
    static bool setFindText(FindParameters& params, const std::string& text, int direction, int mode);
    // False (after "置換文字が長すぎます。") when the text is over 50 bytes.
    static bool setReplaceText(FindParameters& params, const std::string& text);
    // True unless `mode` is a regular-expression kind and `text` no valid pattern (then after
    // "正規表現に誤りがあります。(%d文字目：%s)").
    static bool checkPattern(const std::string& text, int mode);
    // -1 is up, any other value down.
    static void setDirection(FindParameters& params, int direction);

    // Every column and every row of the view.
    static SelectionRange wholeTable(const CMyHyo& hyo);

    // The next match from (column, row) in the direction, within `range` (no wrap-around).
    // `colour` 0-15 sets the found cell's background; `replace` replaces the search text in it.
    static FindOutcome findNext(CMyHyo& hyo, const FindParameters& params, const SelectionRange& range,
                                int column, int row, int colour, bool replace);
    // Every match of `range` in reading order (the direction becomes down).
    static FindOutcome findAll(CMyHyo& hyo, FindParameters& params, const SelectionRange& range,
                               int colour, bool replace);

    // Replaces every occurrence of `search` at a character start, left to right, without
    // overlapping. 1 changed, 0 nothing to replace, -1 the result would reach 5,000 bytes.
    static int replaceText(std::string_view cell, std::string_view search, std::string_view replacement,
                           std::string& out);

    // After find all or replace all: the count ("確認"), then the skipped cells ("注意").
    static void reportAll(const FindOutcome& outcome, bool replace);
    // After a single find that replaced: the skipped cell, if any.
    static void reportSkipped(const FindOutcome& outcome);

private:
    struct Hit {
        int column;
        int row;
    };
    static std::vector<Hit> scan(CMyHyo& hyo, const FindParameters& params, const CellMatch& condition,
                                 const SelectionRange& range, int column, int row, int direction, int limit,
                                 Progress* progress = nullptr);
    // With `progress`, reports reportFrom + the hit's row before each hit's new text.
    static void apply(CMyHyo& hyo, const FindParameters& params, const CellMatch& condition,
                      const std::vector<Hit>& hits, int colour, bool replace, FindOutcome& outcome,
                      Progress* progress = nullptr, long long reportFrom = 0);
    static bool gaveUp(const CellMatch& condition, FindOutcome& outcome);
};
