// GivenCodes: the run's table of user-defined-area codes lent to characters CP932 lacks.
#include "platform/core/GivenCodes.h"

#include "platform/core/CodePage.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>

namespace {

constexpr int TrailsPerLead = 188;   // 0x40-0x7E and 0x80-0xFC

struct Table {
    std::array<char32_t, GivenCodes::Capacity> scalar{};   // 0: not lent
    std::array<bool, GivenCodes::Capacity> native{};       // used by the document as itself
    std::unordered_map<char32_t, uint16_t> code;
    int next = 0;    // every position below is lent or native
    int given = 0;
};

Table& table() {
    static Table instance;
    return instance;
}

// Position of the first byte from 0xF0 up at or after `from`, or `n`. Eight bytes at a time:
// most text holds few such bytes, and a lead byte of the user-defined area is one of them.
size_t nextHighByte(const unsigned char* s, size_t from, size_t n) {
    constexpr uint64_t High = 0xF0F0F0F0F0F0F0F0ULL, Ones = 0x0101010101010101ULL,
                       Signs = 0x8080808080808080ULL;
    size_t i = from;
    for (; i + 8 <= n; i += 8) {
        uint64_t word;
        std::memcpy(&word, s + i, 8);
        uint64_t masked = (word & High) ^ High;   // a zero byte where the byte was F0-FF
        if (((masked - Ones) & ~masked & Signs) != 0) break;
    }
    while (i < n && s[i] < 0xF0) ++i;
    return i;
}

// Calls `visit` with each double-byte code of CP932 text whose lead byte could start an area
// code, and its byte offset. Only the bytes from 0xF0 up are looked at: whether one is a lead
// byte follows from the run of lead-valued bytes before it, which starts at a character start
// (the text's start, the last step, or the byte after one that cannot lead), and alternates.
template <typename Visit>
void eachAreaCode(std::string_view text, Visit visit) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t start = 0;   // a character start
    for (;;) {
        const size_t at = nextHighByte(s, start, n);
        if (at >= n) return;
        size_t run = at;
        while (run > start && CodePage::isLeadByte(s[run - 1])) --run;
        if ((at - run) % 2 == 1) {   // the second byte of the character before it
            start = at + 1;
            continue;
        }
        if (at + 1 >= n) return;
        visit(static_cast<uint16_t>(s[at] << 8 | s[at + 1]), at);
        start = at + 2;
    }
}

} // namespace

int GivenCodes::indexOf(uint16_t code) {
    const int lead = code >> 8, trail = code & 0xFF;
    return (lead - 0xF0) * TrailsPerLead + (trail < 0x80 ? trail - 0x40 : trail - 0x41);
}

uint16_t GivenCodes::codeAt(int index) {
    const int lead = 0xF0 + index / TrailsPerLead, offset = index % TrailsPerLead;
    const int trail = offset < 0x3F ? 0x40 + offset : 0x41 + offset;
    return static_cast<uint16_t>(lead << 8 | trail);
}

uint16_t GivenCodes::codeFor(char32_t scalar) {
    Table& t = table();
    if (auto found = t.code.find(scalar); found != t.code.end()) return found->second;
    while (t.next < Capacity && (t.scalar[t.next] != 0 || t.native[t.next])) ++t.next;
    if (t.next == Capacity) return 0;
    t.scalar[t.next] = scalar;
    ++t.given;
    const uint16_t code = codeAt(t.next);
    t.code.emplace(scalar, code);
    return code;
}

char32_t GivenCodes::scalarOf(uint16_t code) {
    if (!inArea(code)) return 0;
    return table().scalar[indexOf(code)];
}

int GivenCodes::givenCount() { return table().given; }

void GivenCodes::keepNative(uint16_t code) {
    if (inArea(code)) table().native[indexOf(code)] = true;
}

void GivenCodes::keepNativeIn(std::string_view cp932) {
    eachAreaCode(cp932, [](uint16_t code, size_t) { keepNative(code); });
}

int GivenCodes::countIn(std::string_view cp932) {
    if (givenCount() == 0) return 0;
    int count = 0;
    eachAreaCode(cp932, [&](uint16_t code, size_t) { count += isGiven(code) ? 1 : 0; });
    return count;
}

std::string GivenCodes::plain(std::string_view cp932, int* replaced) {
    int count = 0;
    std::string out;
    if (givenCount() > 0) {
        out.reserve(cp932.size());
        size_t copied = 0;
        eachAreaCode(cp932, [&](uint16_t code, size_t at) {
            if (!isGiven(code)) return;
            out.append(cp932.substr(copied, at - copied));
            out.push_back('?');
            copied = at + 2;
            ++count;
        });
        out.append(cp932.substr(copied));
    } else {
        out.assign(cp932);
    }
    if (replaced) *replaced = count;
    return out;
}

void GivenCodes::reset() { table() = Table(); }
