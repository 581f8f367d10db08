// Clipboard, row, column and colour commands on a real main window, through the real
// clipboard, the Edit menu, the grid's keys, the palette slots and the toolbar.
#include "app/CommandSurfaces.h"
#include "app/CommandTable.h"
#include "app/TfrmMain.h"
#include "platform/core/GivenCodes.h"
#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "view/CMyHyoDraw.h"
#include "view/GridWidget.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

class ClipboardCommandsTest : public ::testing::Test {
protected:
    void open(const std::string& bytes) {
        const std::string path = home.write("c.csv", bytes);
        w = std::make_unique<TfrmMain>(std::vector<std::string>{path});
        w->resize(900, 600);
        w->show();
        w->gridWidget().setFocus();
        w->hyo().journal().clear();
    }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&w->gridWidget(), static_cast<Qt::Key>(key), modifiers);
    }
    void trigger(const char* name) { w->findChild<QAction*>(name)->trigger(); }
    void select(int kind, int c1, int r1, int c2, int r2) {
        w->view().setSelection(SelMade, kind, CellBlock{c1, r1, c2, r2});
    }
    void cursorOnly(int column, int row) {
        w->view().clearSelection();
        w->goToCell(column, row);
    }
    std::string cell(int c, int r) { return w->hyo().cellString(c, r); }
    std::string rows() {
        std::string out;
        for (int i = 0; i < w->hyo().storeRowCount(); ++i) out += w->hyo().rowList().line(i) + "|";
        return out;
    }
    static QString clip() { return QApplication::clipboard()->text(); }
    static void setClip(const QString& text) { QApplication::clipboard()->setText(text); }

    TempHome home;
    ScriptedPrompt prompt;
    std::unique_ptr<TfrmMain> w;
};

} // namespace

TEST_F(ClipboardCommandsTest, CopiedRangePastesElsewhereKeepingTheTargetsColours) {
    open("a,b,c\r\nd,\"e\r\nf\",g\r\n");
    w->hyo().setCellAttribute(2, 3, AttrBackColour, 6, 1, 1);
    const std::string before = rows();
    w->goToCell(0, 0);
    press(Qt::Key_Right, Qt::ShiftModifier);
    press(Qt::Key_Down, Qt::ShiftModifier);
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clip(), QStringLiteral("a\tb\r\nd\t\"e\r\nf\"\r\n"));

    cursorOnly(2, 3);
    prompt.answer(PromptAnswer::Ok);   // quotes around a line break were taken as enclosing
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_NE(prompt.last().text.find("ダブルコーテーションを囲みと判断しました。"), std::string::npos);
    EXPECT_EQ(cell(2, 3) + cell(3, 3) + cell(2, 4) + cell(3, 4), "abde\r\nf");
    EXPECT_EQ(w->hyo().cellAttribute(2, 3, AttrBackColour), 6);
    EXPECT_TRUE(w->document().modified);
    trigger("mnuEditUndo");
    EXPECT_EQ(rows(), before);

    // Without line breaks the same text keeps its quotes and splits at the break.
    cursorOnly(0, 5);
    trigger("mnuEditPasteNoRet");
    EXPECT_EQ(cell(0, 5) + "|" + cell(1, 5) + "|" + cell(0, 6) + "|" + cell(0, 7), "a|b|d|f\"");
    EXPECT_EQ(cell(1, 6), "\"e");
    EXPECT_EQ(prompt.shown().size(), 1u);
}

TEST_F(ClipboardCommandsTest, TextFromOtherProgramsInEveryLineEnding) {
    GivenCodes::reset();
    open("k\r\n");
    setClip(QString::fromUtf8("x,1\t\"q\"\"\n2\r\n3\r4\t😀\tα\tt\tab"));
    cursorOnly(1, 0);
    trigger("mnuEditPaste");
    EXPECT_EQ(prompt.beeps(), 0);   // the emoji borrows the first user-defined code
    EXPECT_EQ(rows(), "k\tx,1\t\"q\"\"|\t2|\t3|\t4\t\xF0\x40\t\x83\xbf\tt\tab|");
    EXPECT_TRUE(prompt.shown().empty());

    // Transposed: the text's rows become columns.
    setClip(QStringLiteral("1\t2\t3\n4\n"));
    cursorOnly(0, 5);
    trigger("mnuEditPasteRote");
    EXPECT_EQ(cell(0, 5) + cell(0, 6) + cell(0, 7) + cell(1, 5) + cell(1, 6), "1234");
    prompt.answer(PromptAnswer::Ok);
    select(SelCells, 0, 0, 1, 0);
    trigger("mnuEditPasteRote");
    EXPECT_EQ(prompt.last().text, "貼付（縦横変換）では範囲指定出来ません。");

    // An empty clipboard beeps and nothing else.
    QApplication::clipboard()->clear();
    const std::string kept = rows();
    trigger("mnuEditPaste");
    EXPECT_EQ(prompt.beeps(), 1);
    EXPECT_EQ(rows(), kept);
}

