// The half-width ﾟ merges only with ﾊ to ﾎ; after any other kana it stays a mark of its own.
#include "store/KanaConvert.h"

#include <gtest/gtest.h>

namespace {
std::string toFull(const std::string& text, unsigned options) {
    return KanaConvert::convert(text, options, CaseChange::None).value_or("(refused)");
}
} // namespace

TEST(KanaMark, SemiVoicedMarkMergesOnlyWithTheHaRow) {
    const unsigned katakana = HalfToKatakana;
    const unsigned hiragana = HalfToHiragana;
    EXPECT_EQ(toFull("\xCA\xDF", katakana), "\x83\x70");           // ﾊﾟ -> パ
    EXPECT_EQ(toFull("\xCE\xDF", hiragana), "\x82\xDB");           // ﾎﾟ -> ぽ
    EXPECT_EQ(toFull("\xB6\xDF", katakana), "\x83\x4A\x81\x4B");   // ｶﾟ -> カ゜
    EXPECT_EQ(toFull("\xC0\xDF", hiragana), "\x82\xBD\x81\x4B");   // ﾀﾟ -> た゜
    EXPECT_EQ(toFull("\xB3\xDF", katakana), "\x83\x45\x81\x4B");   // ｳﾟ -> ウ゜
    EXPECT_EQ(toFull("\xDD\xDF", katakana), "\x83\x93\x81\x4B");   // ﾝﾟ -> ン゜
    // Without the punctuation bit a ﾟ after a non-kana stays half-width.
    EXPECT_EQ(toFull("a\xDF", katakana), "a\xDF");
}
