// The colour-information file's places: locating it, the temporary store and its list, the
// toggle and the menu commands.
#include "ColourFileFixture.h"

namespace fs = std::filesystem;

TEST_F(ColourFileTest, LocatePrefersTheFileBesideTheData) {
    home.write("d.csv", "a\r\n");
    home.write("d.vxc", "x");
    EXPECT_EQ(CMyColourFile::locateColourFile(path("d.csv"), "", global, doc), path("d.vxc"));
    EXPECT_EQ(doc.colourMode, 1);
    EXPECT_TRUE(doc.colourFileInUse);

    global.setColourFileMode(0);
    doc.colourTempName = "20260101000000_01";
    doc.colourListIndex = 4;
    EXPECT_EQ(CMyColourFile::locateColourFile(path("d.csv"), "", global, doc), "");
    EXPECT_EQ(doc.colourMode, 0);
    EXPECT_FALSE(doc.colourFileInUse);
    EXPECT_EQ(doc.colourTempName, "");
    EXPECT_EQ(doc.colourListIndex, -1);
}

TEST_F(ColourFileTest, LocateWithAPassedTemporaryName) {
    home.write("d.csv", "a\r\n");
    global.setColourFileMode(1);
    const std::string found = CMyColourFile::locateColourFile(path("d.csv"), "20260101000000_01", global, doc);
    EXPECT_EQ(found, CMyColourFile::storePath(global, "20260101000000_01"));
    EXPECT_EQ(doc.colourMode, 2);
    EXPECT_EQ(doc.colourTempName, "20260101000000_01");
}

TEST_F(ColourFileTest, TemporaryStoreFollowsNameAndTimeOfTheDataFile) {
    global.setColourFileMode(2);
    fillTable(hyo, {"a|b"});
    hyo.setCellAttribute(0, 0, AttrBackColour, 6, 1, 1);
    fs::create_directories(path("one"));
    fs::create_directories(path("two"));
    doc.filePath = path("one/data.csv");
    doc.colourMode = 2;
    std::vector<std::string> notes;
    SaveFlow flow(hyo, global, doc, SaveFlowWindow{{}, [&](const std::string& t) { notes.push_back(t); }, {}, {}, {}});
    ASSERT_TRUE(flow.saveDocument(false));
    EXPECT_EQ(notes.back(), SaveFlow::TemporaryStoreNote);
    EXPECT_FALSE(fs::exists(path("one/data.vxc")));
    const std::string name = doc.colourTempName;
    ASSERT_EQ(name.size(), 17u);
    EXPECT_TRUE(fs::exists(CMyColourFile::storePath(global, name)));
    const std::string list = fileBytes(CMyColourFile::listPath(global));
    EXPECT_EQ(list, name + " " + global.fileTimeStamp(path("one/data.csv")) + " 0000000000 " +
                        path("one/data.csv") + "\r\n");

    // A copy with another time does not take the entry.
    fs::copy_file(path("one/data.csv"), path("two/data.csv"));
    setTime(path("two/data.csv"), 3600);
    DocumentState other;
    EXPECT_EQ(CMyColourFile::locateColourFile(path("two/data.csv"), "", global, other),
              path("two/data.vxc"));
    EXPECT_EQ(other.colourListIndex, -1);

    // With the same name and time it does, once nothing is left at the recorded path.
    fs::last_write_time(path("two/data.csv"), fs::last_write_time(path("one/data.csv")));
    EXPECT_EQ(CMyColourFile::locateColourFile(path("two/data.csv"), "", global, other), path("two/data.vxc"));
    fs::remove(path("one/data.csv"));
    EXPECT_EQ(CMyColourFile::locateColourFile(path("two/data.csv"), "", global, other),
              CMyColourFile::storePath(global, name));
    EXPECT_EQ(other.colourListIndex, 0);
    EXPECT_EQ(other.colourTempName, name);

    hyo.reset();
    ASSERT_EQ(open("two/data.csv"), 0);
    EXPECT_EQ(hyo.cellAttribute(0, 0, AttrBackColour), 6);
    EXPECT_EQ(doc.colourMode, 2);
}

