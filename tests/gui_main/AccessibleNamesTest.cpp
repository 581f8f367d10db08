// Every control is found by its caption: toolbar buttons by their hint, fields by the label
// set as their buddy, which also gives them their accessible name.
#include "app/TfrmMain.h"

#include "dialogs/TfrmFind.h"
#include "dialogs/TfrmOption.h"
#include "print/PrinterSetup.h"
#include "print/TfrmPrnDlg.h"
#include "settings/CMyGlobal.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "view/CMyHyoCom.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

// The label's caption without its accelerator mark, as screen readers say it.
QString spoken(const QLabel* label) {
    QString text = label->text();
    return text.remove(QLatin1Char('&'));
}

// Each of `fields` is the buddy of a label and carries the label's caption as its accessible
// name.
void expectLabelled(QWidget& dialog, std::initializer_list<const char*> fields) {
    for (const char* name : fields) {
        QWidget* field = dialog.findChild<QWidget*>(name);
        ASSERT_TRUE(field) << name;
        const QLabel* label = nullptr;
        for (const QLabel* l : dialog.findChildren<QLabel*>())
            if (l->buddy() == field) label = l;
        ASSERT_TRUE(label) << name << " has no label";
        EXPECT_FALSE(field->accessibleName().isEmpty()) << name;
        EXPECT_EQ(field->accessibleName(), spoken(label)) << name;
    }
}

} // namespace

TEST(AccessibleNames, ToolbarButtonsAreNamedByTheirHints) {
    TempHome home;
    ScriptedPrompt prompt;
    TfrmMain w(std::vector<std::string>{});
    QToolBar* bar = w.findChild<QToolBar*>();
    ASSERT_TRUE(bar);
    int buttons = 0;
    for (QAction* a : bar->actions()) {
        if (a->isSeparator()) continue;
        QWidget* button = bar->widgetForAction(a);
        ASSERT_TRUE(button);
        EXPECT_FALSE(button->accessibleName().isEmpty()) << a->objectName().toStdString();
        EXPECT_EQ(button->accessibleName(), a->toolTip());
        EXPECT_EQ(button->toolTip(), a->toolTip());
        ++buttons;
    }
    EXPECT_GT(buttons, 10);
    QWidget* save = bar->widgetForAction(w.findChild<QAction*>("tb_Save"));
    EXPECT_EQ(save->accessibleName(), QStringLiteral("ファイルを保存する"));
}

TEST(AccessibleNames, FindPrintAndOptionFieldsHaveLabelsAsBuddies) {
    TempHome home;
    CMyGlobal global;
    CMyHyoCom com;
    TfrmFind find(global, com);
    find.showMode(FindModeReplace);
    expectLabelled(find, {"cbo_Data", "cbo_Press", "cbo_KindRep"});
    QLabel* kind = find.findChild<QLabel*>("lbl_Kind");
    ASSERT_TRUE(kind);
    EXPECT_EQ(kind->buddy(), find.findChild<QWidget*>("cbo_KindRep"));
    find.showMode(FindModeFind);
    expectLabelled(find, {"cbo_Data", "cbo_Kind"});

    PrinterSetup setup;
    TfrmPrnDlg print(nullptr, setup, QStringLiteral("a.csv"), 1);
    expectLabelled(print, {"txt_DevName", "txt_Paper", "txt_Orientation", "txt_PageTo"});
    EXPECT_EQ(print.findChild<QLineEdit*>("txt_PageFrom")->accessibleName(), QStringLiteral("ページ指定"));

    TfrmOption options(global);
    expectLabelled(options, {"cbo_ReadMozi", "cbo_SelColorNo", "cbo_Scale", "cbo_CardScale", "cbo_PrintKind",
                             "txt_FdListMax", "txt_UndoSize"});
    // The lists without a label of their own are named after their group, each differently.
    QSet<QString> names;
    for (const char* name : {"cbo_MakeFD", "cbo_RetCode", "cbo_Mozi", "cbo_EditRetCode", "cbo_EditMozi",
                             "cbo_KougoLine", "cbo_KougoCrIndex", "cbo_KougoLineMode", "cbo_KougoCrIndexMode"}) {
        const QString spokenName = options.findChild<QComboBox*>(name)->accessibleName();
        EXPECT_FALSE(spokenName.isEmpty()) << name;
        names.insert(spokenName);
    }
    EXPECT_EQ(names.size(), 9);
    EXPECT_TRUE(names.contains(QStringLiteral("色情報ファイル(VXC)の扱い")));
}
