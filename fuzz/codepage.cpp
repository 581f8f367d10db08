// Fuzz target: Unicode through CP932 and its lent codes and back. Whatever arrives as UTF-8 or
// UTF-16 and converts without a loss must come back byte for byte, and the plain CP932 form
// holds no lent code any more.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/core/CodePage.h"
#include "platform/core/GivenCodes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t control = data[0];
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    // Now and then (and always before the table fills) start from an empty table, so both the
    // first loans and a crowded area are explored.
    if ((control & 2) || GivenCodes::givenCount() > GivenCodes::Capacity - 64) GivenCodes::reset();

    std::string cp932, back;
    if (control & 1) {
        std::string bytes;
        int lost = CodePage::utf16BytesToCp932(input, false, cp932);
        CodePage::cp932ToUtf16Bytes(cp932, false, bytes);
        if (lost == 0 && bytes != input) std::abort();
    } else {
        int lost = CodePage::utf8ToCp932(input, cp932);
        CodePage::cp932ToUtf8(cp932, back);
        if (lost == 0 && back != input) std::abort();
    }
    if (GivenCodes::countIn(GivenCodes::plain(cp932)) != 0) std::abort();
    return 0;
}
