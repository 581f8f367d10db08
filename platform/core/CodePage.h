// Code page service: the CP932 lead-byte test and conversion between CP932, UTF-8 and UTF-16.
#pragma once

#include <string>
#include <string_view>

// Conversions go through the run's table of lent codes (GivenCodes): a character CP932 lacks,
// or one it would swap for a look-alike (U+301C WAVE DASH, U+00A5), gets a code of the
// user-defined area and comes back as itself. They return how many characters could not be
// carried over: invalid input (written as "?", or U+FFFD towards Unicode) and, once all 1,880
// codes are lent, every further new character (written as "?").
class CodePage {
public:
    static bool isLeadByte(unsigned char c) {
        return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    }

    static int cp932ToUtf8(std::string_view cp932, std::string& utf8);
    static int utf8ToCp932(std::string_view utf8, std::string& cp932);
    static int cp932ToUtf16(std::string_view cp932, std::u16string& utf16);
    static int utf16ToCp932(std::u16string_view utf16, std::string& cp932);

    // UTF-16 held as raw bytes (little- or big-endian). An odd trailing byte counts as lost.
    static int utf16BytesToCp932(std::string_view bytes, bool bigEndian, std::string& cp932);
    // CP932 to UTF-16 as raw bytes in the given byte order.
    static int cp932ToUtf16Bytes(std::string_view cp932, bool bigEndian, std::string& bytes);

    // Convenience for messages: CP932 bytes as UTF-8, losses ignored.
    static std::string toUtf8(std::string_view cp932);
    // Convenience for literals and paths: UTF-8 as CP932 bytes, losses ignored.
    static std::string toCp932(std::string_view utf8);
};
