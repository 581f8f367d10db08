// SafeFile: whole-file reads with a size cap and whole-file replacement through a temporary file.
#pragma once

#include <cstddef>
#include <string>

class SafeFile {
public:
    // Reads the whole file into `bytes`; false when it is missing, unreadable, a folder or
    // larger than `maxBytes` (then `bytes` is empty).
    static bool readAll(const std::string& path, std::string& bytes, size_t maxBytes);
    // Writes `bytes` to a unique temporary file in the same folder and renames it over `path`
    // only when every byte was written and flushed; on failure the old file stays untouched.
    // Two processes replacing the same file leave one complete version (the last rename wins).
    // The replaced file keeps its permissions; through a symbolic link the file it points to
    // is replaced and the link stays.
    static bool replace(const std::string& path, const std::string& bytes);
};
