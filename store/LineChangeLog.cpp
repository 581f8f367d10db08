// LineChangeLog: notes a list's changes and takes them back in reverse order.
#include "store/LineChangeLog.h"

#include "store/CMyLine.h"

namespace {
constexpr std::size_t kStepBytes = 48;   // what a step costs besides its texts and numbers
}

void LineChangeLog::add(Step step, std::size_t extra) {
    if (overflowed_) return;
    bytes_ += kStepBytes + extra;
    if (bytes_ > limit_) {
        overflowed_ = true;
        steps_.clear();
        steps_.shrink_to_fit();
        kept_.clear();
        return;
    }
    steps_.push_back(std::move(step));
}

void LineChangeLog::noteGrow(int oldCount) {
    if (overflowed_) return;
    add(Step{.kind = Kind::Shrink, .index = oldCount}, 0);
}

void LineChangeLog::noteStore(const CMyLine& list, int index) {
    if (overflowed_ || index < 0 || index >= list.lineCount()) return;
    if (!kept_.insert(index).second) return;
    std::string text = list.line(index);
    const std::size_t size = text.size();
    add(Step{.kind = Kind::Store, .index = index, .texts = {std::move(text)}}, size);
}

void LineChangeLog::noteInsert(int index, int count) {
    if (overflowed_ || index < 0 || count <= 0) return;
    kept_.clear();
    add(Step{.kind = Kind::Insert, .index = index, .count = count}, 0);
}

void LineChangeLog::noteDelete(const CMyLine& list, int index, int count) {
    if (overflowed_ || index < 0 || index >= list.lineCount() || count <= 0) return;
    kept_.clear();
    if (count > list.lineCount() - index) count = list.lineCount() - index;
    Step step{.kind = Kind::Delete, .index = index, .count = count};
    std::size_t size = 0;
    for (int i = index; i < index + count && size + bytes_ <= limit_; ++i) {
        step.texts.push_back(list.line(i));
        size += step.texts.back().size() + sizeof(std::string);
    }
    add(std::move(step), size);
}

void LineChangeLog::noteDeleteSet(const CMyLine& list, const int* sortedIndexes, int count) {
    if (overflowed_ || !sortedIndexes || count <= 0) return;
    kept_.clear();
    Step step{.kind = Kind::DeleteSet};
    std::size_t size = 0;
    for (int k = 0; k < count && size + bytes_ <= limit_; ++k) {
        const int index = sortedIndexes[k];
        if (index < 0 || index >= list.lineCount()) continue;
        if (!step.numbers.empty() && step.numbers.back() == index) continue;
        step.numbers.push_back(index);
        step.texts.push_back(list.line(index));
        size += step.texts.back().size() + sizeof(std::string) + sizeof(int);
    }
    add(std::move(step), size);
}

void LineChangeLog::noteSwap(int a, int b) {
    if (overflowed_) return;
    kept_.clear();
    add(Step{.kind = Kind::Swap, .index = a, .count = b}, 0);
}

void LineChangeLog::notePermute(const int* positions, const int* order, int count) {
    if (overflowed_ || !order || count <= 0) return;
    kept_.clear();
    // index 1: the positions are kept before the order; 0: the first `count` lines moved.
    Step step{.kind = Kind::Permute, .index = positions ? 1 : 0, .count = count};
    step.numbers.reserve(static_cast<std::size_t>(count) * (positions ? 2 : 1));
    if (positions) step.numbers.assign(positions, positions + count);
    step.numbers.insert(step.numbers.end(), order, order + count);
    add(std::move(step), sizeof(int) * step.numbers.size());
}

void LineChangeLog::noteClear(const CMyLine& list) {
    if (overflowed_) return;
    kept_.clear();
    Step step{.kind = Kind::Clear};
    std::size_t size = 0;
    for (int i = 0; i < list.lineCount() && size + bytes_ <= limit_; ++i) {
        step.texts.push_back(list.line(i));
        size += step.texts.back().size() + sizeof(std::string);
    }
    add(std::move(step), size);
}

bool LineChangeLog::revert(CMyLine& list) const {
    if (overflowed_) return false;
    for (auto step = steps_.rbegin(); step != steps_.rend(); ++step)
        if (!undoStep(list, *step)) return false;
    return true;
}

bool LineChangeLog::undoStep(CMyLine& list, const Step& step) {
    auto text = [&](std::size_t i) { return step.texts[i]; };
    switch (step.kind) {
    case Kind::Store:
        return list.setLine(step.index, text(0)) == 1;
    case Kind::Shrink:
        if (list.lineCount() > step.index) list.deleteLines(step.index, list.lineCount() - step.index);
        return true;
    case Kind::Insert:
        return list.deleteLines(step.index, step.count) == step.count;
    case Kind::Delete:
        if (!list.insertLines(step.index, step.count)) return false;
        for (std::size_t i = 0; i < step.texts.size(); ++i)
            if (!list.setLine(step.index + static_cast<int>(i), text(i))) return false;
        return true;
    case Kind::DeleteSet:
        for (std::size_t i = 0; i < step.numbers.size(); ++i)
            if (!list.insertLines(step.numbers[i], 1) || !list.setLine(step.numbers[i], text(i))) return false;
        return true;
    case Kind::Swap:
        return list.swapLines(step.index, step.count) == 1;
    case Kind::Permute: {
        // The line at positions[k] came from positions[order[k]]: send it back.
        const int n = step.count;
        const int* order = step.numbers.data() + (step.index ? n : 0);
        std::vector<int> back(static_cast<std::size_t>(n));
        for (int k = 0; k < n; ++k) back[order[k]] = k;
        return list.permute(step.index ? step.numbers.data() : nullptr, back.data(), n) == 1;
    }
    case Kind::Clear:
        list.clear();
        for (const std::string& line : step.texts)
            if (!list.appendLine(line.data(), static_cast<int>(line.size()))) return false;
        return true;
    }
    return false;
}
