// EditSession: opens the in-cell editor over the current cell and stores what was typed.
#include "grid/EditSession.h"

#include "editor/CMyEdit.h"
#include "engine/CellEdit.h"
#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"
#include "view/CMyHyoDraw.h"

#include <QRect>

#include <optional>

EditSession::EditSession(CMyHyo& hyo, CMyHyoDraw& view, CMyEdit& edit)
    : hyo(hyo), view(view), edit(edit) {}

bool EditSession::openEditor(const std::string& text, int flags) {
    std::optional<QRect> rect = view.cellRect(view.curColumn(), view.curRow());
    if (!rect) return false;
    const bool right = flags & CMyEdit::FlagRightAligned;
    const int maxWidth = right ? rect->width() - 1 : view.viewWidth() - rect->left() - 1;
    const int maxHeight = view.viewHeight() - rect->top();
    view.hideCursor();
    if (edit.open(rect->left() + 1, rect->top(), rect->width() - 1, rect->height(), maxWidth,
                  maxHeight, text.c_str(), flags, CMyEdit::CellByteLimit) != 0) {
        view.showCursor();
        Prompt::beep();
        return false;
    }
    open_ = true;
    column = view.curColumn();
    row = view.curRow();
    cellHeight = rect->height();
    return true;
}

bool EditSession::startWithText() {
    if (edit.isActive()) return false;
    std::string text = hyo.cellString(view.curColumn(), view.curRow());
    bool number = hyo.columnKind(view.curColumn()) == 1;
    bool breaks = text.find_first_of("\r\n") != std::string::npos;
    int flags = CMyEdit::FlagCaretAtEnd | (number && !breaks ? CMyEdit::FlagRightAligned : 0);
    return openEditor(text, flags);
}

bool EditSession::startTyping() {
    if (edit.isActive()) return true;
    bool number = hyo.columnKind(view.curColumn()) == 1;
    return openEditor("", CMyEdit::FlagTyping | (number ? CMyEdit::FlagRightAligned : 0));
}

// The text belongs to the cell the edit was opened on, even if something moved the cursor.
EditOutcome EditSession::commit() {
    if (!open_ && !edit.isActive()) return {};
    open_ = false;
    edit.close();
    const EditOutcome out = CellEdit::commit(hyo, column, row, edit.text(),
                                             edit.boxRect().height(), cellHeight, view.scale());
    if (out.none()) view.showCursor();
    return out;
}

void EditSession::positionEmpty() {
    std::optional<QRect> rect = view.cellRect(view.curColumn(), view.curRow());
    if (!rect) return;
    edit.position(rect->left() + 1, rect->top(), rect->width() - 1, rect->height(), "",
                  CMyEdit::FlagTyping);
}
