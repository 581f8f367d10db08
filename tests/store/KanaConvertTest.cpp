// The width, kana and case conversion of one cell, checked against tables written out here.
#include <gtest/gtest.h>

#include <string>

#include "store/KanaConvert.h"

namespace {

struct KanaPair {
    const char* full;
    const char* half;
};

// Every hiragana and katakana with its half-width spelling (the character itself where it has
const KanaPair kHiragana[] = {
    {"\x82\x9F", "\xA7"}, {"\x82\xA0", "\xB1"}, {"\x82\xA1", "\xA8"}, {"\x82\xA2", "\xB2"},
    {"\x82\xA3", "\xA9"}, {"\x82\xA4", "\xB3"}, {"\x82\xA5", "\xAA"}, {"\x82\xA6", "\xB4"},
    {"\x82\xA7", "\xAB"}, {"\x82\xA8", "\xB5"}, {"\x82\xA9", "\xB6"}, {"\x82\xAA", "\xB6\xDE"},
    {"\x82\xAB", "\xB7"}, {"\x82\xAC", "\xB7\xDE"}, {"\x82\xAD", "\xB8"},
    {"\x82\xAE", "\xB8\xDE"}, {"\x82\xAF", "\xB9"}, {"\x82\xB0", "\xB9\xDE"},
    {"\x82\xB1", "\xBA"}, {"\x82\xB2", "\xBA\xDE"}, {"\x82\xB3", "\xBB"},
    {"\x82\xB4", "\xBB\xDE"}, {"\x82\xB5", "\xBC"}, {"\x82\xB6", "\xBC\xDE"},
    {"\x82\xB7", "\xBD"}, {"\x82\xB8", "\xBD\xDE"}, {"\x82\xB9", "\xBE"},
    {"\x82\xBA", "\xBE\xDE"}, {"\x82\xBB", "\xBF"}, {"\x82\xBC", "\xBF\xDE"},
    {"\x82\xBD", "\xC0"}, {"\x82\xBE", "\xC0\xDE"}, {"\x82\xBF", "\xC1"},
    {"\x82\xC0", "\xC1\xDE"}, {"\x82\xC1", "\xAF"}, {"\x82\xC2", "\xC2"},
    {"\x82\xC3", "\xC2\xDE"}, {"\x82\xC4", "\xC3"}, {"\x82\xC5", "\xC3\xDE"},
    {"\x82\xC6", "\xC4"}, {"\x82\xC7", "\xC4\xDE"}, {"\x82\xC8", "\xC5"}, {"\x82\xC9", "\xC6"},
    {"\x82\xCA", "\xC7"}, {"\x82\xCB", "\xC8"}, {"\x82\xCC", "\xC9"}, {"\x82\xCD", "\xCA"},
    {"\x82\xCE", "\xCA\xDE"}, {"\x82\xCF", "\xCA\xDF"}, {"\x82\xD0", "\xCB"},
    {"\x82\xD1", "\xCB\xDE"}, {"\x82\xD2", "\xCB\xDF"}, {"\x82\xD3", "\xCC"},
    {"\x82\xD4", "\xCC\xDE"}, {"\x82\xD5", "\xCC\xDF"}, {"\x82\xD6", "\xCD"},
    {"\x82\xD7", "\xCD\xDE"}, {"\x82\xD8", "\xCD\xDF"}, {"\x82\xD9", "\xCE"},
    {"\x82\xDA", "\xCE\xDE"}, {"\x82\xDB", "\xCE\xDF"}, {"\x82\xDC", "\xCF"},
    {"\x82\xDD", "\xD0"}, {"\x82\xDE", "\xD1"}, {"\x82\xDF", "\xD2"}, {"\x82\xE0", "\xD3"},
    {"\x82\xE1", "\xAC"}, {"\x82\xE2", "\xD4"}, {"\x82\xE3", "\xAD"}, {"\x82\xE4", "\xD5"},
    {"\x82\xE5", "\xAE"}, {"\x82\xE6", "\xD6"}, {"\x82\xE7", "\xD7"}, {"\x82\xE8", "\xD8"},
    {"\x82\xE9", "\xD9"}, {"\x82\xEA", "\xDA"}, {"\x82\xEB", "\xDB"}, {"\x82\xEC", "\x82\xEC"},
    {"\x82\xED", "\xDC"}, {"\x82\xEE", "\x82\xEE"}, {"\x82\xEF", "\x82\xEF"},
    {"\x82\xF0", "\xA6"}, {"\x82\xF1", "\xDD"},
};
const KanaPair kKatakana[] = {
    {"\x83\x40", "\xA7"}, {"\x83\x41", "\xB1"}, {"\x83\x42", "\xA8"}, {"\x83\x43", "\xB2"},
    {"\x83\x44", "\xA9"}, {"\x83\x45", "\xB3"}, {"\x83\x46", "\xAA"}, {"\x83\x47", "\xB4"},
    {"\x83\x48", "\xAB"}, {"\x83\x49", "\xB5"}, {"\x83\x4A", "\xB6"}, {"\x83\x4B", "\xB6\xDE"},
    {"\x83\x4C", "\xB7"}, {"\x83\x4D", "\xB7\xDE"}, {"\x83\x4E", "\xB8"},
    {"\x83\x4F", "\xB8\xDE"}, {"\x83\x50", "\xB9"}, {"\x83\x51", "\xB9\xDE"},
    {"\x83\x52", "\xBA"}, {"\x83\x53", "\xBA\xDE"}, {"\x83\x54", "\xBB"},
    {"\x83\x55", "\xBB\xDE"}, {"\x83\x56", "\xBC"}, {"\x83\x57", "\xBC\xDE"},
    {"\x83\x58", "\xBD"}, {"\x83\x59", "\xBD\xDE"}, {"\x83\x5A", "\xBE"},
    {"\x83\x5B", "\xBE\xDE"}, {"\x83\x5C", "\xBF"}, {"\x83\x5D", "\xBF\xDE"},
    {"\x83\x5E", "\xC0"}, {"\x83\x5F", "\xC0\xDE"}, {"\x83\x60", "\xC1"},
    {"\x83\x61", "\xC1\xDE"}, {"\x83\x62", "\xAF"}, {"\x83\x63", "\xC2"},
    {"\x83\x64", "\xC2\xDE"}, {"\x83\x65", "\xC3"}, {"\x83\x66", "\xC3\xDE"},
    {"\x83\x67", "\xC4"}, {"\x83\x68", "\xC4\xDE"}, {"\x83\x69", "\xC5"}, {"\x83\x6A", "\xC6"},
    {"\x83\x6B", "\xC7"}, {"\x83\x6C", "\xC8"}, {"\x83\x6D", "\xC9"}, {"\x83\x6E", "\xCA"},
    {"\x83\x6F", "\xCA\xDE"}, {"\x83\x70", "\xCA\xDF"}, {"\x83\x71", "\xCB"},
    {"\x83\x72", "\xCB\xDE"}, {"\x83\x73", "\xCB\xDF"}, {"\x83\x74", "\xCC"},
    {"\x83\x75", "\xCC\xDE"}, {"\x83\x76", "\xCC\xDF"}, {"\x83\x77", "\xCD"},
    {"\x83\x78", "\xCD\xDE"}, {"\x83\x79", "\xCD\xDF"}, {"\x83\x7A", "\xCE"},
    {"\x83\x7B", "\xCE\xDE"}, {"\x83\x7C", "\xCE\xDF"}, {"\x83\x7D", "\xCF"},
    {"\x83\x7E", "\xD0"}, {"\x83\x80", "\xD1"}, {"\x83\x81", "\xD2"}, {"\x83\x82", "\xD3"},
    {"\x83\x83", "\xAC"}, {"\x83\x84", "\xD4"}, {"\x83\x85", "\xAD"}, {"\x83\x86", "\xD5"},
    {"\x83\x87", "\xAE"}, {"\x83\x88", "\xD6"}, {"\x83\x89", "\xD7"}, {"\x83\x8A", "\xD8"},
    {"\x83\x8B", "\xD9"}, {"\x83\x8C", "\xDA"}, {"\x83\x8D", "\xDB"}, {"\x83\x8E", "\x83\x8E"},
    {"\x83\x8F", "\xDC"}, {"\x83\x90", "\x83\x90"}, {"\x83\x91", "\x83\x91"},
    {"\x83\x92", "\xA6"}, {"\x83\x93", "\xDD"}, {"\x83\x94", "\xB3\xDE"},
    {"\x83\x95", "\x83\x95"}, {"\x83\x96", "\x83\x96"},
};

// Every ASCII symbol with its full-width partner (the backslash apart).
const KanaPair kSymbols[] = {
    {"\x21", "\x81\x49"}, {"\x22", "\x81\x68"}, {"\x23", "\x81\x94"}, {"\x24", "\x81\x90"},
    {"\x25", "\x81\x93"}, {"\x26", "\x81\x95"}, {"\x27", "\x81\x66"}, {"\x28", "\x81\x69"},
    {"\x29", "\x81\x6A"}, {"\x2A", "\x81\x96"}, {"\x2B", "\x81\x7B"}, {"\x2C", "\x81\x43"},
    {"\x2D", "\x81\x7C"}, {"\x2E", "\x81\x44"}, {"\x2F", "\x81\x5E"}, {"\x3A", "\x81\x46"},
    {"\x3B", "\x81\x47"}, {"\x3C", "\x81\x83"}, {"\x3D", "\x81\x81"}, {"\x3E", "\x81\x84"},
    {"\x3F", "\x81\x48"}, {"\x40", "\x81\x97"}, {"\x5B", "\x81\x6D"}, {"\x5D", "\x81\x6E"},
    {"\x5E", "\x81\x4F"}, {"\x5F", "\x81\x51"}, {"\x60", "\x81\x65"}, {"\x7B", "\x81\x6F"},
    {"\x7C", "\x81\x62"}, {"\x7D", "\x81\x70"}, {"\x7E", "\x81\x50"},
};

// The menu commands' option bits.
constexpr unsigned ZenToHan = 0x001F;
constexpr unsigned HanToZen = 0x5F00;
constexpr unsigned KanaToHira = 0x2000;
constexpr unsigned HiraToKana = 0x0020;

const std::string Digits = "0123456789";
const std::string WideDigits =
    "\x82\x4F\x82\x50\x82\x51\x82\x52\x82\x53\x82\x54\x82\x55\x82\x56\x82\x57\x82\x58";
const std::string Upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
const std::string WideUpper =
    "\x82\x60\x82\x61\x82\x62\x82\x63\x82\x64\x82\x65\x82\x66\x82\x67\x82\x68\x82\x69\x82\x6A"
    "\x82\x6B\x82\x6C\x82\x6D\x82\x6E\x82\x6F\x82\x70\x82\x71\x82\x72\x82\x73\x82\x74\x82\x75"
    "\x82\x76\x82\x77\x82\x78\x82\x79";
const std::string Lower = "abcdefghijklmnopqrstuvwxyz";
const std::string WideLower =
    "\x82\x81\x82\x82\x82\x83\x82\x84\x82\x85\x82\x86\x82\x87\x82\x88\x82\x89\x82\x8A\x82\x8B"
    "\x82\x8C\x82\x8D\x82\x8E\x82\x8F\x82\x90\x82\x91\x82\x92\x82\x93\x82\x94\x82\x95\x82\x96"
    "\x82\x97\x82\x98\x82\x99\x82\x9A";

std::string run(const std::string& text, unsigned options, CaseChange change = CaseChange::None) {
    std::optional<std::string> out = KanaConvert::convert(text, options, change);
    return out ? *out : std::string("<invalid>");
}

void checkKanaTable(const KanaPair* table, std::size_t size, unsigned toHalf, unsigned toFull) {
    std::string allFull, allHalf;
    for (std::size_t i = 0; i < size; ++i) {
        const std::string full = table[i].full, half = table[i].half;
        SCOPED_TRACE(testing::Message() << "entry " << i);
        EXPECT_EQ(run(full, toHalf), half);
        if (half != full) {
            EXPECT_EQ(run(half, toFull), full);
        }
        allFull += full;
        allHalf += half;
    }
    // In one run the marks merge with the kana before them and nothing else.
    EXPECT_EQ(run(allFull, toHalf), allHalf);
    EXPECT_EQ(run(allHalf, toFull), allFull);
}

TEST(KanaConvert, HiraganaTableBothWays) {
    checkKanaTable(kHiragana, std::size(kHiragana), HiraToKana, KanaToHira);
    // "全角->半角" leaves hiragana alone.
    EXPECT_EQ(run(kHiragana[10].full, ZenToHan), kHiragana[10].full);
}

TEST(KanaConvert, KatakanaTableBothWays) {
    checkKanaTable(kKatakana, std::size(kKatakana), 0x0010, 0x1000);
    EXPECT_EQ(run(kKatakana[11].full, ZenToHan), kKatakana[11].half);
    EXPECT_EQ(run("\xB3\xDE", HanToZen), "\x83\x94");   // ｳﾞ -> ヴ
}

TEST(KanaConvert, VoicedUTowardsHiraganaIsUWithAMark) {
    // ｳﾞｧ -> う゛ぁ; ｦﾞ and ﾜﾞ never merge (they are not ン or ヰ).
    EXPECT_EQ(run("\xB3\xDE\xA7", KanaToHira), "\x82\xA4\x81\x4A\x82\x9F");
    EXPECT_EQ(run("\xA6\xDE\xDC\xDE", HanToZen), "\x83\x92\x81\x4A\x83\x8F\x81\x4A");
    EXPECT_EQ(run("\xB1\xDF", HanToZen), "\x83\x41\x81\x4B");   // ｱﾟ: no semi-voiced ア
    // With the separate-marks bit ｶﾞ stays two characters.
    EXPECT_EQ(run("\xB6\xDE", 0x1000 | 0x8000), "\x83\x4A\x81\x4A");
}

TEST(KanaConvert, SymbolsDigitsAndLettersBothWays) {
    for (const KanaPair& s : kSymbols) {
        SCOPED_TRACE(s.full);
        EXPECT_EQ(run(s.full, 0x0100), s.half);
        EXPECT_EQ(run(s.half, 0x0001), s.full);
        EXPECT_EQ(run(s.half, 0x0002 | 0x0004 | 0x0008), s.half);   // only the symbol bit
    }
    EXPECT_EQ(run(Digits, 0x0200), WideDigits);
    EXPECT_EQ(run(WideDigits, 0x0002), Digits);
    EXPECT_EQ(run(Upper + Lower, 0x0400), WideUpper + WideLower);
    EXPECT_EQ(run(WideUpper + WideLower, 0x0004), Upper + Lower);
    EXPECT_EQ(run(Digits + Upper, 0x0400), Digits + WideUpper);
    // The backslash pairs with the yen sign, or with the full-width backslash under 0x0080.
    EXPECT_EQ(run("\\", HanToZen), "\x81\x8F");
    EXPECT_EQ(run("\\", 0x0100 | 0x0080), "\x81\x5F");
    EXPECT_EQ(run("\x81\x8F\x81\x5F", 0x0001), "\\\x81\x5F");
    EXPECT_EQ(run("\x81\x8F\x81\x5F", 0x0001 | 0x0080), "\x81\x8F\\");
    // Spaces: 0x4000 one way, 0x0040 or the symbol bit the other.
    EXPECT_EQ(run(" ", HanToZen), "\x81\x40");
    EXPECT_EQ(run("\x81\x40", 0x0040), " ");
    EXPECT_EQ(run("\x81\x40", 0x0001), " ");
    EXPECT_EQ(run("\x81\x40", 0x0002), "\x81\x40");
    // Other first-row symbols stay: ※ (81 A6), ○ (81 9B), 〒 (81 A7).
    EXPECT_EQ(run("\x81\xA6\x81\x9B\x81\xA7", ZenToHan), "\x81\xA6\x81\x9B\x81\xA7");
}

TEST(KanaConvert, PunctuationAndMarksFollowTheKanaBeforeThem) {
    // 、。「」 <-> ､｡｢｣ only with the punctuation bits.
    EXPECT_EQ(run("\x81\x41\x81\x42\x81\x75\x81\x76", ZenToHan), "\xA4\xA1\xA2\xA3");
    EXPECT_EQ(run("\x81\x41\x81\x42", HiraToKana), "\x81\x41\x81\x42");
    EXPECT_EQ(run("\xA4\xA1\xA2\xA3", HanToZen), "\x81\x41\x81\x42\x81\x75\x81\x76");
    EXPECT_EQ(run("\xA4\xA1", KanaToHira), "\xA4\xA1");
    // ー after hiragana needs the hiragana bit; a run of them follows the same kana.
    EXPECT_EQ(run("\x82\xD0\x81\x5B\x81\x5B", HiraToKana), "\xCB\xB0\xB0");
    EXPECT_EQ(run("\x82\xD0\x81\x5B", ZenToHan), "\x82\xD0\x81\x5B");
    EXPECT_EQ(run("\x83\x4A\x81\x5B", HiraToKana), "\x83\x4A\x81\x5B");
    EXPECT_EQ(run("\x83\x4A\x81\x5B", 0x0010), "\xB6\xB0");
    EXPECT_EQ(run("a\x81\x5B\x81\x45", 0x0008), "a\xB0\xA5");
    EXPECT_EQ(run("a\x81\x5B", 0x0010 | 0x0020), "a\x81\x5B");
    // ｰ ･ after a half-width kana with the kana bits, elsewhere with the punctuation bit.
    EXPECT_EQ(run("\xB6\xB0\xA5", KanaToHira), "\x82\xA9\x81\x5B\x81\x45");
    EXPECT_EQ(run("a\xB0\xDE", KanaToHira), "a\xB0\xDE");
    EXPECT_EQ(run("a\xB0\xDE", 0x0800), "a\x81\x5B\x81\x4A");
}

TEST(KanaConvert, MenuCommandExamples) {
    EXPECT_EQ(run("\x82\x60\x82\x61\x82\x62\x82\x50\x82\x51\x82\x52", ZenToHan), "ABC123");
    EXPECT_EQ(run("\x83\x4B\x83\x4D\x83\x4F", ZenToHan), "\xB6\xDE\xB7\xDE\xB8\xDE");
    EXPECT_EQ(run("\x82\xD0\x82\xE7\x82\xAA\x82\xC8\x81\x5B", ZenToHan),
              "\x82\xD0\x82\xE7\x82\xAA\x82\xC8\x81\x5B");
    EXPECT_EQ(run("\xCA\xDF\xCA\xDE\xCA", HanToZen), "\x83\x70\x83\x6F\x83\x6E");
    EXPECT_EQ(run("\x82\xEE", HiraToKana), "\x82\xEE");
    EXPECT_EQ(run("\x82\x81\x82\x82" "c", 0, CaseChange::Upper), "\x82\x81\x82\x82" "C");
    EXPECT_EQ(run("AbC\x82\x60", 0, CaseChange::Lower), "abc\x82\x60");
}

TEST(KanaConvert, TrailBytesThatLookLikeAsciiStayWhole) {
    // 表 (95 5C) and ソ (83 5C) hold a backslash, ア (83 41) an "A".
    EXPECT_EQ(run("\x95\x5C\\", HanToZen), "\x95\x5C\x81\x8F");
    EXPECT_EQ(run("\x95\x5C\x83\x5C", ZenToHan), "\x95\x5C\xBF");
    EXPECT_EQ(run("\x83\x41" "a", 0, CaseChange::Lower), "\x83\x41" "a");
    EXPECT_EQ(run("\x83\x41" "a", 0, CaseChange::Upper), "\x83\x41" "A");
    EXPECT_EQ(run("\x83\x5C" "z", HanToZen), "\x83\x5C\x82\x9A");
}

TEST(KanaConvert, InvalidSequencesAndALoneLeadByte) {
    // A lead byte followed by a byte that cannot trail it: the cell is not converted.
    EXPECT_FALSE(KanaConvert::convert("a\x82\x20" "b", HanToZen, CaseChange::None));
    EXPECT_FALSE(KanaConvert::convert("\x82\x7F", ZenToHan, CaseChange::Upper));
    // A lead byte at the end is one character and is kept; the rest is converted.
    EXPECT_EQ(run("ab\x82", 0, CaseChange::Upper), "AB\x82");
    EXPECT_EQ(run("1\x82", HanToZen), "\x82\x50\x82");
    // Bytes outside every range are copied.
    EXPECT_EQ(run("\x80\xA0\xFD\xFE\xFF", HanToZen | ZenToHan), "\x80\xA0\xFD\xFE\xFF");
    EXPECT_EQ(run("", HanToZen), "");
}

TEST(KanaConvert, OutputMayBeTwiceTheInput) {
    const std::string text(5000, 'a');
    const std::string out = run(text, HanToZen);
    ASSERT_EQ(out.size(), 10000u);
    EXPECT_EQ(out.substr(9998), "\x82\x81");
}

}  // namespace
