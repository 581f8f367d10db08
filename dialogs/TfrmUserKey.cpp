// TfrmUserKey: the key list, the function groups and the assignment of a function to a key.
#include "dialogs/TfrmUserKey.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "dialogs/UserFunctionTable.h"
#include "platform/core/Prompt.h"
#include "settings/CMyGlobal.h"

namespace {

bool isShifted(int line) { return line >= TfrmUserKey::KeysPerHalf; }
int slotOf(int line) { return isShifted(line) ? line - TfrmUserKey::KeysPerHalf : line; }

QPushButton* button(QWidget* owner, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), owner);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TfrmUserKey::TfrmUserKey(CMyGlobal& settings, QWidget* parent) : QDialog(parent), global(settings) {
    setObjectName("TfrmUserKey");
    setWindowTitle(QStringLiteral("ユーザー定義キー割当"));
    setModal(true);

    lst_UserKey = new QListWidget(this);
    lst_UserKey->setObjectName("lst_UserKey");
    cbo_Kind = new QComboBox(this);
    cbo_Kind->setObjectName("cbo_Kind");
    for (const char* group : UserFunctionTable::groups()) cbo_Kind->addItem(QString::fromUtf8(group));
    lst_Syori = new QListWidget(this);
    lst_Syori->setObjectName("lst_Syori");
    cmd_Ok = button(this, "cmd_Ok", "Ok(&O)");
    cmd_Ok2 = button(this, "cmd_Ok2", "適用(&S)");
    cmd_Close = button(this, "cmd_Close", "閉じる(&C)");

    auto* keyHeading = new QLabel(QStringLiteral("【設定キー】：【設定した機能】"), this);
    keyHeading->setBuddy(lst_UserKey);
    auto* kindHeading = new QLabel(QStringLiteral("機能"), this);
    kindHeading->setBuddy(cbo_Kind);
    auto* grid = new QGridLayout(this);
    grid->addWidget(keyHeading, 0, 0);
    grid->addWidget(lst_UserKey, 1, 0, 2, 1);
    grid->addWidget(kindHeading, 0, 1);
    grid->addWidget(cbo_Kind, 1, 1);
    grid->addWidget(lst_Syori, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmd_Ok);
    buttons->addWidget(cmd_Ok2);
    buttons->addWidget(cmd_Close);
    grid->addLayout(buttons, 3, 0, 1, 2);
    resize(520, 380);

    connect(lst_UserKey, &QListWidget::itemSelectionChanged, this, &TfrmUserKey::lst_UserKeyClick);
    connect(cbo_Kind, &QComboBox::activated, this, &TfrmUserKey::cbo_KindChange);
    connect(lst_Syori, &QListWidget::itemSelectionChanged, this, &TfrmUserKey::lst_SyoriClick);
    connect(lst_Syori, &QListWidget::itemDoubleClicked, this, &TfrmUserKey::cmd_OkClick);
    connect(cmd_Ok, &QPushButton::clicked, this, &TfrmUserKey::cmd_OkClick);
    connect(cmd_Ok2, &QPushButton::clicked, this, &TfrmUserKey::cmd_Ok2Click);
    connect(cmd_Close, &QPushButton::clicked, this, &QDialog::reject);

    fillFunctionList(0);
    refreshKeyList();
    setChoiceEnabled(false);
}

QString TfrmUserKey::keyLine(int line, int value) {
    const QString prefix = isShifted(line) ? QStringLiteral("SHIFT+") : QString();
    const int digit = slotOf(line) + 1;
    // The closing brackets of the last two forms are half-width; the list has always shown
    // them that way.
    const UserFunction* function = value > 0 ? UserFunctionTable::find(value) : nullptr;
    if (function)
        return QStringLiteral("%1CTL+%2： %3").arg(prefix).arg(digit).arg(QString::fromUtf8(function->label));
    if (value == UserFunctionTable::Unusable)
        return QStringLiteral("%1CTL+%2： （使用不可)").arg(prefix).arg(digit);
    return QStringLiteral("%1CTL+%2： （未定義)").arg(prefix).arg(digit);
}