TEST_F(ColourFileTest, ListKeepsAtMostTheLimitAndEvictsTheOldest) {
    global.setColourListMax(10);
    global.setColourFileMode(2);
    fillTable(hyo, {"a"});
    std::vector<std::string> names;
    for (int i = 0; i < 11; ++i) {
        DocumentState d;
        d.colourMode = 2;
        d.filePath = path("f" + std::to_string(i) + ".csv");
        SaveFlow flow(hyo, global, d);
        ASSERT_TRUE(flow.saveDocument(false));
        names.push_back(d.colourTempName);
        if (i == 9) {
            // Saving an existing entry again moves it to the top and evicts nothing.
            DocumentState again = d;
            again.colourTempName = names[0];
            again.filePath = path("f0.csv");
            SaveFlow(hyo, global, again).saveDocument(false);
            EXPECT_EQ(fileBytes(CMyColourFile::listPath(global)).substr(0, 17), names[0]);
        }
    }
    const std::string list = fileBytes(CMyColourFile::listPath(global));
    int lines = 0;
    for (size_t p = list.find("\r\n"); p != std::string::npos; p = list.find("\r\n", p + 2)) ++lines;
    EXPECT_EQ(lines, 10);
    // names[0] was moved to the top, so names[1] was the oldest.
    EXPECT_EQ(list.find(names[1]), std::string::npos);
    EXPECT_FALSE(fs::exists(CMyColourFile::storePath(global, names[1])));
    EXPECT_TRUE(fs::exists(CMyColourFile::storePath(global, names[0])));
    EXPECT_EQ(list.substr(0, 17), names[10]);
}

TEST_F(ColourFileTest, EvictionDeletesOnlyStoreFilesOfWellFormedEntries) {
    global.setColourListMax(10);
    global.setColourFileMode(2);
    fillTable(hyo, {"a"});
    const std::string store = CMyColourFile::storeFolder(global);
    fs::create_directories(store + "/F");
    const std::string victim = home.write("victim0000.vxc", "not a store file");
    std::string list;
    for (int i = 0; i < 9; ++i) {
        // Line 3 is too short to be an entry; line 8 names a store file that is already gone.
        const std::string name = "2026010100000" + std::to_string(i) + "_01";
        list += (i == 3 ? std::string("short line") : name + " 20260101000000 0000000000 /x/" + name + ".csv") + "\r\n";
    }
    list += "/../../victim0000 20260101000000 0000000000 /x/damaged.csv\r\n";
    home.write("vxc_data/vxc.lst", list);

    doc.filePath = path("new.csv");
    doc.colourMode = 2;
    SaveFlow flow(hyo, global, doc);
    ASSERT_TRUE(flow.saveDocument(false));
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_EQ(fileBytes(victim), "not a store file");
    const std::string written = fileBytes(CMyColourFile::listPath(global));
    EXPECT_EQ(written.find("damaged"), std::string::npos);
    EXPECT_NE(written.find("short line\r\n"), std::string::npos);
    EXPECT_EQ(written.substr(0, 17), doc.colourTempName);

    EXPECT_TRUE(CMyColourFile::isTemporaryName("20260101123456_07"));
    EXPECT_FALSE(CMyColourFile::isTemporaryName("/../../victim0000"));
    EXPECT_FALSE(CMyColourFile::isTemporaryName("20260101123456_7"));
}

