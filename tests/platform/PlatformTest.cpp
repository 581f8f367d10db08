// Tests of the platform services the core relies on: prompts, allocation hook, code pages.
#include "platform/core/CodePage.h"
#include "platform/core/GivenCodes.h"
#include "platform/core/MemoryHook.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/SafeFile.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

TEST(Prompt, ScriptedHandlerRecordsAndAnswers) {
    ScriptedPrompt prompt;
    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(Prompt::askYesNo("よろしいですか？"));
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().caption, "確認");
    EXPECT_EQ(prompt.last().buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompt.last().defaultAnswer, PromptAnswer::No);
    Prompt::beep();
    EXPECT_EQ(prompt.beeps(), 1);
}

// Asking for the last message when none was shown fails this test, not the whole program.
TEST(Prompt, LastWithoutAnyMessageFailsOnlyTheTest) {
    ScriptedPrompt prompt;
    EXPECT_NONFATAL_FAILURE(
        {
            const auto& shown = prompt.last();
            EXPECT_EQ(shown.text, "");
        },
        "no message box was shown");
}

TEST(MemoryHook, FailsTheNthAllocationOnly) {
    MemoryHook::failAfter(2);
    void* first = MemoryHook::allocate(16);
    void* second = MemoryHook::allocate(16);
    void* third = MemoryHook::allocate(16);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(second, nullptr);
    EXPECT_NE(third, nullptr);
    EXPECT_EQ(static_cast<unsigned char*>(first)[15], 0);
    MemoryHook::release(first);
    MemoryHook::release(third);
}

TEST(ProgramFolder, FollowsVexilHome) {
    TempHome home;
    EXPECT_EQ(ProgramFolder::path(), home.path());
}

TEST(CodePage, LeadBytesAreTheCp932Ranges) {
    EXPECT_FALSE(CodePage::isLeadByte(0x80));
    EXPECT_TRUE(CodePage::isLeadByte(0x81));
    EXPECT_TRUE(CodePage::isLeadByte(0x9F));
    EXPECT_FALSE(CodePage::isLeadByte(0xA0));
    EXPECT_FALSE(CodePage::isLeadByte(0xDF));
    EXPECT_TRUE(CodePage::isLeadByte(0xE0));
    EXPECT_TRUE(CodePage::isLeadByte(0xFC));
    EXPECT_FALSE(CodePage::isLeadByte(0xFD));
}

TEST(CodePage, ConvertsJapaneseBothWays) {
    std::string sjis;
    EXPECT_EQ(CodePage::utf8ToCp932("表計算ｱ", sjis), 0);
    EXPECT_EQ(sjis, "\x95\x5C\x8C\x76\x8E\x5A\xB1");
    std::string back;
    EXPECT_EQ(CodePage::cp932ToUtf8(sjis, back), 0);
    EXPECT_EQ(back, "表計算ｱ");
    std::u16string wide;
    EXPECT_EQ(CodePage::cp932ToUtf16(sjis, wide), 0);
    EXPECT_EQ(wide, u"表計算ｱ");
}

TEST(CodePage, LendsCodesToCharactersCp932Lacks) {
    GivenCodes::reset();
    std::string sjis;
    // U+00E9 is not in CP932; U+301C WAVE DASH would come back as U+FF5E: both borrow a code.
    EXPECT_EQ(CodePage::utf8ToCp932("a\u00e9b", sjis), 0);
    EXPECT_EQ(sjis, "a\xF0\x40" "b");
    EXPECT_EQ(CodePage::utf8ToCp932("\u301c\uff5e", sjis), 0);
    EXPECT_EQ(sjis, "\xF0\x41\x81\x60");
    EXPECT_EQ(CodePage::utf8ToCp932("\xff", sjis), 1); // invalid UTF-8
    EXPECT_EQ(sjis, "?");
}

