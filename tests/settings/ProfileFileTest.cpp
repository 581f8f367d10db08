// Tests of the profile-file reader and writer and of whole-file replacement.
#include "platform/core/ProfileFile.h"
#include "platform/core/SafeFile.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

TEST(ProfileFile, FindsSectionsAndKeysWithoutRegardToCase) {
    ProfileFile ini;
    ini.setText("; comment\r\n[Form]\r\n  Left = 12 \r\nwidth=\"300\"\r\n[opt]\r\nScale=abc\r\n");
    EXPECT_EQ(ini.readInt("FORM", "LEFT", 0), 12);
    EXPECT_EQ(ini.readInt("form", "WIDTH", 0), 300);
    EXPECT_EQ(ini.readInt("OPT", "SCALE", 100), 100);      // not a number: the default
    EXPECT_EQ(ini.readInt("OPT", "MISSING", 7), 7);
    EXPECT_EQ(ini.readInt("FORM", "SCALE", 5), 5);         // keys belong to their section
    EXPECT_EQ(ini.readString("FORM", "LEFT", "x"), "12");
}

TEST(ProfileFile, IntegersMustBeWholeDecimalsWithin32Bits) {
    ProfileFile ini;
    ini.setText("[S]\na=-50\nb=12x\nc=99999999999\nd=\ne=+7\nf=0x10\n");
    EXPECT_EQ(ini.readInt("S", "a", 0), -50);
    EXPECT_EQ(ini.readInt("S", "b", 1), 1);
    EXPECT_EQ(ini.readInt("S", "c", 2), 2);
    EXPECT_EQ(ini.readInt("S", "d", 3), 3);
    EXPECT_EQ(ini.readInt("S", "e", 0), 7);
    EXPECT_EQ(ini.readInt("S", "f", 4), 4);
    EXPECT_TRUE(ini.readFlag("S", "a", false));            // any non-zero value is true
}

TEST(ProfileFile, WritesInPlaceAppendsToSectionAndAddsMissingSections) {
    ProfileFile ini;
    ini.setText("[A]\nx=1\n\n[B]\ny=2\n");
    ini.writeInt("a", "X", 5);        // in place, keeping the file's spelling
    ini.writeInt("A", "z", 6);        // appended after the section's last entry
    ini.writeFlag("C", "f", true);    // new section at the end
    EXPECT_EQ(ini.text(), "[A]\nx=5\nz=6\n\n[B]\ny=2\n\n[C]\nf=1\n");
}

TEST(ProfileFile, Utf8SignatureDoesNotHideTheFirstSection) {
    ProfileFile ini;
    ini.setText("\xEF\xBB\xBF[FORM]\r\nLEFT=4\r\n");
    EXPECT_EQ(ini.readInt("FORM", "LEFT", 0), 4);
    ini.writeInt("FORM", "LEFT", 5);
    EXPECT_EQ(ini.text(), "\xEF\xBB\xBF[FORM]\nLEFT=5\n");
}

TEST(ProfileFile, ValueLineBreaksDoNotBreakTheFile) {
    ProfileFile ini;
    ini.writeString("S", "k", "one\r\n[T]\ninjected=1");
    EXPECT_EQ(ini.readString("S", "k", ""), "one");
    EXPECT_FALSE(ini.hasKey("T", "injected"));
}

TEST(ProfileFile, MissingBinaryAndFolderPathsReadAsEmpty) {
    TempHome home;
    ProfileFile ini;
    EXPECT_FALSE(ini.load(home.file("none.ini")));
    EXPECT_EQ(ini.readInt("S", "k", 9), 9);
    const char raw[] = "\0\xff\x01[S\0]\nk=\0" "3\n[";
    std::string binary(raw, sizeof raw - 1);
    EXPECT_TRUE(ini.load(home.write("bin.ini", binary)));
    EXPECT_EQ(ini.readInt("S", "k", 9), 9);
    std::filesystem::create_directory(home.file("dir.ini"));
    EXPECT_FALSE(ini.load(home.file("dir.ini")));
}

TEST(SafeFile, ReplaceLeavesNoTemporaryFilesAndFailsOverAFolder) {
    TempHome home;
    std::string path = home.file("list.lst");
    ASSERT_TRUE(SafeFile::replace(path, "one"));
    ASSERT_TRUE(SafeFile::replace(path, "two"));
    EXPECT_EQ(TempHome::read(path), "two");
    std::filesystem::create_directory(home.file("folder"));
    EXPECT_FALSE(SafeFile::replace(home.file("folder"), "x"));
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(home.path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 2);
}

TEST(SafeFile, ReplaceKeepsPermissionsAndSymbolicLinks) {
    TempHome home;
    std::string path = home.write("private.lst", "old");
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    ASSERT_TRUE(SafeFile::replace(path, "new"));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(TempHome::read(path), "new");

    std::filesystem::create_directory(home.file("real"));
    std::string target = home.write("real/vexil.ini", "[A]\n");
    std::string link = home.file("vexil.ini");
    std::filesystem::create_symlink(target, link);
    ASSERT_TRUE(SafeFile::replace(link, "[B]\n"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempHome::read(target), "[B]\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.file("real")),
                            std::filesystem::directory_iterator()), 1);
}

TEST(SafeFile, AFifoIsRefusedWithoutWaitingForAWriter) {
    TempHome home;
    std::string fifo = home.file("pipe.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string bytes = "x";
    EXPECT_FALSE(SafeFile::readAll(fifo, bytes, 1024));
    EXPECT_TRUE(bytes.empty());
}
