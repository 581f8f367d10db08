// The user-key dialog: its list lines, the enable rules, assigning, and the keys in vexil.ini.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "dialogs/TfrmUserKey.h"
#include "dialogs/UserFunctionTable.h"
#include "settings/CMyGlobal.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

namespace {

struct KeyDialog {
    explicit KeyDialog(CMyGlobal& g) : dialog(g) {
        dialog.show();
        keys = dialog.findChild<QListWidget*>("lst_UserKey");
        kind = dialog.findChild<QComboBox*>("cbo_Kind");
        functions = dialog.findChild<QListWidget*>("lst_Syori");
        ok = dialog.findChild<QPushButton*>("cmd_Ok");
        apply = dialog.findChild<QPushButton*>("cmd_Ok2");
        close = dialog.findChild<QPushButton*>("cmd_Close");
    }
    void clickRow(QListWidget* list, int row) {
        const QRect r = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }
    void chooseGroup(int group) {
        kind->setFocus();
        // Keyboard selection in a closed combo box fires `activated`, as a user's choice does.
        while (kind->currentIndex() < group) QTest::keyClick(kind, Qt::Key_Down);
        while (kind->currentIndex() > group) QTest::keyClick(kind, Qt::Key_Up);
    }
    QString line(int row) const { return keys->item(row)->text(); }
    bool choiceEnabled() const {
        return kind->isEnabled() && functions->isEnabled() && ok->isEnabled() && apply->isEnabled();
    }
    bool choiceDisabled() const {
        return !kind->isEnabled() && !functions->isEnabled() && !ok->isEnabled() && !apply->isEnabled();
    }

    TfrmUserKey dialog;
    QListWidget* keys;
    QComboBox* kind;
    QListWidget* functions;
    QPushButton *ok, *apply, *close;
};

} // namespace

TEST(UserFunctionTable, NumbersInListOrder) {
    const std::vector<int> expected = {
        0, 1, 2, 3, 4, 5, 6, 7, 8,
        100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116,
        200, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211, 212, 213, 214, 215, 216,
        50, 51, 54, 55, 52, 53};
    std::vector<int> numbers;
    for (const UserFunction& f : UserFunctionTable::entries()) numbers.push_back(f.number);
    EXPECT_EQ(numbers, expected);
    EXPECT_STREQ(UserFunctionTable::find(116)->label, "背景色：白");
    EXPECT_EQ(UserFunctionTable::find(116)->group, 1);
    EXPECT_STREQ(UserFunctionTable::find(54)->label, "文字変換：半角ｶﾀｶﾅ->ひらがな");
    EXPECT_STREQ(UserFunctionTable::find(0)->label, "（未定義）");
    EXPECT_STREQ(UserFunctionTable::find(8)->label, "やり直し");
    EXPECT_EQ(UserFunctionTable::find(999), nullptr);
    EXPECT_EQ(UserFunctionTable::find(-1), nullptr);
}

TEST(UserKeyDialog, FreshSettingsShowEighteenUndefinedKeysAndNothingToChoose) {
    TempHome home;
    CMyGlobal g;
    KeyDialog d(g);
    EXPECT_EQ(d.dialog.windowTitle(), QStringLiteral("ユーザー定義キー割当"));
    EXPECT_EQ(d.ok->text(), QStringLiteral("Ok(&O)"));
    EXPECT_EQ(d.apply->text(), QStringLiteral("適用(&S)"));
    EXPECT_EQ(d.close->text(), QStringLiteral("閉じる(&C)"));
    ASSERT_EQ(d.keys->count(), 18);
    EXPECT_EQ(d.line(0), QStringLiteral("CTL+1： （未定義)"));
    EXPECT_EQ(d.line(8), QStringLiteral("CTL+9： （未定義)"));
    EXPECT_EQ(d.line(9), QStringLiteral("SHIFT+CTL+1： （未定義)"));
    EXPECT_EQ(d.line(17), QStringLiteral("SHIFT+CTL+9： （未定義)"));
    EXPECT_TRUE(d.choiceDisabled());
    EXPECT_EQ(d.kind->count(), 4);
    EXPECT_EQ(d.kind->itemText(3), QStringLiteral("文字操作"));
    EXPECT_EQ(d.functions->count(), 9);   // group 0 is shown, redo last
    EXPECT_EQ(d.functions->item(8)->text(), QStringLiteral("やり直し"));
}

