// FindReplace: walking the range cell by cell, and applying colours and replacements under one
// undo area.
#include "engine/FindReplace.h"

#include <algorithm>
#include <cstdio>

#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"
#include "store/CellMatch.h"
#include "store/Cp932Text.h"
#include "store/NumberText.h"
#include "store/Progress.h"
#include "store/RowFormat.h"
#include "store/RowSorter.h"
#include "store/TableLimits.h"
#include "store/UndoArea.h"

namespace {

struct CellBounds {
    int textStart;
    int end;
};

bool isColour(int colour) { return colour >= 0 && colour <= 15; }

char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

// False when no cell of the row can match a text search: the pattern's bytes (ASCII case
// folded when asked) occur nowhere in the row. Bytes are compared without regard to
// character starts, so this only ever lets too many rows through, never too few; a search
// for an absent text then runs at the speed of a byte search over the table.
bool rowMayContain(std::string_view row, std::string_view pattern, bool ignoreCase) {
    if (!ignoreCase) return row.find(pattern) != std::string_view::npos;
    const char lower = foldAscii(pattern[0]);
    const char upper = (lower >= 'a' && lower <= 'z') ? static_cast<char>(lower - ('a' - 'A')) : lower;
    for (std::size_t from = 0; from + pattern.size() <= row.size();) {
        const std::size_t a = row.find(lower, from);
        const std::size_t b = upper != lower ? row.find(upper, from) : std::string_view::npos;
        const std::size_t hit = std::min(a, b);
        if (hit == std::string_view::npos || hit + pattern.size() > row.size()) return false;
        std::size_t i = 1;
        while (i < pattern.size() && foldAscii(row[hit + i]) == foldAscii(pattern[i])) ++i;
        if (i == pattern.size()) return true;
        from = hit + 1;
    }
    return false;
}

std::string format(const char* pattern, int count) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, count);
    return text;
}

}  // namespace

bool FindReplace::setFindText(FindParameters& params, const std::string& text, int direction, int mode) {
    if (text.size() > MaxTextBytes) {
        Prompt::warn("検索文字が長すぎます。");
        return false;
    }
    if (!checkPattern(text, mode)) return false;
    params.text = text;
    // A search text that is not a number looks for 0, as the filter's does.
    if (!NumberText::findValue(text, params.value)) params.value = 0;
    setDirection(params, direction);
    params.mode = mode;
    return true;
}

bool FindReplace::setReplaceText(FindParameters& params, const std::string& text) {
    if (text.size() > MaxTextBytes) {
        Prompt::warn("置換文字が長すぎます。");
        return false;
    }
    params.replaceText = text;
    return true;
}

bool FindReplace::checkPattern(const std::string& text, int mode) {
    if (!CellMatch::isRegexKind(mode)) return true;
    const CellRegex pattern(text, mode == MatchRegex);
    if (pattern.valid()) return true;
    Prompt::warn(pattern.errorMessage());
    return false;
}

void FindReplace::setDirection(FindParameters& params, int direction) {
    params.direction = direction == -1 ? -1 : 1;
}

SelectionRange FindReplace::wholeTable(const CMyHyo& hyo) {
    return SelectionRange{0, 0, TableLimits::MaxColumns - 1, hyo.rowCount() - 1};
}

