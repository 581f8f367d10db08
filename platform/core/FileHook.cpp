// FileHook: file system calls with failure injection for tests.
#include "platform/core/FileHook.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Atomic: a test may save from one thread while another reads the lists.
std::atomic<long> countdown{0};
std::atomic<long> requested{0};
std::atomic<int> chosenError{0};
std::atomic<int> failedLast{FileHook::OperationCount};

int usualError(FileHook::Operation operation) {
    switch (operation) {
    case FileHook::Write:
    case FileHook::Flush: return ENOSPC;
    case FileHook::Sync:
    case FileHook::Close: return EIO;
    case FileHook::Rename: return EXDEV;
    default: return EACCES;
    }
}

// True when this call is the one to fail; errno is then set.
bool injectFailure(FileHook::Operation operation) {
    ++requested;
    long left = countdown.load();
    while (left > 0 && !countdown.compare_exchange_weak(left, left - 1)) {}
    if (left != 1) return false;
    failedLast = operation;
    errno = chosenError ? chosenError.load() : usualError(operation);
    return true;
}

} // namespace

int FileHook::open(const char* path, int flags, mode_t mode) {
    if (injectFailure(Open)) return -1;
    return ::open(path, flags, mode);
}

std::FILE* FileHook::fopen(const char* path, const char* mode) {
    if (injectFailure(Open)) return nullptr;
    return std::fopen(path, mode);
}

ssize_t FileHook::write(int fd, const void* data, std::size_t bytes) {
    if (injectFailure(Write)) return -1;
    return ::write(fd, data, bytes);
}

std::size_t FileHook::fwrite(const void* data, std::size_t size, std::size_t count, std::FILE* stream) {
    if (injectFailure(Write)) return 0;
    return std::fwrite(data, size, count, stream);
}

int FileHook::fflush(std::FILE* stream) {
    if (injectFailure(Flush)) return EOF;
    return std::fflush(stream);
}

int FileHook::fsync(int fd) {
    if (injectFailure(Sync)) return -1;
    return ::fsync(fd);
}

int FileHook::close(int fd) {
    if (injectFailure(Close)) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return ::close(fd);
}

int FileHook::fclose(std::FILE* stream) {
    if (injectFailure(Close)) {
        const int error = errno;
        std::fclose(stream);
        errno = error;
        return EOF;
    }
    return std::fclose(stream);
}

int FileHook::rename(const char* from, const char* to) {
    if (injectFailure(Rename)) return -1;
    return std::rename(from, to);
}

int FileHook::remove(const char* path) {
    if (injectFailure(Remove)) return -1;
    return std::remove(path);
}

void FileHook::failAfter(long n, int error) {
    chosenError = error;
    if (n > 0) failedLast = OperationCount;   // switching off keeps the last record for the test
    countdown = n > 0 ? n : 0;
}

long FileHook::count() { return requested; }

void FileHook::resetCount() { requested = 0; }

FileHook::Operation FileHook::lastFailed() { return static_cast<Operation>(failedLast.load()); }

const char* FileHook::name(Operation operation) {
    static const char* const names[] = {"open", "write", "flush", "fsync", "close", "rename", "remove", "none"};
    return names[operation];
}
