// KanaConvert: rewrites one cell's Shift-JIS text between full and half width, katakana and
// hiragana, and upper and lower case.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Option bits of a conversion: the low byte converts towards half width, the high byte
// towards full width.
enum ConvertOption : unsigned {
    ToHalfSymbols = 0x0001,      // full-width symbols, the full-width space and the yen sign
    ToHalfDigits = 0x0002,
    ToHalfLetters = 0x0004,
    ToHalfPunctuation = 0x0008,  // 、。「」, and ・゛゜ー where no kana rule applies
    KatakanaToHalf = 0x0010,     // full-width katakana (and ・゛゜ー after them)
    HiraganaToHalf = 0x0020,     // hiragana (and ・゛゜ー after them)
    ToHalfSpace = 0x0040,        // the full-width space alone
    WideBackslash = 0x0080,      // ＼ instead of ￥ is the partner of the backslash
    ToFullSymbols = 0x0100,
    ToFullDigits = 0x0200,
    ToFullLetters = 0x0400,
    ToFullPunctuation = 0x0800,  // ｡｢｣､, and ･ｰﾞﾟ where no kana rule applies
    HalfToKatakana = 0x1000,     // half-width katakana to full-width katakana
    HalfToHiragana = 0x2000,     // half-width katakana to hiragana
    ToFullSpace = 0x4000,
    KeepSoundMarks = 0x8000,     // ﾞ and ﾟ stay separate marks
};

enum class CaseChange { None = 0, Upper = 1, Lower = 2 };

class KanaConvert {
public:
    // The converted text, or nothing when `text` holds a lead byte followed by a byte that
    // cannot trail it (the cell is then left as it is). A lead byte at the very end is a
    // character of one byte and is copied. The case change applies to the result.
    static std::optional<std::string> convert(std::string_view text, unsigned options,
                                              CaseChange change);

    // ASCII letters only; double-byte characters are stepped over whole.
    static void changeCase(std::string& text, CaseChange change);
};
