// ParallelReader: blocks decoded on the calling thread, parsed in pieces on others, checked
// piece against piece and handed over in the file's order.
#include "store/ParallelReader.h"

#include "store/CMyCSV.h"
#include "store/RecordScan.h"
#include "store/SharedShape.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

namespace {
SharedShape<ParallelReader::Shape> sharedShape;
} // namespace

struct ParallelReader::Piece {
    enum class State { Reached, FileEnd, NeedsMore, Failed };
    struct Record {
        std::size_t forms = 0, row = 0;   // offsets in `bytes`
        int length = 0, count = 0, kept = 0, cells = 0;
        bool lineBreak = false;
    };
    std::size_t start = 0;
    std::size_t stop = std::numeric_limits<std::size_t>::max();  // the last piece reads on
    std::size_t end = 0;      // after the last record kept
    State state = State::Failed;
    std::unique_ptr<CMyCSV> csv;
    CMyCSV::Counts counts;
    std::string bytes;        // each record's forms, then its row and a NUL
    std::vector<Record> records;
};

struct ParallelReader::Block {
    std::string text;         // the block's decoded text, then CMyCSV::TextPadding NULs
    std::size_t length = 0;
    bool final = false;
    std::vector<Piece> pieces;
    std::vector<std::thread> threads;
    void join() {
        for (auto& thread : threads) thread.join();
        threads.clear();
    }
    ~Block() { join(); }
};

ParallelReader::Shape ParallelReader::defaultShape() { return sharedShape.get(); }

void ParallelReader::setDefaultShape(const Shape& shape) { sharedShape.set(shape); }

bool ParallelReader::worthwhile(long long bytes) {
    const Shape shape = defaultShape();
    const int pieces = SharedShape<Shape>::threadsFor(shape.pieces);
    return pieces > 1 && bytes >= 0 && static_cast<unsigned long long>(bytes) >= shape.smallestFile;
}

ParallelReader::ParallelReader(CMyCSV& reader, Shape shape) : reader(reader), shape(shape) {
    if (this->shape.blockBytes == 0) this->shape.blockBytes = 1;
}

ParallelReader::~ParallelReader() = default;

// Carried text of the block before (a record it could not finish) followed by newly decoded
// text.
void ParallelReader::nextBlock(Block& block, const std::string& carry, std::string& decoded) {
    block.text.reserve(carry.size() + decoded.size() + CMyCSV::TextPadding);
    block.text = carry;
    block.text += decoded;
    decoded = std::string();
    block.length = block.text.size();
    block.text.append(CMyCSV::TextPadding, '\0');
}

// Where each piece starts: after the first record break past an even share of the block.
void ParallelReader::plan(Block& block) {
    const int count = SharedShape<Shape>::threadsFor(shape.pieces);
    const bool quotesMatter = reader.quotesInUse() &&
                              !(reader.separatorInUse() == '\t' && !reader.strictQuotesInUse());
    const char* text = block.text.data();
    std::vector<std::size_t> starts{0};
    std::size_t quotes = 0, counted = 0;
    for (int k = 1; k < count; ++k) {
        const std::size_t target = block.length / count * k;
        if (target <= starts.back()) continue;
        quotes += RecordScan::countQuotes(text + counted, target - counted);
        counted = target;
        const std::size_t start =
            RecordScan::nextRecordStart(text, block.length, target, quotes, quotesMatter);
        if (start < block.length && start > starts.back()) starts.push_back(start);
    }
    block.pieces.resize(starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        block.pieces[i].start = starts[i];
        if (i + 1 < starts.size()) block.pieces[i].stop = starts[i + 1];
    }
}

