// EditSurface: the child widget that shows the in-cell editor's box, caret and preedit text.
#include "editor/EditSurface.h"

#include "editor/CMyEdit.h"

#include <QPainter>

EditSurface::EditSurface(CMyEdit* editor, QWidget* parent) : QWidget(parent), editor(editor) {
    setObjectName("editSurface");
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void EditSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    editor->paintSurface(painter);
}
