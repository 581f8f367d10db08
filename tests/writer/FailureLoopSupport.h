// Runs a file operation with the n-th file call (or allocation) failing, n = 1, 2, ... until it
// runs clean, and checks after every run that the folder holds whole old or whole new files.
#pragma once

#include <functional>
#include <map>
#include <string>

class ScriptedPrompt;

namespace FailureLoop {

// Relative path -> bytes of every regular file below a folder. Runs of 14 digits (the time
// stamps in temporary-store names and in the store list) read as "#", so that two runs a
// second apart compare equal.
using Snapshot = std::map<std::string, std::string>;
Snapshot snapshot(const std::string& folder);

struct Scenario {
    std::string folder;                          // everything below it is checked
    std::function<void()> reset;                 // puts the old files and state back
    std::function<bool(ScriptedPrompt&)> run;    // the operation; true when it reports success
    std::string target;                          // relative: must be new after a success
    // Further checks after a failed run (the document still modified, and so on).
    std::function<void(bool succeeded, long n)> check;
};

enum Hook { FileCalls, Allocations };

// Walks every failure point; returns how many runs had a failure injected. `error` is the
// errno of every failed file call (0: the usual one for the call).
long walk(const Scenario& scenario, Hook hook = FileCalls, int error = 0);

} // namespace FailureLoop
