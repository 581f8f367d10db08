// Tests of the in-cell editor on its own: lines, limits, caret moves, typing, paste and IME.
#include "editor/CMyEdit.h"
#include "platform/core/CodePage.h"
#include "platform/core/GivenCodes.h"
#include "support/FullLentArea.h"
#include "support/ScriptedPrompt.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>

namespace {

const std::string aiu = CodePage::toCp932("あいう");   // three double-byte characters

class EditTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner.resize(800, 600);
        edit.attach(&owner);
    }

    // A cell 100 x 16 at (50, 20), wide enough to grow to the window's right edge.
    int openCell(const std::string& text, int flags = CMyEdit::FlagCaretAtEnd, int limit = 5001) {
        return edit.open(51, 20, 99, 16, 800 - 51, 600 - 20, text.c_str(), flags, limit);
    }

    int key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) { return edit.keyDown(k, m); }

    QWidget owner;
    CMyEdit edit;
    ScriptedPrompt prompt;
};

TEST_F(EditTest, OpenPlacesCaretAndSplitsLines) {
    ASSERT_EQ(openCell("abc"), 0);
    EXPECT_TRUE(edit.isActive());
    EXPECT_EQ(edit.caretPosition(), 3);
    EXPECT_EQ(key(Qt::Key_Left), CMyEdit::KeyHandled);
    EXPECT_EQ(edit.caretPosition(), 2);
    edit.close();

    ASSERT_EQ(openCell("ab\r\ncd\ref\tignored", 0), 0);
    EXPECT_EQ(edit.lineCount(), 3);
    EXPECT_EQ(edit.lineAt(2), "ef");
    EXPECT_EQ(edit.totalLength(), 10);
    EXPECT_EQ(edit.caretPosition(), 0);
    EXPECT_EQ(edit.text(), "ab\r\ncd\r\nef");
}

TEST_F(EditTest, OverlongLinesAreRefused) {
    std::string longLine(5125, 'x');
    EXPECT_EQ(openCell(longLine), -1);
    EXPECT_FALSE(edit.isActive());
    // A later line that long is refused too, so a commit can never cut it short.
    EXPECT_EQ(openCell("a\r\n" + longLine), -1);
    EXPECT_EQ(openCell(std::string(5124, 'x')), 0);
}

TEST_F(EditTest, TypingModeHandsArrowsAndHomeToTheGrid) {
    ASSERT_EQ(openCell("", CMyEdit::FlagTyping), 0);
    edit.typeText("a");
    EXPECT_EQ(edit.text(), "a");
    EXPECT_EQ(edit.caretPosition(), 1);
    EXPECT_EQ(key(Qt::Key_Left), CMyEdit::KeyCommitAndMove);
    EXPECT_EQ(key(Qt::Key_Down), CMyEdit::KeyCommitAndMove);
    EXPECT_EQ(key(Qt::Key_Home), CMyEdit::KeyCommit);
    EXPECT_EQ(key(Qt::Key_End), CMyEdit::KeyCommit);
    EXPECT_EQ(edit.text(), "a");
}

TEST_F(EditTest, EnterEscapeAndUnknownKeys) {
    ASSERT_EQ(openCell("x"), 0);
    EXPECT_EQ(key(Qt::Key_F5), CMyEdit::KeyHandled);
    EXPECT_EQ(key(Qt::Key_A, Qt::ControlModifier), CMyEdit::KeyHandled);
    EXPECT_EQ(key(Qt::Key_Return), CMyEdit::KeyCommitAndMove);
    EXPECT_FALSE(edit.isActive());
    ASSERT_EQ(openCell("x"), 0);
    edit.typeText("yz");
    EXPECT_EQ(key(Qt::Key_Escape), CMyEdit::KeyCancel);
    EXPECT_FALSE(edit.isActive());
}

