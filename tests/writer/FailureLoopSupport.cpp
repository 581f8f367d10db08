// The failure loop shared by the file-failure tests.
#include "FailureLoopSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "WriterTestSupport.h"
#include "platform/core/FileHook.h"
#include "platform/core/MemoryHook.h"
#include "platform/core/StaleTemporaries.h"
#include "support/ScriptedPrompt.h"

namespace fs = std::filesystem;

namespace FailureLoop {

namespace {

constexpr long MaxPoints = 2000;   // a loop that never runs clean is a fault of its own

std::string stamped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t digits = 0;
        while (i + digits < text.size() && text[i + digits] >= '0' && text[i + digits] <= '9') ++digits;
        if (digits == 14) {
            out += '#';
        } else {
            out.append(text, i, digits ? digits : 1);
        }
        i += digits ? digits : 1;
    }
    return out;
}

void arm(Hook hook, long n, int error) {
    if (hook == FileCalls) {
        FileHook::resetCount();
        FileHook::failAfter(n, error);
    } else {
        MemoryHook::resetCount();
        MemoryHook::failAfter(n);
    }
}

long disarm(Hook hook) {
    FileHook::failAfter(0);
    MemoryHook::failAfter(0);
    return hook == FileCalls ? FileHook::count() : MemoryHook::count();
}

// Every file after a failed run is the old or the new version; anything else is litter. A
// temporary file of ours may stay only when its own removal was the call that failed, and the
// next sweep of its folder must take it.
void expectWholeFiles(const Scenario& scenario, const Snapshot& before, const Snapshot& after,
                      const Snapshot& now, long n) {
    for (const auto& [name, bytes] : now) {
        const auto old = before.find(name);
        const auto changed = after.find(name);
        const bool whole = (old != before.end() && old->second == bytes) ||
                           (changed != after.end() && changed->second == bytes);
        if (whole) continue;
        const std::string path = scenario.folder + "/" + name;
        const bool ours = StaleTemporaries::ownerOf(fs::path(name).filename().string()) != 0;
        if (ours && FileHook::lastFailed() == FileHook::Remove) {
            StaleTemporaries::sweepFolderOf(path, 0);
            EXPECT_FALSE(fs::exists(path)) << "the sweep left " << name << " (failure " << n << ")";
            continue;
        }
        ADD_FAILURE() << name << " is neither old nor new after failure " << n << " ("
                      << FileHook::name(FileHook::lastFailed()) << ")\n now: " << bytes
                      << "\n old: " << (old != before.end() ? old->second : "-")
                      << "\n new: " << (changed != after.end() ? changed->second : "-");
    }
    for (const auto& [name, bytes] : before)
        if (!now.count(name) && after.count(name))
            ADD_FAILURE() << name << " vanished after failure " << n;
}

} // namespace

Snapshot snapshot(const std::string& folder) {
    Snapshot files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::end(it);
         it.increment(error)) {
        if (!it->is_regular_file()) continue;
        files[stamped(fs::relative(it->path(), folder).string())] = stamped(fileBytes(it->path().string()));
    }
    return files;
}

long walk(const Scenario& scenario, Hook hook, int error) {
    scenario.reset();
    const Snapshot before = snapshot(scenario.folder);
    {
        ScriptedPrompt prompt;
        prompt.allowUnscripted();
        EXPECT_TRUE(scenario.run(prompt)) << "the operation fails without injected failures";
    }
    const Snapshot after = snapshot(scenario.folder);
    EXPECT_TRUE(after.count(scenario.target)) << scenario.target;
    long points = 0;
    for (long n = 1; n <= MaxPoints; ++n) {
        scenario.reset();
        ScriptedPrompt prompt;
        prompt.allowUnscripted();
        arm(hook, n, error);
        const bool ok = scenario.run(prompt);
        if (disarm(hook) < n) {
            EXPECT_TRUE(ok);
            EXPECT_EQ(snapshot(scenario.folder), after) << "a clean run differs from the first";
            return points;
        }
        ++points;
        const Snapshot now = snapshot(scenario.folder);
        expectWholeFiles(scenario, before, after, now, n);
        if (ok) {
            const auto it = now.find(scenario.target);
            EXPECT_TRUE(it != now.end() && it->second == after.at(scenario.target))
                << "success reported with an incomplete " << scenario.target << " (failure " << n << ")";
        } else {
            EXPECT_FALSE(prompt.shown().empty()) << "failure " << n << " went unreported";
        }
        if (scenario.check) scenario.check(ok, n);
        if (::testing::Test::HasFailure()) return points;   // one fault, one report
    }
    ADD_FAILURE() << "the operation never ran clean";
    return points;
}

} // namespace FailureLoop
