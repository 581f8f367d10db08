// TfrmFind: layout, the per-mode controls, confirming the input and the history files.
#include "dialogs/TfrmFind.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <utility>

#include "engine/FindParameters.h"
#include "engine/FindReplace.h"
#include "platform/core/CodePage.h"
#include "platform/core/Prompt.h"
#include "settings/CMyGlobal.h"
#include "settings/CMyHistory.h"
#include "store/CellMatch.h"
#include "store/Cp932Text.h"
#include "view/CMyHyoCom.h"

namespace {

constexpr int FieldCharacters = 50;
constexpr int NumericEntries = 4;   // cbo_Kind entries from here on compare numbers

const char* const Kinds[] = {"完全に一致する", "先頭文字が一致する", "最後の文字が一致する", "一致する文字がある",
                             "一致(数値)", "以上(≧)(数値)", "以下(≦)(数値)", "超過(＞)(数値)", "未満(＜)(数値)"};

QColor paletteColour(uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// Draws each colour entry as a swatch instead of its text.
class SwatchDelegate : public QStyledItemDelegate {
public:
    SwatchDelegate(const CMyHyoCom& com, QObject* parent) : QStyledItemDelegate(parent), com_(com) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        painter->fillRect(option.rect, option.palette.base());
        if (option.state & QStyle::State_Selected) painter->fillRect(option.rect, option.palette.highlight());
        QRect swatch(option.rect.left() + 2, option.rect.top() + 1, 28, option.rect.height() - 3);
        painter->setPen(Qt::black);
        painter->setBrush(paletteColour(com_.backgroundColour(index.row())));
        painter->drawRect(swatch);
    }

private:
    const CMyHyoCom& com_;
};

QPixmap swatchPixmap(const QColor& colour) {
    QPixmap pixmap(28, 12);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 27, 11);
    return pixmap;
}

QComboBox* editableList() {
    auto* box = new QComboBox;
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->lineEdit()->setMaxLength(FieldCharacters);
    box->setMinimumWidth(260);
    return box;
}

QString fromCp932(const std::string& text) { return QString::fromStdString(CodePage::toUtf8(text)); }

}  // namespace

TfrmFind::TfrmFind(CMyGlobal& global, const CMyHyoCom& com, QWidget* parent) : QDialog(parent), global_(global) {
    setObjectName("TfrmFind");
    buildControls(com);
}

