// CMyHistory: reading and writing the history list files (recent files, find and replace texts).
#pragma once

#include <string>
#include <vector>

// Entries are raw bytes: native paths in the recent-files list, CP932 text in the find lists.
// Every writer ends each entry with CR LF and replaces the file whole.
class CMyHistory {
public:
    // Lines longer than this are split into pieces when the recent-files list is read.
    static constexpr size_t recentLinePiece = 1024;

    // Recent-files rules: a line ends at CR, LF bytes are dropped, an empty line is an empty
    // entry, a last line without CR counts when not empty, and long lines are split into
    // 1024-byte pieces. A missing or unreadable file gives an empty list.
    static std::vector<std::string> readRecentList(const std::string& path);
    // Find-list rules: CR LF, CR or LF end a line; the last line may lack one.
    static std::vector<std::string> readFindList(const std::string& path);
    // Writes at most `maxEntries` entries, each followed by CR LF, replacing the file.
    static bool writeList(const std::string& path, const std::vector<std::string>& entries,
                          size_t maxEntries);

    // Find-dialog update: into an empty list the text is appended; a text equal to entry 0
    // (bytes, case distinguished) changes nothing; otherwise later copies are removed and
    // the text becomes entry 0.
    static void pushFindEntry(std::vector<std::string>& entries, const std::string& text);
};
