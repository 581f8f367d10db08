// The temporary-store list takes a line as an entry only from 45 bytes on (a path after the
// 44-byte head): shorter lines are neither moved, matched nor evicted with their store file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "WriterTestSupport.h"
#include "settings/CMyGlobal.h"
#include "store/CMyColourFile.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/SaveFlow.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

namespace fs = std::filesystem;

namespace {

std::string nameOf(int i) { return "202601010000" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "_01"; }
// The 44-byte head of a line: name, time, the ten zeros and the blank before the path.
std::string head(int i) { return nameOf(i) + " 20260101000000 0000000000 "; }

class ColourListBoundaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        global.setColourListMax(10);
        global.setColourFileMode(2);
        fillTable(hyo, {"a"});
        fs::create_directories(CMyColourFile::storeFolder(global) + "/F");
    }
    // Lines 1..10 of the list (`shortLine` without a path), each with its store file.
    void writeList(int shortLine) {
        std::string list;
        for (int i = 1; i <= 10; ++i) {
            list += head(i) + (i == shortLine ? "" : "/x/d" + std::to_string(i) + ".csv") + "\r\n";
            home.write("vxc_data/F" + nameOf(i) + ".vxc", "store file");
        }
        ASSERT_EQ(head(1).size(), 44u);
        home.write("vxc_data/vxc.lst", list);
    }
    bool storeFileExists(int i) const { return fs::exists(CMyColourFile::storePath(global, nameOf(i))); }
    std::string list() const { return fileBytes(CMyColourFile::listPath(global)); }

    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    CMyHyo hyo;
};

} // namespace

TEST_F(ColourListBoundaryTest, ShortLineWithTheDocumentsNameIsNotItsEntry) {
    writeList(1);
    DocumentState doc;
    doc.filePath = home.file("new.csv");
    doc.colourMode = 2;
    doc.colourTempName = nameOf(1);
    ASSERT_TRUE(SaveFlow(hyo, global, doc).saveDocument(false));
    // A new entry: the short line stays, the oldest entry is evicted with its file.
    EXPECT_EQ(list().substr(0, 17), nameOf(1));
    EXPECT_NE(list().find("\r\n" + head(1) + "\r\n"), std::string::npos);
    EXPECT_EQ(list().find(nameOf(10)), std::string::npos);
    EXPECT_FALSE(storeFileExists(10));
    EXPECT_TRUE(storeFileExists(9));
}

TEST_F(ColourListBoundaryTest, ShortLineBeyondTheLimitKeepsTheFileItNames) {
    writeList(10);
    DocumentState doc;
    doc.filePath = home.file("new.csv");
    doc.colourMode = 2;
    ASSERT_TRUE(SaveFlow(hyo, global, doc).saveDocument(false));
    EXPECT_EQ(list().find(nameOf(10)), std::string::npos);
    EXPECT_TRUE(storeFileExists(10));
    EXPECT_TRUE(storeFileExists(9));
}

TEST_F(ColourListBoundaryTest, LineOfFortyFiveBytesIsAnEntry) {
    const std::string data = home.write("x", "a\r\n");
    home.write("vxc_data/vxc.lst", nameOf(3) + " " + global.fileTimeStamp(data) + " 0000000000 x\r\n");
    DocumentState doc;
    EXPECT_EQ(CMyColourFile::locateColourFile(data, "", global, doc), CMyColourFile::storePath(global, nameOf(3)));
    EXPECT_EQ(doc.colourListIndex, 0);
}