TEST_F(EditTest, CtrlEnterSplitsLineAndGrowsBox) {
    ASSERT_EQ(openCell("abcd"), 0);
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    int height = edit.boxRect().height();
    EXPECT_EQ(key(Qt::Key_Return, Qt::ControlModifier), CMyEdit::KeyHandled);
    EXPECT_EQ(edit.text(), "ab\r\ncd");
    EXPECT_EQ(edit.currentLine(), 1);
    EXPECT_EQ(edit.caretPosition(), 0);
    EXPECT_EQ(edit.totalLength(), 6);
    EXPECT_EQ(edit.boxRect().height(), height + edit.linePitch());
}

TEST_F(EditTest, CtrlEnterIgnoredWhenRightAlignedOrFull) {
    ASSERT_EQ(openCell("12", CMyEdit::FlagRightAligned | CMyEdit::FlagCaretAtEnd), 0);
    key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(edit.lineCount(), 1);
    edit.close();
    ASSERT_EQ(openCell(std::string(4999, 'a')), 0);
    key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(edit.lineCount(), 1);
}

TEST_F(EditTest, ByteLimitRefusesDoubleByteAtTheEdge) {
    ASSERT_EQ(openCell(std::string(4999, 'a')), 0);
    edit.typeText("あ");
    EXPECT_EQ(edit.totalLength(), 4999);
    edit.typeText("b");
    EXPECT_EQ(edit.totalLength(), 5000);
    edit.typeText("c");
    EXPECT_EQ(edit.totalLength(), 5000);
    EXPECT_EQ(prompt.beeps(), 0);   // a full edit drops input silently
}

TEST_F(EditTest, OverwriteModeReplacesWholeCharacters) {
    ASSERT_EQ(openCell(aiu, 0), 0);
    key(Qt::Key_Insert);
    EXPECT_FALSE(edit.isInsertMode());
    edit.typeText("x");
    EXPECT_EQ(edit.text(), "x" + aiu.substr(2));
    EXPECT_EQ(edit.caretPosition(), 1);
    // A double-byte character over a single-byte one takes its place and one more byte.
    edit.typeText("y");
    edit.close();
    ASSERT_EQ(openCell("abc", 0), 0);
    edit.typeText("あ");
    EXPECT_EQ(edit.text(), CodePage::toCp932("あ") + "bc");
    EXPECT_EQ(edit.totalLength(), 4);
    key(Qt::Key_Insert);   // the mode outlives the edit; put it back
    edit.close();
    ASSERT_EQ(openCell("abc", 0), 0);
    EXPECT_TRUE(edit.isInsertMode());
}

TEST_F(EditTest, CaretNeverSplitsDoubleByteCharacters) {
    ASSERT_EQ(openCell("a" + aiu + "\r\nbcdefgh"), 0);
    EXPECT_EQ(edit.caretPosition(), 7);
    key(Qt::Key_Left);
    EXPECT_EQ(edit.caretPosition(), 5);
    key(Qt::Key_Backspace);
    EXPECT_EQ(edit.lineAt(0), "a" + aiu.substr(0, 2) + aiu.substr(4));
    // Down keeps the byte column; Up from column 4 lands on the lead byte at 3.
    key(Qt::Key_Down);
    EXPECT_EQ(edit.currentLine(), 1);
    EXPECT_EQ(edit.caretPosition(), 3);
    key(Qt::Key_Right);
    key(Qt::Key_Up);
    EXPECT_EQ(edit.caretPosition(), 3);
}

TEST_F(EditTest, LineJoinsAtEdges) {
    ASSERT_EQ(openCell("ab\r\ncd", 0), 0);
    key(Qt::Key_End);
    key(Qt::Key_Delete);
    EXPECT_EQ(edit.text(), "abcd");
    EXPECT_EQ(edit.totalLength(), 4);
    key(Qt::Key_End);
    key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "abcd\r\n");
    key(Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "abcd");
    key(Qt::Key_Right);   // at the end of the last line: stays
    EXPECT_EQ(edit.caretPosition(), 4);
}

