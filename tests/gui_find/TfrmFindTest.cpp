// The find, replace and filter dialog on screen: controls per mode, match kinds, confirming,
// the histories and their files, and texts that cannot be taken as they are.
#include "dialogs/TfrmFind.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <QFile>

#include <algorithm>
#include <functional>
#include <memory>

#include "settings/CMyGlobal.h"
#include "support/FullLentArea.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "view/CMyHyoCom.h"

namespace {

struct FindDialogTest : ::testing::Test {
    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    CMyHyoCom com;
    TfrmFind dialog{global, com};

    template <typename T>
    T* child(const char* name) {
        return dialog.findChild<T*>(name);
    }
    // Shows the dialog modally in `mode`; `act` runs once it is up (it must close it, or the
    // dialog is cancelled after the acts ran).
    int run(int mode, std::function<void()> act, const QString& column = QString()) {
        dialog.showMode(mode, column);
        auto* timer = new QTimer;
        timer->setInterval(10);
        // Focus reaches the dialog only once its window is active; under load that can lag a
        // few ticks behind it becoming the modal widget (give up waiting after about 2 s).
        auto ticks = std::make_shared<int>(0);
        QObject::connect(timer, &QTimer::timeout, [this, timer, act, ticks] {
            if (QApplication::activeModalWidget() != &dialog) return;
            if (!dialog.isActiveWindow() && ++*ticks < 200) return;
            timer->stop();
            timer->deleteLater();
            act();
            if (dialog.isVisible()) dialog.reject();
        });
        timer->start();
        dialog.exec();
        return dialog.dialogResult;
    }
    void type(const char* box, const QString& text) { child<QComboBox>(box)->setEditText(text); }
    void click(const char* button) { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }
};

}  // namespace

TEST_F(FindDialogTest, EachModeShowsItsOwnControlsAndCaption) {
    auto visible = [&](const char* name) { return child<QWidget>(name)->isVisible(); };
    std::vector<bool> seen;
    run(FindModeFind, [&] {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("検索"));
        seen = {visible("cmd_Up"), visible("cmd_FindAll"), visible("cmd_Press"), visible("cmd_Filter"),
                visible("cbo_Press"), visible("chk_Else"), visible("cbo_Kind"), visible("chk_Color")};
        EXPECT_TRUE(child<QPushButton>("cmd_Down")->isDefault());
        EXPECT_TRUE(child<QComboBox>("cbo_Data")->hasFocus());
    });
    EXPECT_EQ(seen, (std::vector<bool>{true, true, false, false, false, false, true, true}));
    run(FindModeReplace, [&] {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("置換"));
        seen = {visible("cmd_Up"), visible("cmd_FindAll"), visible("cmd_Press"), visible("cmd_Filter"),
                visible("cbo_Press"), visible("chk_Else"), visible("cbo_KindRep"), visible("cbo_Kind")};
    });
    EXPECT_EQ(seen, (std::vector<bool>{true, false, true, false, true, false, true, false}));
    run(FindModeFilter, [&] {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("抽出（3列目）"));
        seen = {visible("cmd_Up"), visible("cmd_Filter"), visible("chk_Else"), visible("chk_Color"),
                visible("cbo_Press")};
        EXPECT_TRUE(child<QPushButton>("cmd_Filter")->isDefault());
    }, QStringLiteral("3列目"));
    EXPECT_EQ(seen, (std::vector<bool>{false, true, true, false, false}));
}

