// CMyEdit: the in-cell editor's box over the grid - geometry, drawing, caret, mouse, clipboard
// and the input method, around its text model EditText.
#pragma once

#include "editor/EditText.h"

#include <QFont>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTimer>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class EditSurface;
class QPainter;
class QWidget;

// The text (lines of Shift-JIS bytes, the current one in a working buffer) is EditText's. The
// editor paints a box over the owner widget (through a child surface that ignores
// the mouse) and draws its own caret; keys, characters and mouse events come from the owner's
// handlers. Coordinates are the owner widget's.
class CMyEdit : public QObject {
    Q_OBJECT
public:
    // Open flags.
    static constexpr int FlagRightAligned = 1;
    static constexpr int FlagTyping = 2;
    static constexpr int FlagCaretAtEnd = 4;
    // Longest line the working buffer holds, and the usual byte limit of a cell edit.
    static constexpr int LineCapacity = EditText::LineCapacity;
    static constexpr int CellByteLimit = 5001;
    // What a key did: stay in the editor, commit, commit and handle the key on the grid, cancel.
    static constexpr int KeyCommit = EditText::KeyCommit;
    static constexpr int KeyHandled = EditText::KeyHandled;
    static constexpr int KeyCommitAndMove = EditText::KeyCommitAndMove;
    static constexpr int KeyCancel = EditText::KeyCancel;

    CMyEdit();
    ~CMyEdit() override;
    CMyEdit(const CMyEdit&) = delete;
    CMyEdit& operator=(const CMyEdit&) = delete;

    // The widget the box is shown on; it also gets input-method support.
    void attach(QWidget* owner);
    void setScale(int percent);

    // Starts editing; -1 (and no edit) when a line of the text is longer than LineCapacity.
    int open(int x, int y, int width, int height, int maxWidth, int maxHeight, const char* text,
             int flags, int byteLimit);
    // Sets box and text like open but leaves the editor closed.
    void position(int x, int y, int width, int height, const char* text, int flags);
    void close();

    std::string text() const { return text_.text(); }   // lines joined with CR LF
    int totalLength() const { return text_.totalLength(); }
    const EditText& model() const { return text_; }

    // Qt key code with its modifiers; returns a KeyResult.
    int keyDown(int key, Qt::KeyboardModifiers modifiers);
    // One byte as it arrives; a lead byte waits for its trail byte in typeBytes.
    void character(unsigned char byte);
    void typeBytes(std::string_view bytes);
    // Unicode text from a key or the input method. Characters CP932 cannot hold are refused
    // with a beep; returns false when any was refused.
    bool typeText(const QString& text);
    // True when at least one character of the text is one CP932 holds (so typing it would
    // put something into the editor).
    static bool holdsTypeable(const QString& text);

    bool mouseDown(int x, int y);
    void mouseMove(int x, int y);
    void mouseUp();

    std::string selectedText() const { return text_.selectedText(); }
    int selectedLength() const { return static_cast<int>(selectedText().size()); }
    void deleteSelection();
    void pasteText(const char* text, int length);
    void redraw();

    // The editor's clipboard commands (Ctrl+C, Ctrl+X, Ctrl+V while it is open).
    bool copyToClipboard();
    bool cutToClipboard();
    void pasteFromClipboard();

    // Called when input-method text is committed while the editor is closed; the callee
    // opens the editor in typing mode (or leaves it closed to drop the text).
    void setClosedCommitHandler(std::function<void()> handler) { closedCommit = std::move(handler); }
    // Called when composing starts while the editor is closed, so the owner can place the
    // (closed) box over the current cell where the preedit text will show.
    void setClosedPreeditHandler(std::function<void()> handler) { closedPreedit = std::move(handler); }

    // ---- state, for the main window and tests ----
    bool isActive() const { return active; }
    bool isTypingMode() const { return text_.isTypingMode(); }
    bool isInsertMode() const { return text_.isInsertMode(); }
    bool isRightAligned() const { return text_.isRightAligned(); }
    bool hasSelection() const { return text_.hasSelection(); }
    bool isMouseSelecting() const { return mouseSelecting; }
    int caretPosition() const { return text_.caretPosition(); }
    int currentLine() const { return text_.currentLine(); }
    int lineCount() const { return text_.lineCount(); }
    std::string lineAt(int index) const {
        return index >= 0 && index < lineCount() ? text_.lineText(index) : std::string();
    }
    int horizontalScroll() const { return hScroll; }
    int firstVisibleLine() const { return topLine; }
    int maxLength() const { return text_.maxLength(); }
    QRect boxRect() const { return QRect(boxLeft, boxTop, boxWidth, boxHeight); }
    int charWidth() const { return cellWidth; }
    int charHeight() const { return cellHeight; }
    int linePitch() const { return pitch; }
    const QFont& font() const { return editorFont; }
    QRect caretRect() const;   // owner coordinates
    bool caretVisible() const { return caretShown; }
    const QString& preeditText() const { return preedit; }
    QWidget* surfaceWidget() const;
    QSize bitmapSize() const { return bitmap.size(); }

    // Paints the surface: box image, caret and input-method preedit (surface coordinates).
    void paintSurface(QPainter& painter);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setupBox(int x, int y, int width, int height, int maxW, int maxH, int flags);
    bool loadText(const char* text);
    void measureFont();
    void updateVisibleCounts();
    void widenFor(int length);
    void growForLines(bool unlimited);
    void typeSingle(unsigned char byte);
    void typeDouble(unsigned char lead, unsigned char trail);
    void afterTyping();
    EditText::Point pointAt(int x, int y) const;

    void ensureCaretVisible();
    int columnX(int offset, int length) const;   // x of a byte column inside the box
    void refresh();                               // keep visible, draw, place caret
    QSize shownSize() const;
    QRect preeditRect() const;   // owner coordinates
    void renderBox();
    void drawLine(QPainter& painter, const std::string& s, int y, int selFrom, int selTo);
    void placeCaret(bool show);
    void updateSurfaceGeometry();
    void blink();
    bool handleInputMethod(class QInputMethodEvent* event);
    bool answerInputMethodQuery(class QInputMethodQueryEvent* event);

    // Both belong to the window, which may go first.
    QPointer<QWidget> owner;
    QPointer<EditSurface> surface;
    QImage bitmap;
    QFont editorFont;
    bool fontCellExact = false;   // glyph advances match the byte columns exactly
    int fontAscent = 0;
    int scalePercent = 100;
    int cellWidth = 6;
    int cellHeight = 12;
    int pitch = 14;

    int boxLeft = 0, boxTop = 0, boxWidth = 0, boxHeight = 0, maxWidth = 0, maxHeight = 0;
    int visibleColumns = 1, visibleLines = 1;

    EditText text_;
    int hScroll = 0;
    int topLine = 0;
    int caretRow = 0;

    bool active = false;
    bool mouseSelecting = false;
    bool caretShown = false;
    bool caretBlinkOn = true;
    QTimer blinkTimer;
    QString preedit;
    std::function<void()> closedCommit;
    std::function<void()> closedPreedit;
};