TEST_F(EditTest, ShiftSelectsAndTypingReplacesSelection) {
    ASSERT_EQ(openCell("hello\r\nworld", 0), 0);
    key(Qt::Key_Right);
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(edit.selectedText(), "ello\r\nwo");
    edit.typeText("X");
    EXPECT_EQ(edit.text(), "hXrld");
    EXPECT_EQ(edit.totalLength(), 5);
    EXPECT_FALSE(edit.hasSelection());
    key(Qt::Key_Shift, Qt::ShiftModifier);   // Shift pressed after typing
    key(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(edit.selectedText(), "rld");
    key(Qt::Key_Home);
    EXPECT_FALSE(edit.hasSelection());
    EXPECT_EQ(edit.caretPosition(), 0);
}

TEST_F(EditTest, PasteTurnsTabsIntoSpacesAndSplitsLines) {
    ASSERT_EQ(openCell("[]", 0), 0);
    key(Qt::Key_Right);
    std::string text = "a\tb";
    edit.pasteText(text.data(), static_cast<int>(text.size()));
    EXPECT_EQ(edit.text(), "[a b]");
    EXPECT_EQ(edit.caretPosition(), 4);
    std::string lines = "1\r\n2\n3";
    edit.pasteText(lines.data(), static_cast<int>(lines.size()));
    EXPECT_EQ(edit.text(), "[a b1\r\n2\r\n3]");
    EXPECT_EQ(edit.currentLine(), 2);
    EXPECT_EQ(edit.caretPosition(), 1);
    EXPECT_EQ(edit.totalLength(), static_cast<int>(edit.text().size()));
}

TEST_F(EditTest, ClipboardCopyCutAndPasteLimits) {
    ASSERT_EQ(openCell("abc" + aiu, 0), 0);
    EXPECT_FALSE(edit.copyToClipboard());   // nothing selected: nothing happens
    key(Qt::Key_End, Qt::ShiftModifier);
    ASSERT_TRUE(edit.cutToClipboard());
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("abcあいう"));
    EXPECT_EQ(edit.text(), "");
    edit.pasteFromClipboard();
    EXPECT_EQ(edit.text(), "abc" + aiu);

    QApplication::clipboard()->setText(QString(4992, QLatin1Char('z')));
    prompt.answer(PromptAnswer::Ok);
    edit.pasteFromClipboard();   // 4992 + 9 reaches 5001
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "サイズをオーバーするためコピーはできません。");
    EXPECT_EQ(prompt.last().caption, "注意");

    QApplication::clipboard()->clear();
    edit.pasteFromClipboard();
    EXPECT_EQ(prompt.beeps(), 1);
}

TEST_F(EditTest, PastedLineBreaksCountAsTheTwoBytesTheyBecome) {
    ASSERT_EQ(openCell("", 0), 0);
    QString lines;
    for (int i = 0; i < 2000; ++i) lines += QStringLiteral("a\n");   // 4000 bytes, 6000 as CR LF
    QApplication::clipboard()->setText(lines);
    prompt.answer(PromptAnswer::Ok);
    edit.pasteFromClipboard();
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "サイズをオーバーするためコピーはできません。");
    EXPECT_EQ(edit.text(), "");

    QApplication::clipboard()->setText(QString(4994, QLatin1Char('z')) + QStringLiteral("\r\nz"));
    edit.pasteFromClipboard();   // 4994 + 2 + 1 stays below 5001
    EXPECT_EQ(edit.totalLength(), 4997);
    EXPECT_EQ(edit.lineCount(), 2);
    EXPECT_EQ(prompt.shown().size(), 1u);
}

