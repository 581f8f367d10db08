// SafeFile: whole-file reads with a size cap and whole-file replacement through a temporary file.
#include "platform/core/SafeFile.h"

#include "platform/core/FileHook.h"
#include "platform/core/StaleTemporaries.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeEverything(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = FileHook::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// A symbolic link is kept: the file it points to is the one replaced. A link that points
// nowhere is replaced itself, as a missing file would be created.
std::string replacedFile(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return path;
    std::string target = resolved;
    std::free(resolved);
    return target;
}

} // namespace

bool SafeFile::readAll(const std::string& path, std::string& bytes, size_t maxBytes) {
    bytes.clear();
    if (path.empty()) return false;
    // Non-blocking so that a FIFO or device under our name cannot hang the reader; the
    // check below refuses anything that is not a regular file.
    int fd = FileHook::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
              static_cast<unsigned long long>(info.st_size) <= maxBytes;
    char chunk[8192];
    while (ok) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        bytes.append(chunk, static_cast<size_t>(n));
        if (bytes.size() > maxBytes) ok = false;   // grew while we read it
    }
    FileHook::close(fd);
    if (!ok) bytes.clear();
    return ok;
}

bool SafeFile::replace(const std::string& path, const std::string& bytes) {
    if (path.empty()) return false;
    const std::string target = replacedFile(path);
    StaleTemporaries::sweepFolderOf(target);
    std::string temporary = temporaryPathFor(target);
    int fd = FileHook::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        StaleTemporaries::release(temporary);
        return false;
    }
    bool ok = writeEverything(fd, bytes) && FileHook::fsync(fd) == 0;
    ok = (FileHook::close(fd) == 0) && ok;
    // The new version keeps the permissions and owner of the one it replaces.
    if (ok) keepOwnerAndMode(target, temporary);
    if (ok) ok = FileHook::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) FileHook::remove(temporary.c_str());
    if (ok) syncFolderOf(target);
    StaleTemporaries::release(temporary);
    return ok;
}

std::string SafeFile::temporaryPathFor(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    constexpr std::size_t NameLimit = 255;
    const std::string::size_type slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    // The host tells a sweep whether the process number can be checked here.
    const std::string& host = StaleTemporaries::hostName();
    const std::string tail = ".vexil-" + (host.empty() ? std::string() : host + "-") +
                             std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".tmp";
    const std::size_t room = NameLimit - 1 - tail.size();
    if (name.size() > room) {
        // Cut at a UTF-8 character start, so the temporary name stays readable text.
        std::size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
        name.resize(cut);
    }
    const std::string temporary = folder + "." + name + tail;
    StaleTemporaries::hold(temporary);
    return temporary;
}

bool SafeFile::syncFile(const std::string& path) {
    int fd = FileHook::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    bool ok = FileHook::fsync(fd) == 0;
    FileHook::close(fd);
    return ok;
}

void SafeFile::syncFolderOf(const std::string& path) {
    const std::string::size_type slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    int fd = FileHook::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    FileHook::close(fd);
}

void SafeFile::keepOwnerAndMode(const std::string& original, const std::string& replacement) {
    struct stat old {};
    if (::stat(original.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return;
    // Owner first: changing it may clear set-user-ID bits that the mode then restores.
    struct stat now {};
    if (::stat(replacement.c_str(), &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid))
        (void)::chown(replacement.c_str(), old.st_uid, old.st_gid);
    (void)::chmod(replacement.c_str(), old.st_mode & 07777);
}

bool SafeFile::isSpecial(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return false;
    return !S_ISREG(info.st_mode);
}

bool SafeFile::stamp(const std::string& path, long long& size, long long& modified) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return false;
    size = static_cast<long long>(info.st_size);
    modified = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    return true;
}
