// Fuzz target: reading a colour-information file (header, blocks and attribute records).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/core/Prompt.h"
#include "store/CMyColourFile.h"
#include "store/CMyHyo.h"

namespace {


const char* const Rows[] = {"a\tb\tc", "", "\x93\xfa\x96\x7b\tx", "1\t2"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FixedAnswerPrompt quiet(PromptAnswer::Ok);
    Prompt::install(&quiet);
    if (size == 0) return 0;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::FILE* stream = fmemopen(bytes.data(), bytes.size(), "rb");
    if (!stream) return 0;

    CMyHyo hyo;
    hyo.journal().setRecording(false);
    for (int r = 0; r < 4; ++r) hyo.setRow(r, Rows[r]);
    hyo.setWidestRow(3);

    CMyColourFile file;
    file.adopt(stream);
    ColourSettings settings;
    if (file.readColourHeader(hyo, settings) == 0) file.readColourRecords(hyo, data[0] & 1);

    // Colours may land on the cells; their text and the number of rows never change.
    if (hyo.storeRowCount() != 4) std::abort();
    if (hyo.cellString(0, 0) != "a" || hyo.cellString(2, 0) != "c" ||
        hyo.cellString(0, 2) != "\x93\xfa\x96\x7b" || hyo.cellString(1, 3) != "2")
        std::abort();
    for (int c = 0; c < hyo.columnCount(); ++c)
        if (hyo.columnTitle(c).size() > 60 || hyo.columnWidth(c) < 0) std::abort();
    return 0;
}
