// EditText: the in-cell editor's text - Shift-JIS lines, the caret, the selection, the byte
// limits and what a key does to them. No widget and no drawing, so it is tested on its own.
#pragma once

#include <QtCore/qnamespace.h>

#include <string>
#include <string_view>
#include <vector>

class EditText {
public:
    // Longest line the working buffer holds.
    static constexpr int LineCapacity = 5124;
    // What a key did: stay in the editor, commit, commit and handle the key on the grid, cancel.
    enum KeyResult { KeyCommit = 0, KeyHandled = 1, KeyCommitAndMove = 2, KeyCancel = -1 };
    // A key's result and what the box must do about it.
    struct KeyStep {
        KeyResult result = KeyHandled;
        bool redraw = false;     // the text or the caret changed
        bool close = false;      // Enter and Escape end the edit
        bool lineAdded = false;  // Ctrl+Enter broke the line; the box grows without limit
    };
    struct Point {
        int line;
        int offset;
    };

    EditText();

    // Splits the text (ending at TAB or NUL) into lines at CR or CR LF. A line longer than the
    // working buffer is refused rather than cut, so committing can never lose its tail.
    bool load(const char* text);
    // Before load: caret at the start, no selection.
    void reset(bool rightAligned);
    // After load: typing mode (cursor keys end the edit), the caret at the first line's end.
    void begin(bool typing, bool caretAtEnd);
    // The byte limit of the whole text (at most LineCapacity).
    void setLimit(int byteLimit);
    // The edit ends: the working line goes back into the lines, the selection goes.
    void finish();

    std::string text() const;  // lines joined with CR LF
    const std::string& lineText(int index) const;
    int lineCount() const { return static_cast<int>(lines.size()); }
    int lineLength() const { return static_cast<int>(lineBuffer.size()); }
    int currentLine() const { return curLine; }
    int caretPosition() const { return caret; }
    int totalLength() const { return totalBytes; }
    int maxLength() const { return maxBytes; }
    // One more than the longest line seen, in bytes: the box is at least this many columns.
    int longestLine() const { return longest; }
    bool isTypingMode() const { return typingMode; }
    bool isInsertMode() const { return insertMode; }
    bool isRightAligned() const { return rightAligned; }
    // The caret stands on a double-byte character.
    bool doubleAtCaret() const { return doubleAt(caret); }

    bool hasSelection() const;
    bool selectionRange(Point& from, Point& to) const;
    std::string selectedText() const;
    void deleteSelection();
    // Ctrl+X after the copy: the cut counts as a change of the line.
    void cutSelection();

    KeyStep keyDown(int key, Qt::KeyboardModifiers modifiers);
    // One character of one or two bytes; false when the limits or a control byte refuse it.
    bool typeSingle(unsigned char byte);
    bool typeDouble(unsigned char lead, unsigned char trail);
    // Inserts text at the caret (replacing a selection); line breaks split lines, TAB becomes
    // a space. Returns the number of lines added.
    int paste(const char* text, int length);

    // The mouse: a press puts the caret there and starts a selection, a drag moves the caret.
    void pressAt(const Point& point);
    void dragTo(const Point& point);
    // Keeps the caret on a character start (after the line changed under it).
    void snapCaret();

    // The start of the character at or before `offset` in `s`.
    static int boundaryAtOrBefore(const std::string& s, int offset);

private:
    void writeBack();
    void switchLine(int index);
    bool doubleAt(int offset) const;
    int nextCharEnd(int offset) const;
    int previousCharStart(int offset) const;
    void noteLength(int length);
    void startSelectionMove(bool shift);
    void moveLeft(bool shift);
    void moveRight(bool shift);
    void moveVertical(int delta, bool shift);
    void backspace();
    void deleteForward();
    bool insertLineBreak();
    void afterTyping();

    std::vector<std::string> lines;
    int curLine = 0;
    std::string lineBuffer;
    bool lineDirty = false;
    int longest = 1;
    int totalBytes = 0;
    int maxBytes = LineCapacity;
    int caret = 0;
    int selAnchor = -1;
    int selAnchorLine = 0;
    bool rightAligned = false;
    bool typingMode = false;
    bool insertMode = true;
    bool justTyped = false;
};
