// Open flow edges: the widest row it records, colour information while it is switched off,
// and rows that could not be stored.
#include "platform/core/MemoryHook.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/ColourOpenSteps.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string le32(int32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    return s;
}

class OpenFlowEdgeTest : public ::testing::Test {
protected:
    void SetUp() override { global.setColourFileMode(0); }
    int open(const std::string& path, OpenColourHooks colour = {}, OpenFlowWindow window = {},
             bool header = false) {
        OpenFlow flow(hyo, global, doc, window, colour);
        return flow.openFile(path, header, "", TypeNone);
    }
    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    CMyHyo hyo;
    DocumentState doc;
};

} // namespace

TEST_F(OpenFlowEdgeTest, WidestRowCountsOneColumnAndNoTrailingEmptyFields) {
    ASSERT_EQ(open(home.write("a.csv", "abc\r\nd\r\n")), OpenFlow::Loaded);
    EXPECT_EQ(hyo.widestRowValue(), 1);
    ASSERT_EQ(open(home.write("b.csv", "a,b,,,\r\n")), OpenFlow::Loaded);
    EXPECT_EQ(hyo.widestRowValue(), 2);
}

TEST_F(OpenFlowEdgeTest, ColourFileIsNotReadWhileColourInformationIsOff) {
    const std::string column = le32(100) + std::string(4, '\0') + std::string("\0\0\x78\x78", 4) + std::string(4, '\0');
    std::string settings(56, '\0');
    std::memcpy(&settings[36], le32(',').data(), 4);
    std::memcpy(&settings[48], le32(1 | 2).data(), 4);
    auto block = [](std::initializer_list<std::string> lines) {
        std::string s = "LI" + le32(1);
        for (const auto& line : lines) s += le32(static_cast<int32_t>(line.size())) + line;
        return s + le32(-1);
    };
    home.write("c.vxc", "VXC" + le32(201) + le32(16) + block({column}) + block({le32(1) + std::string(40, '\0'), settings}) +
                            le32(16) + le32(0) + le32(0) + le32(5) + le32(6) + le32(-1) + le32(-1) + le32(0) + le32(0));
    const OpenColourHooks hooks = ColourOpenSteps::hooks();
    ASSERT_EQ(open(home.write("c.csv", "a\r\n"), hooks), OpenFlow::Loaded);
    EXPECT_EQ(hyo.cellAttribute(0, 0, AttrBackColour), -1);
    global.setColourFileMode(1);
    ASSERT_EQ(open(home.file("c.csv"), hooks), OpenFlow::Loaded);
    EXPECT_EQ(hyo.cellAttribute(0, 0, AttrBackColour), 6);
}

TEST_F(OpenFlowEdgeTest, AnOpenThatLoadsHoldsEveryRow) {
    const std::string path = home.write("m.csv", "a\r\n" + std::string(3000, 'b') + "\r\nc\r\n");
    int loaded = 0;
    for (long n = 1; n < 60; ++n) {
        ScriptedPrompt local;
        local.allowUnscripted();
        MemoryHook::resetCount();
        MemoryHook::failAfter(n);
        const int rc = open(path);
        MemoryHook::failAfter(0);
        if (rc != OpenFlow::Loaded) continue;
        ++loaded;
        ASSERT_EQ(hyo.storeRowCount(), 3) << n;
        EXPECT_EQ(hyo.rowString(1).size(), 3000u) << n;
        EXPECT_EQ(hyo.rowString(2), "c") << n;
    }
    EXPECT_GT(loaded, 0);
}

TEST_F(OpenFlowEdgeTest, ALineBreakAtTheStartOfAFieldCountsForTheRowHeight) {
    OpenFlowWindow window;
    window.editorLineHeight = [] { return 12; };
    ASSERT_EQ(open(home.write("h.csv", "\"\r\nx\"\r\n\"x\r\ny\"\r\nz\r\n"), {}, window), OpenFlow::Loaded);
    EXPECT_EQ(hyo.rowAttribute(0, AttrRowHeight), 24);
    EXPECT_EQ(hyo.rowAttribute(1, AttrRowHeight), 24);
    EXPECT_EQ(hyo.rowAttribute(2, AttrRowHeight), -1);
}

TEST_F(OpenFlowEdgeTest, AOneCellFirstLineBecomesTheTitles) {
    ASSERT_EQ(open(home.write("t.csv", "title\r\nv\r\n"), {}, {}, true), OpenFlow::Loaded);
    EXPECT_TRUE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.columnTitle(0), "title");
    EXPECT_EQ(hyo.rowCount(), 1);
}
