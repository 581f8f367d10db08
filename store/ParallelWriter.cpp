// ParallelWriter: pieces of rows formatted on several threads, written in row order.
#include "store/ParallelWriter.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "store/CMyColourFile.h"
#include "store/CMyFile.h"
#include "store/CMyHyo.h"
#include "store/CMyWriter.h"
#include "store/SharedShape.h"

namespace {

SharedShape<ParallelWriter::Shape> sharedShape;

// Rows measured to guess a row's formatted length: spread over the walk, cheap to read.
constexpr int SampledRows = 4096;
// Pieces each thread may have formatted ahead of the writing.
constexpr int PiecesAhead = 2;

double averageRowBytes(const CMyHyo& hyo, const ParallelWriter::Rows& rows) {
    const long long count = static_cast<long long>(rows.last) - rows.first + 1;
    if (count <= 0) return 0;
    const long long step = std::max(1LL, count / SampledRows);
    long long bytes = 0, sampled = 0;
    for (long long k = 0; k < count; k += step, ++sampled)
        bytes += hyo.rowLength(rows.storeRow(static_cast<int>(rows.first + k))) + 2;
    return static_cast<double>(bytes) / static_cast<double>(sampled);
}

} // namespace

// One piece of the walk: its rows, its writer's held text and attribute notes.
struct ParallelWriter::Piece {
    int first = 0, last = -1;
    std::unique_ptr<CMyWriter> writer;
    std::vector<CMyWriter::AttributeNote> notes;
    std::string encoded;   // the text in the file's encoding, when it differs
    int lost = 0;
    bool ready = false;
    bool failed = false;
};

// What the calling thread and the formatting threads share, under `lock`.
struct ParallelWriter::Shared {
    const Rows& rows;
    int encoding;          // the file's, when its text is converted on the threads; else -1
    int perPiece;
    int pieceCount;
    int threads;
    std::vector<Piece> slots;   // piece k lives in slot k % slots.size()
    std::mutex lock;
    std::condition_variable formatted;  // a piece is ready
    std::condition_variable written;    // a slot is free again
    int writtenPieces = 0;
    bool stop = false;
};

std::string_view ParallelWriter::held(const Piece& piece) {
    return {piece.writer->heldText(), static_cast<std::size_t>(piece.writer->heldLength())};
}

ParallelWriter::Shape ParallelWriter::defaultShape() { return sharedShape.get(); }

void ParallelWriter::setDefaultShape(const Shape& shape) { sharedShape.set(shape); }

ParallelWriter::ParallelWriter(const CMyHyo& hyo, CMyFile& file, CMyColourFile* colour,
                               CMyWriter& model)
    : hyo(hyo), file(file), colour(colour), model(model) {}

bool ParallelWriter::formatPiece(Piece& piece, const Rows& rows, int encoding) const {
    piece.writer->clearHeld();
    piece.notes.clear();
    for (int row = piece.first; row <= piece.last; ++row) {
        if (rows.lastLineOpen && row == rows.last) piece.writer->omitNextLineEnd();
        CMyWriter::prefetchAhead(hyo, row, piece.first, piece.last);
        if (!piece.writer->writeRow(hyo, rows.storeRow(row), nullptr, row)) return false;
    }
    if (encoding >= 0) piece.lost = CMyFile::encodeText(encoding, held(piece), piece.encoded);
    return true;
}

// A thread formats the pieces thread, thread + threads, ... each into the slot it owns,
// waiting while the slot still holds a piece not yet written.
void ParallelWriter::format(Shared& shared, int thread) const {
    const int slotCount = static_cast<int>(shared.slots.size());
    for (int k = thread; k < shared.pieceCount; k += shared.threads) {
        Piece& piece = shared.slots[static_cast<std::size_t>(k % slotCount)];
        {
            std::unique_lock<std::mutex> hold(shared.lock);
            shared.written.wait(hold, [&] { return shared.stop || k - shared.writtenPieces < slotCount; });
            if (shared.stop) return;
        }
        piece.first = shared.rows.first + k * shared.perPiece;
        piece.last = std::min(shared.rows.last, piece.first + shared.perPiece - 1);
        bool done = false;
        try {
            done = formatPiece(piece, shared.rows, shared.encoding);
        } catch (const std::exception&) {  // the notes could not grow
            done = false;
        }
        std::lock_guard<std::mutex> hold(shared.lock);
        piece.failed = !done;
        piece.ready = true;
        shared.formatted.notify_all();
        if (!done) return;
    }
}

ParallelWriter::Outcome ParallelWriter::run(const Rows& rows, const KeepGoing& keepGoing) {
    const Shape shape = defaultShape();
    const int threads = SharedShape<Shape>::threadsFor(shape.threads);
    const long long rowCount = static_cast<long long>(rows.last) - rows.first + 1;
    if (threads < 2 || rowCount <= 0) return Outcome::NotStarted;
    const double perRow = averageRowBytes(hyo, rows);
    if (perRow * static_cast<double>(rowCount) < static_cast<double>(shape.smallestTable))
        return Outcome::NotStarted;
    const double pieceRows = static_cast<double>(std::max<std::size_t>(shape.pieceBytes, 1)) / std::max(1.0, perRow);
    const int perPiece = static_cast<int>(std::clamp(pieceRows, 1.0, 1048576.0));
    const int pieceCount = static_cast<int>((rowCount + perPiece - 1) / perPiece);
    const int encoding = CMyFile::changesText(file.textEncoding) ? file.textEncoding : -1;
    Shared shared{rows, encoding, perPiece, pieceCount, threads, {}, {}, {}, {}, 0, false};
    try {
        shared.slots.resize(static_cast<std::size_t>(threads) * PiecesAhead);
    } catch (const std::bad_alloc&) {
        return Outcome::NotStarted;
    }
    for (Piece& piece : shared.slots) {
        piece.writer = model.heldTwin(colour ? &piece.notes : nullptr);
        if (!piece.writer) return Outcome::NotStarted;
    }

    std::vector<std::thread> workers;
    auto stopAll = [&] {
        {
            std::lock_guard<std::mutex> hold(shared.lock);
            shared.stop = true;
        }
        shared.written.notify_all();
        for (auto& worker : workers) worker.join();
    };
    try {
        for (int t = 0; t < threads; ++t) workers.emplace_back([this, &shared, t] { format(shared, t); });
    } catch (const std::system_error&) {
        stopAll();
        return Outcome::NotStarted;
    }

    model.flush();
    const int slotCount = static_cast<int>(shared.slots.size());
    for (int k = 0; k < pieceCount; ++k) {
        Piece& piece = shared.slots[static_cast<std::size_t>(k % slotCount)];
        {
            std::unique_lock<std::mutex> hold(shared.lock);
            shared.formatted.wait(hold, [&] { return piece.ready; });
            piece.ready = false;
        }
        if (piece.failed) {
            stopAll();
            return Outcome::OutOfMemory;
        }
        if (encoding >= 0) file.writeEncoded(piece.encoded, piece.lost);
        else file.writeText(held(piece));
        if (colour) CMyWriter::passNotes(piece.notes, *colour);
        {
            std::lock_guard<std::mutex> hold(shared.lock);
            shared.writtenPieces = k + 1;
        }
        shared.written.notify_all();
        if (keepGoing && !keepGoing(static_cast<long long>(piece.last) - rows.first + 1)) {
            stopAll();
            return Outcome::Cancelled;
        }
    }
    stopAll();
    return Outcome::Done;
}
