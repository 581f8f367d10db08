// The options dialog: filling from vexil.ini, every control back into the file, the number
// fields' limits, the reactions between controls and the run-only OK.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <map>

#include "dialogs/TfrmOption.h"
#include "platform/core/ProfileFile.h"
#include "settings/CMyGlobal.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

namespace {

std::map<std::string, int> savedOptions(const TempHome& home) {
    ProfileFile ini;
    ini.load(home.file("vexil.ini"));
    std::map<std::string, int> values;
    for (const char* key : {"MAKEFD", "MAKEFDLISTMAX", "DBLKIND", "LINECUR_UMU", "CELLOVER",
                            "UNDOSIZE", "SCALE", "CARD_SCALE", "SIMPLE_CALC", "ENDLINE", "KG_LINE",
                            "KG_LINE_IDX", "PRINT_KIND", "F_DBL_RETONLY", "CP_DBL_RETONLY",
                            "CELL_RET_VIEW", "TAB_RET_WARNING", "SEL_COLORNO", "R_MOZICODE",
                            "MOZICODE", "RETCODE", "BOM"})
        values[key] = ini.hasKey("OPT", key) ? ini.readInt("OPT", key, -999) : -999;
    return values;
}

struct OptionForm {
    explicit OptionForm(CMyGlobal& g) : dialog(g) { dialog.show(); }
    template <class W> W* get(const char* name) {
        W* w = dialog.findChild<W*>(name);
        EXPECT_TRUE(w) << name;
        return w;
    }
    QComboBox* combo(const char* name) { return get<QComboBox>(name); }
    QCheckBox* box(const char* name) { return get<QCheckBox>(name); }
    void type(const char* name, const QString& text) {
        QLineEdit* edit = dialog.findChild<QLineEdit*>(name);
        if (!edit) edit = combo(name)->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    void click(const char* name) {
        QAbstractButton* b = get<QAbstractButton>(name);
        // Radio buttons react on their indicator and caption, which sit at the left edge.
        const QPoint at = qobject_cast<QPushButton*>(b) ? b->rect().center() : QPoint(8, b->height() / 2);
        QTest::mouseClick(b, Qt::LeftButton, {}, at);
    }
    // Keyboard choice in a closed combo box, as a user makes it (fires `activated`).
    void choose(const char* name, int entry) {
        QComboBox* c = combo(name);
        c->setFocus();
        while (c->currentIndex() < entry) QTest::keyClick(c, Qt::Key_Down);
        while (c->currentIndex() > entry) QTest::keyClick(c, Qt::Key_Up);
    }
    TfrmOption dialog;
};

} // namespace

TEST(OptionDialog, EveryControlRoundTripsThroughVexilIni) {
    TempHome home;
    home.write("vexil.ini",
               "[OPT]\r\nMAKEFD=2\r\nMAKEFDLISTMAX=50\r\nDBLKIND=2\r\nLINECUR_UMU=0\r\nCELLOVER=0\r\n"
               "UNDOSIZE=1500\r\nSCALE=130\r\nCARD_SCALE=250\r\nSIMPLE_CALC=0\r\nENDLINE=0\r\n"
               "KG_LINE=3\r\nKG_LINE_IDX=4\r\nPRINT_KIND=2\r\nF_DBL_RETONLY=0\r\nCP_DBL_RETONLY=0\r\n"
               "CELL_RET_VIEW=0\r\nTAB_RET_WARNING=0\r\nSEL_COLORNO=0\r\nR_MOZICODE=10\r\n"
               "MOZICODE=15\r\nRETCODE=2\r\nBOM=0\r\n");
    CMyGlobal g;
    g.loadSettings(1920, 1080);
    {
        OptionForm f(g);
        EXPECT_EQ(f.combo("cbo_MakeFD")->currentIndex(), 2);
        EXPECT_EQ(f.get<QLineEdit>("txt_FdListMax")->text(), QStringLiteral("50"));
        EXPECT_TRUE(f.get<QLineEdit>("txt_FdListMax")->isVisible());
        EXPECT_EQ(f.combo("cbo_ReadMozi")->currentIndex(), 3);
        EXPECT_TRUE(f.get<QRadioButton>("rdo_DblText")->isChecked());
        EXPECT_FALSE(f.box("chk_FileDblRetOnly")->isEnabled());
        EXPECT_EQ(f.combo("cbo_Mozi")->currentIndex(), 1);
        EXPECT_EQ(f.combo("cbo_RetCode")->currentIndex(), 2);
        EXPECT_TRUE(f.box("chk_BOM")->isEnabled());
        EXPECT_FALSE(f.box("chk_BOM")->isChecked());
        EXPECT_EQ(f.get<QLineEdit>("txt_UndoSize")->text(), QStringLiteral("1"));
        EXPECT_EQ(f.combo("cbo_Scale")->currentText(), QStringLiteral("130"));
        EXPECT_EQ(f.combo("cbo_CardScale")->currentText(), QStringLiteral("250"));
        EXPECT_EQ(f.combo("cbo_KougoLine")->currentIndex(), 3);
        EXPECT_EQ(f.combo("cbo_KougoCrIndex")->currentIndex(), 4);
        EXPECT_TRUE(f.box("chk_EndLine")->isChecked());   // bands hold the end lines on
        EXPECT_FALSE(f.box("chk_EndLine")->isEnabled());
        EXPECT_EQ(f.combo("cbo_PrintKind")->currentIndex(), 2);
        EXPECT_EQ(f.combo("cbo_SelColorNo")->currentIndex(), 0);
        f.click("cmd_Ok");
        EXPECT_TRUE(f.dialog.dialogAccepted());
    }
    const std::map<std::string, int> expected = {
        {"MAKEFD", 2}, {"MAKEFDLISTMAX", 50}, {"DBLKIND", 2}, {"LINECUR_UMU", 0}, {"CELLOVER", 0},
        {"UNDOSIZE", 1500}, {"SCALE", 130}, {"CARD_SCALE", 250}, {"SIMPLE_CALC", 0},
        {"ENDLINE", 1}, {"KG_LINE", 3}, {"KG_LINE_IDX", 4}, {"PRINT_KIND", 2},
        {"F_DBL_RETONLY", 0}, {"CP_DBL_RETONLY", 0}, {"CELL_RET_VIEW", 0},
        {"TAB_RET_WARNING", 0}, {"SEL_COLORNO", 0}, {"R_MOZICODE", 10}, {"MOZICODE", 15},
        {"RETCODE", 2}, {"BOM", 0}};
    EXPECT_EQ(savedOptions(home), expected);

    // Now change every control and read the file back into a fresh settings object.
    {
        OptionForm f(g);
        f.combo("cbo_MakeFD")->setCurrentIndex(0);
        EXPECT_FALSE(f.get<QLineEdit>("txt_FdListMax")->isVisible());
        f.type("txt_FdListMax", "999");
        f.combo("cbo_ReadMozi")->setCurrentIndex(0);
        f.click("rdo_DblNo");
        f.box("chk_FileDblRetOnly")->setChecked(true);
        f.combo("cbo_Mozi")->setCurrentIndex(2);
        f.combo("cbo_RetCode")->setCurrentIndex(1);
        f.box("chk_BOM")->setChecked(true);
        f.box("chk_LineCurUmu")->setChecked(true);
        f.box("chk_CellOver")->setChecked(true);
        f.box("chk_RetView")->setChecked(true);
        f.combo("cbo_SelColorNo")->setCurrentIndex(1);
        f.type("cbo_Scale", "80");
        f.type("cbo_CardScale", "400");
        f.combo("cbo_KougoLine")->setCurrentIndex(0);
        EXPECT_TRUE(f.box("chk_EndLine")->isEnabled());
        f.box("chk_EndLine")->setChecked(false);
        f.box("chk_CPDblRetOnly")->setChecked(true);
        f.box("chk_TabRetWarning")->setChecked(true);
        f.type("txt_UndoSize", "2500");
        f.box("chk_SimpleCalc")->setChecked(true);
        f.combo("cbo_PrintKind")->setCurrentIndex(1);
        f.click("cmd_Ok");
    }
    CMyGlobal again;
    again.loadSettings(1920, 1080);
    EXPECT_EQ(again.colourFileMode(), 0);
    EXPECT_EQ(again.colourListMax(), 999);
    EXPECT_EQ(again.readEncoding(), -1);
    EXPECT_EQ(again.quoteKind(), 0);
    EXPECT_TRUE(again.fileQuoteLineBreakOnly());
    EXPECT_EQ(again.startEncoding(), 10);
    EXPECT_EQ(again.startLineEnd(), 1);
    EXPECT_TRUE(again.startBom());
    EXPECT_TRUE(again.showLineCursor());
    EXPECT_TRUE(again.cellOverflow());
    EXPECT_TRUE(again.showCellLineBreaks());
    EXPECT_EQ(again.selectionColour(), 1);
    EXPECT_EQ(again.viewScale(), 80);
    EXPECT_EQ(again.cardScale(), 400);
    EXPECT_EQ(again.alternateRows(), 0);
    EXPECT_EQ(again.alternateColour(), 4);
    EXPECT_EQ(again.showEndLine(), 0);
    EXPECT_TRUE(again.copyQuoteLineBreakOnly());
    EXPECT_TRUE(again.lineBreakCopyWarning());
    EXPECT_EQ(again.undoSize(), 2500000);
    EXPECT_TRUE(again.simpleCalc());
    EXPECT_EQ(again.printKind(), 1);
}

TEST(OptionDialog, NumberFieldsAreLimitedBeforeTheyAreStored) {
    TempHome home;
    CMyGlobal g;
    g.loadSettings(1920, 1080);
    struct Case { const char *listMax, *undo, *scale; int32_t wantList, wantUndo, wantScale; };
    const Case cases[] = {
        {"5", "0", "450", 10, 1000, 100},           // 450 is outside 50-400: zoom unchanged
        {"x", "abc", "250", 200, 1000, 250},        // 250 is not in the list, still accepted
        {"-3", "99999999999999999999", "z", 10, 1000000000, 100},
        {"20", "1000000", "100", 20, 1000000000, 100},
        {"20", "1000001", "100", 20, 1000000000, 100},
        {"12", "-7", "50", 12, 1000, 50},
    };
    for (const Case& c : cases) {
        OptionForm f(g);
        f.combo("cbo_MakeFD")->setCurrentIndex(2);
        f.type("txt_FdListMax", c.listMax);
        f.type("txt_UndoSize", c.undo);
        f.type("cbo_Scale", c.scale);
        f.click("cmd_Ok");
        EXPECT_EQ(g.colourListMax(), c.wantList) << c.listMax;
        EXPECT_EQ(g.undoSize(), c.wantUndo) << c.undo;
        EXPECT_EQ(g.viewScale(), c.wantScale) << c.scale;
    }
}

TEST(OptionDialog, TheRowOptionOutsideItsRangeKeepsTheLimit) {
    TempHome home;
    CMyGlobal g;
    g.loadSettings(1920, 1080);
    {
        OptionForm f(g);
        EXPECT_EQ(f.get<QLineEdit>("txt_MaxRow")->text(), QStringLiteral("500000"));
    }
    const struct { const char* typed; int32_t want; } cases[] = {
        {"3000000", 3000000}, {"499999", 3000000}, {"10000001", 3000000}, {"x", 3000000},
        {"10000000", 10000000}, {"500000", 500000}};
    for (const auto& c : cases) {
        OptionForm f(g);
        f.type("txt_MaxRow", c.typed);
        f.click("cmd_Ok");
        EXPECT_EQ(g.maxRows(), c.want) << c.typed;
    }
    OptionForm f(g);
    f.type("txt_MaxRow", "2500000");
    f.click("cmd_Ok");
    CMyGlobal again;
    again.loadSettings(1920, 1080);
    EXPECT_EQ(again.maxRows(), 2500000);
}

TEST(OptionDialog, QuoteChoicesAndTheirSamples) {
    TempHome home;
    CMyGlobal g;
    g.setFileQuoteLineBreakOnly(true);
    OptionForm f(g);
    QCheckBox* lineBreaksOnly = f.box("chk_FileDblRetOnly");
    EXPECT_TRUE(f.get<QRadioButton>("rdo_DblNo")->isChecked());
    EXPECT_TRUE(lineBreaksOnly->isEnabled());
    EXPECT_TRUE(lineBreaksOnly->isChecked());
    f.click("rdo_DblNoAll");
    EXPECT_FALSE(lineBreaksOnly->isEnabled());
    EXPECT_FALSE(lineBreaksOnly->isChecked());
    f.click("rdo_DblNo");
    EXPECT_TRUE(lineBreaksOnly->isEnabled());
    EXPECT_FALSE(lineBreaksOnly->isChecked());

    EXPECT_EQ(f.get<QLabel>("lbl_DblSample0")->text(), QStringLiteral("123,山田　太郎,\"値\"\"A,B\nC\","));
    EXPECT_EQ(f.get<QLabel>("lbl_DblSample1")->text(), QStringLiteral("\"123\",\"山田　太郎\",\"値\"\"A,B\nC\",\"\""));
    EXPECT_EQ(f.get<QLabel>("lbl_DblSample2")->text(), QStringLiteral("123,\"山田　太郎\",\"値\"\"A,B\nC\",\"\""));
    EXPECT_EQ(f.get<QLabel>("lbl_DblSample3")->text(), QStringLiteral("123[TAB]山田　太郎[TAB]値\"A,B\nC[TAB]"));
}

TEST(OptionDialog, AsReadChoiceIsTheNewDefaultAndStoredAsFour) {
    TempHome home;
    CMyGlobal g;
    g.loadSettings(1920, 1080);   // no vexil.ini yet
    OptionForm f(g);
    auto* asRead = f.get<QRadioButton>("rdo_DblAsRead");
    EXPECT_EQ(asRead->text(), QStringLiteral("読込時と同じ"));
    EXPECT_TRUE(asRead->isChecked());
    EXPECT_TRUE(f.box("chk_FileDblRetOnly")->isEnabled());
    EXPECT_EQ(f.get<QLabel>("lbl_DblSample4")->text(), QStringLiteral("\"123\",山田　太郎,\"値\"\"A,B\nC\",\"\""));
    f.click("rdo_DblAll");
    EXPECT_FALSE(f.box("chk_FileDblRetOnly")->isEnabled());
    f.click("rdo_DblAsRead");
    EXPECT_TRUE(f.box("chk_FileDblRetOnly")->isEnabled());
    f.click("cmd_Ok");
    EXPECT_EQ(savedOptions(home).at("DBLKIND"), 4);
    EXPECT_EQ(savedOptions(home).at("F_DBL_RETONLY"), 0);
}

TEST(OptionDialog, RunOnlyOkAsksForStartEncodingAndColourModeAndKeepsTheFile) {
    TempHome home;
    home.write("vexil.ini", "[OPT]\r\nMOZICODE=0\r\nMAKEFD=1\r\nSCALE=100\r\n");
    ScriptedPrompt prompt;
    CMyGlobal g;
    g.loadSettings(1920, 1080);
    OptionForm f(g);
    f.combo("cbo_Mozi")->setCurrentIndex(1);
    f.combo("cbo_MakeFD")->setCurrentIndex(2);
    f.type("cbo_Scale", "150");
    EXPECT_TRUE(f.dialog.startEncodingChanged());
    EXPECT_TRUE(f.dialog.colourModeChanged());

    prompt.answer(PromptAnswer::No);
    f.click("cmd_OkSave");
    EXPECT_TRUE(f.dialog.isVisible());
    EXPECT_FALSE(f.dialog.dialogAccepted());
    EXPECT_EQ(g.startEncoding(), 0);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "「起動時の文字コード」の内容は保持されません。\nよろしいですか？\n※保持する場合は「OK」ボタン");
    EXPECT_EQ(prompt.last().caption, "確認");
    EXPECT_EQ(prompt.last().buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompt.last().defaultAnswer, PromptAnswer::No);

