// StagedFile: a temporary file beside a target that replaces the target only when complete.
#pragma once

#include <string>

// Saving never writes into the file it replaces: the new content goes to a temporary file in
// the same folder (so the rename stays on one file system), is synced to the disk and renamed
// over the target once every write and the close succeeded; then the folder is synced, so a
// crash right after a save leaves the old file or the new one, never an empty one. An
// uncommitted temporary file is removed.
//
// In a folder that takes no new file while the target itself may be written, the target is
// written in place instead (the writers check every write; commit then syncs it).
class StagedFile {
public:
    explicit StagedFile(std::string target);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    const std::string& target() const { return target_; }
    // False when the target exists but may not be written (no write permission, or marked
    // read-only for its owner): the rename would replace it where writing into it fails.
    bool writable() const;
    // The file to write: the temporary file, created here, or the target itself when the
    // folder refuses new files. Empty when neither can be written.
    const std::string& prepare();
    bool inPlace() const { return inPlace_; }
    // Syncs what was written; for a temporary file also gives it the target's permissions and
    // owner (when the target exists) and renames it over the target. False when that failed;
    // the target is then unchanged (unless it was written in place).
    bool commit();
    // Removes the temporary file (a no-op after commit, and for a target written in place).
    void discard();

private:
    std::string target_;
    std::string temporary_;
    std::string writePath_;
    bool created_ = false;
    bool inPlace_ = false;
    bool done_ = false;
};
