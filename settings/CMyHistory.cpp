// CMyHistory: reading and writing the history list files (recent files, find and replace texts).
#include "settings/CMyHistory.h"

#include "platform/core/SafeFile.h"

#include <algorithm>

namespace {

// History files are a few kilobytes; a larger file is not one of ours and reads as empty.
constexpr size_t maxListBytes = 4 * 1024 * 1024;

// A NUL byte ends an entry: nothing after it could be part of a path or a search text.
std::string cutAtNul(std::string entry) {
    size_t nul = entry.find('\0');
    if (nul != std::string::npos) entry.resize(nul);
    return entry;
}

void addRecentLine(std::vector<std::string>& entries, const std::string& line) {
    if (line.empty()) {
        entries.emplace_back();
        return;
    }
    for (size_t at = 0; at < line.size(); at += CMyHistory::recentLinePiece)
        entries.push_back(cutAtNul(line.substr(at, CMyHistory::recentLinePiece)));
}

} // namespace

std::vector<std::string> CMyHistory::readRecentList(const std::string& path) {
    std::vector<std::string> entries;
    std::string bytes;
    if (!SafeFile::readAll(path, bytes, maxListBytes)) return entries;
    std::string line;
    for (char c : bytes) {
        if (c == '\n') continue;
        if (c == '\r') {
            addRecentLine(entries, line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) addRecentLine(entries, line);
    return entries;
}

std::vector<std::string> CMyHistory::readFindList(const std::string& path) {
    std::vector<std::string> entries;
    std::string bytes;
    if (!SafeFile::readAll(path, bytes, maxListBytes)) return entries;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            entries.push_back(cutAtNul(bytes.substr(start)));
            break;
        }
        entries.push_back(cutAtNul(bytes.substr(start, end - start)));
        start = end + ((bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1);
    }
    return entries;
}

bool CMyHistory::writeList(const std::string& path, const std::vector<std::string>& entries,
                           size_t maxEntries) {
    std::string bytes;
    size_t count = std::min(entries.size(), maxEntries);
    for (size_t i = 0; i < count; ++i) bytes += entries[i] + "\r\n";
    return SafeFile::replace(path, bytes);
}

void CMyHistory::pushFindEntry(std::vector<std::string>& entries, const std::string& text) {
    if (entries.empty()) {
        entries.push_back(text);
        return;
    }
    if (entries.front() == text) return;
    entries.erase(std::remove(entries.begin() + 1, entries.end(), text), entries.end());
    entries.insert(entries.begin(), text);
}
