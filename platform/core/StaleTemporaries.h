// StaleTemporaries: removes the temporary files that a killed or failed save left beside its target.
#pragma once

#include <string>

// A save writes ".name.vexil-HOST-PID-N.tmp" beside its target and renames it over the target.
// A process killed in between, or a removal that failed, leaves that file behind; the next
// save or open in the same folder removes it. One of this host goes at once when the process
// that made it no longer runs (or it is one of ours that no save holds any more). One of
// another host sharing the folder goes only when it has not changed for a while: its process
// number means nothing here. Names without a host (older versions) need both.
class StaleTemporaries {
public:
    static constexpr long DefaultQuietSeconds = 60;

    // The parts of a temporary name of ours; pid 0 when the name is not one, host empty when
    // the name carries none.
    struct Owner {
        long pid = 0;
        std::string host;
    };
    static Owner ownerParts(const std::string& name);
    // This machine's name as temporary names carry it (letters, digits, "." and "-"; others
    // become "_"); empty when the system does not tell it.
    static const std::string& hostName();

    // Records a temporary name a save in this process is using, so that no sweep takes it.
    static void hold(const std::string& path);
    static void release(const std::string& path);
    // Removes the stale temporary files of our naming in `folder` (the folder of a file when
    // `path` names one); returns how many were removed.
    static int sweep(const std::string& folder, long quietSeconds = DefaultQuietSeconds);
    static int sweepFolderOf(const std::string& path, long quietSeconds = DefaultQuietSeconds);
    // The process number in a temporary name of ours, or 0 when the name is not one.
    static long ownerOf(const std::string& name) { return ownerParts(name).pid; }
};
