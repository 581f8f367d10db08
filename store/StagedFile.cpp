// StagedFile: temporary files renamed over their targets only after a complete, synced write.
#include "store/StagedFile.h"

#include "platform/core/FileHook.h"
#include "platform/core/SafeFile.h"
#include "platform/core/StaleTemporaries.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A link is followed, so that saving replaces the file it points at, not the link itself.
std::string resolvedTarget(const std::string& target) {
    std::error_code error;
    if (!std::filesystem::is_symlink(target, error)) return target;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(target, error);
    return error ? target : resolved.string();
}

bool isWritableRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), W_OK) == 0;
}

} // namespace

StagedFile::StagedFile(std::string target)
    : target_(resolvedTarget(target)), temporary_(SafeFile::temporaryPathFor(target_)) {
    StaleTemporaries::sweepFolderOf(target_);
}

StagedFile::~StagedFile() {
    discard();
    StaleTemporaries::release(temporary_);
}

bool StagedFile::writable() const {
    struct stat info {};
    if (::stat(target_.c_str(), &info) != 0) return true;
    return ::access(target_.c_str(), W_OK) == 0 && (info.st_mode & S_IWUSR) != 0;
}

const std::string& StagedFile::prepare() {
    if (!writePath_.empty() || done_) return writePath_;
    int fd = FileHook::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
        FileHook::close(fd);
        created_ = true;
        writePath_ = temporary_;
    } else if ((errno == EACCES || errno == EPERM || errno == EROFS) && writable() &&
               isWritableRegularFile(target_)) {
        inPlace_ = true;
        writePath_ = target_;
    }
    return writePath_;
}

bool StagedFile::commit() {
    if (done_ || writePath_.empty()) return false;
    if (inPlace_) {
        done_ = true;
        return SafeFile::syncFile(target_);
    }
    if (!SafeFile::syncFile(temporary_)) return false;
    SafeFile::keepOwnerAndMode(target_, temporary_);
    if (FileHook::rename(temporary_.c_str(), target_.c_str()) != 0) return false;
    done_ = true;
    SafeFile::syncFolderOf(target_);
    return true;
}

void StagedFile::discard() {
    if (done_) return;
    if (created_) FileHook::remove(temporary_.c_str());
    done_ = true;
}