TEST_F(FindDialogTest, MatchKindsColourAndNegation) {
    auto* kind = child<QComboBox>("cbo_Kind");
    auto* caseBox = child<QCheckBox>("chk_Case");
    EXPECT_EQ(kind->count(), 9);
    EXPECT_EQ(kind->itemText(4), QStringLiteral("一致(数値)"));
    dialog.showMode(FindModeFind);
    EXPECT_EQ(dialog.matchKind(), 3);
    caseBox->setChecked(true);
    EXPECT_EQ(dialog.matchKind(), 7);
    for (int entry = 4; entry < 9; ++entry) {
        kind->setCurrentIndex(entry);
        EXPECT_EQ(dialog.matchKind(), entry + 6);
    }
    caseBox->setChecked(false);
    EXPECT_EQ(dialog.matchKind(), 14);
    dialog.showMode(FindModeReplace);
    child<QComboBox>("cbo_KindRep")->setCurrentIndex(1);
    caseBox->setChecked(true);
    EXPECT_EQ(dialog.matchKind(), 5);

    auto* colour = child<QComboBox>("cbo_Color");
    EXPECT_EQ(colour->itemText(0), QStringLiteral("C00"));
    EXPECT_EQ(colour->itemText(15), QStringLiteral("C15"));
    EXPECT_EQ(colour->currentIndex(), 11);
    EXPECT_FALSE(colour->isEnabled());
    EXPECT_EQ(dialog.colourIndex(), -1);
    child<QCheckBox>("chk_Color")->setChecked(true);
    EXPECT_TRUE(colour->isEnabled());
    EXPECT_TRUE(child<QPushButton>("cmd_FindAll")->isEnabled());
    EXPECT_EQ(dialog.colourIndex(), 11);
    child<QCheckBox>("chk_Else")->setChecked(true);
    EXPECT_FALSE(dialog.excludeMatches());   // only in filter mode
    dialog.showMode(FindModeFilter);
    EXPECT_TRUE(dialog.excludeMatches());
    EXPECT_EQ(dialog.colourIndex(), -1);
}

TEST_F(FindDialogTest, EmptyTextIsRefusedInFindModeButGoesToTheFilter) {
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(run(FindModeFind, [&] { click("cmd_Down"); }), FindCancelled);
    EXPECT_EQ(prompt.last().text, "検索文字列を入力してください。");
    EXPECT_EQ(prompt.last().caption, "注意");
    EXPECT_EQ(run(FindModeFilter, [&] { click("cmd_Filter"); }), FindDown);
    EXPECT_EQ(dialog.searchText, "");
    EXPECT_EQ(dialog.findHistory(), (std::vector<std::string>{""}));
}

TEST_F(FindDialogTest, ResultsTextsAndHistoryOrder) {
    EXPECT_EQ(run(FindModeFind, [&] { type("cbo_Data", "first"); click("cmd_Up"); }), FindUp);
    EXPECT_EQ(run(FindModeFind, [&] { click("cmd_Down"); }), FindDown);   // the text is offered again
    EXPECT_EQ(dialog.findHistory(), (std::vector<std::string>{"first"}));
    run(FindModeFind, [&] { type("cbo_Data", "second"); click("cmd_Down"); });
    run(FindModeReplace, [&] {
        type("cbo_Data", QStringLiteral("first"));
        type("cbo_Press", QStringLiteral("表示"));
        click("cmd_Press");
    });
    EXPECT_EQ(dialog.dialogResult, FindReplaceAll);
    EXPECT_EQ(dialog.findHistory(), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(dialog.replaceText, "\x95\x5C\x8E\xA6");
    EXPECT_EQ(TempHome::read(home.file("vexil_f.lst")), "first\r\nsecond\r\n");
    EXPECT_EQ(TempHome::read(home.file("vexil_r.lst")), "\x95\x5C\x8E\xA6\r\n");
    // Cancelling keeps the texts and still writes the lists; a find clears the replacement.
    EXPECT_EQ(run(FindModeFind, [&] { type("cbo_Data", "other"); click("cmd_Cancel"); }), FindCancelled);
    EXPECT_EQ(dialog.searchText, "first");
    child<QCheckBox>("chk_Color")->setChecked(true);
    EXPECT_EQ(run(FindModeFind, [&] { click("cmd_FindAll"); }), FindAllCells);
    EXPECT_EQ(dialog.replaceText, "");
}

TEST_F(FindDialogTest, HistoriesAreReadOnceAndWrittenAtMostThirtyLines) {
    std::string lines;
    for (int i = 0; i < 35; ++i) lines += "t" + std::to_string(i) + "\n";
    home.write("vexil_f.lst", lines);
    run(FindModeFind, [&] {
        EXPECT_EQ(child<QComboBox>("cbo_Data")->count(), 35);
        dialog.reject();
    });
    std::string written = TempHome::read(home.file("vexil_f.lst"));
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 30);
    EXPECT_EQ(written.substr(0, 8), "t0\r\nt1\r\n");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(home.file("vexil_r.lst"))));   // empty: untouched
}

