// ProfileFile: an INI file read and written with the Windows profile-string rules.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Sections and keys are matched without regard to (ASCII) case; the first match wins. Lines
// the reader does not understand (comments, unknown sections and keys) are kept as they are.
// A written key replaces its line in place or is appended to its section; a missing section
// is appended at the end. Saving replaces the file whole (temporary file, then rename).
class ProfileFile {
public:
    // Reads `path`; false (and an empty profile) when it is missing or cannot be read.
    bool load(const std::string& path);
    // Replaces `path` with the current lines; false leaves the old file as it was.
    bool save(const std::string& path) const;

    bool hasKey(const std::string& section, const std::string& key) const;
    // Value without surrounding blanks and quotes; `fallback` when the key is missing.
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    // Decimal integer; `fallback` when missing, not a whole integer, or beyond 32 bits.
    int32_t readInt(const std::string& section, const std::string& key, int32_t fallback) const;
    // Any non-zero integer is true.
    bool readFlag(const std::string& section, const std::string& key, bool fallback) const;

    // Line breaks in `value` end it (a value is one line).
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeInt(const std::string& section, const std::string& key, int32_t value);
    void writeFlag(const std::string& section, const std::string& key, bool value);

    // The file's text as it would be saved.
    std::string text() const;
    void setText(const std::string& text);

private:
    // Index of the section's header line, or -1.
    long findSection(const std::string& section) const;
    // Index of the key's line inside the section starting after `header`, or -1.
    long findKey(long header, const std::string& key) const;
    // One past the last line belonging to the section whose header is at `header`.
    long sectionEnd(long header) const;

    std::vector<std::string> lines;
    bool utf8Signature = false;
};