TEST(UserKeyDialog, ApplyStoresTheNumberKeepsTheKeySelectedAndReachesTheFile) {
    TempHome home;
    {
        CMyGlobal g;
        g.loadSettings(1920, 1080);
        KeyDialog d(g);
        d.clickRow(d.keys, 11);   // Shift+Ctrl+3
        EXPECT_TRUE(d.choiceEnabled());
        d.chooseGroup(1);
        EXPECT_EQ(d.functions->count(), 17);
        EXPECT_FALSE(d.ok->isEnabled());   // a new group has nothing chosen yet
        d.clickRow(d.functions, 16);
        EXPECT_TRUE(d.ok->isEnabled());
        QTest::mouseClick(d.apply, Qt::LeftButton);
        EXPECT_TRUE(d.dialog.isVisible());
        EXPECT_EQ(g.userKey(2, true), 116);
        EXPECT_EQ(g.userKey(2, false), 0);
        EXPECT_EQ(d.line(11), QStringLiteral("SHIFT+CTL+3： 背景色：白"));
        EXPECT_EQ(d.keys->currentRow(), 11);
        ASSERT_TRUE(g.saveSettings(false));   // user keys are written by every save
    }
    EXPECT_NE(TempHome::read(home.file("vexil.ini")).find("USER_SKEY2=116"), std::string::npos);
    CMyGlobal again;
    again.loadSettings(1920, 1080);
    EXPECT_EQ(again.userKey(2, true), 116);
}

TEST(UserKeyDialog, SelectingAKeyShowsItsFunctionInItsGroup) {
    TempHome home;
    CMyGlobal g;
    g.setUserKey(0, 52, false);
    g.setUserKey(4, 208, true);
    KeyDialog d(g);
    EXPECT_EQ(d.line(0), QStringLiteral("CTL+1： 文字変換：大文字(UPPER CASE)"));
    d.clickRow(d.keys, 0);
    EXPECT_EQ(d.kind->currentIndex(), 3);
    EXPECT_EQ(d.functions->currentRow(), 4);   // 50, 51, 54, 55, then 52
    EXPECT_TRUE(d.choiceEnabled());
    d.clickRow(d.keys, 13);
    EXPECT_EQ(d.kind->currentIndex(), 2);
    EXPECT_EQ(d.functions->currentItem()->text(), QStringLiteral("文字色：暗い灰色"));
}

TEST(UserKeyDialog, UnusableAndUnknownKeys) {
    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal g;
    g.setUserKey(1, -1, false);
    g.setUserKey(2, 999, false);
    g.setUserKey(3, 5, false);
    KeyDialog d(g);
    EXPECT_EQ(d.line(1), QStringLiteral("CTL+2： （使用不可)"));
    EXPECT_EQ(d.line(2), QStringLiteral("CTL+3： （未定義)"));

    d.clickRow(d.keys, 3);   // group 0, "1行目ヘッダー切替" chosen
    d.clickRow(d.keys, 1);
    EXPECT_TRUE(d.choiceDisabled());
    EXPECT_TRUE(d.functions->selectedItems().isEmpty());

    // An unknown number leaves the lists alone but enables them.
    d.chooseGroup(0);
    d.clickRow(d.keys, 2);
    EXPECT_TRUE(d.choiceEnabled());
    EXPECT_TRUE(d.functions->selectedItems().isEmpty());
    prompt.answer(PromptAnswer::Ok);
    QTest::mouseClick(d.ok, Qt::LeftButton);
    ASSERT_EQ(prompt.texts(), std::vector<std::string>{"機能を選択してください。"});
    EXPECT_EQ(prompt.last().caption, "注意");
    EXPECT_EQ(g.userKey(2, false), 999);
    EXPECT_TRUE(d.dialog.isVisible());
}

TEST(UserKeyDialog, DoubleClickAssignsAndCloses) {
    TempHome home;
    CMyGlobal g;
    g.setUserKey(8, 3, true);
    KeyDialog d(g);
    d.clickRow(d.keys, 17);
    EXPECT_EQ(d.functions->currentRow(), 3);
    const QRect r = d.functions->visualItemRect(d.functions->item(0));
    // A real double click is a press, a release and then the double-click event.
    QTest::mouseClick(d.functions->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(d.functions->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(g.userKey(8, true), 0);   // "（未定義）" stores 0
    EXPECT_FALSE(d.dialog.isVisible());
    EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
}
