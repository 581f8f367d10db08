// StatusBarPanels: lays the status panels out from left to right without overlapping.
#include "app/StatusBarPanels.h"

#include "app/StatusPanel.h"
#include "store/TableLimits.h"

#include <QEvent>
#include <QFontMetrics>

#include <algorithm>

namespace {

// The widths of the form, kept as the smallest widths so the bar keeps its proportions.
constexpr std::array<int, StatusBarPanels::count - 1> formWidths = {150, 210, 74, 82, 38, 50};
constexpr int messageMinimum = 50;

// The longest texts each of panels 0 to 5 can show; "#" stands for the row limit's digits.
const std::array<std::initializer_list<const char*>, StatusBarPanels::count - 1> widestTexts = {{
    {"MAX列:999 MAX行:#"},
    {"列行[999,#]-[999,#] (999x#) "},
    {"CSV+色情報", "TAB+色情報"},
    {"SHIFT-JIS", "UTF16(BOM)", "UTF8(BOM)", "ETC"},
    {"CRLF", "CR", "LF"},
    {"400%"},
}};

} // namespace

StatusBarPanels::StatusBarPanels(QWidget* parent) : QWidget(parent) {
    setObjectName("StatusPanels");
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);
    for (int i = 0; i < count; ++i) {
        auto* panel = new StatusPanel(this);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panels[static_cast<size_t>(i)] = panel;
    }
    measure();
}

std::array<int, StatusBarPanels::count - 1> StatusBarPanels::widthsFor(const QFontMetrics& metrics,
                                                                       int padding) {
    std::array<int, count - 1> result{};
    const QString rows = QString::number(TableLimits::maxRows());
    for (size_t i = 0; i < result.size(); ++i) {
        int widest = 0;
        for (const char* text : widestTexts[i]) {
            const QString shown = QString::fromUtf8(text).replace('#', rows);
            widest = std::max(widest, metrics.horizontalAdvance(shown));
        }
        result[i] = std::max(formWidths[i], widest + padding);
    }
    return result;
}

// Frame, margins and one spare pixel on each side of the text.
void StatusBarPanels::measure() {
    const StatusPanel* sample = panels[0];
    const QMargins margins = sample->contentsMargins();
    const int padding = 2 * sample->frameWidth() + margins.left() + margins.right() + 2;
    measuredRowLimit = TableLimits::maxRows();
    widths = widthsFor(sample->fontMetrics(), padding);
    updateGeometry();
    placePanels();
}

void StatusBarPanels::followRowLimit() {
    if (measuredRowLimit != TableLimits::maxRows()) measure();
}

QSize StatusBarPanels::sizeHint() const {
    int total = messageMinimum;
    for (int w : widths) total += w;
    return QSize(total, panels[0]->sizeHint().height());
}

// The bar never forces the window wider: panels are cut instead.
QSize StatusBarPanels::minimumSizeHint() const { return QSize(0, panels[0]->minimumSizeHint().height()); }

void StatusBarPanels::resizeEvent(QResizeEvent*) { placePanels(); }

void StatusBarPanels::changeEvent(QEvent* event) {
    // The constructor sets the font before the panels exist.
    if (event->type() == QEvent::FontChange && panels[0]) measure();
    QWidget::changeEvent(event);
}

void StatusBarPanels::placePanels() {
    const int available = width();
    int x = 0;
    for (int i = 0; i < count; ++i) {
        const int wanted = i < count - 1 ? widths[static_cast<size_t>(i)] : available - x;
        const int w = std::clamp(wanted, 0, std::max(available - x, 0));
        StatusPanel* panel = panels[static_cast<size_t>(i)];
        panel->setGeometry(x, 0, w, height());
        panel->setVisible(w > 0);
        x += w;
    }
}
