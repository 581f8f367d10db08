// TfrmTool: the borderless tool palette a right click on the grid opens - command rows on the
// left, background and text colour swatches on the right.
#pragma once

#include <QImage>
#include <QStringList>
#include <QWidget>

class CMyHyoCom;

class TfrmTool : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 324;
    static constexpr int ClientHeight = 128;
    static constexpr int RowTop = 5;
    static constexpr int RowHeight = 18;

    // What lies under a point of the palette.
    struct Target {
        enum Kind { None, Row, Swatch } kind = None;
        int row = -1;       // a command row
        bool text = false;  // a swatch of the lower (text colour) block
        int index = -1;     // its colour index, -1 for "なし"
        bool operator==(const Target&) const = default;
    };

    TfrmTool(const CMyHyoCom& colours, QWidget* parent);

    // Shows the palette with its top-left corner at `topLeft` (global), in `mode` (0 cells,
    // 1 whole rows, 2 whole columns) with that mode's command captions, top row first.
    void showMode(int mode, const QStringList& captions, const QPoint& topLeft);
    int mode() const { return mode_; }
    const QStringList& captions() const { return captions_; }
    Target hovered() const { return hover_; }
    Target targetAt(const QPoint& p) const;

signals:
    // A click on a command row (any button but the right one); the palette is hidden first.
    void commandClicked(int mode, int row);
    // A click on a swatch: text (lower block) or background, index 0-15 or -1 for none.
    void colourClicked(bool text, int index);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    void renderBase();
    void drawSwatches(QPainter& p, int labelY, bool text);
    QRect targetRect(const Target& t) const;

    const CMyHyoCom& colours;
    int mode_ = 0;
    QStringList captions_;
    Target hover_;
    QImage base;  // the palette without the hover feedback
};
