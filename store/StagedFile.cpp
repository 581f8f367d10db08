// StagedFile: temporary files renamed over their targets only after a complete write.
#include "store/StagedFile.h"

#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int stagedCounter = 0;

std::string temporaryNameFor(const std::string& target) {
    const std::string::size_type slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    return folder + "." + name + ".vexil-" + std::to_string(::getpid()) + "-" +
           std::to_string(++stagedCounter) + ".tmp";
}

// A link is followed, so that saving replaces the file it points at, not the link itself.
std::string resolvedTarget(const std::string& target) {
    std::error_code error;
    if (!std::filesystem::is_symlink(target, error)) return target;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(target, error);
    return error ? target : resolved.string();
}

} // namespace

StagedFile::StagedFile(std::string target)
    : target_(resolvedTarget(target)), temporary_(temporaryNameFor(target_)) {}

StagedFile::~StagedFile() { discard(); }

bool StagedFile::writable() const {
    struct stat info {};
    if (::stat(target_.c_str(), &info) != 0) return true;
    return ::access(target_.c_str(), W_OK) == 0 && (info.st_mode & S_IWUSR) != 0;
}

bool StagedFile::commit() {
    if (done_) return false;
    struct stat old {};
    if (::stat(target_.c_str(), &old) == 0) ::chmod(temporary_.c_str(), old.st_mode & 07777);
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) return false;
    done_ = true;
    return true;
}

void StagedFile::discard() {
    if (done_) return;
    std::remove(temporary_.c_str());
    done_ = true;
}
