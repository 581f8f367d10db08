// Fuzz target comparing a save formatted in pieces on several threads with the same save
// written row by row. The input's lines (LF) are the table's rows, bytes as they are (TABs
// part cells, bytes 1-7 begin colour records). The first byte chooses the quote kind (bits
// 0-2), the separator (bit 3), quoting for line breaks only (bit 4), the line end (bits 5-6)
// and the header line (bit 7); the second the encoding (bits 0-1), a last line without its
// line end (bit 2) and the threads (bits 3-4); the third the piece size. Any difference in
// the result, the data file or the colour file aborts.
#include "platform/core/Prompt.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/ParallelWriter.h"
#include "store/SaveFlow.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

// The program home and the files of each run; removed when the fuzzer ends (kept for the
// whole run, so it is never destroyed before that).
const std::string& folder() {
    static const std::string* path = [] {
        std::string pattern = "/tmp/vexil-fuzz-writer-XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        setenv("VEXIL_HOME", pattern.c_str(), 1);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder(), ignored);
        });
        return new std::string(pattern);
    }();
    return *path;
}

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Saved {
    bool ok = false;
    std::string data, colour;
};

Saved save(CMyHyo& hyo, CMyGlobal& global, const DocumentState& settings, const ParallelWriter::Shape& shape) {
    ParallelWriter::setDefaultShape(shape);
    DocumentState doc = settings;
    SaveFlow flow(hyo, global, doc);
    Saved saved;
    saved.ok = flow.saveDocument(false);
    saved.data = bytesOf(doc.filePath);
    saved.colour = bytesOf(folder() + "/t.vxc");
    std::filesystem::remove(doc.filePath);
    std::filesystem::remove(folder() + "/t.vxc");
    return saved;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FixedAnswerPrompt prompt(PromptAnswer::Yes);
    Prompt::install(&prompt);
    if (size < 3) return 0;
    const uint8_t first = data[0], second = data[1];
    CMyGlobal global;
    global.setColourFileMode(1);
    global.setQuoteKind((first & 7) % 5);
    global.setFileQuoteLineBreakOnly(first & 0x10);
    CMyHyo hyo;
    hyo.journal().setRecording(false);
    const std::string text(reinterpret_cast<const char*>(data + 3), size - 3);
    int rows = 0, widest = 0;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        hyo.setRow(rows, text.substr(start, end - start));
        widest = std::max(widest, hyo.cellCount(rows++));
        start = end + 1;
    }
    hyo.setWidestRow(widest);
    hyo.setHeaderMode(first & 0x80);
    DocumentState doc;
    doc.filePath = folder() + "/t.csv";
    doc.separator = (first & 8) ? '\t' : ',';
    doc.lineEnding = ((first >> 5) & 3) % 3;
    static const int encodings[] = {0, 15, 10, 11};
    doc.encoding = encodings[second & 3];
    doc.endsWithoutLineBreak = second & 4;

    ParallelWriter::Shape rowByRow;
    rowByRow.smallestTable = SIZE_MAX;
    const Saved reference = save(hyo, global, doc, rowByRow);
    const ParallelWriter::Shape pieces{2 + ((second >> 3) & 3), 1u + data[2], 0};
    const Saved parallel = save(hyo, global, doc, pieces);
    if (reference.ok != parallel.ok || reference.data != parallel.data || reference.colour != parallel.colour) {
        std::fprintf(stderr, "pieces differ: saved %d/%d, data %zu/%zu bytes, colour %zu/%zu bytes\n",
                     reference.ok, parallel.ok, reference.data.size(), parallel.data.size(),
                     reference.colour.size(), parallel.colour.size());
        std::abort();
    }
    return 0;
}
