// ProfileFile: an INI file read and written with the Windows profile-string rules.
#include "platform/core/ProfileFile.h"

#include "platform/core/SafeFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string_view>

namespace {

// Profile files are small; anything this large is not ours and is treated as unreadable.
constexpr size_t maxProfileBytes = 16 * 1024 * 1024;

#ifdef _WIN32
constexpr const char* lineEnd = "\r\n";
#else
constexpr const char* lineEnd = "\n";
#endif

std::string_view trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// "[name]" (blanks around allowed) gives name; anything else is not a header.
bool sectionName(std::string_view line, std::string_view& name) {
    std::string_view t = trim(line);
    if (t.empty() || t.front() != '[') return false;
    size_t close = t.find(']');
    if (close == std::string_view::npos) return false;
    name = trim(t.substr(1, close - 1));
    return true;
}

bool isComment(std::string_view t) { return !t.empty() && (t.front() == ';' || t.front() == '#'); }

// "key=value" gives key and the raw value; comments and lines without '=' are not entries.
bool splitEntry(std::string_view line, std::string_view& key, std::string_view& value) {
    std::string_view t = trim(line);
    if (t.empty() || isComment(t) || t.front() == '[') return false;
    size_t eq = t.find('=');
    if (eq == std::string_view::npos) return false;
    key = trim(t.substr(0, eq));
    value = trim(t.substr(eq + 1));
    return true;
}

std::string unquote(std::string_view v) {
    if (v.size() >= 2 && ((v.front() == '"' && v.back() == '"') ||
                          (v.front() == '\'' && v.back() == '\'')))
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

bool parseInt(const std::string& text, int32_t& out) {
    if (text.empty()) return false;
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(begin, &end, 10);
    if (end == begin || *end != '\0' || errno == ERANGE) return false;
    if (text.front() == ' ' || text.front() == '\t') return false;
    if (v < INT32_MIN || v > INT32_MAX) return false;
    out = static_cast<int32_t>(v);
    return true;
}

std::string oneLine(const std::string& value) {
    size_t cut = value.find_first_of("\r\n");
    return cut == std::string::npos ? value : value.substr(0, cut);
}

} // namespace

bool ProfileFile::load(const std::string& path) {
    std::string bytes;
    bool ok = SafeFile::readAll(path, bytes, maxProfileBytes);
    setText(bytes);
    return ok;
}

bool ProfileFile::save(const std::string& path) const { return SafeFile::replace(path, text()); }

void ProfileFile::setText(const std::string& text) {
    lines.clear();
    // Editors on Windows put a UTF-8 signature in front; it must not hide the first section.
    utf8Signature = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    size_t start = utf8Signature ? 3 : 0;
    while (start < text.size()) {
        size_t lf = text.find('\n', start);
        size_t end = lf == std::string::npos ? text.size() : lf;
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
}

std::string ProfileFile::text() const {
    std::string out = utf8Signature ? "\xEF\xBB\xBF" : "";
    for (const std::string& line : lines) out += line + lineEnd;
    return out;
}

long ProfileFile::findSection(const std::string& section) const {
    std::string_view name;
    for (size_t i = 0; i < lines.size(); ++i)
        if (sectionName(lines[i], name) && sameName(name, section)) return static_cast<long>(i);
    return -1;
}

long ProfileFile::sectionEnd(long header) const {
    std::string_view name;
    size_t i = static_cast<size_t>(header) + 1;
    while (i < lines.size() && !sectionName(lines[i], name)) ++i;
    return static_cast<long>(i);
}

long ProfileFile::findKey(long header, const std::string& key) const {
    std::string_view k, v;
    long end = sectionEnd(header);
    for (long i = header + 1; i < end; ++i)
        if (splitEntry(lines[static_cast<size_t>(i)], k, v) && sameName(k, key)) return i;
    return -1;
}

bool ProfileFile::hasKey(const std::string& section, const std::string& key) const {
    long header = findSection(section);
    return header >= 0 && findKey(header, key) >= 0;
}

std::string ProfileFile::readString(const std::string& section, const std::string& key,
                                    const std::string& fallback) const {
    long header = findSection(section);
    long at = header < 0 ? -1 : findKey(header, key);
    if (at < 0) return fallback;
    std::string_view k, v;
    splitEntry(lines[static_cast<size_t>(at)], k, v);
    return unquote(v);
}

int32_t ProfileFile::readInt(const std::string& section, const std::string& key,
                             int32_t fallback) const {
    int32_t value = 0;
    return parseInt(readString(section, key, std::string()), value) ? value : fallback;
}

bool ProfileFile::readFlag(const std::string& section, const std::string& key, bool fallback) const {
    return readInt(section, key, fallback ? 1 : 0) != 0;
}

void ProfileFile::writeString(const std::string& section, const std::string& key,
                              const std::string& value) {
    std::string entryValue = oneLine(value);
    long header = findSection(section);
    if (header < 0) {
        if (!lines.empty() && !trim(lines.back()).empty()) lines.emplace_back();
        lines.push_back("[" + section + "]");
        lines.push_back(key + "=" + entryValue);
        return;
    }
    long at = findKey(header, key);
    if (at >= 0) {
        // Keep the key as the file spells it; only the value changes.
        std::string_view k, v;
        splitEntry(lines[static_cast<size_t>(at)], k, v);
        lines[static_cast<size_t>(at)] = std::string(k) + "=" + entryValue;
        return;
    }
    // After the last non-blank line of the section, so blank separators stay between sections.
    long insertAt = sectionEnd(header);
    while (insertAt > header + 1 && trim(lines[static_cast<size_t>(insertAt - 1)]).empty()) --insertAt;
    lines.insert(lines.begin() + insertAt, key + "=" + entryValue);
}

void ProfileFile::writeInt(const std::string& section, const std::string& key, int32_t value) {
    writeString(section, key, std::to_string(value));
}

void ProfileFile::writeFlag(const std::string& section, const std::string& key, bool value) {
    writeString(section, key, value ? "1" : "0");
}
