// SortHistory: choosing the keys from the selection and handing them to the store's sort.
#include "engine/SortHistory.h"

#include <algorithm>

#include "store/CMyHyo.h"

void SortHistory::choose(int first, int last, int direction) {
    if (first > last) std::swap(first, last);
    const int normalised = direction == 1 ? 1 : 0;
    if (first == last) {
        if (count_ == 0 || keys_[0].column != first) {
            if (count_ > 1) keys_[2] = keys_[1];
            if (count_ > 0) keys_[1] = keys_[0];
            keys_[0].column = first;
            count_ = std::min(count_ + 1, MaxKeys);
            if (count_ == MaxKeys && keys_[2].column == first) count_ = 2;
        }
        keys_[0].direction = normalised;
        return;
    }
    count_ = std::min(last - first + 1, MaxKeys);
    for (int i = 0; i < count_; ++i) keys_[i] = Key{first + i, normalised};
}

int SortHistory::sort(CMyHyo& hyo) const {
    hyo.clearSortKeys();
    for (int i = 0; i < count_; ++i)
        hyo.addSortKey(keys_[i].column, keys_[i].direction == 1, hyo.columnKind(keys_[i].column) == 1, 0);
    return hyo.sortRows();
}
