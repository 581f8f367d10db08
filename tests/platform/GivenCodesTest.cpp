// Lent codes: characters CP932 lacks survive Unicode -> CP932 -> Unicode, private-use included.
#include "platform/core/CodePage.h"
#include "platform/core/GivenCodes.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

std::u32string utf32(const std::u16string& s) {
    std::u32string out;
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t u = s[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < s.size()) u = 0x10000 + ((u - 0xD800) << 10) + (s[++i] - 0xDC00);
        out.push_back(u);
    }
    return out;
}

std::u16string utf16(const std::u32string& s) {
    std::u16string out;
    for (char32_t c : s) {
        if (c < 0x10000) {
            out.push_back(static_cast<char16_t>(c));
        } else {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
    }
    return out;
}

// Characters of every plane: ASCII, kana and kanji, accents, combining marks, variation
// selectors, private use (the area's images and beyond), emoji, JIS X 0213 kanji, Hangul,
// plane 14 tags and the supplementary private-use planes.
char32_t randomCharacter(std::mt19937& random) {
    static const std::vector<std::pair<char32_t, char32_t>> ranges = {
        {0x20, 0x7E},       {0x3041, 0x3096},   {0x4E00, 0x9FFF},   {0xC0, 0x24F},
        {0x300, 0x36F},     {0xFE00, 0xFE0F},   {0xE000, 0xE757},   {0xE758, 0xF8FF},
        {0x1F300, 0x1FAFF}, {0x20000, 0x2A6DF}, {0xAC00, 0xD7A3},   {0xE0020, 0xE007F},
        {0xF0000, 0x10FFFD}, {0x2010, 0x2312},  {0xFF01, 0xFFFF},
    };
    const auto& range = ranges[random() % ranges.size()];
    return range.first + static_cast<char32_t>(random() % (range.second - range.first + 1));
}

} // namespace

// Random text with up to 1,880 distinct characters beyond ASCII: the trip through CP932 and
// back (UTF-16 and UTF-8) is the identity, and nothing is counted as lost.
TEST(GivenCodes, UnicodeThroughCp932AndBackIsTheIdentity) {
    std::mt19937 random(2024);
    for (int round = 0; round < 12; ++round) {
        GivenCodes::reset();
        std::u32string text;
        std::set<char32_t> distinct;
        const size_t limit = round == 0 ? 1880 : random() % 1880;
        while (distinct.size() < limit) {
            const char32_t c = randomCharacter(random);
            if (c >= 0x80) distinct.insert(c);
            text.push_back(c);
        }
        std::string cp932;
        ASSERT_EQ(CodePage::utf16ToCp932(utf16(text), cp932), 0) << round;
        std::u16string back;
        ASSERT_EQ(CodePage::cp932ToUtf16(cp932, back), 0);
        ASSERT_TRUE(utf32(back) == text) << round;
        std::string utf8, again;
        ASSERT_EQ(CodePage::cp932ToUtf8(cp932, utf8), 0);
        ASSERT_EQ(CodePage::utf8ToCp932(utf8, again), 0);
        ASSERT_EQ(again, cp932) << round;
    }
}

// A private-use character whose area code is already lent borrows one of its own; a code the
// document uses itself is never lent.
TEST(GivenCodes, PrivateUseAndLentCodesNeverCollide) {
    GivenCodes::reset();
    std::string cp932;
    ASSERT_EQ(CodePage::utf8ToCp932("\u00e9\ue000\ue002", cp932), 0);
    EXPECT_EQ(cp932, "\xF0\x40\xF0\x41\xF0\x42");   // é lent F040; U+E000 then gets F041
    ASSERT_EQ(CodePage::utf8ToCp932("\ue001", cp932), 0);
    EXPECT_EQ(cp932, "\xF0\x43");                    // F041 went to U+E000
    std::string utf8;
    CodePage::cp932ToUtf8("\xF0\x40\xF0\x41\xF0\x42\xF0\x43", utf8);
    EXPECT_EQ(utf8, "\u00e9\ue000\ue002\ue001");

    GivenCodes::reset();
    GivenCodes::keepNativeIn("\x81\xF0\xF0\x40x\xF9\xFC");   // 81F0 is a character, not F0xx
    ASSERT_EQ(CodePage::utf8ToCp932("\u20ac", cp932), 0);
    EXPECT_EQ(cp932, "\xF0\x41");
    CodePage::cp932ToUtf8("\xF0\x40\xF9\xFC\xF0\x41", utf8);
    EXPECT_EQ(utf8, "\ue000\ue757\u20ac");
}

TEST(GivenCodes, TheAreaHoldsEighteenHundredEightyCharacters) {
    GivenCodes::reset();
    std::u32string text;
    for (char32_t c = 0x1F000; c < 0x1F000 + 1880; ++c) text.push_back(c);
    std::string cp932;
    EXPECT_EQ(CodePage::utf16ToCp932(utf16(text), cp932), 0);
    EXPECT_EQ(cp932.substr(cp932.size() - 2), "\xF9\xFC");
    EXPECT_EQ(CodePage::utf8ToCp932("\u00e9\U0001F000", cp932), 1);   // the 1,881st is lost
    EXPECT_EQ(cp932, "?\xF0\x40");
    EXPECT_EQ(GivenCodes::givenCount(), 1880);
}

TEST(GivenCodes, CountsAndPlainTextForCp932Files) {
    GivenCodes::reset();
    std::string cp932;
    CodePage::utf8ToCp932("\U0001F363", cp932);   // 🍣 lent F040
    const std::string text = std::string("a\xF0\x40\x81\xF0\xF0\x41\xF0\x40") + "z";
    EXPECT_EQ(GivenCodes::countIn(text), 2);
    int replaced = 0;
    EXPECT_EQ(GivenCodes::plain(text, &replaced), "a?\x81\xF0\xF0\x41?z");
    EXPECT_EQ(replaced, 2);
    // Past eight bytes, after runs of characters whose second bytes could lead (東京都):
    // only F0xx at a character start is an area code.
    const std::string longer = std::string("\x93\x8C\x8B\x9E\x93\x73\x88\xF0\xF0\x40") +
                               "abcdefgh\x81\xF0\x41\xF0\x40\xF0";
    EXPECT_EQ(GivenCodes::countIn(longer), 2);
    EXPECT_EQ(GivenCodes::plain(longer), "\x93\x8C\x8B\x9E\x93\x73\x88\xF0?abcdefgh\x81\xF0\x41?\xF0");
    GivenCodes::reset();
    EXPECT_EQ(GivenCodes::plain(text), text);
}