    prompt.answer(PromptAnswer::Yes);
    prompt.answer(PromptAnswer::No);
    f.click("cmd_OkSave");
    EXPECT_TRUE(f.dialog.isVisible());
    EXPECT_EQ(prompt.last().text, "「色情報ファイルの扱い」の内容は保持されません。\nよろしいですか？\n※保持する場合は「OK」ボタン");

    prompt.answer(PromptAnswer::Yes);
    prompt.answer(PromptAnswer::Yes);
    f.click("cmd_OkSave");
    EXPECT_FALSE(f.dialog.isVisible());
    EXPECT_TRUE(f.dialog.dialogAccepted());
    EXPECT_EQ(g.startEncoding(), 15);   // for this run
    EXPECT_EQ(g.colourFileMode(), 2);
    const std::map<std::string, int> file = savedOptions(home);
    EXPECT_EQ(file.at("MOZICODE"), 0);   // the file keeps the old values
    EXPECT_EQ(file.at("MAKEFD"), 1);
}

TEST(OptionDialog, UnchangedUndoFieldKeepsAnOddSizeAndCancelStoresNothing) {
    TempHome home;
    CMyGlobal g;
    g.setUndoSize(1500);
    g.setViewScale(120);
    {
        OptionForm f(g);
        f.click("cmd_Ok");
        EXPECT_EQ(g.undoSize(), 1500);
    }
    {
        OptionForm f(g);
        f.type("txt_UndoSize", "7");
        f.type("cbo_Scale", "200");
        f.click("cmd_Cancel");
        EXPECT_FALSE(f.dialog.dialogAccepted());
        EXPECT_EQ(g.undoSize(), 1500);
        EXPECT_EQ(g.viewScale(), 120);
    }
    EXPECT_EQ(TempHome::read(home.file("vexil.ini")).find("UNDOSIZE=7000"), std::string::npos);
}

