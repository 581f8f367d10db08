// GivenCodes: codes of CP932's user-defined area lent, for this run, to characters CP932 lacks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The store holds CP932 bytes, so a character CP932 cannot hold (an accent, an emoji, a JIS X
// 0213 kanji, Hangul, or one that CP932 would swap for a look-alike, such as U+301C or U+00A5)
// would be lost on its way in. Instead it gets a code of the user-defined area (lead bytes
// F0-F9, second bytes 40-7E and 80-FC: 1,880 codes) for as long as the program runs, and every
// conversion between CP932 and Unicode (CodePage) reads this table. One window is one program,
// so the table belongs to its document.
//
// The area's codes are also CP932's images of the private-use characters U+E000-U+E757. A code
// the document uses as such (a Shift-JIS file's own character, or a private-use character that
// came in as Unicode) is never lent; a private-use character whose image was already lent gets
// a code of its own. So CP932 -> Unicode -> CP932 and Unicode -> CP932 -> Unicode stay exact.
// Codes are never taken back: the undo journal and the clipboard may still hold them.
class GivenCodes {
public:
    static constexpr int Capacity = 1880;

    // True for a code of the user-defined area (0xF040-0xF9FC, second byte not 0x7F).
    static bool inArea(uint16_t code) {
        const unsigned lead = code >> 8, trail = code & 0xFF;
        return lead >= 0xF0 && lead <= 0xF9 && trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
    }
    // Position of an area code, 0 .. 1879; its private-use image is U+E000 plus this.
    static int indexOf(uint16_t code);
    static uint16_t codeAt(int index);

    // The code lent to a character, lending the next free one when it has none; 0 when all
    // 1,880 are in use.
    static uint16_t codeFor(char32_t scalar);
    // The character a code was lent to; 0 when the code is not lent.
    static char32_t scalarOf(uint16_t code);
    static bool isGiven(uint16_t code) { return inArea(code) && scalarOf(code) != 0; }
    // How many codes are lent; 0 means every conversion is plain CP932.
    static int givenCount();

    // The document uses the area code as itself (its private-use character): never lend it.
    static void keepNative(uint16_t code);
    // The same for every area code in CP932 text (a Shift-JIS file as it is read).
    static void keepNativeIn(std::string_view cp932);

    // How many lent codes the CP932 text holds.
    static int countIn(std::string_view cp932);
    // The text for a file that is plain CP932: every lent code becomes "?"; `replaced` counts.
    static std::string plain(std::string_view cp932, int* replaced = nullptr);

    // Forgets every loan (tests start each case from an empty table).
    static void reset();
};
