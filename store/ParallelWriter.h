// ParallelWriter: formats the rows of a save on several threads and writes them in order.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

class CMyColourFile;
class CMyFile;
class CMyHyo;
class CMyWriter;

// The rows are cut into pieces of about `pieceBytes`; each thread formats its pieces into a
// writer of its own that holds the text (and notes the attribute records), and the calling
// thread hands each piece's text (converted to the file's encoding on its thread) to the
// file and its records to the colour file in row order. So the file and the colour file get what writing the rows one by one on the
// calling thread gives; only the formatting is shared. While the calling thread writes, the
// threads format the next pieces, so a table whose rows a sort scattered over memory waits
// for them on every thread at once.
class ParallelWriter {
public:
    struct Shape {
        int threads = 0;                       // 0: one per processor
        std::size_t pieceBytes = 256u << 10;   // formatted text a piece aims at
        std::size_t smallestTable = 8u << 20;  // smaller tables are written row by row
    };
    // The shape every save uses (tests make it small to cut tables into many pieces).
    static Shape defaultShape();
    static void setDefaultShape(const Shape& shape);

    // The rows [first, last] of a walk; `storeRow` gives the stored row of each, `colourRow`
    // is the row number the colour file is told. The last row is written without its line
    // end when `lastLineOpen`.
    struct Rows {
        int first = 0;
        int last = -1;
        std::function<int(int)> storeRow;
        bool lastLineOpen = false;
    };
    // Asked on the calling thread after each piece with the rows written so far; false stops.
    using KeepGoing = std::function<bool(long long)>;

    enum class Outcome {
        Done,         // every row was handed to the file (and its records to `colour`)
        NotStarted,   // too small, one processor, or no thread could be had: nothing was
                      // written, write the rows one by one
        OutOfMemory,  // a piece's text could not be held; rows before it were written
        Cancelled,    // keepGoing returned false
    };

    // `model`: the save's writer, set up (columns, kept forms); each thread formats with a
    // twin of it. What `model` buffered is flushed first.
    ParallelWriter(const CMyHyo& hyo, CMyFile& file, CMyColourFile* colour, CMyWriter& model);
    Outcome run(const Rows& rows, const KeepGoing& keepGoing);

private:
    struct Piece;
    struct Shared;
    void format(Shared& shared, int thread) const;
    bool formatPiece(Piece& piece, const Rows& rows, int encoding) const;
    static std::string_view held(const Piece& piece);

    const CMyHyo& hyo;
    CMyFile& file;
    CMyColourFile* colour;
    CMyWriter& model;
};
