// CMyPublic: slash dates and date series, fixed-point number text, path and file helpers.
#include "settings/CMyPublic.h"

#include "platform/core/CodePage.h"
#include "platform/core/ProgramFolder.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using namespace std::chrono;

constexpr sys_days dateBase = sys_days(year(1899) / December / 30);
constexpr size_t maxDateDigits = 4;
constexpr size_t maxNumberDigits = 60;

struct SlashDate {
    std::vector<std::string> parts;   // digit strings, 2 or 3 of them
    bool leadingZero = false;
};

// Splits "d/d" or "d/d/d" (digits only, at most 4 per part) up to the end, a TAB or a NUL.
bool splitSlashDate(std::string_view text, SlashDate& date) {
    date.parts.assign(1, std::string());
    for (char c : text) {
        if (c == '\t' || c == '\0') break;
        unsigned char u = static_cast<unsigned char>(c);
        if (CodePage::isLeadByte(u)) return false;
        if (c == '/') {
            if (date.parts.size() == 3) return false;
            date.parts.emplace_back();
        } else if (c >= '0' && c <= '9') {
            if (date.parts.back().size() == maxDateDigits) return false;
            date.parts.back() += c;
        } else {
            return false;
        }
    }
    if (date.parts.size() < 2) return false;
    for (const std::string& part : date.parts) {
        if (part.empty()) return false;
        if (part.front() == '0') date.leadingZero = true;
    }
    return true;
}

int currentYear() {
    std::time_t now = std::time(nullptr);
    struct tm local {};
    ::localtime_r(&now, &local);
    return local.tm_year + 1900;
}

// The short-date conversion: year, month, day in that order; impossible dates are rejected.
// A year below 100 falls in 1930-2029 (00-29 -> 2000s, 30-99 -> 1900s), the usual two-digit
// window; a month/day text takes the current year. Other years are taken as written.
bool toDays(int y, int m, int d, int32_t& days) {
    if (y < 100) y += y < 30 ? 2000 : 1900;
    year_month_day ymd{year(y), month(static_cast<unsigned>(m)), day(static_cast<unsigned>(d))};
    if (!ymd.ok()) return false;
    days = static_cast<int32_t>((sys_days(ymd) - dateBase).count());
    return true;
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool isSeparator(char c) { return c == '/' || (ProgramFolder::separator() == '\\' && c == '\\'); }

// Start of the file-name part. Native paths are UTF-8, where no byte of a multi-byte
// character is a separator or a dot, so byte walks are character walks.
size_t fileNameStart(std::string_view path) {
    for (size_t i = path.size(); i > 0; --i)
        if (isSeparator(path[i - 1])) return i;
    return 0;
}

// Digits of |value| rounded to `decimals` places, without leading zeros, and the position
// of the point relative to them (as the C library's fixed-point conversion reports them).
void fixedDigits(double value, int decimals, std::string& digits, int& point, bool& negative) {
    // std::to_chars, not printf: the C library would write the locale's decimal comma.
    std::string text(330 + static_cast<size_t>(decimals), '\0');
    auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value,
                                      std::chars_format::fixed, decimals);
    text.resize(error == std::errc() ? static_cast<size_t>(end - text.data()) : 0);
    negative = !text.empty() && text.front() == '-';
    if (negative) text.erase(0, 1);
    size_t dot = text.find('.');
    std::string whole = text.substr(0, dot);
    std::string fraction = dot == std::string::npos ? std::string() : text.substr(dot + 1);
    if (whole == "0") {
        size_t firstDigit = fraction.find_first_not_of('0');
        if (firstDigit == std::string::npos) firstDigit = fraction.size();
        digits = fraction.substr(firstDigit);
        point = -static_cast<int>(firstDigit);
    } else {
        digits = whole + fraction;
        point = static_cast<int>(whole.size());
    }
}

void stripZeros(std::string& text) {
    if (text.find('.') == std::string::npos) return;
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
}

} // namespace

bool CMyPublic::parseSlashDate(std::string_view text, bool remember) {
    SlashDate date;
    if (!splitSlashDate(text, date)) return false;
    const std::string dayShape = date.leadingZero ? "mm/dd" : "m/d";
    bool withYear = date.parts.size() == 3;
    int y = withYear ? std::stoi(date.parts[0]) : currentYear();
    int m = std::stoi(date.parts[withYear ? 1 : 0]);
    int d = std::stoi(date.parts[withYear ? 2 : 1]);
    if (d < 1 || d > 31 || m < 1 || m > 12) return false;
    int32_t days = 0;
    if (!toDays(y, m, d, days)) return false;
    lastDate_ = days;
    if (remember) lastDateFormat_ = (withYear ? (y < 100 ? "yy/" : "yyyy/") : "") + dayShape;
    return true;
}