TEST(OptionDialog, DocumentFormatAlternateModeAndBands) {
    TempHome home;
    CMyGlobal g;   // KG_LINE 0
    OptionForm f(g);
    QComboBox* bandColour = f.combo("cbo_KougoCrIndex");
    EXPECT_FALSE(bandColour->isEnabled());
    f.combo("cbo_KougoLine")->setCurrentIndex(2);
    EXPECT_TRUE(bandColour->isEnabled());
    EXPECT_TRUE(f.box("chk_EndLine")->isChecked());
    EXPECT_FALSE(f.box("chk_EndLine")->isEnabled());

    f.dialog.setEditingFormat(0, true, 2);
    EXPECT_FALSE(f.box("chk_EditBOM")->isEnabled());
    EXPECT_EQ(f.combo("cbo_EditRetCode")->currentIndex(), 2);
    f.combo("cbo_EditMozi")->setCurrentIndex(2);
    EXPECT_TRUE(f.box("chk_EditBOM")->isEnabled());
    f.box("chk_EditBOM")->setChecked(false);
    f.combo("cbo_EditRetCode")->setCurrentIndex(0);

    f.dialog.setAlternateMode(false, 9, 3);   // a band out of the list shows entry 0
    EXPECT_EQ(f.combo("cbo_KougoLineMode")->currentIndex(), 0);
    EXPECT_EQ(f.combo("cbo_KougoCrIndexMode")->currentIndex(), 3);
    EXPECT_FALSE(f.box("chk_KougoMode")->isChecked());
    f.choose("cbo_KougoLineMode", 3);
    EXPECT_TRUE(f.box("chk_KougoMode")->isChecked());

    f.dialog.setPage(TfrmOption::EditPage);
    f.click("cmd_Ok");
    EXPECT_EQ(f.dialog.editEncoding(), 10);
    EXPECT_FALSE(f.dialog.editBom());
    EXPECT_EQ(f.dialog.editLineEnd(), 0);
    EXPECT_TRUE(f.dialog.alternateModeOn());
    EXPECT_EQ(f.dialog.alternateBand(), 4);
    EXPECT_EQ(f.dialog.alternateColour(), 3);
    EXPECT_EQ(f.dialog.page(), 2);
    EXPECT_EQ(g.alternateRows(), 2);
    EXPECT_EQ(g.showEndLine(), 1);
}
