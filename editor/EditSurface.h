// EditSurface: the child widget that shows the in-cell editor's box, caret and preedit text.
#pragma once

#include <QWidget>

class CMyEdit;

// A thin forwarder: it never takes focus or mouse input (the owner routes those to the
// editor), and painting is handed to the editor.
class EditSurface : public QWidget {
    Q_OBJECT
public:
    EditSurface(CMyEdit* editor, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CMyEdit* editor;
};
