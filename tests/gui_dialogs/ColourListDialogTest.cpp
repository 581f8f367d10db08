// The colour-information list: entries made by saves, the open document's mark, loading,
// opening the linked file, and deleting by name while another instance rewrites the list.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include "support_gui/WhenDialogShows.h"
#include "dialogs/ColourListCommand.h"
#include "dialogs/TfrmCRList.h"
#include "settings/CMyGlobal.h"
#include "store/CMyColourFile.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/SaveFlow.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

namespace fs = std::filesystem;

namespace {

class ColourListTest : public ::testing::Test {
protected:
    void SetUp() override {
        global.setColourFileMode(2);
        hyo.journal().setRecording(false);
        hyo.setRow(0, "a\tb");
        for (const char* name : {"a.csv", "b.csv", "c.csv"}) names.push_back(saveToStore(name));
    }
    // Saves the table as `file` with its colours in the store; returns the entry's name.
    std::string saveToStore(const std::string& file, const std::string& existing = "") {
        DocumentState doc;
        doc.colourMode = 2;
        doc.colourTempName = existing;
        doc.filePath = home.file(file);
        SaveFlow flow(hyo, global, doc);
        EXPECT_TRUE(flow.saveDocument(false));
        EXPECT_EQ(doc.colourTempName.size(), 17u);
        return doc.colourTempName;
    }
    std::string list() const { return TempHome::read(CMyColourFile::listPath(global)); }
    static void select(QListWidget* lines, int row) {
        QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, lines->visualItemRect(lines->item(row)).center());
    }

    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    CMyHyo hyo;
    std::vector<std::string> names;   // a, b, c: the list holds them newest first
};

} // namespace

TEST(ColourListEmpty, NoStoreShowsAnEmptyListAndAsksForASelection) {
    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    TfrmCRList dialog(global);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("一時保存の色情報一覧"));
    EXPECT_EQ(dialog.findChild<QListWidget*>("lst_Main")->count(), 0);
    EXPECT_EQ(dialog.pathColumn(), 0);
    EXPECT_EQ(dialog.currentEntry(), -1);
    prompt.answer(PromptAnswer::Ok);
    QTest::mouseClick(dialog.findChild<QPushButton*>("cmd_Open"), Qt::LeftButton);
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"選択してください。"});
    EXPECT_EQ(prompt.last().caption, "注意");
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(ColourListTest, LinesShowNameTimeAndPathAndMarkTheOpenDocument) {
    TfrmCRList dialog(global);
    dialog.setCurrentName(names[1]);
    dialog.show();
    auto* lines = dialog.findChild<QListWidget*>("lst_Main");
    ASSERT_EQ(lines->count(), 3);
    const std::string raw = list().substr(0, list().find("\r\n"));
    ASSERT_EQ(raw.substr(0, 17), names[2]);
    const std::string s = raw.substr(18, 14);
    const QString expected = QString::fromStdString(
        "  " + names[2] + "  " + s.substr(0, 4) + "/" + s.substr(4, 2) + "/" + s.substr(6, 2) + " " +
        s.substr(8, 2) + ":" + s.substr(10, 2) + ":" + s.substr(12, 2) + "  " + home.file("c.csv"));
    EXPECT_EQ(lines->item(0)->text(), expected);
    EXPECT_EQ(lines->item(0)->text().indexOf(QString::fromStdString(home.file("c.csv"))), 42);
    EXPECT_EQ(dialog.pathColumn(), 42);
    EXPECT_TRUE(lines->item(1)->text().startsWith(QStringLiteral("* ") + QString::fromStdString(names[1])));
    EXPECT_EQ(dialog.currentEntry(), 1);

    prompt.answer(PromptAnswer::Ok);
    prompt.answer(PromptAnswer::Ok);
    select(lines, 1);
    QTest::mouseClick(dialog.findChild<QPushButton*>("cmd_Open"), Qt::LeftButton);
    QTest::keyClick(lines, Qt::Key_Delete);
    EXPECT_EQ(prompt.texts(), (std::vector<std::string>{"既に開かれているファイルです。",
                                                        "開いているファイルの色情報は削除は出来ません。"}));
    EXPECT_EQ(lines->count(), 3);
}

TEST_F(ColourListTest, OpenStartsAnInstanceOnAnExistingFileAndStaysOpen) {
    std::vector<std::string> started;
    TfrmCRList dialog(global);
    dialog.setInstanceStarter([&](const std::string& path) {
        started.push_back(path);
        return true;
    });
    dialog.show();
    auto* lines = dialog.findChild<QListWidget*>("lst_Main");
    select(lines, 2);
    QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, lines->visualItemRect(lines->item(2)).center());
    EXPECT_EQ(started, std::vector<std::string>{home.file("a.csv")});
    EXPECT_TRUE(dialog.isVisible());

    fs::remove(home.file("a.csv"));
    prompt.answer(PromptAnswer::Ok);
    QTest::mouseClick(dialog.findChild<QPushButton*>("cmd_Open"), Qt::LeftButton);
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"対象ファイルが存在しません。"});
    EXPECT_EQ(started.size(), 1u);
}

