// CMyLine: a growable list of byte strings carved from pooled memory blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

class LineChangeLog;

// Lines are byte strings with a length; each is NUL-terminated inside its block so that
// lineString() can hand it out directly. Blocks are never moved once allocated, so a text
// pointer stays valid until that line is stored again, deleted or the list is cleared.
// All memory comes from MemoryHook, zero-filled.
class CMyLine {
public:
    explicit CMyLine(int blockSize = 2048);
    ~CMyLine();
    CMyLine(const CMyLine&) = delete;
    CMyLine& operator=(const CMyLine&) = delete;

    // Frees every block and both arrays and starts again with one fresh block.
    void clear();
    // Exchanges the lines of two lists (a list read apart is put in place at once); the
    // change logs stay with their lists.
    void swap(CMyLine& other);

    // The normal way to store a line: sizes new lines from the running average. 1 ok, 0 failed.
    int setLine(int index, const char* bytes, int length);
    int setLine(int index, const std::string& text) {
        return setLine(index, text.data(), static_cast<int>(text.size()));
    }
    // Stores into the line's room or carves new room; bytes may be null to reserve only.
    int storeLine(int index, const char* bytes, int length);
    // Gives an empty line `length` bytes of room unless it already has text.
    int reserveLine(int index, int length);
    int appendLine(const char* bytes, int length);
    // Stores the leading run of text up to the first byte below 0x20 other than TAB.
    int setLineText(int index, const char* text);

    int insertEmptyLine(int index);
    int insertLines(int index, int count);
    int deleteLine(int index);
    // Removes `count` lines from `index` with one move of the entries; returns lines removed.
    int deleteLines(int index, int count);
    // Removes the lines at the given ascending, distinct indexes in one pass.
    int deleteLineSet(const int* sortedIndexes, int count);
    // 1 on success, 0 for an index out of range. Only entries move, never text.
    int swapLines(int a, int b);
    // Reorders lines in place: the line at positions[k] takes the line that was at
    // positions[order[k]] (a null `positions` means position k itself; the positions are
    // distinct), so a sort can reorder a subset of the lines among their own places. Only
    // entries move, never text. 1 done; 0 (nothing moved) when an index is out of range,
    // `order` is not a permutation of 0..count-1 or the marks (a byte a line) could not be had.
    int permute(const int* positions, const int* order, int count);

    // Text pointer or null (out of range or a line without text).
    const char* lineText(int index) const;
    // NUL-terminated text, or an empty string; never null.
    const char* lineString(int index) const;
    int lineLength(int index) const;
    int lineCount() const { return count_; }
    int longestLine() const { return longestLine_; }
    // Copy of a line's bytes (empty out of range).
    std::string line(int index) const;

    // Lines read (a last line without CR is stored and counted), -1 open failure, -2 memory
    // failure.
    int readTextFile(const std::string& path);
    // Lines written, -1 open failure, -2 write failure.
    int writeTextFile(const std::string& path) const;

    // List block ("LI", version, length-prefixed lines, -1) at the current position of an
    // open stdio stream. writeBlock returns the lines written or -1 on a write failure.
    // readBlock returns the lines read, -2 line not stored, -3 bad magic, -4/-5 no buffer.
    int writeBlock(std::FILE* file) const;
    int readBlock(std::FILE* file);

    // Bytes currently allocated for blocks and arrays (for memory measurements).
    std::size_t memoryBytes() const;

    // While a log is attached every change first notes the old state there (redo uses it to
    // take back what an undo did). Null detaches.
    void setChangeLog(LineChangeLog* log) { log_ = log; }

private:
    struct Block {
        char* data;
        int32_t used;
        int32_t capacity;
        int32_t liveLines;
    };
    struct Entry {
        char* text;
        int32_t length;
        int32_t block;
        int32_t room;
    };

    bool initialise();
    void releaseAll();
    bool ensureEntries(int needed);
    bool extendTo(int index);
    int newBlock(int bytes);
    void loseLine(int block);
    bool blockStillReferenced(int block) const;
    void rescanLongest();
    int nextBlockSize(int needed) const;

    int blockSize_;
    Block* blocks_ = nullptr;
    int blockCount_ = 0;
    int currentBlock_ = 0;
    int blockSlots_ = 0;
    Entry* entries_ = nullptr;
    int count_ = 0;
    int entrySlots_ = 0;
    int longestLine_ = 0;
    char emptyText_[1] = {0};
    int64_t reservedTotal_ = 2400;
    int reservedLines_ = 15;
    std::size_t allocatedBytes_ = 0;
    LineChangeLog* log_ = nullptr;
};
