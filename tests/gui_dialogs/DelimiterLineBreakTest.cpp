// The delimiter box refuses line breaks, pasted or set: a cell holding a lone one would not
// read back as the same record.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "dialogs/TfrmDiv.h"
#include "support/ScriptedPrompt.h"

TEST(DelimiterLineBreak, PastedOrSetLineBreaksAreRefused) {
    ScriptedPrompt prompt;
    TfrmDiv dialog;
    dialog.show();
    auto* field = dialog.findChild<QLineEdit*>("txt_Div");
    for (const char* pasted : {"\n", "\r", "\r\n"}) {
        field->clear();
        QApplication::clipboard()->setText(QString::fromLatin1(pasted));
        field->setFocus();
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(field->text(), QString()) << int(pasted[0]);
    }
    field->setText(QStringLiteral("\n"));
    QTest::mouseClick(dialog.findChild<QPushButton*>("cmd_Ok"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(prompt.beeps(), 1);
}