std::vector<FindReplace::Hit> FindReplace::scan(CMyHyo& hyo, const FindParameters& params,
                                                const CellMatch& condition, const SelectionRange& range,
                                                int column, int row, int direction, int limit,
                                                Progress* progress) {
    std::vector<Hit> hits;
    if (params.text.empty()) return hits;
    const CellRegex* regex = condition.regex();
    const bool textMode = params.mode >= MatchEqualNoCase && params.mode <= MatchContain;
    const bool ignoreCase = params.mode < MatchEqual;
    const int top = std::max(range.top, 0);
    const int bottom = std::min(range.bottom, hyo.rowCount() - 1);
    const int left = std::max(range.left, 0);
    const int right = range.right;
    if (top > bottom || left > right) return hits;
    std::vector<CellBounds> cells;
    int r = row;
    int c = column + direction;
    if (direction > 0 && r < top) {
        r = top;
        c = left;
    } else if (direction < 0 && r > bottom) {
        r = bottom;
        c = right;
    }
    // Each row is read once: its cells are stepped over from the first one tested.
    for (; r >= top && r <= bottom && !(regex && regex->gaveUp()); r += direction, c = direction > 0 ? left : right) {
        if (progress && !progress->report(r - top)) return {};
        const char* text = hyo.rowText(r);
        const int length = hyo.rowLength(r);
        const int first = left;
        const int last = direction > 0 ? right : std::min(c, right);
        int from = direction > 0 ? std::max(c, left) : first;
        if (!text || from > last) continue;
        if (textMode && !rowMayContain(std::string_view(text, static_cast<std::size_t>(length)), params.text, ignoreCase))
            continue;
        CellSpan span = RowFormat::locate(text, length, from);
        if (!span.exists) continue;
        cells.clear();
        for (int pos = span.start, col = from; col <= last; ++col) {
            const int end = RowFormat::cellEnd(text, length, pos);
            const int start = RowFormat::textStart(text, end, pos);
            if (direction > 0) {
                if (condition.matches(std::string_view(text + start, static_cast<std::size_t>(end - start)))) {
                    hits.push_back({col, r});
                    if (static_cast<int>(hits.size()) >= limit) return hits;
                }
            } else {
                cells.push_back({start, end});
            }
            if (end >= length) break;
            pos = end + 1;
        }
        for (int i = static_cast<int>(cells.size()) - 1; i >= 0; --i) {
            const CellBounds& cell = cells[i];
            if (condition.matches(std::string_view(text + cell.textStart, static_cast<std::size_t>(cell.end - cell.textStart)))) {
                hits.push_back({from + i, r});
                if (static_cast<int>(hits.size()) >= limit) return hits;
            }
        }
    }
    return hits;
}

int FindReplace::replaceText(std::string_view cell, std::string_view search, std::string_view replacement,
                             std::string& out) {
    out.clear();
    if (search.empty()) return 0;
    if (replacement.size() >= TableLimits::MaxCellBytes) return -1;
    std::size_t from = 0;
    bool any = false;
    for (std::size_t hit = Cp932Text::find(cell, search, false); hit != Cp932Text::npos;
         hit = Cp932Text::find(cell, search, false, from)) {
        out.append(cell.substr(from, hit - from));
        out.append(replacement);
        from = hit + search.size();
        any = true;
    }
    if (!any) return 0;
    out.append(cell.substr(from));
    if (out.size() >= TableLimits::MaxCellBytes) return -1;
    return out == cell ? 0 : 1;
}

void FindReplace::apply(CMyHyo& hyo, const FindParameters& params, const CellMatch& condition,
                        const std::vector<Hit>& hits, int colour, bool replace, FindOutcome& outcome,
                        Progress* progress, long long reportFrom) {
    struct TextChange {
        Hit cell;
        std::size_t offset;
        std::size_t length;
    };
    std::vector<TextChange> texts;
    std::vector<Hit> colours;
    std::string pool;
    std::string replaced;
    const CellRegex* regex = condition.regex();
    for (const Hit& hit : hits) {
        // Hits come in reading order; nothing has changed before the undo area below.
        if (progress && !progress->report(reportFrom + hit.row)) {
            outcome.cancelled = true;
            return;
        }
        if (replace) {
            const std::string_view cell = RowSorter::keyCell(hyo.rowText(hit.row), hyo.rowLength(hit.row), hit.column);
            const int result = regex ? regex->replace(cell, params.replaceText, replaced)
                                     : replaceText(cell, params.text, params.replaceText, replaced);
            if (result == CellRegex::GaveUp) return;
            if (result < 0) ++outcome.skipped;
            if (result > 0) {
                texts.push_back({hit, pool.size(), replaced.size()});
                pool += replaced;
            }
        }
        if (isColour(colour) && hyo.cellAttribute(hit.column, hit.row, AttrBackColour) != colour) colours.push_back(hit);
    }
    if (texts.empty() && colours.empty()) return;

    int left = TableLimits::MaxColumns, right = 0, top = hyo.rowCount(), bottom = -1;
    auto widen = [&](const Hit& hit) {
        left = std::min(left, hit.column);
        right = std::max(right, hit.column);
        top = std::min(top, hit.row);
        bottom = std::max(bottom, hit.row);
    };
    for (const TextChange& change : texts) widen(change.cell);
    for (const Hit& hit : colours) widen(hit);
    // The last changed column of each row from `top` on (-1: the row does not change).
    auto lastPerRow = [&](auto&& cells) {
        std::vector<int> last(static_cast<std::size_t>(bottom - top + 1), -1);
        for (const Hit& hit : cells) last[hit.row - top] = std::max(last[hit.row - top], hit.column);
        return last;
    };
    std::vector<Hit> textCells;
    for (const TextChange& change : texts) textCells.push_back(change.cell);

    // One area: every row from the first changed one, each from the left column to its last
    // changed cell; the texts, then back to the start for the old backgrounds.
    UndoArea area(hyo.journal(), UndoCellText, 0, left, top, right, bottom);
    auto recordRows = [&](const std::vector<int>& last, auto record) {
        for (int row = top; row <= bottom && area.collecting(); ++row) {
            for (int column = left; column <= last[row - top] && area.collecting(); ++column) record(column, row);
            area.nextRow();
        }
    };
    if (!texts.empty() && area.collecting())
        recordRows(lastPerRow(textCells), [&](int column, int row) { hyo.setCell(column, row, nullptr); });
    if (!colours.empty() && area.collecting()) {
        if (!texts.empty()) hyo.journal().appendMarker(UndoBackToStart);
        hyo.journal().appendMarker(UndoSetKind, UndoCellAttribute, AttrBackColour);
        recordRows(lastPerRow(colours),
                   [&](int column, int row) { hyo.setCellAttribute(column, row, AttrBackColour, 0, 0, -1); });
    }
    if (!area.commit()) {
        outcome.cancelled = true;
        return;
    }
    for (const TextChange& change : texts)
        if (hyo.setCellBytes(change.cell.column, change.cell.row, pool.data() + change.offset,
                             static_cast<int>(change.length)) == 1)
            ++outcome.replaced;
    for (const Hit& hit : colours)
        if (hyo.setCellAttribute(hit.column, hit.row, AttrBackColour, colour, 1, 1) == 1) ++outcome.coloured;
}