void TfrmFind::buildControls(const CMyHyoCom& com) {
    lbl_Data = new QLabel(QStringLiteral("検索文字列"));
    lbl_Data->setObjectName("lbl_Data");
    cbo_Data = editableList();
    cbo_Data->setObjectName("cbo_Data");
    lbl_Press = new QLabel(QStringLiteral("置換文字列"));
    lbl_Press->setObjectName("lbl_Press");
    cbo_Press = editableList();
    cbo_Press->setObjectName("cbo_Press");
    lbl_Kind = new QLabel(QStringLiteral("検索方法"));
    lbl_Kind->setObjectName("lbl_Kind");
    cbo_Kind = new QComboBox;
    cbo_Kind->setObjectName("cbo_Kind");
    cbo_KindRep = new QComboBox;
    cbo_KindRep->setObjectName("cbo_KindRep");
    // Each field is found by its label's caption (keyboard and screen readers); the two lists
    // of methods share one label, whose buddy follows the mode.
    for (auto [label, field] : {std::pair<QLabel*, QWidget*>{lbl_Data, cbo_Data}, {lbl_Press, cbo_Press},
                                {lbl_Kind, cbo_Kind}, {lbl_Kind, cbo_KindRep}}) {
        label->setBuddy(field);
        field->setAccessibleName(label->text());
    }
    for (int i = 0; i < 9; ++i) cbo_Kind->addItem(QString::fromUtf8(Kinds[i]));
    for (int i = 0; i < 4; ++i) cbo_KindRep->addItem(QString::fromUtf8(Kinds[i]));
    cbo_Kind->setCurrentIndex(3);
    cbo_KindRep->setCurrentIndex(3);
    chk_Case = new QCheckBox(QStringLiteral("大文字／小文字判断する"));
    chk_Case->setObjectName("chk_Case");
    chk_Else = new QCheckBox(QStringLiteral("「以外」を対象"));
    chk_Else->setObjectName("chk_Else");
    chk_Color = new QCheckBox(QStringLiteral("背景色着色"));
    chk_Color->setObjectName("chk_Color");
    chk_Regex = new QCheckBox(QStringLiteral("正規表現(&X)"));
    chk_Regex->setObjectName("chk_Regex");
    // The pattern says where it matches, so the method lists have nothing to say.
    connect(chk_Regex, &QCheckBox::toggled, this, [this](bool on) {
        cbo_Kind->setEnabled(!on);
        cbo_KindRep->setEnabled(!on);
    });
    cbo_Color = new QComboBox;
    cbo_Color->setObjectName("cbo_Color");
    for (int i = 0; i < CMyHyoCom::PaletteSize; ++i)
        cbo_Color->addItem(QIcon(swatchPixmap(paletteColour(com.backgroundColour(i)))),
                           QString::asprintf("C%02d", i));
    cbo_Color->setItemDelegate(new SwatchDelegate(com, cbo_Color));
    cbo_Color->setCurrentIndex(11);
    cbo_Color->setEnabled(false);

    auto button = [this](QPushButton*& target, const char* name, const char* text, int result) {
        target = new QPushButton(QString::fromUtf8(text));
        target->setObjectName(name);
        target->setAutoDefault(false);
        connect(target, &QPushButton::clicked, this, [this, result] { confirmInput(result); });
    };
    button(cmd_Up, "cmd_Up", "上検索", FindUp);
    button(cmd_Down, "cmd_Down", "下検索", FindDown);
    button(cmd_Press, "cmd_Press", "全置換", FindReplaceAll);
    button(cmd_FindAll, "cmd_FindAll", "全検索", FindAllCells);
    button(cmd_Filter, "cmd_Filter", "抽出", FindDown);
    cmd_Cancel = new QPushButton(QStringLiteral("キャンセル(&C)"));
    cmd_Cancel->setObjectName("cmd_Cancel");
    cmd_Cancel->setAutoDefault(false);
    connect(cmd_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    cmd_FindAll->setEnabled(false);
    connect(chk_Color, &QCheckBox::toggled, this, [this](bool on) {
        cbo_Color->setEnabled(on);
        cmd_FindAll->setEnabled(on);
    });

    auto* fields = new QGridLayout;
    fields->addWidget(lbl_Data, 0, 0);
    fields->addWidget(cbo_Data, 0, 1);
    fields->addWidget(lbl_Press, 1, 0);
    fields->addWidget(cbo_Press, 1, 1);
    fields->addWidget(lbl_Kind, 2, 0);
    auto* kinds = new QHBoxLayout;
    kinds->addWidget(cbo_Kind);
    kinds->addWidget(cbo_KindRep);
    fields->addLayout(kinds, 2, 1);
    auto* switches = new QHBoxLayout;
    switches->addWidget(chk_Case);
    switches->addWidget(chk_Regex);
    switches->addWidget(chk_Else);
    switches->addWidget(chk_Color);
    switches->addWidget(cbo_Color);
    switches->addStretch();
    fields->addLayout(switches, 3, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {cmd_Up, cmd_Down, cmd_Press, cmd_FindAll, cmd_Filter, cmd_Cancel}) buttons->addWidget(b);
    buttons->addStretch();
    auto* top = new QHBoxLayout(this);
    top->addLayout(fields);
    top->addLayout(buttons);
}

void TfrmFind::showMode(int mode, const QString& columnName) {
    dialogMode = mode;
    const bool find = mode == FindModeFind;
    const bool replace = mode == FindModeReplace;
    const bool filter = mode == FindModeFilter;
    if (filter) setWindowTitle(columnName.isEmpty() ? QStringLiteral("抽出") : QStringLiteral("抽出（%1）").arg(columnName));
    else setWindowTitle(replace ? QStringLiteral("置換") : QStringLiteral("検索"));
    cmd_Up->setVisible(!filter);
    cmd_Down->setVisible(!filter);
    cmd_Press->setVisible(replace);
    cmd_FindAll->setVisible(find);
    cmd_Filter->setVisible(filter);
    cbo_Kind->setVisible(!replace);
    cbo_KindRep->setVisible(replace);
    lbl_Kind->setBuddy(replace ? cbo_KindRep : cbo_Kind);
    chk_Else->setVisible(filter);
    lbl_Press->setVisible(replace);
    cbo_Press->setVisible(replace);
    chk_Color->setVisible(!filter);
    cbo_Color->setVisible(!filter);
    (filter ? cmd_Filter : cmd_Down)->setDefault(true);
    (filter ? cmd_Down : cmd_Filter)->setDefault(false);

    loadHistories();
    cbo_Data->setEditText(fromCp932(searchText));
    if (replace) cbo_Press->setEditText(fromCp932(replaceText));
    dialogResult = FindCancelled;
    cbo_Data->setFocus();
    cbo_Data->lineEdit()->selectAll();
}

void TfrmFind::loadHistories() {
    if (findHistory_.empty()) {
        findHistory_ = global_.loadFindHistory();
        fillList(cbo_Data, findHistory_);
    }
    if (replaceHistory_.empty()) {
        replaceHistory_ = global_.loadReplaceHistory();
        fillList(cbo_Press, replaceHistory_);
    }
}

void TfrmFind::fillList(QComboBox* box, const std::vector<std::string>& entries) {
    const QString text = box->currentText();
    box->clear();
    for (const std::string& entry : entries) box->addItem(fromCp932(entry));
    box->setEditText(text);
}

int TfrmFind::matchKind() const {
    if (chk_Regex->isChecked()) return chk_Case->isChecked() ? MatchRegex : MatchRegexNoCase;
    if (dialogMode == FindModeReplace) return cbo_KindRep->currentIndex() + (chk_Case->isChecked() ? 4 : 0);
    const int index = cbo_Kind->currentIndex();
    if (index >= NumericEntries) return index + 6;
    return index + (chk_Case->isChecked() ? 4 : 0);
}

bool TfrmFind::excludeMatches() const { return dialogMode == FindModeFilter && chk_Else->isChecked(); }

int TfrmFind::colourIndex() const {
    return dialogMode != FindModeFilter && chk_Color->isChecked() ? cbo_Color->currentIndex() : -1;
}

// The field's text as CP932; false (after a beep) when a character cannot be held.
bool TfrmFind::readField(QComboBox* box, std::string& text) {
    if (CodePage::utf8ToCp932(box->currentText().toStdString(), text) != 0) {
        Prompt::beep();
        box->setFocus();
        return false;
    }
    Cp932Text::sanitise(text);
    return true;
}

void TfrmFind::confirmInput(int result) {
    const bool replace = dialogMode == FindModeReplace;
    if (dialogMode != FindModeFilter && cbo_Data->currentText().isEmpty()) {
        Prompt::warn("検索文字列を入力してください。");
        cbo_Data->setFocus();
        return;
    }
    QComboBox* kindList = replace ? cbo_KindRep : cbo_Kind;
    if (!chk_Regex->isChecked() && kindList->currentIndex() < 0) {
        Prompt::warn("検索方法を選択してください。");
        kindList->setFocus();
        return;
    }
    std::string search;
    std::string replacement;
    if (!readField(cbo_Data, search)) return;
    if (replace && !readField(cbo_Press, replacement)) return;
    // The engine keeps at most 50 bytes: a longer text gets its message and stays here, and
    // so does a faulty pattern.
    FindParameters probe;
    const bool accepted = dialogMode == FindModeFilter ? FindReplace::checkPattern(search, matchKind())
                                                       : FindReplace::setFindText(probe, search, 1, matchKind());
    if (!accepted) {
        cbo_Data->setFocus();
        return;
    }
    if (replace && !FindReplace::setReplaceText(probe, replacement)) {
        cbo_Press->setFocus();
        return;
    }
    searchText = search;
    CMyHistory::pushFindEntry(findHistory_, search);
    fillList(cbo_Data, findHistory_);
    replaceText.clear();
    if (replace) {
        replaceText = replacement;
        CMyHistory::pushFindEntry(replaceHistory_, replacement);
        fillList(cbo_Press, replaceHistory_);
    }
    dialogResult = result;
    accept();
}

// Every close writes the histories, the close box and Esc included.
void TfrmFind::done(int code) {
    if (code == QDialog::Rejected) dialogResult = FindCancelled;
    global_.saveFindHistory(findHistory_);
    global_.saveReplaceHistory(replaceHistory_);
    QDialog::done(code);
}
