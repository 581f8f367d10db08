// Writes fuzz bytes to a fresh temporary file, for the targets that read files by path.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

// `pattern` ends in XXXXXX (mkstemp); the caller unlinks the file.
inline std::string writeFuzzInput(std::string pattern, const uint8_t* data, size_t size) {
    int fd = mkstemp(pattern.data());
    if (fd < 0) std::abort();
    size_t done = 0;
    while (done < size) {
        ssize_t n = write(fd, data + done, size - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    close(fd);
    return pattern;
}
