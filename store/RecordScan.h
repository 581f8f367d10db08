// RecordScan: the structural pre-scan that proposes where records of delimited text begin.
#pragma once

#include <cstddef>

// The parsers decide; this only proposes starting points for reading pieces of a text on
// several threads, so a wrong guess costs time, never a cell (each guess is checked against
// where the piece before it really ended).
namespace RecordScan {

// Number of double-quote bytes in `length` bytes. Uses AVX2 when the processor has it (checked
// once at run time), SSE2 on other x86-64 processors, plain bytes elsewhere.
std::size_t countQuotes(const char* text, std::size_t length);

// The first position at or after `from` that follows a line break (CR LF counting as one)
// standing outside quotes, or `length` when there is none short of the end. `quotesBefore` is
// the number of quotes in text[0, from); with `quotesMatter` false every line break counts.
// A break whose CR is the text's last byte is not taken: an LF may follow in the next text.
std::size_t nextRecordStart(const char* text, std::size_t length, std::size_t from,
                            std::size_t quotesBefore, bool quotesMatter);

// Which instruction set countQuotes uses: "avx2", "sse2" or "scalar".
const char* vectorKind();

} // namespace RecordScan
