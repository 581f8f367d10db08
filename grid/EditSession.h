// EditSession: the in-cell editor's life over the grid - opening it on the current cell,
// storing its text in the cell it was opened on, and cancelling.
#pragma once

#include "engine/EditOutcome.h"

#include <string>

class CMyEdit;
class CMyHyo;
class CMyHyoDraw;

class EditSession {
public:
    EditSession(CMyHyo& hyo, CMyHyoDraw& view, CMyEdit& edit);

    // F2 and the double click: the cell's text with the caret at its end.
    bool startWithText();
    // A typed character: an empty editor.
    bool startTyping();
    // Stores the text (with the row height) as one undo step and closes the editor. Nothing
    // to do when no edit was open; nothing stored (and the cursor shown again) when an empty
    // text meets an empty cell.
    EditOutcome commit();
    // Escape: the editor is already closed; the edit is forgotten.
    void cancel() { open_ = false; }
    // The editor waits over the current cell so the input method knows where to compose.
    void positionEmpty();

private:
    bool openEditor(const std::string& text, int flags);

    CMyHyo& hyo;
    CMyHyoDraw& view;
    CMyEdit& edit;
    bool open_ = false;   // an edit was opened and not yet stored or cancelled
    int column = 0;       // the cell it was opened on
    int row = 0;
    int cellHeight = 0;   // and that cell's height on screen
};
