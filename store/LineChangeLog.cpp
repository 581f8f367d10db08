// LineChangeLog: notes a list's changes and takes them back in reverse order.
#include "store/LineChangeLog.h"

#include <algorithm>

#include "store/CMyLine.h"

namespace {
constexpr std::size_t kStepBytes = 48;   // what a step costs besides its texts and numbers

// Store diffs are packed as four varints (line, prefix, suffix, old middle length) and the
// old middle bytes, so a cell changed in a long row costs a few bytes beside the cell.
void putNumber(ChunkedBytes& out, std::size_t value) {
    while (value >= 0x80) {
        out.push(static_cast<unsigned char>(value | 0x80));
        value >>= 7;
    }
    out.push(static_cast<unsigned char>(value));
}

std::size_t getNumber(const ChunkedBytes& in, std::size_t& at) {
    std::size_t value = 0;
    for (int shift = 0;; shift += 7) {
        const unsigned char b = in.at(at++);
        value |= static_cast<std::size_t>(b & 0x7F) << shift;
        if (!(b & 0x80)) return value;
    }
}
}  // namespace

void LineChangeLog::add(Step step, std::size_t extra) {
    if (overflowed_) return;
    bytes_ += kStepBytes + extra;
    if (bytes_ > limit_) {
        overflowed_ = true;
        steps_.clear();
        steps_.shrink_to_fit();
        diffs_.clear();
        return;
    }
    steps_.push_back(std::move(step));
}

void LineChangeLog::noteGrow(int oldCount) {
    if (overflowed_) return;
    add(Step{.kind = Kind::Shrink, .index = oldCount}, 0);
}

void LineChangeLog::noteStore(const CMyLine& list, int index, const char* bytes, int length) {
    if (overflowed_ || index < 0 || index >= list.lineCount()) return;
    const char* old = list.lineString(index);
    const std::size_t oldLength = static_cast<std::size_t>(list.lineLength(index));
    const std::size_t newLength = bytes ? static_cast<std::size_t>(std::max(length, 0)) : 0;
    std::size_t prefix = 0;
    while (prefix < oldLength && prefix < newLength && old[prefix] == bytes[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < oldLength - prefix && suffix < newLength - prefix &&
           old[oldLength - 1 - suffix] == bytes[newLength - 1 - suffix])
        ++suffix;
    const std::size_t middle = oldLength - prefix - suffix;
    const std::size_t start = diffs_.size();
    putNumber(diffs_, static_cast<std::size_t>(index));
    putNumber(diffs_, prefix);
    putNumber(diffs_, suffix);
    putNumber(diffs_, middle);
    diffs_.append(old + prefix, middle);
    const std::size_t size = diffs_.size() - start;
    // Consecutive stores share one step: the diffs are replayed backwards within it.
    if (!steps_.empty() && steps_.back().kind == Kind::Store && steps_.back().to == start) {
        steps_.back().to = diffs_.size();
        bytes_ += size;
        if (bytes_ > limit_) add(Step{}, 0);   // gives up
        return;
    }
    add(Step{.kind = Kind::Store, .from = start, .to = diffs_.size()}, size);
}

void LineChangeLog::noteInsert(int index, int count) {
    if (overflowed_ || index < 0 || count <= 0) return;
    add(Step{.kind = Kind::Insert, .index = index, .count = count}, 0);
}

void LineChangeLog::noteDelete(const CMyLine& list, int index, int count) {
    if (overflowed_ || index < 0 || index >= list.lineCount() || count <= 0) return;
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
    add(Step{.kind = Kind::Swap, .index = a, .count = b}, 0);
}

void LineChangeLog::notePermute(const int* positions, const int* order, int count) {
    if (overflowed_ || !order || count <= 0) return;
    // index 1: the positions are kept before the order; 0: the first `count` lines moved.
    Step step{.kind = Kind::Permute, .index = positions ? 1 : 0, .count = count};
    step.numbers.reserve(static_cast<std::size_t>(count) * (positions ? 2 : 1));
    if (positions) step.numbers.assign(positions, positions + count);
    step.numbers.insert(step.numbers.end(), order, order + count);
    add(std::move(step), sizeof(int) * step.numbers.size());
}

void LineChangeLog::noteClear(const CMyLine& list) {
    if (overflowed_) return;
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

bool LineChangeLog::undoStores(CMyLine& list, const Step& step) const {
    std::vector<std::size_t> starts;
    for (std::size_t at = step.from; at < step.to;) {
        starts.push_back(at);
        getNumber(diffs_, at);
        getNumber(diffs_, at);
        getNumber(diffs_, at);
        const std::size_t middle = getNumber(diffs_, at);
        at += middle;
    }
    std::string text;
    for (auto start = starts.rbegin(); start != starts.rend(); ++start) {
        std::size_t at = *start;
        const int index = static_cast<int>(getNumber(diffs_, at));
        const std::size_t prefix = getNumber(diffs_, at);
        const std::size_t suffix = getNumber(diffs_, at);
        const std::size_t middle = getNumber(diffs_, at);
        const char* now = list.lineString(index);
        const std::size_t length = static_cast<std::size_t>(list.lineLength(index));
        if (!now || prefix + suffix > length) return false;
        text.assign(now, prefix);
        for (std::size_t i = 0; i < middle; ++i) text += static_cast<char>(diffs_.at(at + i));
        text.append(now + length - suffix, suffix);
        if (list.setLine(index, text.data(), static_cast<int>(text.size())) != 1) return false;
    }
    return true;
}

bool LineChangeLog::undoStep(CMyLine& list, const Step& step) const {
    auto text = [&](std::size_t i) { return step.texts[i]; };
    switch (step.kind) {
    case Kind::Store:
        return undoStores(list, step);
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
