// CMyPublic: slash dates and date series, fixed-point number text, path and file helpers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// One object per process. Date texts are cell text (CP932 bytes); paths are native path bytes
// (UTF-8 with "/" on Linux), in which no byte of a multi-byte character can be a separator
// or a dot.
class CMyPublic {
public:
    static constexpr size_t maxDateFormat = 11;

    CMyPublic() = default;

    // Recognises "m/d" and "y/m/d" (up to the end or a TAB). On success lastDate() holds the
    // date and, with `remember`, lastDateFormat() the text's shape ("mm/dd", "yy/m/d", ...).
    bool parseSlashDate(std::string_view text, bool remember);
    // Sets the display format used by nextInSeries (at most 11 characters are kept).
    void setLastDateFormat(std::string_view format);
    const std::string& lastDateFormat() const { return lastDateFormat_; }
    // Days since 1899-12-30 of the last date parsed (0 at start).
    int32_t lastDate() const { return lastDate_; }
    // The date after a two-date series a, b (b + (b - a) days) in lastDateFormat(); nothing
    // when either text is not a slash date.
    std::optional<std::string> nextInSeries(std::string_view a, std::string_view b);
    // Formats a day count with a date format of yyyy / yy / mm / m / dd / d and literals.
    static std::string formatDate(int32_t days, std::string_view format);

    // Fixed-point text with `decimals` places; `strip` removes trailing zeros and a bare point.
    // A digit string of 60 or more characters gives "".
    static std::string formatNumber(double value, int decimals, bool strip);

    // The part after the last separator (the whole path when there is none).
    static std::string fileNamePart(std::string_view path);
    // The text after the first dot of the file-name part, or "".
    static std::string extensionPart(std::string_view path);
    // Appends `extension` (with its dot) when the file name has no dot; with `replace`, swaps
    // everything from the first dot of the file name on; otherwise leaves the path alone.
    static void setExtension(std::string& path, std::string_view extension, bool replace);
    // True for a non-empty path whose attributes can be read and that is not a folder.
    static bool fileExists(const std::string& path);
    // True when the first `count` bytes are equal (the end of a text reads as NUL bytes).
    static bool bytesEqual(std::string_view a, std::string_view b, size_t count);
    // Byte comparison with ASCII letters folded, as paths and extensions are compared.
    static bool sameIgnoringCase(std::string_view a, std::string_view b);

private:
    int32_t lastDate_ = 0;
    std::string lastDateFormat_ = "yyyy/mm/dd";
};
