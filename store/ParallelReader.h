// ParallelReader: reads the records of an open file on several threads, in the file's order.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "store/CMyCSV.h"


// The reader's file is decoded on the calling thread a block at a time while other threads
// parse the block in pieces. A piece starts where the pre-scan guesses a record begins and
// stops after the record that reaches the next piece's start; a piece is kept only when the
// one before it ended exactly where it began, and is read again on the calling thread
// otherwise. So the records, counts and results are those of reading the file record by
// record with the same CMyCSV, whatever the guesses were.
class ParallelReader {
public:
    struct Shape {
        std::size_t blockBytes = 16u << 20;   // decoded text per block
        int pieces = 0;                       // per block; 0: one per processor
        std::size_t smallestFile = 8u << 20;  // smaller files are read record by record
    };
    // The shape every open uses (tests make it small to cut files into many pieces).
    static Shape defaultShape();
    static void setDefaultShape(const Shape& shape);
    // Whether a file of `bytes` on disk is read in parallel with the default shape.
    static bool worthwhile(long long bytes);

    enum class Outcome {
        Done,       // every record was handed over; the reader holds the file's counts
        Failed,     // a record could not be read: read the file again record by record to
                    // report it exactly as then (how far the messages and counts got)
        Stopped,    // `take` returned false
        Cancelled,  // `keepGoing` returned false
    };

    explicit ParallelReader(CMyCSV& reader, Shape shape = defaultShape());
    ~ParallelReader();
    ParallelReader(const ParallelReader&) = delete;
    ParallelReader& operator=(const ParallelReader&) = delete;

    // Hands each record to `take` in file order. `keepGoing` is asked once a block.
    Outcome run(const std::function<bool(const RecordView&)>& take,
                const std::function<bool()>& keepGoing = {});

private:
    struct Block;
    struct Piece;
    Outcome readBlocks(const std::function<bool(const RecordView&)>& take,
                       const std::function<bool()>& keepGoing);
    void nextBlock(Block& block, const std::string& carry, std::string& decoded);
    void plan(Block& block);
    void parse(const Block& block, Piece& piece);
    bool settle(Block& block, std::size_t& carryFrom);
    bool handOver(const Block& block, const std::function<bool(const RecordView&)>& take);

    CMyCSV& reader;
    Shape shape;
};
