// SortHistory: the sort buttons' memory of the last three key columns and their directions.
#pragma once

#include <array>

class CMyHyo;

// The toolbar sort keeps up to three keys, latest first: sorting by one column puts it in
// front (dropping a copy that would fall to third place), sorting by several replaces the
// history with the first three of them. Direction 1 is descending; any other value (the
// palette passes -1) ascending.
class SortHistory {
public:
    static constexpr int MaxKeys = 3;
    struct Key {
        int column = -1;
        int direction = 0;
    };

    // Records the selection's columns first..last with the button's direction.
    void choose(int first, int last, int direction);
    // Replaces the store's keys with the history (numeric for columns of kind 1) and sorts.
    // The store's result: 0, or -1 when the sort could not get its memory.
    int sort(CMyHyo& hyo) const;

    int count() const { return count_; }
    const Key& key(int index) const { return keys_[index]; }

private:
    std::array<Key, MaxKeys> keys_{};
    int count_ = 0;
};