TEST_F(EditTest, ABoxFarBeyondTheWindowDrawsOnlyWhatShows) {
    const QSize start = edit.bitmapSize();
    // A row 60000 pixels high in a column 90000 pixels wide.
    ASSERT_EQ(edit.open(51, 20, 90000, 60000, 90000, 60000, "tall", 0, 5001), 0);
    EXPECT_EQ(edit.boxRect().height(), 59998);
    EXPECT_LE(edit.bitmapSize().width(), std::max(start.width(), owner.width()));
    EXPECT_LE(edit.bitmapSize().height(), std::max(start.height(), owner.height()));
    ASSERT_NE(edit.surfaceWidget(), nullptr);
    EXPECT_EQ(edit.surfaceWidget()->geometry().bottom(), owner.height() - 1);
    edit.close();

    // Lines added one by one grow the box below the window without growing the bitmap.
    ASSERT_EQ(openCell("", 0), 0);
    for (int i = 0; i < 200; ++i) key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(edit.lineCount(), 201);
    EXPECT_GT(edit.boxRect().bottom(), owner.height());
    EXPECT_LE(edit.bitmapSize().height(), std::max(start.height(), owner.height()));
    EXPECT_EQ(edit.caretRect().top(), edit.boxRect().top() + 200 * edit.linePitch());
}

TEST_F(EditTest, InputMethodCommitArrivesAsCp932) {
    ASSERT_EQ(openCell("", CMyEdit::FlagTyping), 0);
    QInputMethodEvent preedit(QString::fromUtf8("にほんご"), {});
    QApplication::sendEvent(&owner, &preedit);
    EXPECT_EQ(edit.preeditText(), QString::fromUtf8("にほんご"));
    EXPECT_EQ(edit.text(), "");
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("日本語"));
    QApplication::sendEvent(&owner, &commit);
    EXPECT_EQ(edit.text(), CodePage::toCp932("日本語"));
    EXPECT_TRUE(edit.preeditText().isEmpty());
    EXPECT_EQ(edit.caretPosition(), 6);
}

TEST_F(EditTest, InputMethodQueriesAnswerWithCaretAndFont) {
    ASSERT_EQ(openCell("ab"), 0);
    QInputMethodQueryEvent query(Qt::ImEnabled | Qt::ImCursorRectangle | Qt::ImFont);
    QApplication::sendEvent(&owner, &query);
    EXPECT_TRUE(query.value(Qt::ImEnabled).toBool());
    EXPECT_EQ(query.value(Qt::ImCursorRectangle).toRect(), edit.caretRect());
    EXPECT_EQ(query.value(Qt::ImFont).value<QFont>().pixelSize(), 12);
    EXPECT_EQ(edit.caretRect().left(), 53 + 2 * edit.charWidth());
}

TEST_F(EditTest, CommitWhileClosedAsksForTheEditorFirst) {
    int asked = 0;
    edit.setClosedCommitHandler([&] {
        ++asked;
        openCell("", CMyEdit::FlagTyping);
    });
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("漢"));
    QApplication::sendEvent(&owner, &commit);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(edit.text(), CodePage::toCp932("漢"));
}

// Typed and composed characters Shift-JIS lacks take lent codes: one double-width character
// of two bytes for the caret, the width and the byte limit.
TEST_F(EditTest, CharactersOutsideCp932AreTypedAsLentCodes) {
    GivenCodes::reset();
    ASSERT_EQ(openCell("", 0), 0);
    EXPECT_TRUE(edit.typeText(QString::fromUtf8("a\U0001F363")));
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("\uAE40e\u0301"));   // Hangul, e and a combining accent
    QApplication::sendEvent(&owner, &commit);
    EXPECT_EQ(edit.text(), "a\xF0\x40\xF0\x41" "e\xF0\x42");
    EXPECT_EQ(prompt.beeps(), 0);
    EXPECT_EQ(edit.caretPosition(), 8);
    key(Qt::Key_Left);
    EXPECT_EQ(edit.caretPosition(), 6);
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    EXPECT_EQ(edit.caretPosition(), 3);
    const int afterSushi = edit.caretRect().left();
    key(Qt::Key_Left);
    EXPECT_EQ(edit.caretPosition(), 1);
    EXPECT_EQ(afterSushi - edit.caretRect().left(), 2 * edit.charWidth());
    GivenCodes::reset();
}