// Literal bytes both ways, including the extensions, half-width kana, runs of ASCII longer
// than a machine word around double-byte characters, and every kind of invalid input.
TEST(CodePage, LiteralBytesAndInvalidInput) {
    struct Case { std::string cp932; std::string utf8; int lost; };
    const Case toUtf8[] = {
        {"abcdefghij\x82\xA0klmnopqrs", "abcdefghij\xE3\x81\x82klmnopqrs", 0},
        {"\xB1\xDF", "\xEF\xBD\xB1\xEF\xBE\x9F", 0},                 // ｱﾟ
        {"\xFB\xFC\xEA\x8E", "\xE9\xAB\x99\xE9\xBD\x8A", 0},         // 髙齊
        {"\x87\x40\x81\x60", "\xE2\x91\xA0\xEF\xBD\x9E", 0},         // ①～
        {"a\x81", "a\xEF\xBF\xBD", 1},                                   // lead byte at the end
        {"\x81\x20x", "\xEF\xBF\xBD x", 1},                             // no second byte
        {"\x81\x7F", "\xEF\xBF\xBD\x7F", 1},
    };
    GivenCodes::reset();
    for (const Case& c : toUtf8) {
        std::string out;
        EXPECT_EQ(CodePage::cp932ToUtf8(c.cp932, out), c.lost) << c.utf8;
        EXPECT_EQ(out, c.utf8);
    }
    const Case toCp932[] = {
        {"a??b", "a\xC0\x80" "b", 2},                                     // overlong NUL
        {"?c", "\xED\xA0\x80" "c", 1},                                    // surrogate
        {"?d", "\xF4\x90\x80\x80" "d", 1},                                // beyond U+10FFFF
        {"e?", "e\xE3\x81", 1},                                           // cut at the end
        {"\x82\xA0\xF0\x40", "\xE3\x81\x82\xF0\x9F\x98\x80", 0},        // a lent code
    };
    for (const Case& c : toCp932) {
        std::string out;
        EXPECT_EQ(CodePage::utf8ToCp932(c.utf8, out), c.lost) << c.cp932;
        EXPECT_EQ(out, c.cp932);
    }
}

// The temporary file beside a target keeps within the 255-byte name limit and the folder.
TEST(SafeFile, TemporaryNamesFitBesideLongNames) {
    const std::string folder = "/some/folder/";
    for (const std::string& name : {std::string("a.csv"), std::string(255, 'n'),
                                    std::string(200, 'x') + [] { std::string k; for (int i = 0; i < 18; ++i) k += "\xE8\xA1\xA8"; return k; }()}) {
        const std::string temporary = SafeFile::temporaryPathFor(folder + name);
        ASSERT_EQ(temporary.compare(0, folder.size(), folder), 0);
        const std::string made = temporary.substr(folder.size());
        EXPECT_LE(made.size(), 255u) << name.size();
        EXPECT_EQ(made[0], '.');
        EXPECT_EQ(made.substr(made.size() - 4), ".tmp");
        EXPECT_NE(made.find(".vexil-"), std::string::npos);
        // The kept part is a prefix of the name, cut at a character start.
        const std::string kept = made.substr(1, made.find(".vexil-") - 1);
        ASSERT_EQ(name.compare(0, kept.size(), kept), 0);
        if (kept.size() < name.size()) EXPECT_NE(static_cast<unsigned char>(name[kept.size()]) & 0xC0, 0x80);
    }
    EXPECT_EQ(SafeFile::temporaryPathFor("/f/a.csv").rfind("/f/.a.csv.vexil-", 0), 0u);
    EXPECT_NE(SafeFile::temporaryPathFor("/f/a.csv"), SafeFile::temporaryPathFor("/f/a.csv"));
}

TEST(SafeFile, ReplaceWorksForLongNamesAndRefusesNothingElse) {
    TempHome home;
    const std::string path = home.file(std::string(255, 'L'));
    ASSERT_TRUE(SafeFile::replace(path, "one"));
    std::string bytes;
    ASSERT_TRUE(SafeFile::readAll(path, bytes, 100));
    EXPECT_EQ(bytes, "one");
    EXPECT_FALSE(SafeFile::isSpecial(path));
    EXPECT_TRUE(SafeFile::isSpecial(home.path()));
    EXPECT_FALSE(SafeFile::isSpecial(home.file("missing")));
}
