// FileHook: the file system calls of the core, with a switch that makes the n-th one fail.
#pragma once

#include <cstddef>
#include <cstdio>
#include <sys/types.h>

// Every open, write, flush, sync, close, rename and removal the core makes goes through here,
// so tests can fail any one of them with the error a real system gives and prove that the
// files on disk stay whole. Reads are not counted: a failed read is a failed open here.
class FileHook {
public:
    enum Operation { Open, Write, Flush, Sync, Close, Rename, Remove, OperationCount };

    static int open(const char* path, int flags, mode_t mode = 0);
    static std::FILE* fopen(const char* path, const char* mode);
    static ssize_t write(int fd, const void* data, std::size_t bytes);
    static std::size_t fwrite(const void* data, std::size_t size, std::size_t count, std::FILE* stream);
    static int fflush(std::FILE* stream);
    static int fsync(int fd);
    // A failing close still releases the descriptor or stream, as the system's does.
    static int close(int fd);
    static int fclose(std::FILE* stream);
    static int rename(const char* from, const char* to);
    static int remove(const char* path);

    // Makes the n-th counted call from now fail (1 = the next one); 0 switches injection off.
    // `error` is the errno it fails with; 0 takes the usual one for the operation (ENOSPC for
    // writes and flushes, EIO for syncs and closes, EACCES for opens and removals, EXDEV for
    // renames).
    static void failAfter(long n, int error = 0);
    // Calls counted since the counter was last reset (the failed one included).
    static long count();
    static void resetCount();
    // The operation that was failed last on purpose, or OperationCount when none was.
    static Operation lastFailed();
    static const char* name(Operation operation);
};
