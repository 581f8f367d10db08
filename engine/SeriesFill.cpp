// SeriesFill: extends a block of cells over a larger range (fill handle, F4) as one undo step.
#include "engine/SeriesFill.h"

#include "platform/core/CodePage.h"
#include "settings/CMyPublic.h"
#include "store/CMyHyo.h"
#include "store/UndoArea.h"

#include <algorithm>
#include <optional>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

FillBlock normalised(const FillBlock& b) {
    return {std::min(b.left, b.right), std::min(b.top, b.bottom), std::max(b.left, b.right),
            std::max(b.top, b.bottom)};
}

// Decimal digit strings of any length, so a long run of digits never overflows.
std::string withoutLeadingZeros(std::string_view digits) {
    size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string("0") : std::string(digits.substr(first));
}

std::string doubled(const std::string& digits) {
    std::string out(digits.size() + 1, '0');
    int carry = 0;
    for (size_t i = digits.size(); i > 0; --i) {
        int v = (digits[i - 1] - '0') * 2 + carry;
        out[i] = static_cast<char>('0' + v % 10);
        carry = v / 10;
    }
    out[0] = static_cast<char>('0' + carry);
    return withoutLeadingZeros(out);
}

// Compares two digit strings without leading zeros.
int compareNumbers(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

// a - b for a >= b, both without leading zeros.
std::string subtracted(const std::string& a, const std::string& b) {
    std::string out = a;
    int borrow = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        size_t ai = a.size() - 1 - i;
        int v = (a[ai] - '0') - borrow - (i < b.size() ? b[b.size() - 1 - i] - '0' : 0);
        borrow = v < 0 ? 1 : 0;
        if (v < 0) v += 10;
        out[ai] = static_cast<char>('0' + v);
    }
    return withoutLeadingZeros(out);
}

// |2q - p| for two runs of digits.
std::string nextNumber(std::string_view pRun, std::string_view qRun) {
    const std::string p = withoutLeadingZeros(pRun);
    const std::string twiceQ = doubled(withoutLeadingZeros(qRun));
    return compareNumbers(twiceQ, p) >= 0 ? subtracted(twiceQ, p) : subtracted(p, twiceQ);
}

size_t digitRunEnd(std::string_view text, size_t from) {
    while (from < text.size() && isDigit(text[from])) ++from;
    return from;
}

} // namespace

SeriesFill::SeriesFill(CMyHyo& hyo, CMyPublic& dates) : hyo_(hyo), dates_(dates) {}

std::string SeriesFill::continueText(std::string_view older, std::string_view newer) {
    size_t i = 0;
    while (i < older.size() && i < newer.size()) {
        if (isDigit(older[i]) && isDigit(newer[i])) {
            const size_t olderEnd = digitRunEnd(older, i), newerEnd = digitRunEnd(newer, i);
            const std::string_view p = older.substr(i, olderEnd - i), q = newer.substr(i, newerEnd - i);
            std::string number = nextNumber(p, q);
            if (p.front() == '0' || q.front() == '0') {
                const size_t width = std::max(p.size(), q.size());
                if (number.size() < width) number.insert(0, width - number.size(), '0');
            }
            return std::string(older.substr(0, i)) + number + std::string(older.substr(olderEnd));
        }
        // A double-byte character belongs to the common text only when both bytes match.
        const bool pair = CodePage::isLeadByte(static_cast<unsigned char>(older[i])) && i + 1 < older.size();
        const size_t unit = pair ? 2 : 1;
        if (i + unit > newer.size() || older.substr(i, unit) != newer.substr(i, unit)) break;
        i += unit;
    }
    return std::string(older);
}

void SeriesFill::prepareDates() {
    if (datesPrepared_) return;
    datesPrepared_ = true;
    // Filled dates take the shape of the fill's first value; other values leave the default.
    dates_.setLastDateFormat("yyyy/mm/dd");
    dates_.parseSlashDate(firstValue_, true);
}

std::string SeriesFill::continueSeries(std::string_view older, std::string_view newer) {
    prepareDates();
    if (std::optional<std::string> date = dates_.nextInSeries(older, newer)) return *date;
    return continueText(older, newer);
}

EditOutcome SeriesFill::run(const FillBlock& sourceBlock, const FillBlock& targetBlock) {
    const FillBlock source = normalised(sourceBlock), target = normalised(targetBlock);
    if (source.left != target.left || source.top != target.top) return {};
    if (source.left < 0 || source.top < 0) return {};
    if (target.right <= source.right && target.bottom <= source.bottom) return {};

    const int entriesBefore = hyo_.journal().entryCount();
    UndoArea area(hyo_.journal(), UndoCellText, 0, target.left, target.top, target.right,
                  target.bottom);
    bool walking = true;
    for (int row = target.top; walking && row <= target.bottom; ++row) {
        for (int column = target.left; column <= target.right; ++column) {
            if (hyo_.setCell(column, row, nullptr) != 1) {
                walking = false;
                break;
            }
        }
        area.nextRow();
        if (!area.collecting()) break;
    }
    if (!area.commit()) return {};

    firstValue_ = hyo_.cellString(source.left, source.top);
    datesPrepared_ = false;
    bool wrote = false;
    auto put = [&](int column, int row, const std::string& value) {
        // An empty value over a missing or empty cell writes nothing, so the table never
        // grows by empty cells.
        if (value.empty() && (hyo_.seekCell(column, row) == 0 || hyo_.cellTextLength() == 0)) return;
        if (hyo_.setCell(column, row, value.c_str()) == 1) wrote = true;
    };

    const int width = source.right - source.left + 1, height = source.bottom - source.top + 1;
    // The rows of the source that lie inside the target (a target may be shorter).
    const int lastSourceRow = std::min(source.bottom, target.bottom);
    for (int column = source.right + 1; column <= target.right; ++column) {
        for (int row = source.top; row <= lastSourceRow; ++row) {
            if (width == 2) {
                put(column, row, continueSeries(hyo_.cellString(column - 2, row), hyo_.cellString(column - 1, row)));
            } else {
                put(column, row, hyo_.cellString(source.left + (column - source.left) % width, row));
            }
        }
    }
    for (int row = source.bottom + 1; row <= target.bottom; ++row) {
        for (int column = target.left; column <= target.right; ++column) {
            if (height == 2) {
                put(column, row, continueSeries(hyo_.cellString(column, row - 2), hyo_.cellString(column, row - 1)));
            } else {
                put(column, row, hyo_.cellString(column, source.top + (row - source.top) % height));
            }
        }
    }
    if (!wrote && hyo_.journal().entryCount() > entriesBefore) {
        // Nothing was written: the step just recorded would undo nothing.
        UndoEntry entry;
        hyo_.journal().pop(entry);
    }
    if (!wrote) return {};
    return {.render = true, .markModified = true, .raiseRanges = true};
}
