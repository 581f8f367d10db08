// FilterMap: growth of the list and keeping it in step with rows inserted and deleted.
#include "store/FilterMap.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/core/MemoryHook.h"
#include "platform/core/Prompt.h"
#include "store/Cp932Text.h"

FilterMap::~FilterMap() { MemoryHook::release(rows_); }

bool FilterMap::grow(int needed) {
    if (needed <= slots_) return true;
    int slots = slots_ + std::max(250, slots_ / 2);
    if (slots < needed) slots = needed + 100;
    void* grown = MemoryHook::reallocate(rows_, sizeof(int) * (slots_ ? slots_ + 3 : 0),
                                         sizeof(int) * (slots + 3));
    if (!grown) return false;
    rows_ = static_cast<int*>(grown);
    slots_ = slots;
    return true;
}

int FilterMap::add(int storeRow, int minimumSlots) {
    if (count_ >= slots_ || slots_ < minimumSlots) {
        if (!grow(std::max(count_ + 1, minimumSlots))) {
            Prompt::warn("抽出用の領域確保に失敗しました。");
            clear();
            return -1;
        }
    }
    rows_[count_++] = storeRow;
    return 0;
}

bool FilterMap::insertRows(int position, int storeAt, int count) {
    if (!grow(count_ + count)) return false;
    for (int i = 0; i < count_; ++i)
        if (rows_[i] >= storeAt) rows_[i] += count;
    std::memmove(rows_ + position + count, rows_ + position, sizeof(int) * (count_ - position));
    for (int i = 0; i < count; ++i) rows_[position + i] = storeAt + i;
    count_ += count;
    return true;
}

void FilterMap::removeRows(int first, int last, const int* gone, int goneCount) {
    std::memmove(rows_ + first, rows_ + last + 1, sizeof(int) * (count_ - last - 1));
    count_ -= last - first + 1;
    for (int i = 0; i < count_; ++i) {
        int below = static_cast<int>(std::lower_bound(gone, gone + goneCount, rows_[i]) - gone);
        rows_[i] -= below;
    }
}

bool FilterMap::reinsert(int storeAt, int viewPosition) {
    for (int i = 0; i < count_; ++i)
        if (rows_[i] >= storeAt) ++rows_[i];
    if (!grow(count_ + 1)) {
        Prompt::warn("領域確保に失敗しました。");
        clear();
        return false;
    }
    viewPosition = std::clamp(viewPosition, 0, count_);
    std::memmove(rows_ + viewPosition + 1, rows_ + viewPosition, sizeof(int) * (count_ - viewPosition));
    rows_[viewPosition] = storeAt;
    ++count_;
    return true;
}

void FilterMap::truncate(int viewCount, int storeCount) {
    int kept = 0;
    for (int i = 0; i < count_; ++i)
        if (rows_[i] < storeCount) rows_[kept++] = rows_[i];
    count_ = std::min(kept, viewCount);
}

void FilterMap::setCondition(int column, const char* text, int kind) {
    column_ = column;
    kind_ = kind;
    std::memset(text_, 0, sizeof text_);
    if (!text) return;
    const std::string_view given(text);
    std::memcpy(text_, text, Cp932Text::fitLength(given, sizeof text_ - 1));
}
