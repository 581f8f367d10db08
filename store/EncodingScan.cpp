// EncodingScan: well-formedness of both readings first, then the evidence walk.
#include "store/EncodingScan.h"

#include <cstring>

namespace {

bool inRange(unsigned char c, unsigned lo, unsigned hi) { return c >= lo && c <= hi; }

// Length of the UTF-8 sequence a lead byte starts and the range its first continuation byte
// must lie in (narrower after E0, ED, F0 and F4); 0 for a byte that starts none.
int utf8Sequence(unsigned char c, unsigned char& low, unsigned char& high) {
    low = 0x80;
    high = 0xBF;
    if (c < 0x80) return 1;
    if (inRange(c, 0xC2, 0xDF)) return 2;
    if (inRange(c, 0xE0, 0xEF)) {
        if (c == 0xE0) low = 0xA0;        // overlong below U+0800
        if (c == 0xED) high = 0x9F;       // surrogates
        return 3;
    }
    if (inRange(c, 0xF0, 0xF4)) {
        if (c == 0xF0) low = 0x90;        // overlong below U+10000
        if (c == 0xF4) high = 0x8F;       // beyond U+10FFFF
        return 4;
    }
    return 0;
}

} // namespace

bool EncodingScan::wellFormedUtf8(const unsigned char* b, int n, bool complete) {
    int i = 0;
    while (i < n) {
        unsigned char low, high;
        int length = utf8Sequence(b[i], low, high);
        if (length == 0) return false;
        for (int k = 1; k < length; ++k) {
            if (i + k >= n) return !complete;
            unsigned char c = b[i + k];
            if (k == 1 ? !inRange(c, low, high) : !inRange(c, 0x80, 0xBF)) return false;
        }
        i += length;
    }
    return true;
}

bool EncodingScan::wellFormedShiftJis(const unsigned char* b, int n, bool complete) {
    int i = 0;
    while (i < n) {
        unsigned char c = b[i];
        if (c < 0x80 || inRange(c, 0xA1, 0xDF)) {
            ++i;
        } else if (inRange(c, 0x81, 0x9F) || inRange(c, 0xE0, 0xFC)) {
            if (i + 1 >= n) return !complete;
            unsigned char d = b[i + 1];
            if (!inRange(d, 0x40, 0x7E) && !inRange(d, 0x80, 0xFC)) return false;
            i += 2;
        } else {
            return false;   // 0x80, 0xA0, 0xFD-0xFF
        }
    }
    return true;
}

EncodingScan::Result EncodingScan::classify(const unsigned char* b, int n, bool complete) {
    // A text file holds no zero byte: UTF-16 is the likely reading, as the walk says.
    if (std::memchr(b, 0, static_cast<std::size_t>(n)) == nullptr) {
        bool utf8 = wellFormedUtf8(b, n, complete);
        bool shiftJis = wellFormedShiftJis(b, n, complete);
        if (utf8 && !shiftJis) return {15, true};
        if (shiftJis && !utf8) return {0, true};
        if (utf8 && shiftJis) {
            Result walked = evidence(b, n);
            // The walk counts no two-byte UTF-8 sequence (°, ±, ß, Greek, Cyrillic). Bytes that
            // hold such a sequence, are UTF-8 throughout and show no Shift-JIS evidence are UTF-8;
            // half-width kana break the pairing and are counted, so they stay Shift-JIS.
            if (!walked.decided && walked.encoding == 0 && hasMultiByteUtf8(b, n)) return {15, false};
            return walked;
        }
    }
    return evidence(b, n);
}

bool EncodingScan::hasMultiByteUtf8(const unsigned char* b, int n) {
    for (int i = 0; i < n; ++i)
        if (b[i] >= 0x80) return true;
    return false;
}

// Position by position: the first decisive byte stops the walk; "decided" stays false when
// nothing was counted and nothing fell back (plain ASCII, or only two-byte UTF-8 sequences).
EncodingScan::Result EncodingScan::evidence(const unsigned char* b, int n) {
    int sj = 0, u8 = 0, fallback = 0;
    int i = 0;
    while (i < n) {
        unsigned char c = b[i];
        if (c == 0x00) return {10, true};
        if (c <= 0x7F) {
            ++i;
        } else if (c <= 0x9F) {
            if (u8 > 0) { fallback = 10; break; }
            if (i + 1 >= n) break;
            unsigned char d = b[i + 1];
            if (!inRange(d, 0x40, 0x7E) && !inRange(d, 0x80, 0xFC)) { fallback = 10; break; }
            ++sj;
            i += 2;
        } else if (c <= 0xC1) {
            ++sj;
            ++i;
        } else if (c <= 0xDF) {
            if (i + 1 >= n) break;
            if (inRange(b[i + 1], 0x80, 0xBF)) {
                i += 2;
            } else {
                ++sj;
                ++i;
            }
        } else if (c <= 0xEF) {
            if (i + 2 >= n) break;
            unsigned char d = b[i + 1], e = b[i + 2];
            if (inRange(d, 0x80, 0xBF) && inRange(e, 0x80, 0xBF)) {
                ++u8;
                i += 3;
            } else if (inRange(d, 0x40, 0x7E) || inRange(d, 0x80, 0xBF) || inRange(d, 0xC0, 0xFE)) {
                ++sj;
                i += 2;
            } else {
                fallback = 10;
                break;
            }
        } else if (c <= 0xFD) {
            int length = c <= 0xF7 ? 4 : c <= 0xFB ? 5 : 6;
            if (sj > 0) { fallback = 10; break; }
            if (i + length > n) break;
            bool continuation = false;
            for (int k = 1; k < length; ++k) continuation |= inRange(b[i + k], 0x80, 0xBF);
            if (!continuation) { fallback = 10; break; }
            ++u8;
            i += length;
        } else {
            fallback = 10;
            break;
        }
    }
    if (sj > 0) return {0, true};
    if (u8 > 0) return {15, true};
    return {fallback, fallback != 0};
}