void TfrmUserKey::showModal(CMyGlobal& global, QWidget* parent) {
    TfrmUserKey dialog(global, parent);
    dialog.exec();
}

int TfrmUserKey::storedValue(int line) const {
    return global.userKey(slotOf(line), isShifted(line));
}

void TfrmUserKey::refreshKeyList() {
    const QSignalBlocker quiet(lst_UserKey);
    const int selected = lst_UserKey->currentRow();
    lst_UserKey->clear();
    for (int line = 0; line < KeyLineCount; ++line) lst_UserKey->addItem(keyLine(line, storedValue(line)));
    if (selected >= 0) lst_UserKey->setCurrentRow(selected);
    else lst_UserKey->clearSelection();
}

void TfrmUserKey::fillFunctionList(int group) {
    const QSignalBlocker quiet(lst_Syori);
    lst_Syori->clear();
    for (const UserFunction& entry : UserFunctionTable::entries()) {
        if (entry.group != group) continue;
        auto* item = new QListWidgetItem(QString::fromUtf8(entry.label), lst_Syori);
        // The number travels with the item: two labels could one day read alike.
        item->setData(Qt::UserRole, entry.number);
    }
}

void TfrmUserKey::setChoiceEnabled(bool on) {
    cbo_Kind->setEnabled(on);
    lst_Syori->setEnabled(on);
    cmd_Ok->setEnabled(on);
    cmd_Ok2->setEnabled(on);
}

void TfrmUserKey::lst_UserKeyClick() {
    const int line = lst_UserKey->selectedItems().isEmpty() ? -1 : lst_UserKey->currentRow();
    if (line < 0 || storedValue(line) == UserFunctionTable::Unusable) {
        setChoiceEnabled(false);
        const QSignalBlocker quiet(lst_Syori);
        lst_Syori->clearSelection();
        lst_Syori->setCurrentRow(-1);
        return;
    }
    setChoiceEnabled(true);
    const int value = storedValue(line);
    const UserFunction* found = UserFunctionTable::find(value);
    if (!found) return;   // an unknown number leaves both lists as they are
    int position = 0;
    for (const UserFunction& entry : UserFunctionTable::entries()) {
        if (&entry == found) break;
        if (entry.group == found->group) ++position;
    }
    {
        const QSignalBlocker quiet(cbo_Kind);
        cbo_Kind->setCurrentIndex(found->group);
    }
    fillFunctionList(found->group);
    const QSignalBlocker quiet(lst_Syori);
    lst_Syori->setCurrentRow(position);
}

void TfrmUserKey::cbo_KindChange(int group) {
    fillFunctionList(group);
    lst_Syori->setCurrentRow(-1);
    cmd_Ok->setEnabled(false);
    cmd_Ok2->setEnabled(false);
}

void TfrmUserKey::lst_SyoriClick() {
    if (lst_Syori->selectedItems().isEmpty()) return;
    cmd_Ok->setEnabled(true);
    cmd_Ok2->setEnabled(true);
}

bool TfrmUserKey::assignKey() {
    const int line = lst_UserKey->selectedItems().isEmpty() ? -1 : lst_UserKey->currentRow();
    if (line < 0) {
        Prompt::warn("設定キーを選択してください。");
        return false;
    }
    QListWidgetItem* function = lst_Syori->selectedItems().isEmpty() ? nullptr : lst_Syori->currentItem();
    if (!function) {
        Prompt::warn("機能を選択してください。");
        return false;
    }
    if (storedValue(line) == UserFunctionTable::Unusable) return false;
    global.setUserKey(slotOf(line), function->data(Qt::UserRole).toInt(), isShifted(line));
    return true;
}

void TfrmUserKey::cmd_OkClick() {
    if (assignKey()) accept();
}

void TfrmUserKey::cmd_Ok2Click() {
    if (assignKey()) refreshKeyList();
}
