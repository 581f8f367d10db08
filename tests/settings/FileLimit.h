// Test helper: makes every file write beyond a few bytes fail while it lives (root ignores modes).
#pragma once

#include <csignal>
#include <sys/resource.h>

class FileLimit {
public:
    explicit FileLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileLimit(const FileLimit&) = delete;
    FileLimit& operator=(const FileLimit&) = delete;

private:
    struct rlimit saved {};
    void (*previousHandler)(int) = SIG_DFL;
};
