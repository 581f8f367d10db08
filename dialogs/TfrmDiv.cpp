// TfrmDiv: the delimiter dialog of the join and split commands.
#include "dialogs/TfrmDiv.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "platform/core/CodePage.h"
#include "platform/core/Prompt.h"
#include "store/Cp932Text.h"

TfrmDiv::TfrmDiv(QWidget* parent) : QDialog(parent) {
    setObjectName("TfrmDiv");
    setWindowTitle(QString::fromUtf8("文字列分解設定"));
    auto* label = new QLabel(QString::fromUtf8("区切り文字"), this);
    txt_Div = new QLineEdit(this);
    txt_Div->setObjectName("txt_Div");
    txt_Div->setMaxLength(1);
    // A line break as delimiter would put lone line breaks into cells, which a saved file
    // cannot hold as one record: typed or pasted, it is refused.
    const QRegularExpression noLineBreak(QStringLiteral("[^\\r\\n]*"));
    txt_Div->setValidator(new QRegularExpressionValidator(noLineBreak, txt_Div));
    label->setBuddy(txt_Div);
    auto* ok = new QPushButton(QString::fromUtf8("OK(&O)"), this);
    ok->setObjectName("cmd_Ok");
    ok->setDefault(true);
    auto* cancel = new QPushButton(QString::fromUtf8("キャンセル(&C)"), this);
    cancel->setObjectName("cmd_Cancel");
    connect(ok, &QPushButton::clicked, this, &TfrmDiv::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* field = new QHBoxLayout;
    field->addWidget(label);
    field->addWidget(txt_Div);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addLayout(buttons);
}

void TfrmDiv::setDelimiter(const std::string& cp932) {
    txt_Div->setText(QString::fromStdString(CodePage::toUtf8(cp932)));
    txt_Div->selectAll();
}

// An empty field is refused with a message; a line break or a character the table's code
// page cannot hold beeps. Either way the dialog stays open.
void TfrmDiv::confirm() {
    const QString text = txt_Div->text();
    if (text.isEmpty()) {
        Prompt::warn("値を入力してください。");
        txt_Div->setFocus();
        return;
    }
    std::string cp932;
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'))) {
        Prompt::beep();
        txt_Div->setFocus();
        return;
    }
    if (CodePage::utf8ToCp932(text.toStdString(), cp932) > 0 || cp932.empty()) {
        Prompt::beep();
        txt_Div->setFocus();
        return;
    }
    Cp932Text::sanitise(cp932);
    delimiter_ = cp932.substr(0, static_cast<std::size_t>(Cp932Text::charLength(cp932, 0)));
    accept();
}

std::optional<std::string> TfrmDiv::ask(QWidget* parent, const QString& caption, const std::string& last) {
    TfrmDiv dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setDelimiter(last);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.delimiter();
}