TEST_F(ColourFileTest, ToggleAndMenuCommands) {
    fillTable(hyo, {"a"});
    SaveFlow flow(hyo, global, doc);
    global.setColourFileMode(0);
    EXPECT_FALSE(flow.toggleSaveFormat(true));

    global.setColourFileMode(1);
    doc.colourMode = 1;
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(flow.colourFileCommand(0));
    EXPECT_EQ(prompt.last().text, "当処理は一度保存されていることが必要です。");

    doc.filePath = path("m.csv");
    ASSERT_TRUE(flow.saveDocument(false));
    ASSERT_TRUE(fs::exists(path("m.vxc")));
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(flow.colourFileCommand(0));
    EXPECT_EQ(prompt.last().text, "既に連動済みです。");

    // Released while linked: No keeps it pressed, Yes moves the colours to the store.
    prompt.answer(PromptAnswer::No);
    EXPECT_TRUE(flow.toggleSaveFormat(false));
    EXPECT_EQ(prompt.last().text,
              "データファイル直下の色情報ファイル(VXC)を削除して\n一時保存に変換します。\nよろしいですか？");
    EXPECT_EQ(doc.colourMode, 1);
    prompt.answer(PromptAnswer::Yes);
    EXPECT_FALSE(flow.toggleSaveFormat(false));
    EXPECT_EQ(doc.colourMode, 2);
    EXPECT_FALSE(fs::exists(path("m.vxc")));
    EXPECT_TRUE(fs::exists(CMyColourFile::storePath(global, doc.colourTempName)));

    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(flow.colourFileCommand(1));
    EXPECT_EQ(prompt.last().text, "既に一時保存状態です。");

    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(flow.colourFileCommand(0));
    EXPECT_FALSE(fs::exists(path("m.vxc")));
    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(flow.colourFileCommand(0));
    EXPECT_EQ(prompt.last().text, "データファイル直下に色情報ファイル(VXC)を作成します。\nよろしいですか？");
    EXPECT_TRUE(fs::exists(path("m.vxc")));
    EXPECT_EQ(doc.colourMode, 1);

    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(flow.colourFileCommand(1));
    EXPECT_EQ(doc.colourMode, 1);
    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(flow.colourFileCommand(1));
    EXPECT_EQ(doc.colourMode, 2);
    EXPECT_FALSE(doc.colourFileInUse);
    // Pressed, then released before a colour file was made beside: nothing to ask.
    EXPECT_TRUE(flow.toggleSaveFormat(true));
    EXPECT_EQ(doc.colourMode, 1);
    const size_t asked = prompt.shown().size();
    EXPECT_FALSE(flow.toggleSaveFormat(false));
    EXPECT_EQ(doc.colourMode, 2);
    EXPECT_EQ(prompt.shown().size(), asked);

    doc.colourMode = 0;
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(flow.colourFileCommand(1));
    EXPECT_EQ(prompt.last().text, "色情報を扱いません。");
}

TEST_F(ColourFileTest, MovingToTheStoreWithoutASaveKeepsTheLink) {
    fillTable(hyo, {"a"});
    SaveFlow flow(hyo, global, doc);
    doc.colourMode = 1;
    doc.filePath = path("k.csv");
    ASSERT_TRUE(flow.saveDocument(false));
    ASSERT_TRUE(doc.colourFileInUse);

    // The save after the question is refused at the read-error question: nothing moved.
    for (int way = 0; way < 2; ++way) {
        doc.readError = true;
        prompt.answer(PromptAnswer::Yes);
        prompt.answer(PromptAnswer::No);
        if (way == 0) EXPECT_TRUE(flow.toggleSaveFormat(false));
        else EXPECT_FALSE(flow.colourFileCommand(1));
        EXPECT_EQ(prompt.last().text, "読み込みでエラーが発生しましたが保存します。\nよろしいですか？");
        EXPECT_EQ(doc.colourMode, 1) << way;
        EXPECT_TRUE(doc.colourFileInUse) << way;
        EXPECT_TRUE(fs::exists(path("k.vxc"))) << way;
        EXPECT_TRUE(doc.colourTempName.empty()) << way;
    }
}

TEST_F(ColourFileTest, ColourFileThatCannotBeCreatedStopsTheSave) {
    global.setColourFileMode(1);
    fillTable(hyo, {"a"});
    doc.filePath = path("sub/c.csv");  // neither folder exists
    doc.colourMode = 1;
    SaveFlow flow(hyo, global, doc);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(flow.saveDocument(false));
    EXPECT_EQ(prompt.last().text, "ファイルのオープンに失敗しました。(色情報)");
}
