// EncodingScan: decides from the first bytes of a file without a mark whether it is Shift-JIS,
// UTF-8 or UTF-16.
#pragma once

// Two tests decide first: bytes that are well-formed UTF-8 but no valid Shift-JIS are UTF-8,
// and the other way round. Only when both readings hold (or neither does) the evidence walk
// decides: it counts Shift-JIS pairs and multi-byte UTF-8 sequences position by position and
// stops at the first decisive byte, so that files of half-width kana stay Shift-JIS. When both
// readings hold and the walk counts nothing, two-byte UTF-8 sequences make it UTF-8.
class EncodingScan {
public:
    struct Result {
        int encoding = 0;       // 0 Shift-JIS, 15 UTF-8, 10 UTF-16 little-endian
        bool decided = false;   // false: nothing told the encodings apart (more bytes may)
    };

    // `complete`: the bytes are the whole file, so a sequence cut at their end is broken;
    // otherwise the window ends inside the file and such a sequence counts against nothing.
    static Result classify(const unsigned char* bytes, int count, bool complete);

    // RFC 3629: no C0, C1 or F5-FF, the right number of continuation bytes, no overlong forms,
    // no surrogates, nothing beyond U+10FFFF.
    static bool wellFormedUtf8(const unsigned char* bytes, int count, bool complete);
    // CP932: single bytes 0x00-0x7F and 0xA1-0xDF; lead bytes 0x81-0x9F and 0xE0-0xFC, each
    // followed by 0x40-0x7E or 0x80-0xFC.
    static bool wellFormedShiftJis(const unsigned char* bytes, int count, bool complete);

private:
    // Any byte above 0x7F: in well-formed UTF-8 that is a multi-byte sequence.
    static bool hasMultiByteUtf8(const unsigned char* bytes, int count);
    static Result evidence(const unsigned char* bytes, int count);
};
