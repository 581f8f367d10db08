// What a colour file may carry, at each edge: column records are kept up to the largest width,
// alignment, kind, colour and count a table has and repaired beyond; attribute records apply
// only inside the table and with plausible values.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ColourFileFixture.h"
#include "WriterTestSupport.h"
#include "settings/CMyGlobal.h"
#include "store/CMyColourFile.h"
#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

namespace {

// A 16-byte column record: width, four zero bytes, alignment, kind, text and background colour.
std::string column(int32_t width, int align, int kind, int text, int back) {
    std::string s = le32(width) + std::string(4, '\0');
    for (int b : {align, kind, text, back}) s += static_cast<char>(b);
    return s + std::string(4, '\0');
}

std::string colourFile(const std::vector<std::string>& columns, const std::string& records) {
    std::string settings(56, '\0');
    std::memcpy(&settings[36], le32(',').data(), 4);
    std::memcpy(&settings[48], le32(1 | 2).data(), 4);
    return "VXC" + le32(201) + le32(16) + listBlock(columns) +
           listBlock({le32(1) + std::string(40, '\0'), settings}) + le32(16) + records + record(-1, -1, 0, 0);
}

class ColourFileBoundaryTest : public ::testing::Test {
protected:
    void read(const std::string& bytes) {
        CMyColourFile file;
        ASSERT_TRUE(file.openForReading(home.write("probe.vxc", bytes)));
        ColourSettings settings;
        ASSERT_EQ(file.readColourHeader(hyo, settings), 0);
        file.readColourRecords(hyo, 0);
    }
    std::string columnBytes(int c) const {
        const unsigned char* r = hyo.columnRecord(c);
        return r ? std::string(reinterpret_cast<const char*>(r), 16) : std::string("(none)");
    }

    TempHome home;
    ScriptedPrompt prompt;
    CMyHyo hyo;
};

} // namespace

TEST_F(ColourFileBoundaryTest, ColumnRecordsAreKeptUpToTheEdgesAndRepairedBeyond) {
    fillTable(hyo, {"a|b|c"});
    read(colourFile({column(30000, 1, 1, 31, 120), column(30001, 2, 2, 32, 121), column(-1, 0, 0, 0, 0)}, ""));
    EXPECT_EQ(columnBytes(0), column(30000, 1, 1, 31, 120));
    EXPECT_EQ(columnBytes(1), column(64, 0, 0, 120, 120));
    EXPECT_EQ(columnBytes(2), column(64, 0, 0, 0, 0));
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(ColourFileBoundaryTest, AtMost999ColumnRecordsAreTaken) {
    fillTable(hyo, {"a"});
    read(colourFile(std::vector<std::string>(999, column(80, 0, 0, 120, 120)), ""));
    EXPECT_EQ(hyo.columnCount(), 999);
    read(colourFile(std::vector<std::string>(1000, column(80, 0, 0, 120, 120)), ""));
    EXPECT_EQ(hyo.columnCount(), 999);
}

TEST_F(ColourFileBoundaryTest, AttributeRecordsApplyInsideTheTableWithPlausibleValues) {
    fillTable(hyo, {"a|b", "c", "d"});
    read(colourFile({column(80, 0, 0, 120, 120)},
                    record(-1, 0, 100, 1) + record(-1, 1, 100, 65535) + record(-1, 2, 100, 0) +
                        record(-1, 2, 100, 65536) + record(0, 0, 5, 31) + record(1, 0, 5, 32) +
                        record(0, 2, 4, 120) + record(998, 1, 4, 3) + record(999, 1, 4, 3) +
                        record(0, 3, 4, 3) + record(1, 1, 11, 0) + record(-1, 0, 11, 0)));
    EXPECT_EQ(hyo.rowAttribute(0, 100), 1);
    EXPECT_EQ(hyo.rowAttribute(1, 100), 65535);
    EXPECT_EQ(hyo.rowAttribute(2, 100), -1);
    EXPECT_EQ(hyo.cellAttribute(0, 0, 5), 31);
    EXPECT_EQ(hyo.cellAttribute(1, 0, 5), -1);
    EXPECT_EQ(hyo.cellAttribute(0, 2, 4), 120);
    EXPECT_EQ(hyo.cellAttribute(998, 1, 4), 3);
    EXPECT_EQ(hyo.cellAttribute(1, 1, 11), 0);
    EXPECT_EQ(hyo.rowAttribute(0, 11), -1);
    EXPECT_EQ(hyo.storeRowCount(), 3);
    EXPECT_EQ(hyo.widestRowValue(), 999);
}

TEST_F(ColourFileBoundaryTest, AnEmptySettingsBlockIsNoError) {
    fillTable(hyo, {"a"});
    std::string column80 = column(80, 0, 0, 120, 120);
    const std::string bytes = "VXC" + le32(201) + le32(16) + listBlock({column80}) + listBlock({}) + le32(16) +
                              record(0, 0, 5, 7) + record(-1, -1, 0, 0);
    read(bytes);
    EXPECT_EQ(hyo.cellAttribute(0, 0, 5), 7);
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(ColourFileBoundaryTest, OnlyStoreNamesAreRemovedFromTheList) {
    CMyGlobal global;
    const std::string line = "20260101000000_01 20260101000000 0000000000 /x/a.csv";
    home.write("vxc_data/vxc.lst", line + "\r\n");
    EXPECT_EQ(CMyColourFile::removeTemporaryEntry(global, "../../vxc_data"), 0);
    EXPECT_EQ(CMyColourFile::removeTemporaryEntry(global, "20260101000000_02"), 0);
    EXPECT_EQ(fileBytes(CMyColourFile::listPath(global)), line + "\r\n");
    EXPECT_EQ(CMyColourFile::removeTemporaryEntry(global, "20260101000000_01"), 1);
    EXPECT_EQ(fileBytes(CMyColourFile::listPath(global)), "");
}

// Titles are kept up to their first control byte and at most 60 bytes, with one NUL after them
// and nothing after that; a width of 0 (a hidden column) is a width; a colour one past the
// last one is no colour.
TEST_F(ColourFileBoundaryTest, ColumnTitlesWidthsAndColoursAtTheirEdges) {
    fillTable(hyo, {"a"});
    const std::string plain = column(80, 0, 0, 120, 120);
    read(colourFile({column(0, 0, 0, 120, 120), column(80, 0, 0, 119, 5), plain + "a b" + std::string(1, '\0'),
                     plain + "\x01" "abc" + std::string(1, '\0'), plain + std::string(61, 'T'),
                     plain + std::string(1, '\0'), plain + "ab" + std::string(1, '\0') + "junk"},
                    ""));
    EXPECT_EQ(columnBytes(0), column(0, 0, 0, 120, 120));
    EXPECT_EQ(columnBytes(1), column(80, 0, 0, 120, 5));
    EXPECT_EQ(hyo.columnTitle(2), "a b");
    EXPECT_EQ(hyo.columnRecordLength(2), 20);
    EXPECT_EQ(hyo.columnTitle(3), "");
    EXPECT_EQ(hyo.columnRecordLength(3), 16);
    EXPECT_EQ(hyo.columnTitle(4), std::string(60, 'T'));
    EXPECT_EQ(hyo.columnRecordLength(4), 77);
    EXPECT_EQ(hyo.columnRecordLength(5), 16);
    EXPECT_EQ(hyo.columnTitle(6), "ab");
    EXPECT_EQ(hyo.columnRecordLength(6), 19);
    EXPECT_TRUE(prompt.shown().empty());
}
