// CardTransfer: filling the card from a data row and writing it back, titles included, as one
// undo step of the table.
#include "engine/CardTransfer.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/core/CodePage.h"
#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"
#include "store/Cp932Text.h"
#include "store/TableLimits.h"
#include "store/UndoArea.h"

namespace {

struct Change {
    int column;
    std::string text;
};

// A title holds one line: the colour file keeps a title only up to its first control byte,
// so a line break typed in the card becomes a space instead of cutting the title later.
std::string titleText(std::string text) {
    Cp932Text::sanitise(text);
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        line += (text[i] == '\r' || text[i] == '\n') ? ' ' : text[i];
    }
    return line;
}

void copyColour(CMyHyo& source, CMyHyo& card, int column, int row, int cardColumn, int item, int kind) {
    const int value = source.cellAttribute(column, row, kind);
    if (value >= 0) card.setCellAttribute(cardColumn, item, kind, value, 1, 1);
    else if (card.cellAttribute(cardColumn, item, kind) >= 0) card.setCellAttribute(cardColumn, item, kind, 0, 0, 1);
}

// Records the old texts of row `row` from `first` to the last changed column; false when the
// store could not record (allocation failed).
bool recordRow(CMyHyo& source, int row, int first, const std::vector<Change>& changes) {
    for (int c = first; c <= changes.back().column; ++c)
        if (source.setCell(c, row, nullptr) == 0) return false;
    return true;
}

} // namespace

int CardTransfer::firstRow(const CMyHyo& source) { return source.inHeaderMode() ? 0 : 1; }

int CardTransfer::shownRow(const CMyHyo& source, int row) {
    return std::clamp(row, firstRow(source), TableLimits::maxRows() - 1);
}

int CardTransfer::itemCount(const CMyHyo& source) {
    int count = source.widestRowValue();
    if (source.inHeaderMode()) count = std::max(count, source.columnCount());
    return std::clamp(count, 0, MaxCardRows);
}

void CardTransfer::prepare(CMyHyo& card) {
    card.reset();
    const bool recording = card.journal().setRecording(false);
    card.takeHeaderRow();   // on an empty table this only switches the titles on
    card.setColumnColour(ItemColumn, AttrBackColour, ItemBackground);
    card.journal().setRecording(recording);
}

void CardTransfer::fillValueColumn(CMyHyo& source, CMyHyo& card, int row, int cardColumn) {
    card.journal().clear();
    card.journal().setRecording(false);
    const int items = itemCount(source);
    const int shown = std::min(std::max(items, card.rowCount()), MaxCardRows);
    for (int i = 0; i < shown; ++i) {
        if (i < items) {
            copyColour(source, card, i, row, cardColumn, i, AttrTextColour);
            copyColour(source, card, i, row, cardColumn, i, AttrBackColour);
            card.setCell(cardColumn, i, source.cellString(i, row).c_str());
        } else if (!card.cellString(cardColumn, i).empty()) {
            card.setCell(cardColumn, i, "");   // left over from the previous card
        }
    }
    card.setColumnTitle(cardColumn, std::to_string(row + 1).c_str());
    card.journal().setRecording(true);
}

void CardTransfer::fillTitleColumn(const CMyHyo& source, CMyHyo& card) {
    const bool recording = card.journal().setRecording(false);
    const int items = itemCount(source);
    for (int i = 0; i < items; ++i) card.setCell(ItemColumn, i, source.columnTitle(i).c_str());
    card.setColumnTitle(ItemColumn, CodePage::toCp932("ヘッダー").c_str());
    card.journal().setRecording(recording);
}

CardTransfer::WriteResult CardTransfer::writeBack(CMyHyo& source, CMyHyo& card, int row) {
    row = shownRow(source, row);
    const bool titled = source.inHeaderMode();
    const int cardRows = std::min(card.rowCount(), MaxCardRows);
    std::vector<Change> titles, names, values;
    for (int i = 0; i < cardRows; ++i) {
        if (titled) {
            std::string title = titleText(card.cellString(ItemColumn, i));
            if (title.size() > static_cast<size_t>(MaxColumnTitle)) {
                char message[80];
                std::snprintf(message, sizeof message, "%d行目のヘッダーサイズが大きすぎます。", i + 1);
                Prompt::warn(message);
                return {TitleTooLong, false};
            }
            if (title != source.columnTitle(i)) titles.push_back({i, std::move(title)});
        } else {
            std::string name = card.cellString(ItemColumn, i);
            if (name != source.cellString(i, 0)) names.push_back({i, std::move(name)});
        }
        std::string value = card.cellString(ValueColumn, i);
        if (value != source.cellString(i, row)) values.push_back({i, std::move(value)});
    }
    if (titles.empty() && names.empty() && values.empty()) return {Written, false};

    int first = MaxCardRows, last = 0;
    for (const std::vector<Change>* list : {&titles, &names, &values}) {
        if (list->empty()) continue;
        first = std::min(first, list->front().column);
        last = std::max(last, list->back().column);
    }
    // One area: the old texts of row 0 (names) and of the card's row, then the old records
    // of the changed titles, so one undo restores all of them.
    const int topRow = names.empty() ? row : 0;
    UndoArea area(source.journal(), UndoCellText, 0, first, topRow, last, row);
    CMyUndo& journal = source.journal();
    bool recorded = true;
    if (area.collecting() && !names.empty()) {
        recorded = recordRow(source, 0, first, names);
        for (int r = 0; r < row && area.collecting(); ++r) area.nextRow();
    }
    if (recorded && area.collecting() && !values.empty()) {
        recorded = recordRow(source, row, first, values);
        area.nextRow();
    }
    if (recorded && area.collecting() && !titles.empty()) {
        journal.appendMarker(UndoSetKind, UndoColumnRecord);
        journal.appendMarker(UndoBackToStart);
        for (int c = first; c <= titles.back().column && area.collecting(); ++c)
            source.journalColumnRecord(c);
    }
    if (!recorded) {
        Prompt::warn("領域確保に失敗しました。");
        return {NoMemory, false};
    }
    if (!area.commit()) return {Declined, false};

    for (const Change& c : names) source.setCell(c.column, 0, c.text.c_str());
    for (const Change& c : values) source.setCell(c.column, row, c.text.c_str());
    for (const Change& c : titles) source.setColumnTitle(c.column, c.text.c_str());
    return {Written, true};
}
