// Fuzz target comparing the parallel reader with record-by-record reading of the same bytes.
// The first input byte chooses the encoding (bits 0-1), the separator (bits 2-3), strict
// quotes (bit 4), quotes active (bit 5) and the pieces per block (bits 6-7); the second byte
// the block size. Any difference in records, counts or results aborts.
#include "fuzz/FuzzInputFile.h"
#include "platform/core/Prompt.h"
#include "tests/support/ReaderComparison.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FixedAnswerPrompt prompt(PromptAnswer::Ok);
    Prompt::install(&prompt);
    if (size < 2) return 0;
    const uint8_t options = data[0];
    ReaderComparison::Settings settings;
    static const int encodings[] = {0, -1, 15, 10};
    const int encoding = encodings[options & 3];
    settings.encoding = encoding < 0 ? 0 : encoding;
    settings.allowChange = encoding < 0;
    static const char separators[] = {0, ',', '\t', '\t'};
    settings.separator = separators[(options >> 2) & 3];
    settings.strictQuotes = options & 0x10;
    settings.quotesActive = options & 0x20;
    ParallelReader::Shape shape;
    shape.pieces = 2 + ((options >> 6) & 3);
    shape.blockBytes = 1 + data[1];
    shape.smallestFile = 0;
    const std::string path = writeFuzzInput("/tmp/vexil-fuzz-parallel-XXXXXX", data + 2, size - 2);
    const auto reference = ReaderComparison::byRecord(path, settings);
    const auto parallel = ReaderComparison::inParallel(path, settings, shape);
    unlink(path.c_str());
    const std::string difference = ReaderComparison::difference(reference, parallel);
    if (!difference.empty()) {
        std::fprintf(stderr, "parallel reading differs: %s\n", difference.c_str());
        std::abort();
    }
    return 0;
}
