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

    // A unique name for a temporary file beside `target` (".name.vexil-HOST-PID-N.tmp"), the
    // name part shortened so that the whole stays within the file system's 255-byte name limit.
    // The name is held from stale-file sweeps until StaleTemporaries::release.
    static std::string temporaryPathFor(const std::string& target);
    // Writes the file's data through to the disk; false when the system refuses.
    static bool syncFile(const std::string& path);
    // Makes a rename or creation in the folder of `path` durable.
    static void syncFolderOf(const std::string& path);
    // Gives `replacement` the permissions and (where allowed, as for root) the owner and group
    // of `original`, when `original` exists.
    static void keepOwnerAndMode(const std::string& original, const std::string& replacement);
    // Whether the path names something that is no regular file (a FIFO, device, socket or
    // folder). Never blocks; false when nothing is there.
    static bool isSpecial(const std::string& path);
    // Size and modification time (nanoseconds) of a file; false when there is none.
    static bool stamp(const std::string& path, long long& size, long long& modified);
};
