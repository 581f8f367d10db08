// Fuzz target: find, replace all and the filter over arbitrary cells and conditions. Nothing
// outside the range changes, no cell grows past 5,000 bytes or takes a TAB or record byte,
// undo gives back the exact bytes, the filter keeps exactly the rows its condition passes,
// the match kinds agree with one another, and regular expressions keep to character starts.
#include <cstdint>
#include <string>

#include "FindFilterCheck.h"
#include "platform/core/Prompt.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FixedAnswerPrompt silent(PromptAnswer::Yes);
    Prompt::install(&silent);
    try {
        FindFilterCheck::run(data, size);
    } catch (const FindFilterCheck::Broken&) {
        __builtin_trap();
    }
    Prompt::install(nullptr);
    return 0;
}
