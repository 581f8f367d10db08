// StagedFile: a temporary file beside a target that replaces the target only when complete.
#pragma once

#include <string>

// Saving never writes into the file it replaces: the new content goes to a temporary file in
// the same folder (so the rename stays on one file system) and is renamed over the target
// once every write and the close succeeded. An uncommitted temporary file is removed.
class StagedFile {
public:
    explicit StagedFile(std::string target);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    const std::string& target() const { return target_; }
    const std::string& temporary() const { return temporary_; }
    // False when the target exists but may not be written (no write permission, or marked
    // read-only for its owner): the rename would replace it where writing into it fails.
    bool writable() const;
    // Gives the temporary file the target's permissions (when the target exists) and renames
    // it over the target. False when the rename failed; the target is then unchanged.
    bool commit();
    // Removes the temporary file (a no-op after commit).
    void discard();

private:
    std::string target_;
    std::string temporary_;
    bool done_ = false;
};