TEST_F(ColourListTest, DeleteFindsTheEntryByNameAfterAnotherInstanceRewroteTheList) {
    TfrmCRList dialog(global);
    dialog.show();
    auto* lines = dialog.findChild<QListWidget*>("lst_Main");
    select(lines, 2);   // a, the oldest entry, shown last

    // Meanwhile another instance saves d and moves a to the top: position 2 is now b.
    const std::string d = saveToStore("d.csv");
    saveToStore("a.csv", names[0]);
    ASSERT_EQ(list().substr(0, 17), names[0]);

    prompt.answer(PromptAnswer::Yes);
    QTest::keyClick(lines, Qt::Key_Delete);
    EXPECT_EQ(prompt.last().text, "色情報を削除します。\nよろしいですか？");
    EXPECT_EQ(prompt.last().caption, "確認");
    EXPECT_EQ(prompt.last().defaultAnswer, PromptAnswer::No);
    const std::string after = list();
    EXPECT_EQ(after.find(names[0]), std::string::npos);
    EXPECT_FALSE(fs::exists(CMyColourFile::storePath(global, names[0])));
    for (const std::string& kept : {d, names[2], names[1]}) {
        EXPECT_NE(after.find(kept), std::string::npos);
        EXPECT_TRUE(fs::exists(CMyColourFile::storePath(global, kept)));
    }
    EXPECT_LT(after.find(d), after.find(names[2]));   // the others keep their order
    EXPECT_LT(after.find(names[2]), after.find(names[1]));
    ASSERT_EQ(lines->count(), 3);   // the dialog shows the list as it now is
    EXPECT_TRUE(lines->item(0)->text().contains(QString::fromStdString(d)));

    // Answering No deletes nothing.
    select(lines, 0);
    prompt.answer(PromptAnswer::No);
    QTest::keyClick(lines, Qt::Key_Delete);
    EXPECT_NE(list().find(d), std::string::npos);
}

TEST_F(ColourListTest, ALineWhoseNameIsNotOursIsNeitherLoadedNorDeleted) {
    const std::string bogus = "../../../../x/yz 20260101000000 0000000000 " + home.file("a.csv");
    home.write("vxc_data/vxc.lst", bogus + "\r\n" + list());
    TfrmCRList dialog(global);
    dialog.show();
    auto* lines = dialog.findChild<QListWidget*>("lst_Main");
    ASSERT_EQ(lines->count(), 4);
    select(lines, 0);
    prompt.answer(PromptAnswer::Ok);
    prompt.answer(PromptAnswer::Ok);
    QTest::mouseClick(dialog.findChild<QPushButton*>("cmd_ReLoad"), Qt::LeftButton);
    QTest::keyClick(lines, Qt::Key_Delete);
    EXPECT_EQ(prompt.texts(), (std::vector<std::string>{"選択されたデータは不正なデータです。",
                                                        "選択されたデータは不正なデータです。"}));
    EXPECT_FALSE(dialog.nameChosen());
    EXPECT_EQ(list().substr(0, bogus.size()), bogus);
}

TEST_F(ColourListTest, CommandReopensWithTheChosenEntryAfterAskingAboutChanges) {
    DocumentState doc;
    doc.filePath = home.file("b.csv");
    doc.colourTempName = names[1];
    doc.modified = true;
    std::vector<std::string> reopened;
    ColourListWindow window;
    window.reopen = [&](const std::string& name) { reopened.push_back(name); };

    for (PromptAnswer answer : {PromptAnswer::No, PromptAnswer::Yes}) {
        bool reloadEnabled = false;
        whenModal<TfrmCRList>([&](TfrmCRList& dialog) {
            auto* lines = dialog.findChild<QListWidget*>("lst_Main");
            EXPECT_EQ(dialog.currentEntry(), 1);
            select(lines, 2);
            auto* load = dialog.findChild<QPushButton*>("cmd_ReLoad");
            reloadEnabled = load->isEnabled();
            QTest::mouseClick(load, Qt::LeftButton);
        });
        prompt.answer(answer);
        EXPECT_EQ(ColourListCommand::run(nullptr, global, doc, window), answer == PromptAnswer::Yes);
        EXPECT_TRUE(reloadEnabled);
        EXPECT_EQ(prompt.last().text, "更新データが破棄されます。\nよろしいですか？");
    }
    EXPECT_EQ(reopened, std::vector<std::string>{names[0]});

    // With a colour file beside the data file the store cannot be loaded.
    home.write("b.vxc", "VXC");
    bool reloadEnabled = true;
    whenModal<TfrmCRList>([&](TfrmCRList& dialog) {
        reloadEnabled = dialog.findChild<QPushButton*>("cmd_ReLoad")->isEnabled();
        dialog.reject();
    });
    EXPECT_FALSE(ColourListCommand::run(nullptr, global, doc, window));
    EXPECT_FALSE(reloadEnabled);
}
