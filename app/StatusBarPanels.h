// StatusBarPanels: the seven status panels in their order, sized for their widest text.
#pragma once

#include <QWidget>

#include <array>

class QFontMetrics;
class StatusPanel;

// Each panel is at least as wide as the form gives it and wide enough for the longest text it
// can show at the current font (999 columns, the row limit, "UTF16(BOM)", 400 %). The message
// panel takes the rest. A window too narrow for them all cuts the panels from the right: the
// last ones shrink to nothing and elide their text, none is drawn over another.
class StatusBarPanels : public QWidget {
    Q_OBJECT
public:
    static constexpr int count = 7;

    explicit StatusBarPanels(QWidget* parent = nullptr);

    StatusPanel* panel(int index) const { return panels[static_cast<size_t>(index)]; }
    // Measures the panels again when the row limit changed since they were measured.
    void followRowLimit();
    // Widths of panels 0 to 5 for a font and the row limit; panel 6 takes what is left.
    static std::array<int, count - 1> widthsFor(const QFontMetrics& metrics, int padding);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void measure();
    void placePanels();

    std::array<StatusPanel*, count> panels{};
    std::array<int, count - 1> widths{};
    int measuredRowLimit = 0;
};
