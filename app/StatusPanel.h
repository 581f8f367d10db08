// StatusPanel: one sunken panel of the status bar that elides its text instead of overflowing.
#pragma once

#include <QLabel>

// text() stays the whole text (the tests and the window read it); only the painting is cut,
// with "…" at the end, when the panel is narrower than its text.
class StatusPanel : public QLabel {
    Q_OBJECT
public:
    explicit StatusPanel(QWidget* parent = nullptr);
    // True when the text does not fit the panel as it stands.
    bool isElided() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