// Reads records from the piece's start until one ends at or past its stop, the text runs
// out before a record ends, or the file ends.
void ParallelReader::parse(const Block& block, Piece& piece) {
    using State = Piece::State;
    piece.records.clear();
    piece.bytes.clear();
    piece.state = State::Failed;
    piece.end = piece.start;
    if (piece.start >= piece.stop) {   // the piece before ran past this one's share
        piece.state = State::Reached;
        piece.counts = CMyCSV::Counts{};
        return;
    }
    try {
        piece.csv = std::make_unique<CMyCSV>();
        CMyCSV& csv = *piece.csv;
        if (!csv.takeSettingsOf(reader)) return;
        const std::size_t share = std::min(piece.stop, block.length) - piece.start;
        piece.bytes.reserve(share + share / 8 + 64);
        csv.readFromText(block.text.data() + piece.start, block.length - piece.start, block.final);
        const std::size_t stop = piece.stop - piece.start;
        for (;;) {
            const std::size_t before = csv.textPosition();
            if (before >= stop) {
                piece.state = State::Reached;
                break;
            }
            const CMyCSV::Counts saved = csv.counts();
            const int count = csv.readRecord();
            if (count == 0) {
                piece.state = State::FileEnd;
                break;
            }
            if (count == CMyCSV::MoreTextNeeded) {
                csv.setCounts(saved);   // the record is read again with the next block
                piece.end = piece.start + before;
                piece.state = State::NeedsMore;
                piece.counts = csv.counts();
                return;
            }
            if (count < 0) return;
            const RecordView view = csv.takeRecord(count);
            const std::size_t forms = piece.bytes.size();
            piece.records.push_back({forms, forms + view.kept, view.length, view.count, view.kept,
                                     view.cells, view.lineBreak});
            piece.bytes.append(reinterpret_cast<const char*>(view.forms), view.kept);
            piece.bytes.append(view.row, view.length);
            piece.bytes.push_back('\0');
        }
        piece.end = piece.start + csv.textPosition();
        piece.counts = csv.counts();
    } catch (const std::bad_alloc&) {
        // Read again record by record, the memory failure is reported as it always was.
        piece.state = State::Failed;
    }
    piece.csv.reset();
}

// Keeps the pieces that began where the one before them ended and reads the others again on
// this thread. `carryFrom`: where the record the block could not finish begins. False when a
// record failed.
bool ParallelReader::settle(Block& block, std::size_t& carryFrom) {
    using State = Piece::State;
    std::size_t expected = 0;
    std::size_t used = 0;
    for (Piece& piece : block.pieces) {
        ++used;
        if (piece.start != expected) {
            piece.start = expected;
            parse(block, piece);
        }
        if (piece.state == State::Failed) return false;
        expected = piece.end;
        if (piece.state != State::Reached) break;
    }
    block.pieces.resize(used);
    carryFrom = expected;
    return true;
}

bool ParallelReader::handOver(const Block& block, const std::function<bool(const RecordView&)>& take) {
    for (const Piece& piece : block.pieces) {
        const char* bytes = piece.bytes.data();
        for (const Piece::Record& record : piece.records) {
            RecordView view;
            view.row = bytes + record.row;
            view.length = record.length;
            view.count = record.count;
            view.kept = record.kept;
            view.cells = record.cells;
            view.lineBreak = record.lineBreak;
            view.forms = reinterpret_cast<const unsigned char*>(bytes + record.forms);
            if (!take(view)) return false;
        }
        reader.addCounts(piece.counts);
    }
    return true;
}

namespace {

// Starts a thread per piece; a piece whose thread cannot be had is read on this thread.
template <typename Parse>
void launch(std::vector<std::thread>& threads, std::size_t count, Parse parse) {
    for (std::size_t i = 0; i < count; ++i) {
        try {
            threads.emplace_back(parse, i);
        } catch (const std::system_error&) {
            parse(i);
        }
    }
}

} // namespace

ParallelReader::Outcome ParallelReader::run(const std::function<bool(const RecordView&)>& take,
                                            const std::function<bool()>& keepGoing) {
    try {
        return readBlocks(take, keepGoing);
    } catch (const std::bad_alloc&) {
        // Record by record, a shortage is reported as it always was.
        return Outcome::Failed;
    }
}

ParallelReader::Outcome ParallelReader::readBlocks(const std::function<bool(const RecordView&)>& take,
                                                   const std::function<bool()>& keepGoing) {
    std::string decoded;
    bool ended = false;
    if (!reader.appendFileText(decoded, shape.blockBytes, ended)) return Outcome::Failed;
    auto current = std::make_unique<Block>();
    nextBlock(*current, std::string(), decoded);
    current->final = ended;
    auto start = [this](Block& block) {
        plan(block);
        launch(block.threads, block.pieces.size(), [this, &block](std::size_t i) {
            parse(block, block.pieces[i]);
        });
    };
    start(*current);
    for (;;) {
        bool readable = true;
        if (!current->final) readable = reader.appendFileText(decoded, shape.blockBytes, ended);
        current->join();
        std::size_t carryFrom = 0;
        if (!readable || !settle(*current, carryFrom)) return Outcome::Failed;
        std::unique_ptr<Block> next;
        if (!current->final) {
            next = std::make_unique<Block>();
            nextBlock(*next, current->text.substr(carryFrom, current->length - carryFrom), decoded);
            next->final = ended;
            start(*next);
        }
        if (!handOver(*current, take)) return Outcome::Stopped;
        if (keepGoing && !keepGoing()) return Outcome::Cancelled;
        if (!next) return Outcome::Done;
        current = std::move(next);
    }
}