TEST_F(FindDialogTest, TextsThatDoNotFitStayInTheDialogUncut) {
    prompt.answer(PromptAnswer::Ok);
    const QString longText = QString(26, QChar(0x8868));   // 26 x 表 = 52 bytes
    EXPECT_EQ(run(FindModeFind, [&] {
                  type("cbo_Data", longText);
                  click("cmd_Down");
                  EXPECT_TRUE(dialog.isVisible());
                  EXPECT_EQ(child<QComboBox>("cbo_Data")->currentText(), longText);
              }),
              FindCancelled);
    EXPECT_EQ(prompt.last().text, "検索文字が長すぎます。");
    EXPECT_EQ(dialog.searchText, "");
    // A character the code page cannot hold (and no lent code is left for) beeps; TAB becomes a
    // space.
    const FullLentArea full;
    EXPECT_EQ(run(FindModeFind, [&] { type("cbo_Data", QStringLiteral("a\u00E9")); click("cmd_Down"); }),
              FindCancelled);
    EXPECT_EQ(prompt.beeps(), 1);
    EXPECT_EQ(run(FindModeFind, [&] { type("cbo_Data", QStringLiteral("a\tb")); click("cmd_Down"); }), FindDown);
    EXPECT_EQ(dialog.searchText, "a b");
    EXPECT_EQ(child<QComboBox>("cbo_Data")->lineEdit()->maxLength(), 50);
    // The filter holds 50 characters of two bytes each.
    EXPECT_EQ(run(FindModeFilter, [&] { type("cbo_Data", longText); click("cmd_Filter"); }), FindDown);
    EXPECT_EQ(dialog.searchText.size(), 52u);
}

TEST_F(FindDialogTest, TheRegexBoxInEveryModeDisablesTheMethodsAndRefusesFaultyPatterns) {
    auto* regexBox = child<QCheckBox>("chk_Regex");
    ASSERT_NE(regexBox, nullptr);
    EXPECT_EQ(regexBox->text(), QStringLiteral("正規表現(&X)"));
    std::vector<bool> shown;
    for (int mode : {FindModeFind, FindModeReplace, FindModeFilter})
        run(mode, [&] { shown.push_back(regexBox->isVisible()); });
    EXPECT_EQ(shown, (std::vector<bool>{true, true, true}));

    // Ticked, the method lists are of no use.
    run(FindModeFind, [&] { QTest::mouseClick(regexBox, Qt::LeftButton); });
    EXPECT_TRUE(regexBox->isChecked());
    EXPECT_FALSE(child<QComboBox>("cbo_Kind")->isEnabled());
    EXPECT_FALSE(child<QComboBox>("cbo_KindRep")->isEnabled());
    EXPECT_EQ(dialog.matchKind(), 20);
    child<QCheckBox>("chk_Case")->setChecked(true);
    EXPECT_EQ(dialog.matchKind(), 21);
    dialog.showMode(FindModeReplace);
    EXPECT_EQ(dialog.matchKind(), 21);

    // A faulty pattern keeps the dialog open in every mode, the filter's included.
    for (auto [mode, button] : {std::pair{FindModeFind, "cmd_Down"}, std::pair{FindModeFilter, "cmd_Filter"}}) {
        prompt.answer(PromptAnswer::Ok);
        EXPECT_EQ(run(mode, [&, button = button] {
                      type("cbo_Data", QStringLiteral("(漢字"));
                      click(button);
                      EXPECT_TRUE(dialog.isVisible());
                  }),
                  FindCancelled);
        EXPECT_EQ(prompt.last().text, "正規表現に誤りがあります。(4文字目：missing closing parenthesis)");
    }
    EXPECT_EQ(run(FindModeReplace, [&] {
                  type("cbo_Data", QStringLiteral("(\\d+)円"));
                  type("cbo_Press", QStringLiteral("$1"));
                  click("cmd_Press");
              }),
              FindReplaceAll);
    EXPECT_EQ(dialog.searchText, "(\\d+)\x89\x7E");
    regexBox->setChecked(false);
    EXPECT_TRUE(child<QComboBox>("cbo_KindRep")->isEnabled());
    EXPECT_EQ(dialog.matchKind(), 7);
}
