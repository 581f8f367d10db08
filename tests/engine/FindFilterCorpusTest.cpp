// Replays the find-and-filter fuzz corpus (fuzz/corpus/findfilter) in the normal test run, with
// the invariants the fuzz target checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/FindFilterCheck.h"
#include "support/ScriptedPrompt.h"

namespace fs = std::filesystem;

TEST(FindFilterCorpus, EveryInputKeepsTheInvariants) {
    const char* source = std::getenv("VEXIL_SOURCE_DIR");
    const fs::path folder = fs::path(source ? source : fs::path(__FILE__).parent_path().parent_path().parent_path()) / "fuzz" / "corpus" / "findfilter";
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty()) << folder;
    ScriptedPrompt prompt;
    prompt.allowUnscripted();
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        try {
            FindFilterCheck::run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        } catch (const FindFilterCheck::Broken& broken) {
            ADD_FAILURE() << file.filename() << ": " << broken.what;
        }
    }
}
