// Fuzz target: find, replace all and the filter over arbitrary cells and conditions. Nothing
// outside the range changes, no cell grows past 5,000 bytes or takes a TAB or record byte,
// undo gives back the exact bytes, the filter keeps exactly the rows its condition passes,
// and the match kinds agree with one another.
#include <cstdint>
#include <string>

#include "FindFilterCheck.h"
#include "platform/core/Prompt.h"

namespace {

class Silent : public PromptHandler {
public:
    PromptAnswer messageBox(const std::string&, const std::string&, PromptButtons buttons,
                            PromptIcon, PromptAnswer) override {
        return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Yes;
    }
    void beep() override {}
    FileChoice chooseOpenFile(const std::string&, int) override { return {}; }
    FileChoice chooseSaveFile(const std::string&, const std::string&, int, const std::string&) override {
        return {};
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Silent silent;
    Prompt::install(&silent);
    try {
        FindFilterCheck::run(data, size);
    } catch (const FindFilterCheck::Broken&) {
        __builtin_trap();
    }
    Prompt::install(nullptr);
    return 0;
}