void CMyPublic::setLastDateFormat(std::string_view format) {
    lastDateFormat_ = std::string(format.substr(0, maxDateFormat));
}

std::optional<std::string> CMyPublic::nextInSeries(std::string_view a, std::string_view b) {
    if (!parseSlashDate(a, false)) return std::nullopt;
    int32_t first = lastDate_;
    if (!parseSlashDate(b, false)) return std::nullopt;
    int32_t second = lastDate_;
    int32_t next = second + (second - first);
    std::string text = formatDate(next, lastDateFormat_);
    if (text.empty()) return std::nullopt;
    return text;
}

std::string CMyPublic::formatDate(int32_t days, std::string_view format) {
    year_month_day ymd{dateBase + std::chrono::days(days)};
    int y = static_cast<int>(ymd.year());
    // Outside the years a date text can name there is nothing sensible to print.
    if (y < 1 || y > 9999) return std::string();
    int m = static_cast<int>(static_cast<unsigned>(ymd.month()));
    int d = static_cast<int>(static_cast<unsigned>(ymd.day()));
    std::string out;
    char buffer[8];
    for (size_t i = 0; i < format.size();) {
        char c = static_cast<char>(format[i] | 0x20);
        size_t run = 1;
        while (i + run < format.size() && static_cast<char>(format[i + run] | 0x20) == c) ++run;
        if (c == 'y') {
            if (run == 2) std::snprintf(buffer, sizeof buffer, "%02d", y % 100);
            else std::snprintf(buffer, sizeof buffer, "%04d", y);
        } else if (c == 'm' || c == 'd') {
            std::snprintf(buffer, sizeof buffer, run >= 2 ? "%02d" : "%d", c == 'm' ? m : d);
        } else {
            // Literal text; a double-byte character is copied whole so its second byte is
            // never read as a y, m or d.
            bool pair = CodePage::isLeadByte(static_cast<unsigned char>(format[i])) && i + 1 < format.size();
            out += format.substr(i, pair ? 2 : 1);
            i += pair ? 2 : 1;
            continue;
        }
        out += buffer;
        i += run;
    }
    return out;
}

std::string CMyPublic::formatNumber(double value, int decimals, bool strip) {
    // NaN and the infinities have no digits (a sum can overflow to infinity).
    if (!std::isfinite(value)) return std::string();
    std::string digits;
    int point = 0;
    bool negative = false;
    fixedDigits(value, decimals > 0 ? decimals : 0, digits, point, negative);
    // A value that rounds to zero shows no sign.
    if (digits.find_first_not_of('0') == std::string::npos) negative = false;
    std::string sign = negative ? "-" : "";
    if (decimals <= 0) return sign + (digits.empty() ? "0" : digits);
    if (digits.size() >= maxNumberDigits) return std::string();
    std::string text;
    if (point <= 0) text = sign + "0." + std::string(static_cast<size_t>(-point), '0') + digits;
    else text = sign + digits.substr(0, static_cast<size_t>(point)) + "." + digits.substr(static_cast<size_t>(point));
    if (strip) stripZeros(text);
    return text;
}

std::string CMyPublic::fileNamePart(std::string_view path) {
    return std::string(path.substr(fileNameStart(path)));
}

std::string CMyPublic::extensionPart(std::string_view path) {
    std::string_view name = path.substr(fileNameStart(path));
    size_t dot = name.find('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
}

void CMyPublic::setExtension(std::string& path, std::string_view extension, bool replace) {
    size_t nameStart = fileNameStart(path);
    size_t dot = path.find('.', nameStart);
    if (dot == std::string::npos) path += extension;
    else if (replace) path.replace(dot, std::string::npos, extension);
}

bool CMyPublic::fileExists(const std::string& path) {
    struct stat info {};
    if (path.empty() || path.find('\0') != std::string::npos) return false;
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool CMyPublic::bytesEqual(std::string_view a, std::string_view b, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        char x = i < a.size() ? a[i] : '\0';
        char y = i < b.size() ? b[i] : '\0';
        if (x != y) return false;
    }
    return true;
}

bool CMyPublic::sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}
