// The temporary-store list takes a line as an entry only from 45 bytes on (a path after the
// 44-byte head): shorter lines are neither moved, matched, removed nor evicted with their store
// file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "WriterTestSupport.h"
#include "platform/core/FileHook.h"
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
    const std::string stamp = global.fileTimeStamp(data);
    // Before it: a line without a path, and an entry of the same time for a file of another name.
    home.write("vxc_data/vxc.lst", nameOf(1) + " " + stamp + " 0000000000 \r\n" +
                                       nameOf(2) + " " + stamp + " 0000000000 y\r\n" +
                                       nameOf(3) + " " + stamp + " 0000000000 x\r\n");
    DocumentState doc;
    EXPECT_EQ(CMyColourFile::locateColourFile(data, "", global, doc), CMyColourFile::storePath(global, nameOf(3)));
    EXPECT_EQ(doc.colourListIndex, 2);
    EXPECT_EQ(doc.colourTempName, nameOf(3));
}

// The list is a few hundred short lines: one over 4 MiB is not read at all.
TEST_F(ColourListBoundaryTest, AListOverFourMebibytesIsNotRead) {
    const std::string line = head(1) + "/x/d.csv\r\n";
    std::string list;
    while (list.size() + line.size() <= (4u << 20)) list += line;
    list.append((4u << 20) - list.size(), 'z');
    home.write("vxc_data/vxc.lst", list);
    EXPECT_EQ(CMyColourFile::readTemporaryList(global).size(), (4u << 20) / line.size() + 1);
    home.write("vxc_data/vxc.lst", list + "z");
    EXPECT_TRUE(CMyColourFile::readTemporaryList(global).empty());
}

// Moving the document's entry to the top (the first line included) drops its old line and
// evicts nothing, even from a list longer than the limit; a document without a store name
// leaves the list alone.
TEST_F(ColourListBoundaryTest, MovingAnEntryToTheTopEvictsNothing) {
    writeList(0);
    // Two entries beyond the limit of 10, as a list written with a higher limit has.
    for (int i : {11, 12}) home.write("vxc_data/F" + nameOf(i) + ".vxc", "store file");
    home.write("vxc_data/vxc.lst", list() + head(11) + "/x/d11.csv\r\n" + head(12) + "/x/d12.csv\r\n");
    const std::string before = list();
    const std::string data = home.write("d.csv", "a\r\n");
    DocumentState doc;
    EXPECT_TRUE(CMyColourFile::updateTemporaryList(data, doc, global));
    EXPECT_EQ(list(), before);

    doc.colourTempName = nameOf(1);
    ASSERT_TRUE(CMyColourFile::updateTemporaryList(data, doc, global));
    const std::vector<std::string> lines = CMyColourFile::readTemporaryList(global);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], nameOf(1) + " " + global.fileTimeStamp(data) + " 0000000000 " + data);
    EXPECT_EQ(lines[1], head(2) + "/x/d2.csv");
    EXPECT_EQ(lines[11], head(12) + "/x/d12.csv");
    for (int i = 1; i <= 12; ++i) EXPECT_TRUE(storeFileExists(i)) << i;
}

// The result says whether the list on disk was rewritten, whichever file operation fails.
TEST_F(ColourListBoundaryTest, TheResultSaysWhetherTheListWasWritten) {
    writeList(0);
    const std::string before = list();
    const std::string data = home.write("d.csv", "a\r\n");
    DocumentState doc;
    doc.colourTempName = nameOf(5);
    const std::string top = nameOf(5) + " " + global.fileTimeStamp(data) + " 0000000000 " + data + "\r\n";
    int refused = 0;
    for (long n = 1; n <= 12; ++n) {
        home.write("vxc_data/vxc.lst", before);
        FileHook::failAfter(n);
        const bool written = CMyColourFile::updateTemporaryList(data, doc, global);
        FileHook::failAfter(0);
        if (written) {
            EXPECT_EQ(list().substr(0, top.size()), top) << n;
        } else {
            ++refused;
            EXPECT_EQ(list(), before) << n;
        }
    }
    EXPECT_GT(refused, 1);
}

// Removing an entry takes the first line of its name that is an entry (a damaged line without
// a path before it stays), then its store file; when the list cannot be read or rewritten,
// nothing is removed and the result says which.
TEST_F(ColourListBoundaryTest, RemovingAnEntryTakesItsLineAndThenItsFile) {
    writeList(0);
    const std::string before = head(3) + "\r\n" + list();
    std::string after = before;
    const std::string entry = head(3) + "/x/d3.csv\r\n";
    after.erase(after.find(entry), entry.size());
    int refused = 0;
    for (long n = 1; n <= 10; ++n) {
        home.write("vxc_data/vxc.lst", before);
        home.write("vxc_data/F" + nameOf(3) + ".vxc", "store file");
        FileHook::failAfter(n);
        const int removed = CMyColourFile::removeTemporaryEntry(global, nameOf(3));
        FileHook::failAfter(0);
        if (removed == 1) {
            EXPECT_EQ(list(), after) << n;
            continue;
        }
        // 0: the list could not be read, so no entry was found; -1: it could not be rewritten.
        EXPECT_TRUE(removed == 0 || removed == -1) << n;
        if (removed == -1) ++refused;
        EXPECT_EQ(list(), before) << n;
        EXPECT_TRUE(storeFileExists(3)) << n;
    }
    EXPECT_GT(refused, 0);
    home.write("vxc_data/vxc.lst", before);
    EXPECT_EQ(CMyColourFile::removeTemporaryEntry(global, nameOf(3)), 1);
    EXPECT_EQ(list(), after);
    EXPECT_FALSE(storeFileExists(3));
    EXPECT_TRUE(storeFileExists(4));
}