TEST_F(EditTest, CharactersOutsideCp932AreRefusedWithABeep) {
    const FullLentArea full;   // no lent code is left for the emoji
    ASSERT_EQ(openCell("", 0), 0);
    EXPECT_FALSE(edit.typeText(QString::fromUtf8("a😀b")));
    EXPECT_EQ(edit.text(), "ab");
    EXPECT_EQ(prompt.beeps(), 1);
    // Control characters typed as text are ignored.
    edit.character('\t');
    edit.character('\r');
    edit.character(0x08);
    EXPECT_EQ(edit.text(), "ab");
}

TEST_F(EditTest, MouseClickPlacesCaretAndDragSelects) {
    ASSERT_EQ(openCell("abcdef\r\nghij", 0), 0);
    QRect box = edit.boxRect();
    int cw = edit.charWidth();
    EXPECT_FALSE(edit.mouseDown(box.right() + 40, box.top()));
    ASSERT_TRUE(edit.mouseDown(box.left() + 2 * cw + 1, box.top() + 1));
    EXPECT_EQ(edit.caretPosition(), 2);
    edit.mouseMove(box.left() + 4 * cw, box.top() + 1);
    EXPECT_FALSE(edit.caretVisible());
    EXPECT_EQ(edit.selectedText(), "cd");
    edit.mouseMove(box.left() - 20, box.top() + edit.linePitch() + 1);
    EXPECT_EQ(edit.selectedText(), "cdef\r\n");
    edit.mouseUp();
    EXPECT_TRUE(edit.caretVisible());
    EXPECT_FALSE(edit.isMouseSelecting());
}

TEST_F(EditTest, TypingWidensTheBoxUpToTheMaximum) {
    ASSERT_EQ(edit.open(51, 20, 40, 16, 60, 100, "", 0, 5001), 0);
    int start = edit.boxRect().width();
    for (int i = 0; i < 20; ++i) edit.typeText("w");
    EXPECT_GT(edit.boxRect().width(), start);
    EXPECT_LE(edit.boxRect().width(), 60);
    // The caret stays in sight by scrolling once the box cannot grow.
    EXPECT_GT(edit.horizontalScroll(), 0);
    QRect caret = edit.caretRect();
    EXPECT_LE(caret.left(), edit.boxRect().right() + 1);
}

TEST_F(EditTest, RightAlignedCaretSitsAtTheRightEdge) {
    ASSERT_EQ(edit.open(51, 20, 99, 16, 98, 100, "123", CMyEdit::FlagRightAligned | CMyEdit::FlagCaretAtEnd, 5001), 0);
    QRect box = edit.boxRect();
    EXPECT_EQ(box.left(), 51);
    EXPECT_EQ(box.width(), 94);
    EXPECT_EQ(edit.caretRect().left(), box.left() + box.width() - 1);
    key(Qt::Key_Home);
    EXPECT_EQ(edit.caretRect().left(), box.left() + box.width() - 3 * edit.charWidth() - 1);
    // A long right-aligned line scrolls so that Home shows its start.
    edit.close();
    std::string digits(40, '9');
    ASSERT_EQ(edit.open(51, 20, 99, 16, 98, 100, digits.c_str(), CMyEdit::FlagRightAligned | CMyEdit::FlagCaretAtEnd, 5001), 0);
    EXPECT_EQ(edit.horizontalScroll(), 0);
    key(Qt::Key_Home);
    EXPECT_GT(edit.horizontalScroll(), 0);
    EXPECT_GE(edit.caretRect().left(), box.left() - 1);
}

}  // namespace

