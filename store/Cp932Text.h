// Cp932Text: walking Shift-JIS cell text by characters, matching at character starts, and
// making text that arrives from outside safe to store.
#pragma once

#include <string>
#include <string_view>

// Trail bytes (0x40-0xFC) overlap ASCII: 表 is 95 5C and holds a backslash, ア is 83 41 and
// holds an "A". Every search and replacement therefore matches only at character starts, and
// a double-byte character never equals a single-byte one. A lead byte in the last position of
// a text is a character of one byte, so nothing reads past the text.
class Cp932Text {
public:
    // Bytes of the character at `pos` of `text` (1 or 2).
    static int charLength(std::string_view text, std::size_t pos);

    // True when `pos` starts a character of `text` (walking back over lead-byte values only).
    static bool isCharStart(std::string_view text, std::size_t pos);

    // True when `pattern` equals `text` from `pos` on, character by character; without case
    // only ASCII A-Z fold to a-z. `pos` must be a character start of `text`.
    static bool matchesAt(std::string_view text, std::size_t pos, std::string_view pattern,
                          bool ignoreCase);

    // First character start at or after `from` where `pattern` matches, or npos. An empty
    // pattern is not found.
    static std::size_t find(std::string_view text, std::string_view pattern, bool ignoreCase,
                            std::size_t from = 0);

    static bool equals(std::string_view text, std::string_view pattern, bool ignoreCase);
    static bool startsWith(std::string_view text, std::string_view pattern, bool ignoreCase);
    static bool endsWith(std::string_view text, std::string_view pattern, bool ignoreCase);

    // Longest prefix of at most `maxBytes` bytes that does not cut a double-byte character.
    static std::size_t fitLength(std::string_view text, std::size_t maxBytes);

    // Text from the clipboard, a dialog field or a delimiter: TAB and 0x01-0x05 (which would
    // split the row or start an attribute record) become spaces, other control bytes except
    // CR and LF become "?". Returns how many bytes were replaced.
    static int sanitise(std::string& text);

    static constexpr std::size_t npos = std::string_view::npos;
};