// Characters Shift-JIS lacks go into cells and come out again as themselves, private use too.
TEST_F(ClipboardCommandsTest, CharactersOutsideShiftJisCrossTheClipboardBothWays) {
    GivenCodes::reset();
    open("\x82\xA0,\xF0\x40\r\n");   // the file's own user-defined character F040 (U+E000)
    const QString text = QString::fromUtf8("Jos\u00e9\t\U0001F363 sushi\r\n\uAE40\uCE58\t\ue000\u301c\r\n");
    setClip(text);
    cursorOnly(0, 1);
    trigger("mnuEditPaste");
    EXPECT_EQ(prompt.beeps(), 0);
    EXPECT_EQ(rows(), "\x82\xA0\t\xF0\x40|Jos\xF0\x41\t\xF0\x42 sushi|\xF0\x43\xF0\x44\t\xF0\x40\xF0\x45|");
    select(SelCells, 0, 0, 1, 2);
    trigger("mnuEditCopy");
    EXPECT_EQ(clip(), QString::fromUtf8("\u3042\t\ue000\r\n") + text);
}

TEST_F(ClipboardCommandsTest, LimitsAreRefusedWithTheirMessages) {
    open("a\r\n");
    prompt.answer(PromptAnswer::Ok);
    cursorOnly(3, 3);
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(prompt.last().text, "コピーするデータがありません。");

    // Rows 0-999 copy to 5,000,001 bytes with their CR LF, rows 1-1000 to exactly 5,000,000.
    CMyHyo& hyo = w->hyo();
    const bool was = hyo.journal().setRecording(false);
    for (int row = 0; row < 999; ++row) hyo.setRow(row, std::string(4998, 'a'));
    hyo.setRow(999, std::string(4999, 'a'));
    hyo.setRow(1000, std::string(4997, 'a'));
    hyo.setWidestRow(1);
    hyo.journal().setRecording(was);
    setClip(QStringLiteral("before"));
    select(SelCells, 0, 0, 0, 999);
    prompt.answer(PromptAnswer::Ok);
    trigger("mnuEditCopy");
    EXPECT_EQ(prompt.last().text, "サイズをオーバーしました。5Mバイト以上のコピーはできません。");
    EXPECT_EQ(clip(), QStringLiteral("before"));
    select(SelCells, 0, 1, 0, 1000);
    trigger("mnuEditCopy");
    EXPECT_EQ(clip().size(), 5000000);

    setClip(QString(10000001, QLatin1Char('z')));
    prompt.answer(PromptAnswer::Ok);
    cursorOnly(0, 0);
    trigger("mnuEditPaste");
    EXPECT_EQ(prompt.last().text, "サイズをオーバーしました。10Mバイト以上の貼り付けはできません。");
    setClip(QStringLiteral("1\t2\t3"));
    prompt.answer(PromptAnswer::Ok);
    w->view().setCurrentCell(997, 0);   // beyond the navigable columns of this narrow table
    trigger("mnuEditPaste");
    EXPECT_EQ(prompt.last().text, "貼り付けるデータが多すぎます。");
    EXPECT_EQ(hyo.cellString(0, 0), std::string(4998, 'a'));
    EXPECT_EQ(hyo.journal().entryCount(), 0);

    // A full table takes no more rows, from Ctrl+I either.
    hyo.journal().setRecording(false);
    hyo.setRow(499999, "end");
    hyo.journal().setRecording(true);
    cursorOnly(0, 2);
    prompt.answer(PromptAnswer::Ok);
    press(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(prompt.last().text, "挿入される行が多すぎます。");
    EXPECT_EQ(hyo.storeRowCount(), 500000);
    EXPECT_FALSE(w->document().modified);
}

TEST_F(ClipboardCommandsTest, CtrlXCopiesThenClears) {
    open("a,b\r\nc,d\r\n");
    w->goToCell(0, 0);
    press(Qt::Key_Down, Qt::ShiftModifier);
    press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(clip(), QStringLiteral("a\r\nc\r\n"));
    EXPECT_EQ(rows(), "\tb|\td|");
    trigger("mnuEditUndo");
    EXPECT_EQ(rows(), "a\tb|c\td|");
}

TEST_F(ClipboardCommandsTest, RowAndColumnCommandsFromThePaletteSlots) {
    open("a,b,c\r\nd,e,f\r\ng,h,i\r\n");
    CommandSurfaces& commands = w->commands();
    // Without a whole-row selection the row commands do nothing.
    cursorOnly(0, 1);
    EXPECT_FALSE(commands.runPaletteSlot(1, 1));
    select(SelRows, -1, 1, -2, 2);
    EXPECT_TRUE(commands.runPaletteSlot(1, 1));   // 行の挿入
    EXPECT_EQ(rows(), "a\tb\tc|||d\te\tf|g\th\ti|");
    EXPECT_TRUE(w->document().modified);
    EXPECT_TRUE(commands.runPaletteSlot(1, 2));   // 行の削除
    EXPECT_EQ(rows(), "a\tb\tc|d\te\tf|g\th\ti|");
    EXPECT_EQ(w->findChild<QScrollBar*>("scr_Right")->maximum(), w->view().gridRows());

    select(SelColumns, 1, -1, 1, -2);
    EXPECT_TRUE(commands.runPaletteSlot(2, 2));   // 列の挿入
    EXPECT_EQ(rows(), "a\t\tb\tc|d\t\te\tf|g\t\th\ti|");
    select(SelColumns, 0, -1, 1, -2);
    EXPECT_TRUE(commands.runPaletteSlot(2, 3));   // 列の削除
    EXPECT_EQ(rows(), "b\tc|e\tf|h\ti|");
    trigger("mnuEditUndo");
    trigger("mnuEditUndo");
    trigger("mnuEditUndo");
    trigger("mnuEditUndo");
    EXPECT_EQ(rows(), "a\tb\tc|d\te\tf|g\th\ti|");

    // 列幅調整 does not mark the document; the column kind does.
    w->updateCaption(false, true);
    select(SelColumns, 0, -1, 0, -2);
    EXPECT_TRUE(commands.runPaletteSlot(2, 0));
    // Its longest text is one byte: one character width and 10 pixels, at least 20.
    EXPECT_EQ(w->hyo().columnWidth(0),
              static_cast<int>(std::max(w->view().charWidth() + 10, 20) / w->view().scale()));
    EXPECT_FALSE(w->document().modified);
    trigger("tb_KindNum");
    EXPECT_EQ(w->hyo().columnKind(0), 1);
    EXPECT_EQ(w->hyo().columnAlignment(0), 1);
    EXPECT_TRUE(w->document().modified);
    trigger("mnuEditUndo");
    EXPECT_EQ(w->hyo().columnKind(0), 0);
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(ClipboardCommandsTest, ColoursGoToCellsRowsOrColumnsByTheSelection) {
    open("a,b\r\nc,d\r\n");
    const Command* back3 = CommandTable::find("cmdBackColour3");
    const Command* textNone = CommandTable::find("cmdTextColourNone");
    ASSERT_TRUE(back3 && textNone);
    select(SelCells, 0, 0, 1, 0);
    EXPECT_TRUE(w->commands().run(*back3));
    EXPECT_EQ(rows(), "\x02\x05\x03" "a\t\x02\x05\x03" "b|c\td|");
    select(SelRows, -1, 0, -2, 0);
    EXPECT_TRUE(w->commands().run(*back3));
    EXPECT_EQ(rows(), "\x07\x02\x05\x03" "a\tb|c\td|");
    select(SelColumns, 1, -1, 1, -2);
    EXPECT_TRUE(w->commands().run(*back3));
    EXPECT_EQ(w->hyo().columnColour(1, AttrBackColour), 3);
    w->hyo().setCellAttribute(0, 1, AttrTextColour, 2, 1, 1);
    select(SelCells, 0, 1, 0, 1);
    EXPECT_TRUE(w->commands().run(*textNone));
    EXPECT_EQ(w->hyo().cellAttribute(0, 1, AttrTextColour), -1);
    for (int i = 0; i < 4; ++i) trigger("mnuEditUndo");
    EXPECT_EQ(rows(), "a\tb|\x02\x04\x02" "c\td|");
    EXPECT_EQ(w->hyo().columnColour(1, AttrBackColour), NoColour);
}