namespace {

TEST_F(EditTest, ALeadByteWithoutItsTrailIsDropped) {
    ASSERT_EQ(openCell("", 0), 0);
    edit.character(0x82);                  // lead byte alone
    edit.typeBytes(std::string("a\x82", 2));   // lead byte at the end of the input
    EXPECT_EQ(edit.text(), "a");
    edit.typeBytes(aiu);
    EXPECT_EQ(edit.text(), "a" + aiu);
    EXPECT_EQ(edit.caretPosition(), 7);
}

TEST_F(EditTest, CaretShapeFollowsTheMode) {
    ASSERT_EQ(openCell("a" + aiu, 0), 0);
    EXPECT_EQ(edit.caretRect().width(), 2);
    key(Qt::Key_Insert);
    EXPECT_EQ(edit.caretRect().width(), edit.charWidth());
    key(Qt::Key_Right);
    EXPECT_EQ(edit.caretRect().width(), 2 * edit.charWidth());   // over a double-byte character
    key(Qt::Key_Insert);
}

TEST_F(EditTest, PastedLinesGrowTheBoxOnlyUpToTheMaximumHeight) {
    ASSERT_EQ(edit.open(51, 20, 99, 16, 200, 16 + 2 * edit.linePitch(), "", 0, 5001), 0);
    int start = edit.boxRect().height();
    std::string text = "1\r\n2\r\n3\r\n4\r\n5";
    edit.pasteText(text.data(), static_cast<int>(text.size()));
    EXPECT_EQ(edit.lineCount(), 5);
    EXPECT_LE(edit.boxRect().height(), 16 + 2 * edit.linePitch());
    EXPECT_GT(edit.boxRect().height(), start);
    // The caret's line is scrolled into the box.
    EXPECT_EQ(edit.currentLine(), 4);
    EXPECT_GT(edit.firstVisibleLine(), 0);
}

TEST_F(EditTest, PositionSetsTheBoxButLeavesTheEditorClosed) {
    edit.position(100, 40, 64, 16, "", CMyEdit::FlagTyping);
    EXPECT_FALSE(edit.isActive());
    EXPECT_EQ(edit.boxRect().topLeft(), QPoint(102, 41));
    EXPECT_EQ(edit.keyDown(Qt::Key_Left, Qt::NoModifier), CMyEdit::KeyHandled);   // closed: ignored
    ASSERT_NE(edit.surfaceWidget(), nullptr);
    EXPECT_FALSE(edit.surfaceWidget()->isVisible());
}

}  // namespace

namespace {

TEST_F(EditTest, ARightAlignedLineThatShrinksStaysInTheBox) {
    // 50 digits in a right-aligned box of a few columns; the caret goes to the start.
    ASSERT_EQ(edit.open(51, 20, 60, 16, 0, 100, std::string(50, '7').c_str(),
                        CMyEdit::FlagRightAligned | CMyEdit::FlagCaretAtEnd, 5001), 0);
    key(Qt::Key_Home);
    EXPECT_EQ(edit.caretPosition(), 0);
    EXPECT_GE(edit.caretRect().left(), edit.boxRect().left() - 1);
    for (int i = 0; i < 46; ++i) key(Qt::Key_Delete);
    EXPECT_EQ(edit.text(), "7777");
    // The short line shows whole, ending at the box's right edge.
    EXPECT_EQ(edit.horizontalScroll(), 0);
    EXPECT_EQ(edit.caretRect().left(),
              edit.boxRect().left() + edit.boxRect().width() - 4 * edit.charWidth() - 1);
}

}  // namespace

namespace {

TEST_F(EditTest, DeletingASelectionNeverJoinsLinesBeyondTheBuffer) {
    const std::string text = std::string(5000, 'a') + "\r\n" + std::string(5000, 'b');
    ASSERT_EQ(openCell(text), 0);
    key(Qt::Key_Right, Qt::ShiftModifier);   // the line break only
    ASSERT_EQ(edit.selectedText(), "\r\n");
    key(Qt::Key_Delete);
    EXPECT_EQ(edit.lineCount(), 2);
    EXPECT_TRUE(edit.text() == text);
    EXPECT_EQ(edit.totalLength(), 10002);
    // A selection whose removal leaves a line short enough still goes.
    key(Qt::Key_Home);
    key(Qt::Key_Up);
    key(Qt::Key_Down, Qt::ShiftModifier);   // all of line 0 and the line break
    key(Qt::Key_Delete);
    EXPECT_EQ(edit.lineCount(), 1);
    EXPECT_TRUE(edit.text() == std::string(5000, 'b'));
    EXPECT_EQ(edit.totalLength(), 5000);
}

}  // namespace

