// NumberText: locale-free number reading and writing for sort, find, filter and totals.
#include "store/NumberText.h"

#include <charconv>
#include <cmath>

namespace {

constexpr std::size_t SortKeyBytes = 30;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string_view NumberText::cellText(std::string_view text) {
    const std::size_t end = text.find_first_of(std::string_view("\t\0", 2));
    return end == std::string_view::npos ? text : text.substr(0, end);
}

double NumberText::convert(std::string_view span) {
    double value = 0;
    const char* first = span.data();
    const char* last = span.data() + span.size();
    bool negative = false;
    if (first != last && (*first == '-' || *first == '+')) {
        negative = *first == '-';
        ++first;   // from_chars takes no '+', and the sign is applied below for both
    }
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: the exponent's sign tells which.
        const std::string_view rest(first, static_cast<std::size_t>(last - first));
        const std::size_t e = rest.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < rest.size() && rest[e + 1] == '-';
        value = tiny ? 0.0 : HUGE_VAL;
    } else if (ec != std::errc()) {
        value = 0;   // "", "." or a sign alone
    }
    return negative ? -value : value;
}

double NumberText::sortKey(std::string_view text) {
    text = cellText(text).substr(0, SortKeyBytes);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    int mantissaDigits = 0;
    while (i < text.size() && isDigit(text[i])) { ++i; ++mantissaDigits; }
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        while (j < text.size() && isDigit(text[j])) { ++j; ++mantissaDigits; }
        if (mantissaDigits > 0) i = j;
    }
    if (mantissaDigits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        const std::size_t digitsStart = j;
        while (j < text.size() && isDigit(text[j])) ++j;
        if (j > digitsStart) i = j;   // "5e" and "5e+" end before the 'e'
    }
    return convert(text.substr(0, i));
}

NumberText::Scan NumberText::scanPlain(std::string_view text, int limit) {
    Scan scan;
    text = cellText(text);
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        scan.negative = true;
        ++i;
    }
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') {
            ++scan.points;
        } else if (isDigit(c)) {
            ++scan.digits;
        } else {
            break;
        }
        if (++scan.numberChars > limit) {
            scan.stoppedAtLimit = true;
            break;
        }
    }
    scan.end = i;
    return scan;
}

bool NumberText::filterValue(std::string_view text, double& value) {
    value = 0;
    const Scan scan = scanPlain(text, 16);
    if (scan.stoppedAtLimit || scan.points > 1 || scan.digits == 0) return false;
    value = convert(text.substr(0, scan.end));
    return true;
}

bool NumberText::findValue(std::string_view text, double& value) {
    value = 0;
    const Scan scan = scanPlain(text, 16);
    if (scan.stoppedAtLimit || scan.points > 1 || scan.numberChars == 0) return false;
    value = convert(text.substr(0, scan.end));
    return true;
}

bool NumberText::totalsValue(std::string_view text, double& value) {
    value = 0;
    const Scan scan = scanPlain(text, 14);
    if (scan.stoppedAtLimit || scan.points > 1 || scan.end == 0) return false;
    value = convert(text.substr(0, scan.end));
    return true;
}

std::string NumberText::formatFixed(double value, int decimals) {
    if (!std::isfinite(value)) return std::string();
    if (decimals < 0) decimals = 0;
    char buffer[400];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                         std::chars_format::fixed, decimals);
    if (ec != std::errc()) return std::string();
    std::string text(buffer, ptr);
    // "-0.00" carries a sign nobody means.
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}
