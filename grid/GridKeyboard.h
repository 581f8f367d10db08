// GridKeyboard: keys and characters on the grid - the in-cell editor's keys first, then
// cursor moves, user keys, zoom keys, typing into a cell and the control characters.
#pragma once

#include "grid/GridKeys.h"

#include <QString>
#include <Qt>

class CMyEdit;
class CMyHyo;
class CMyHyoDraw;
class Navigator;
class NavigatorHost;
class QKeyEvent;
class QScrollBar;

class GridKeyboard {
public:
    GridKeyboard(Navigator& navigator, NavigatorHost& host, CMyHyo& hyo, CMyHyoDraw& view,
                 CMyEdit& edit, QScrollBar* scrRight, QScrollBar* scrBottom);

    // One key press is a key-down followed, for keys that make a character, by the character.
    void handleKeyPress(QKeyEvent* event);
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    // The character of a key press (Unicode text of the event).
    void FormKeyPress(const QString& text, int key, Qt::KeyboardModifiers modifiers);
    // Input-method text was committed while no edit was open.
    void startTypingFromInputMethod();
    // Ctrl+I on the grid: empty rows at the selected rows or the current row; true when rows
    // went in.
    bool insertRowsAtCursor();

private:
    static int shiftedDigitKey(int key, quint32 scanCode);
    void actOnCode(const KeyOutcome& outcome);
    void controlCharacter(int key);
    void cutSelection();

    Navigator& navigator;
    NavigatorHost& host;
    CMyHyo& hyo;
    CMyHyoDraw& view;
    CMyEdit& edit;
    QScrollBar* scr_Right;
    QScrollBar* scr_Bottom;
    GridKeys keys;
};