namespace {

// Many mixed edits from a fixed seed: whatever the order, the byte count, the character
// boundaries and the line limit hold after every step.
TEST_F(EditTest, MixedEditsKeepTheTextConsistent) {
    const std::string pieces[] = {"a", "Z", " ", aiu.substr(0, 2), aiu, "x\r\ny", "\t", "1.5"};
    const int keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home,
                        Qt::Key_End, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Insert};
    unsigned seed = 12345;
    auto next = [&seed](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int round = 0; round < 4; ++round) {
        const int flags = round == 1 ? CMyEdit::FlagRightAligned : 0;
        ASSERT_EQ(edit.open(51, 20, 99, 16, 700, 300, ("ab" + aiu + "\r\ncd").c_str(), flags,
                            round == 3 ? 40 : 5001), 0);
        for (int step = 0; step < 1500; ++step) {
            const unsigned what = next(10);
            const Qt::KeyboardModifiers shift = next(3) == 0 ? Qt::ShiftModifier : Qt::NoModifier;
            if (what < 4) {
                key(keys[next(9)], shift);
            } else if (what < 7) {
                edit.typeBytes(pieces[next(8)]);
            } else if (what == 7) {
                key(Qt::Key_Return, Qt::ControlModifier);
            } else if (what == 8) {
                const std::string& p = pieces[next(8)];
                edit.pasteText(p.c_str(), static_cast<int>(p.size()));
            } else {
                QRect box = edit.boxRect();
                edit.mouseDown(box.left() + static_cast<int>(next(box.width() + 1)),
                               box.top() + static_cast<int>(next(box.height() + 1)));
                edit.mouseMove(box.left() + static_cast<int>(next(box.width() + 40)) - 20,
                               box.top() + static_cast<int>(next(box.height() + 40)) - 20);
                edit.mouseUp();
            }
            ASSERT_TRUE(edit.isActive());
            const std::string text = edit.text();
            ASSERT_EQ(edit.totalLength(), static_cast<int>(text.size())) << "step " << step;
            ASSERT_EQ(text.find('\t'), std::string::npos);
            for (int i = 0; i < edit.lineCount(); ++i)
                ASSERT_LE(static_cast<int>(edit.lineAt(i).size()), CMyEdit::LineCapacity);
            const std::string line = edit.lineAt(edit.currentLine());
            ASSERT_LE(edit.caretPosition(), static_cast<int>(line.size()));
            int boundary = 0;
            while (boundary < edit.caretPosition())
                boundary += CodePage::isLeadByte(static_cast<unsigned char>(line[boundary])) &&
                                    boundary + 1 < static_cast<int>(line.size()) ? 2 : 1;
            ASSERT_EQ(boundary, edit.caretPosition()) << "step " << step;
        }
        edit.close();
    }
}

}  // namespace

namespace {

TEST_F(EditTest, ShiftHeldFromACapitalDoesNotSelectWithTheNextKey) {
    ASSERT_EQ(openCell("ab", CMyEdit::FlagCaretAtEnd), 0);
    edit.typeBytes("C");
    key(Qt::Key_Left, Qt::ShiftModifier);   // Shift still down from the capital
    EXPECT_FALSE(edit.hasSelection());
    EXPECT_EQ(edit.caretPosition(), 2);
    key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(edit.selectedText(), "b");
    // Pressing Shift anew after a character selects at once.
    edit.typeBytes("D");
    key(Qt::Key_Shift, Qt::ShiftModifier);
    key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(edit.selectedText(), "D");
}

}  // namespace
