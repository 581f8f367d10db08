// LineChangeLog: the old state of every line a CMyLine list changes while the log is attached,
// so that the changes can be taken back exactly (redo takes back what an undo did).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "store/ChunkedBytes.h"

class CMyLine;

// The list calls the note* functions before it changes; revert() applies the notes backwards
// with the log detached. A stored line keeps only the bytes that changed (its old middle
// between the prefix and suffix it shares with the new text), so a whole-column change costs
// about the old cells. A log that would pass its byte limit gives up and
// keeps nothing (overflowed()).
class LineChangeLog {
public:
    explicit LineChangeLog(std::size_t limit) : limit_(limit) {}

    void noteGrow(int oldCount);                     // the list grows past its end
    // An existing line is about to become `bytes` (null: empty).
    void noteStore(const CMyLine& list, int index, const char* bytes, int length);
    void noteInsert(int index, int count);           // lines inserted before line `index`
    void noteDelete(const CMyLine& list, int index, int count);
    void noteDeleteSet(const CMyLine& list, const int* sortedIndexes, int count);
    void noteSwap(int a, int b);
    void notePermute(const int* positions, const int* order, int count);
    void noteClear(const CMyLine& list);

    bool overflowed() const { return overflowed_; }
    bool empty() const { return steps_.empty(); }
    std::size_t bytes() const { return bytes_; }
    // Puts the list back as it was when the log was attached. False when a step could not be
    // taken back (memory); the steps before it are then not applied.
    bool revert(CMyLine& list) const;

private:
    enum class Kind { Store, Shrink, Insert, Delete, DeleteSet, Swap, Permute, Clear };
    struct Step {
        Kind kind = Kind::Store;
        int index = 0;   // line, or the count to shrink back to
        int count = 0;
        std::vector<std::string> texts{};
        std::vector<int> numbers{};   // indexes (DeleteSet) or positions then order (Permute)
        std::size_t from = 0, to = 0;  // Store: the step's diffs in diffs_
    };
    void add(Step step, std::size_t extra);
    bool undoStep(CMyLine& list, const Step& step) const;
    bool undoStores(CMyLine& list, const Step& step) const;

    std::size_t limit_;
    std::size_t bytes_ = 0;
    bool overflowed_ = false;
    std::vector<Step> steps_;
    ChunkedBytes diffs_;   // the Store steps' packed diffs
};
