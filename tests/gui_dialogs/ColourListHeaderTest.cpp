// The colour-information list's headings stand over the columns of its fixed-pitch lines.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

#include "dialogs/TfrmCRList.h"
#include "settings/CMyGlobal.h"
#include "support/TempHome.h"

namespace {

QLabel* labelWithText(QWidget& dialog, const QString& text) {
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->text() == text) return label;
    ADD_FAILURE() << text.toStdString();
    return nullptr;
}

} // namespace

TEST(ColourListHeader, HeadingsStartAtTheirCharacterColumns) {
    TempHome home;
    CMyGlobal global;
    TfrmCRList dialog(global);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* list = dialog.findChild<QListWidget*>("lst_Main");
    // Where the style draws an item's text, as the list's own painting asks it.
    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.rect = QRect(0, 0, list->viewport()->width(), 20);
    option.font = list->font();
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("x");
    const QRect text = list->style()->subElementRect(QStyle::SE_ItemViewItemText, &option, list);
    // The style draws the text inside that rectangle after its focus-frame margin.
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    const int textStart = list->viewport()->mapTo(&dialog, QPoint(text.x() + margin, 0)).x();
    const int character = QFontMetrics(list->font()).horizontalAdvance(QLatin1Char('0'));
    const struct {
        const char* caption;
        int column;
    } headings[] = {{"色情報ID", 2}, {"連携先情報", 21}, {"更新日", 21}, {"パス", 42}};
    for (const auto& h : headings) {
        QLabel* label = labelWithText(dialog, QString::fromUtf8(h.caption));
        ASSERT_TRUE(label);
        const int at = label->mapTo(&dialog, QPoint(label->contentsRect().x(), 0)).x();
        EXPECT_NEAR(at, textStart + h.column * character, 2) << h.caption;
    }
}