FindOutcome FindReplace::findNext(CMyHyo& hyo, const FindParameters& params, const SelectionRange& range,
                                  int column, int row, int colour, bool replace) {
    FindOutcome outcome;
    const int direction = params.direction == -1 ? -1 : 1;
    const CellMatch condition(params.text, params.mode, CellMatch::NumberRule::Find);
    const std::vector<Hit> hits = scan(hyo, params, condition, range, column, row, direction, 1);
    if (gaveUp(condition, outcome) || hits.empty()) return outcome;
    outcome.found = true;
    outcome.column = hits.front().column;
    outcome.row = hits.front().row;
    outcome.matches = 1;
    if (isColour(colour) || replace) apply(hyo, params, condition, hits, colour, replace, outcome);
    gaveUp(condition, outcome);
    return outcome;
}

FindOutcome FindReplace::findAll(CMyHyo& hyo, FindParameters& params, const SelectionRange& range, int colour,
                                 bool replace) {
    FindOutcome outcome;
    params.direction = 1;
    const CellMatch condition(params.text, params.mode, CellMatch::NumberRule::Find);
    // Half the reports come from finding the cells, half from working out their new texts;
    // stopping in either leaves the table and the journal as they were.
    const int top = std::max(range.top, 0);
    const long long rows = std::max(std::min(range.bottom, hyo.rowCount() - 1) - top + 1, 0);
    Progress progress(replace ? "置換" : "検索", 2 * rows);
    const std::vector<Hit> hits = scan(hyo, params, condition, range, -1, 0, 1, MaxMatches, &progress);
    if (progress.cancelled()) outcome.cancelled = true;
    if (gaveUp(condition, outcome) || hits.empty()) return outcome;
    outcome.found = true;
    outcome.column = hits.back().column;
    outcome.row = hits.back().row;
    outcome.matches = static_cast<int>(hits.size());
    if (isColour(colour) || replace)
        apply(hyo, params, condition, hits, colour, replace, outcome, &progress, rows - top);
    gaveUp(condition, outcome);
    return outcome;
}

// A pattern that gave up leaves the table and the cursor as they were: the outcome is reset
// to "nothing found, nothing changed" (apply stops before its undo area) and the user told.
bool FindReplace::gaveUp(const CellMatch& condition, FindOutcome& outcome) {
    if (!condition.regex() || !condition.regex()->gaveUp()) return false;
    outcome = FindOutcome{};
    outcome.gaveUp = true;
    Prompt::warn("検索が複雑すぎるため中断しました。");
    return true;
}

void FindReplace::reportAll(const FindOutcome& outcome, bool replace) {
    if (outcome.cancelled) return;
    const std::string text = replace ? format("%d箇所のセルを置換しました。", outcome.replaced)
                                     : format("%d箇所のセルの色を設定しました。", outcome.matches);
    Prompt::messageBox(text, "確認", PromptButtons::Ok, PromptIcon::Information);
    reportSkipped(outcome);
}

void FindReplace::reportSkipped(const FindOutcome& outcome) {
    if (outcome.skipped > 0 && !outcome.cancelled)
        Prompt::warn(format("%d箇所のセルは文字数がオーバーするため変更できませんでした。", outcome.skipped));
}
