// StatusReport: table size, selection, format, zoom and the cell or total panel.
#include "app/StatusReport.h"

#include "app/CommandContext.h"
#include "app/StatusBarPanels.h"
#include "app/StatusPanel.h"
#include "app/StatusText.h"
#include "grid/SelectionInfo.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "view/CMyHyoDraw.h"

#include <QLabel>
#include <QStatusBar>

namespace {

constexpr int statusBarHeight = 17;

} // namespace

StatusReport::StatusReport(QStatusBar* bar, CommandContext& c) : context(c) {
    bar->setObjectName("StatusBar1");
    bar->setFixedHeight(statusBarHeight);
    bar->setSizeGripEnabled(false);
    strip = new StatusBarPanels(bar);
    bar->addWidget(strip, 1);
    for (int i = 0; i < panelCount; ++i) panels[i] = strip->panel(i);
}

void StatusReport::setPanel(int panel, const std::string& utf8) {
    panels[panel]->setText(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

QString StatusReport::text(int panel) const {
    return panel >= 0 && panel < panelCount ? panels[panel]->text() : QString();
}

void StatusReport::setMessage(const std::string& utf8, int hold) {
    setPanel(6, utf8);
    holdCount = hold;
}

void StatusReport::forgetSelection() { range = Bounds{}; }

void StatusReport::update(int scope) {
    if (scope != 0 && scope != 1) return;
    strip->followRowLimit();
    const SelectionBounds s = context.view().selectionBounds();
    const Bounds b{s.left, s.top, s.right, s.bottom};
    if (b != range) {
        updateSelectionPanels(b);
        range = b;
    }
    setPanel(5, StatusText::zoom(context.global().viewScale()));
    // The table's width is its widest row; column records may exist beyond it.
    const CMyHyo& hyo = context.hyo();
    if (scope == 0) setPanel(0, StatusText::tableSize(hyo.widestRowValue(), hyo.rowCount()));
}

void StatusReport::updateSelectionPanels(const Bounds& b) {
    CMyHyo& hyo = context.hyo();
    setPanel(1, StatusText::selection(b.c1, b.r1, b.c2, b.r2, hyo.columnTitle(b.c1)));
    const bool oneRow = b.r1 == b.r2 && b.c1 != b.c2;
    const bool oneColumn = b.c1 == b.c2 && b.r1 != b.r2;
    if (context.global().simpleCalc() && (oneRow || oneColumn)) {
        const double sum = oneRow ? SelectionInfo::sumAlongLine(hyo, true, b.r1, b.c1, b.c2)
                                  : SelectionInfo::sumAlongLine(hyo, false, b.c1, b.r1, b.r2);
        setPanel(6, StatusText::total(oneRow, sum));
        return;
    }
    if (holdCount > 0) {
        --holdCount;
        return;
    }
    // The current cell, which stays where a selection was started, not the bounds' corner.
    const CMyHyoDraw& view = context.view();
    const std::string text = hyo.cellString(view.curColumn(), view.curRow());
    setPanel(6, StatusText::cellExcerpt(text.c_str()));
}

void StatusReport::updateFormat() {
    const DocumentState& doc = context.document();
    setPanel(2, StatusText::separator(doc.separator, doc.colourFileInUse));
    setPanel(3, StatusText::encoding(doc.encoding, doc.withBom));
    setPanel(4, StatusText::lineEnding(doc.lineEnding));
}
