// Saves that must not lose data: long names, folders that take no new file, owners, files
// changed by others since they were opened, and lists that cannot be written after a save.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

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

constexpr uid_t Nobody = 65534;

class SaveRobustnessTest : public ::testing::Test {
protected:
    void SetUp() override {
        global.setColourFileMode(0);
        fillTable(hyo, {"a|b", "c|d"});
    }
    bool save() { return flow.saveDocument(false); }
    std::vector<std::string> leftovers(const std::string& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().filename().string().find(".vexil-") != std::string::npos)
                names.push_back(entry.path().filename().string());
        return names;
    }

    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    CMyHyo hyo;
    DocumentState doc;
    SaveFlow flow{hyo, global, doc};
};

// While alive, file permissions are checked as another user (root passes every check).
class CheckedAsNobody {
public:
    CheckedAsNobody() : previous(::setfsuid(::geteuid() == 0 ? Nobody : ::geteuid())) {
        ::setfsgid(::getegid() == 0 ? Nobody : ::getegid());
    }
    ~CheckedAsNobody() {
        ::setfsuid(previous);
        ::setfsgid(::getegid());
    }

private:
    uid_t previous;
};

} // namespace

TEST_F(SaveRobustnessTest, NameNearTheLengthLimitSaves) {
    for (std::size_t length : {std::size_t(240), std::size_t(255)}) {
        doc.filePath = home.file(std::string(length - 4, 'n') + ".csv");
        ASSERT_TRUE(save()) << length;
        EXPECT_EQ(fileBytes(doc.filePath), "a,b\r\nc,d\r\n");
    }
    // A multi-byte name is shortened at a character start.
    std::string name;
    while (name.size() < 249) name += "\xE8\xA1\xA8";   // 表 in UTF-8
    doc.filePath = home.file(name + ".csv");
    ASSERT_TRUE(save());
    EXPECT_EQ(fileBytes(doc.filePath), "a,b\r\nc,d\r\n");
    EXPECT_TRUE(leftovers(home.path()).empty());
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(SaveRobustnessTest, FolderThatTakesNoNewFileIsWrittenInPlace) {
    const std::string folder = home.file("locked");
    fs::create_directory(folder);
    doc.filePath = folder + "/d.csv";
    home.write("locked/d.csv", "old\r\n");
    ::chmod(home.path().c_str(), 0777);   // the lists beside VEXIL_HOME stay writable
    ::chmod(folder.c_str(), 0555);
    ::chmod(doc.filePath.c_str(), 0666);
    struct stat before {};
    ::stat(doc.filePath.c_str(), &before);
    bool saved;
    {
        CheckedAsNobody nobody;
        saved = save();
    }
    ::chmod(folder.c_str(), 0755);
    EXPECT_TRUE(saved);
    EXPECT_EQ(fileBytes(doc.filePath), "a,b\r\nc,d\r\n");
    struct stat after {};
    ::stat(doc.filePath.c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);   // the same file, written in place
    EXPECT_TRUE(leftovers(folder).empty());
    EXPECT_TRUE(prompt.shown().empty());

    // A new file in such a folder cannot be made at all: the save says so and fails.
    doc.filePath = folder + "/new.csv";
    ::chmod(folder.c_str(), 0555);
    prompt.answer(PromptAnswer::Ok);
    {
        CheckedAsNobody nobody;
        saved = save();
    }
    ::chmod(folder.c_str(), 0755);
    EXPECT_FALSE(saved);
    EXPECT_EQ(prompt.last().text, "ファイルのオープンに失敗しました。");
    EXPECT_FALSE(fs::exists(doc.filePath));
}

TEST_F(SaveRobustnessTest, ReplacedFileKeepsItsOwnerAndPermissions) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another owner";
    doc.filePath = home.write("owned.csv", "old\r\n");
    ASSERT_EQ(::chown(doc.filePath.c_str(), Nobody, Nobody), 0);
    ASSERT_EQ(::chmod(doc.filePath.c_str(), 0640), 0);
    ASSERT_TRUE(save());
    struct stat info {};
    ASSERT_EQ(::stat(doc.filePath.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, Nobody);
    EXPECT_EQ(info.st_gid, Nobody);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(fileBytes(doc.filePath), "a,b\r\nc,d\r\n");
}

TEST_F(SaveRobustnessTest, FileChangedOnDiskAsksBeforeOverwriting) {
    doc.filePath = home.file("shared.csv");
    ASSERT_TRUE(save());
    // Another program writes the file: No (the default) keeps its version.
    home.write("shared.csv", "theirs\r\n");
    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(save());
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text,
              "ファイルは開いた後に他のプログラムで変更されています。\n上書きしてもよろしいですか？");
    EXPECT_EQ(prompt.last().caption, "確認");
    EXPECT_EQ(prompt.last().buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompt.last().defaultAnswer, PromptAnswer::No);
    EXPECT_EQ(fileBytes(doc.filePath), "theirs\r\n");
    // The same size, only a later time, counts as a change as well.
    home.write("shared.csv", "a,b\r\nc,X\r\n");
    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(save());
    EXPECT_EQ(fileBytes(doc.filePath), "a,b\r\nc,d\r\n");
    fs::last_write_time(doc.filePath, fs::last_write_time(doc.filePath) + std::chrono::seconds(5));
    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(save());
    EXPECT_EQ(prompt.shown().size(), 3u);
    // Our own save is no change; a file that is gone is written again without a question.
    EXPECT_TRUE(save());
    fs::remove(doc.filePath);
    EXPECT_TRUE(save());
    EXPECT_EQ(prompt.shown().size(), 3u);
    EXPECT_EQ(fileBytes(doc.filePath), "a,b\r\nc,d\r\n");
}

TEST_F(SaveRobustnessTest, ListsThatCannotBeWrittenAreNamedAfterTheSave) {
    // A folder under the list's name: the list cannot be replaced, the data file is saved.
    fs::create_directory(home.file("vexil_hist.lst"));
    doc.filePath = home.file("d.csv");
    prompt.answer(PromptAnswer::Ok);
    EXPECT_TRUE(save());
    EXPECT_EQ(fileBytes(doc.filePath), "a,b\r\nc,d\r\n");
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "ファイルは保存しましたが、最近使ったファイルの一覧"
                                  "(vexil_hist.lst)を書き込めませんでした。");
    EXPECT_EQ(prompt.last().caption, "注意");

    fs::remove(home.file("vexil_hist.lst"));
    global.setColourFileMode(2);
    doc.colourMode = 2;
    fs::create_directories(CMyColourFile::listPath(global));
    prompt.clear();
    prompt.answer(PromptAnswer::Ok);
    EXPECT_TRUE(save());
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "ファイルは保存しましたが、色情報の一時保存の一覧"
                                  "(vxc.lst)を書き込めませんでした。");
    EXPECT_FALSE(doc.modified);
}
