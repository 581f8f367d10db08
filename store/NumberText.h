// NumberText: numbers read from cell text and numbers written as text, never through the locale.
#pragma once

#include <string>
#include <string_view>

// Every reading takes the cell's text and stops at TAB, NUL or the end of the view, so an
// empty cell never reads the next one. None of them skips blanks or accepts "inf", "nan" or
// hexadecimal, and none follows LC_NUMERIC: "1.5" is one and a half under every locale.
// Each rule keeps the grammar of the command that uses it.
class NumberText {
public:
    // Sort key: the first 30 bytes as [+|-] digits [. digits] [e|E [+|-] digits]; anything
    // else ends the number ("9a" is 9). No number is 0. Out of range gives +-infinity or 0.
    static double sortKey(std::string_view text);

    // Filter: [-] then digits with at most one point, at least one digit, and at most 16 such
    // characters before the first other one ("12abc" is 12; "1.2.3" and 17 digits are not).
    static bool filterValue(std::string_view text, double& value);

    // Find: as the filter, but a point alone counts as a digit ("." and "-." are 0).
    static bool findValue(std::string_view text, double& value);

    // Status totals: [-] then digits with at most one point, at most 14 such characters.
    // False when nothing was read or the text is not a number; a lone "-" is 0.
    static bool totalsValue(std::string_view text, double& value);

    // Fixed-point text with `decimals` digits after the point ("12.50"); "" for NaN or infinity.
    static std::string formatFixed(double value, int decimals);

    // The cell's text up to TAB or NUL.
    static std::string_view cellText(std::string_view text);

private:
    struct Scan {
        std::size_t end = 0;      // bytes read, sign included
        int numberChars = 0;      // digits and points after the sign
        int digits = 0;
        int points = 0;
        bool negative = false;
        bool stoppedAtLimit = false;
    };
    // Reads [-] digits/points; stops at the first other character or after `limit`+1 chars.
    static Scan scanPlain(std::string_view text, int limit);
    // Converts exactly `span` (no sign handling beyond a leading '-').
    static double convert(std::string_view span);
};
