// Characters Shift-JIS lacks: files keep them byte for byte through open, edit and save, and a
// save to Shift-JIS asks before it writes "?" for them.
#include <gtest/gtest.h>

#include "WriterTestSupport.h"
#include "platform/core/CodePage.h"
#include "platform/core/GivenCodes.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/ColourOpenSteps.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"
#include "store/SaveFlow.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

namespace {

const std::string Sample =
    "name,city,note\n"
    "Jos\xC3\xA9,S\xC3\xA3o Paulo,caf\xC3\xA9 \xE2\x82\xAC" "5\n"                       // José,São Paulo,café €5
    "\xE5\x90\x89\xE7\x94\xB0,\xF0\xA0\xAE\xB7\xE9\x87\x8E\xE5\xAE\xB6,\xF0\x9F\x8D\xA3 sushi\n"  // 吉田,𠮷野家,🍣 sushi
    "\xEA\xB9\x80\xEC\xB9\x98,\xEC\x84\x9C\xEC\x9A\xB8,\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4\n"  // 김치,서울,한국어
    "e\xCC\x81,\xE2\x9D\xA4\xEF\xB8\x8F,\xE3\x80\x9C\xC2\xA5\xEE\x80\x80\n";            // e+U+0301, ❤️, 〜¥ U+E000

// The same text as UTF-16 in either byte order, with its mark.
std::string utf16Bytes(const std::string& utf8, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const int length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t cp = length == 1 ? c : c & (0x3F >> (length - 1));
        for (int k = 1; k < length; ++k) cp = cp << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += static_cast<size_t>(length);
        std::u16string units;
        if (cp < 0x10000) units.push_back(static_cast<char16_t>(cp));
        else units += {static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)), static_cast<char16_t>(0xDC00 + (cp & 0x3FF))};
        for (char16_t u : units) {
            const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
            out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
        }
    }
    return out;
}

class LentCodesFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        GivenCodes::reset();
        global.setColourFileMode(0);
        global.setReadEncoding(-1);
        global.setQuoteKind(0);
    }
    int open(const std::string& name) {
        hyo.reset();
        doc = DocumentState();
        OpenFlow flow(hyo, global, doc, {}, ColourOpenSteps::hooks());
        return flow.openFile(home.file(name), false, "", TypeNone);
    }
    bool save() {
        SaveFlow flow(hyo, global, doc);
        return flow.saveDocument(false);
    }
    std::string cell(int column, int row) { return CodePage::toUtf8(hyo.cellString(column, row)); }

    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    CMyHyo hyo;
    DocumentState doc;
};

} // namespace

TEST_F(LentCodesFileTest, UnicodeFilesOpenWithoutLossAndSaveBackByteForByte) {
    const std::vector<std::pair<std::string, std::string>> files = {
        {"plain.csv", Sample},
        {"mark.csv", "\xEF\xBB\xBF" + Sample},
        {"le.csv", utf16Bytes(Sample, false)},
        {"be.csv", utf16Bytes(Sample, true)},
    };
    for (const auto& [name, bytes] : files) {
        home.write(name, bytes);
        ASSERT_EQ(open(name), 0) << name;
        EXPECT_TRUE(prompt.shown().empty()) << name << ": " << prompt.last().text;
        EXPECT_EQ(cell(0, 1), "Jos\xC3\xA9") << name;
        EXPECT_EQ(cell(2, 1), "caf\xC3\xA9 \xE2\x82\xAC" "5") << name;
        EXPECT_EQ(cell(1, 2), "\xF0\xA0\xAE\xB7\xE9\x87\x8E\xE5\xAE\xB6") << name;
        EXPECT_EQ(cell(2, 4), "\xE3\x80\x9C\xC2\xA5\xEE\x80\x80") << name;
        // An edit elsewhere, undone by hand, and the file comes back as it was.
        hyo.setCell(0, 0, "x");
        hyo.setCell(0, 0, "name");
        doc.modified = true;
        ASSERT_TRUE(save()) << name;
        EXPECT_EQ(fileBytes(home.file(name)), bytes) << name;
    }
}

// A Shift-JIS file's own user-defined characters stay what they are, and a pasted character
// borrows a code they do not use; saving asks before writing "?" for it.
TEST_F(LentCodesFileTest, ShiftJisSaveAsksBeforeReplacingLentCodes) {
    const std::string bytes = "a,\xF0\x40\r\n\x82\xA0,\xF9\xFC\r\n";
    home.write("s.csv", bytes);
    ASSERT_EQ(open("s.csv"), 0);
    ASSERT_TRUE(save());
    EXPECT_EQ(fileBytes(home.file("s.csv")), bytes);

    std::string pasted;
    ASSERT_EQ(CodePage::utf8ToCp932("\xF0\x9F\x8D\xA3\xEE\x80\x80", pasted), 0);   // 🍣 U+E000
    EXPECT_EQ(pasted, "\xF0\x41\xF0\x40");
    hyo.setCell(0, 0, pasted.c_str());
    doc.modified = true;
    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(save());
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "Shift-JISで保存できない文字が1文字あります。「?」に置き換えて保存しますか？");
    EXPECT_EQ(prompt.last().caption, "確認");
    EXPECT_EQ(prompt.last().buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompt.last().defaultAnswer, PromptAnswer::No);
    EXPECT_EQ(fileBytes(home.file("s.csv")), bytes);

    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(save());
    EXPECT_EQ(fileBytes(home.file("s.csv")), "?\xF0\x40,\xF0\x40\r\n\x82\xA0,\xF9\xFC\r\n");
}

// 1,880 characters fit; the 1,881st is counted by the open's loss warning.
TEST_F(LentCodesFileTest, TheOpenWarnsOnlyAboutCharactersBeyondTheArea) {
    for (int extra : {0, 1}) {
        GivenCodes::reset();
        prompt.clear();
        std::string text = "a\n";
        for (char32_t cp = 0x1F000; cp < 0x1F000 + 1880 + static_cast<char32_t>(extra); ++cp)
            text += {static_cast<char>(0xF0), static_cast<char>(0x80 | (cp >> 12 & 0x3F)),
                     static_cast<char>(0x80 | (cp >> 6 & 0x3F)), static_cast<char>(0x80 | (cp & 0x3F)), '\n'};
        home.write("many.csv", text + "\n");
        if (extra) prompt.answer(PromptAnswer::Ok);
        ASSERT_EQ(open("many.csv"), 0);
        if (extra) {
            ASSERT_EQ(prompt.shown().size(), 1u);
            EXPECT_EQ(prompt.last().text.rfind("警告：Shift-JISで表せない文字が1文字", 0), 0u);
        } else {
            EXPECT_TRUE(prompt.shown().empty()) << prompt.last().text;
        }
    }
}
