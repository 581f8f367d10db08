// FilterMap: the list of store rows the filter lets through, in view order, and its condition.
#pragma once

#include <cstddef>

// While the filter is active a view row is a position in this list; otherwise the view and
// the store number rows alike. The list only grows (in steps, as memory is scarce on a big
// table); emptying it keeps the slots for the next filter.
class FilterMap {
public:
    FilterMap() = default;
    ~FilterMap();
    FilterMap(const FilterMap&) = delete;
    FilterMap& operator=(const FilterMap&) = delete;

    bool active() const { return active_ != 0; }
    void setActive(bool on) { active_ = on ? 1 : 0; }
    int count() const { return count_; }
    // Store row at a list position, -1 outside the list.
    int entry(int position) const {
        return position >= 0 && position < count_ ? rows_[position] : -1;
    }
    // View row -> store row (identity when inactive); -1 for a negative or unlisted view row.
    int storeRow(int viewRow) const {
        if (viewRow < 0) return -1;
        if (!active_) return viewRow;
        return viewRow < count_ ? rows_[viewRow] : -1;
    }
    // Turns the filter off and empties the list.
    void clear() {
        active_ = 0;
        count_ = 0;
    }

    // Makes room for `needed` entries; false when memory could not be had (list unchanged).
    bool grow(int needed);
    // Appends a store row; 0, or -1 when the list cannot grow (message shown, filter off).
    int add(int storeRow, int minimumSlots = 0);
    // Store rows from `storeAt` on move down by `count`, and the new rows take view positions
    // `position`.. in the list. false when the list could not grow (nothing changed).
    bool insertRows(int position, int storeAt, int count);
    // Drops positions first..last; `gone` (sorted, unique) are the store rows deleted with
    // them, so every later store row moves up past them.
    void removeRows(int first, int last, const int* gone, int goneCount);
    // A store row put back at `storeAt` shows again at `viewPosition`. false when the list
    // could not grow (message shown, filter off).
    bool reinsert(int storeAt, int viewPosition);
    // Keeps the entries of store rows below `storeCount`, at most `viewCount` of them.
    void truncate(int viewCount, int storeCount);

    void setCondition(int column, const char* text, int kind);
    int column() const { return column_; }
    const char* text() const { return text_; }
    int kind() const { return kind_; }

    std::size_t memoryBytes() const { return sizeof(int) * static_cast<std::size_t>(slots_); }

private:
    unsigned char active_ = 0;
    int count_ = 0;
    int slots_ = 0;
    int* rows_ = nullptr;
    int column_ = 0;
    // The filter dialog takes 50 characters, up to 100 bytes; never cut inside a character.
    char text_[101] = {0};
    int kind_ = 0;
};
