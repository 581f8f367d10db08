// TfrmInfomation: the modal window that lists the selection's range and cell-size statistics.
#include "dialogs/TfrmInfomation.h"

#include <QListWidget>
#include <QVBoxLayout>

TfrmInfomation::TfrmInfomation(QWidget* parent) : QDialog(parent) {
    setObjectName("TfrmInfomation");
    setWindowTitle(QString::fromUtf8("情報表示"));
    lst_Main = new QListWidget(this);
    lst_Main->setObjectName("lst_Main");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lst_Main);
    resize(320, 160);
}

void TfrmInfomation::setItems(const std::vector<std::string>& items) {
    lst_Main->clear();
    for (const std::string& item : items) lst_Main->addItem(QString::fromStdString(item));
}

void TfrmInfomation::showItems(QWidget* parent, const std::vector<std::string>& items) {
    TfrmInfomation window(parent);
    window.setItems(items);
    window.exec();
}
