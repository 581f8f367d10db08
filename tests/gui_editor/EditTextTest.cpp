// The in-cell editor's text model on its own, without a widget: character steps over
// double-byte characters, limits, line breaks and what keys report.
#include "editor/EditText.h"
#include "platform/core/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

EditText opened(const std::string& text, int limit = 5001, bool typing = false) {
    EditText t;
    t.reset(false);
    EXPECT_TRUE(t.load(text.c_str()));
    t.begin(typing, false);
    t.setLimit(limit);
    return t;
}

TEST(EditTextTest, CaretStepsOverDoubleByteCharactersAndSelectsWithShift) {
    const std::string a = CodePage::toCp932("あ");
    EditText t = opened("x" + a + "y");
    EXPECT_EQ(t.keyDown(Qt::Key_Right, Qt::NoModifier).result, EditText::KeyHandled);
    t.keyDown(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(t.caretPosition(), 3);
    EXPECT_EQ(t.selectedText(), a);
    t.keyDown(Qt::Key_Delete, Qt::NoModifier);
    EXPECT_EQ(t.text(), "xy");
    EXPECT_EQ(t.totalLength(), 2);
}

TEST(EditTextTest, LimitsRefuseTypingAndLineBreaks) {
    EditText t = opened("ab", 4);  // room for one more byte: the total stays below the limit
    EXPECT_TRUE(t.typeSingle('c'));
    EXPECT_FALSE(t.typeSingle('d'));
    EXPECT_FALSE(t.typeDouble(0x82, 0xA0));
    EXPECT_FALSE(t.typeSingle('\t'));
    const EditText::KeyStep step = t.keyDown(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(step.lineAdded);
    EXPECT_EQ(t.text(), "cab");
    EXPECT_EQ(t.lineCount(), 1);
}

TEST(EditTextTest, CtrlEnterSplitsAndBackspaceJoinsUnlessTooLong) {
    EditText t = opened("abcd");
    t.keyDown(Qt::Key_Right, Qt::NoModifier);
    t.keyDown(Qt::Key_Right, Qt::NoModifier);
    EXPECT_TRUE(t.keyDown(Qt::Key_Enter, Qt::ControlModifier).lineAdded);
    EXPECT_EQ(t.text(), "ab\r\ncd");
    EXPECT_EQ(t.totalLength(), 6);
    t.keyDown(Qt::Key_Backspace, Qt::NoModifier);
    EXPECT_EQ(t.text(), "abcd");

    const std::string half(EditText::LineCapacity / 2 + 1, 'z');
    EditText wide = opened(half + "\r\n" + half, 20000);
    wide.keyDown(Qt::Key_Down, Qt::NoModifier);
    wide.keyDown(Qt::Key_Backspace, Qt::NoModifier);  // together over the capacity
    EXPECT_EQ(wide.lineCount(), 2);
}

TEST(EditTextTest, KeysReportCommitCancelAndTypingModeMoves) {
    EditText typing = opened("a", 5001, true);
    EXPECT_EQ(typing.keyDown(Qt::Key_Left, Qt::NoModifier).result, EditText::KeyCommitAndMove);
    EXPECT_EQ(typing.keyDown(Qt::Key_Home, Qt::NoModifier).result, EditText::KeyCommit);
    const EditText::KeyStep enter = typing.keyDown(Qt::Key_Return, Qt::NoModifier);
    EXPECT_TRUE(enter.close);
    EXPECT_EQ(enter.result, EditText::KeyCommitAndMove);
    const EditText::KeyStep escape = opened("a").keyDown(Qt::Key_Escape, Qt::NoModifier);
    EXPECT_TRUE(escape.close);
    EXPECT_EQ(escape.result, EditText::KeyCancel);
    EXPECT_FALSE(opened("a").keyDown(Qt::Key_F5, Qt::NoModifier).redraw);
    // A line longer than the working buffer is refused, not cut.
    EditText t;
    EXPECT_FALSE(t.load(std::string(EditText::LineCapacity + 1, 'q').c_str()));
}

}  // namespace
