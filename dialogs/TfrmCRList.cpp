// TfrmCRList: showing vxc.lst, choosing an entry to load, opening its data file and deleting it.
#include "dialogs/TfrmCRList.h"

#include <QEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <filesystem>

#include "platform/core/Prompt.h"
#include "store/CMyColourFile.h"
#include "view/CMyHyoDraw.h"

namespace {

constexpr int NameLength = CMyColourFile::TempNameLength;
constexpr int PathOffset = CMyColourFile::ListPathOffset;

// "YYYY/MM/DD hh:mm:ss" of the 14-digit stamp at bytes 18-31 of a list line.
QString stampText(const std::string& line) {
    const QString s = QString::fromLatin1(line.substr(18, 14));
    return s.mid(0, 4) + "/" + s.mid(4, 2) + "/" + s.mid(6, 2) + " " + s.mid(8, 2) + ":" +
           s.mid(10, 2) + ":" + s.mid(12, 2);
}

QLabel* heading(QWidget* owner, const char* caption) {
    return new QLabel(QString::fromUtf8(caption), owner);
}

} // namespace

TfrmCRList::TfrmCRList(CMyGlobal& settings, QWidget* parent) : QDialog(parent), global(settings) {
    setObjectName("TfrmCRList");
    setWindowTitle(QStringLiteral("一時保存の色情報一覧"));
    setModal(true);

    lst_Main = new QListWidget(this);
    lst_Main->setObjectName("lst_Main");
    QFont fixed(CMyHyoDraw::fontFamily());
    fixed.setStyleHint(QFont::Monospace);
    lst_Main->setFont(fixed);
    lst_Main->installEventFilter(this);
    cmd_ReLoad = new QPushButton(QStringLiteral("色情報読込"), this);
    cmd_ReLoad->setObjectName("cmd_ReLoad");
    cmd_Open = new QPushButton(QStringLiteral("連携先ファイルを開く"), this);
    cmd_Open->setObjectName("cmd_Open");
    cmd_Open->setAutoDefault(false);

    QLayout* header = headerOverList(lst_Main->font());
    auto* buttons = new QHBoxLayout;
    auto* note = heading(this, "※データの再読込も発生するので更新がある場合は保存してから使用ください。");
    note->setWordWrap(true);
    buttons->addWidget(note, 1);
    buttons->addWidget(cmd_ReLoad);
    buttons->addWidget(cmd_Open);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(lst_Main);
    layout->addLayout(buttons);
    resize(720, 360);

    connect(cmd_ReLoad, &QPushButton::clicked, this, &TfrmCRList::cmd_ReLoadClick);
    connect(cmd_Open, &QPushButton::clicked, this, &TfrmCRList::openLinkedFile);
    connect(lst_Main, &QListWidget::itemDoubleClicked, this, &TfrmCRList::openLinkedFile);
    loadList();
}

// Builds the headings, which stand over the columns of the fixed-pitch lines: the name from character 2,
// the linked file's time stamp from 21 and its path from 42 (ShownPathColumn), with
// "連携先情報" over the last two. The list's text starts after its frame and the item
// view's text margin.
QLayout* TfrmCRList::headerOverList(const QFont& listFont) {
    const int character = QFontMetrics(listFont).horizontalAdvance(QLatin1Char('0'));
    const int margin = lst_Main->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lst_Main);
    const int textStart = lst_Main->frameWidth() + margin + 1;
    constexpr int NameColumn = 2, StampColumn = 21;
    auto* stampAndPath = new QHBoxLayout;
    stampAndPath->setSpacing(0);
    QLabel* stamp = heading(this, "更新日");
    stamp->setFixedWidth((ShownPathColumn - StampColumn) * character);
    stampAndPath->addWidget(stamp);
    stampAndPath->addWidget(heading(this, "パス"), 1);
    auto* linked = new QVBoxLayout;
    linked->setSpacing(0);
    linked->addWidget(heading(this, "連携先情報"));
    linked->addLayout(stampAndPath);
    auto* header = new QHBoxLayout;
    header->setSpacing(0);
    header->addSpacing(textStart + NameColumn * character);
    QLabel* name = heading(this, "色情報ID");
    name->setFixedWidth((StampColumn - NameColumn) * character);
    header->addWidget(name, 0, Qt::AlignBottom);
    header->addLayout(linked, 1);
    return header;
}

void TfrmCRList::setCurrentName(const std::string& name) {
    currentName_ = name;
    loadList();
}

void TfrmCRList::setReloadEnabled(bool on) { cmd_ReLoad->setEnabled(on); }

QString TfrmCRList::displayLine(const std::string& line, const std::string& currentName) {
    const bool mine = !currentName.empty() && line.compare(0, NameLength, currentName) == 0;
    QString shown = mine ? QStringLiteral("* ") : QStringLiteral("  ");
    shown += QString::fromLatin1(line.substr(0, NameLength + 1));
    shown += QLatin1Char(' ') + stampText(line) + QStringLiteral("  ");
    // Paths are native bytes, UTF-8 on this system.
    shown += QString::fromUtf8(line.substr(PathOffset));
    return shown;
}

void TfrmCRList::loadList() {
    lst_Main->clear();
    currentEntry_ = -1;
    for (const std::string& line : CMyColourFile::readTemporaryList(global)) {
        if (line.size() <= static_cast<size_t>(MinLineBytes) || line.size() >= static_cast<size_t>(MaxLineBytes))
            continue;
        auto* item = new QListWidgetItem(displayLine(line, currentName_), lst_Main);
        // The limits and the name are checked on the bytes as stored, not on the shown text.
        item->setData(Qt::UserRole, QByteArray::fromStdString(line));
        if (currentEntry_ < 0 && isCurrentDocument(line)) currentEntry_ = lst_Main->count() - 1;
        pathColumn_ = ShownPathColumn;
    }
}

bool TfrmCRList::isCurrentDocument(const std::string& line) const {
    return !currentName_.empty() && line.compare(0, NameLength, currentName_) == 0;
}

bool TfrmCRList::isValidLine(const std::string& line) {
    // Only a name this program makes may name a file in the store.
    return line.size() >= static_cast<size_t>(MinLineBytes) && line.size() < static_cast<size_t>(MaxLineBytes) &&
           CMyColourFile::isTemporaryName(line.substr(0, NameLength));
}

std::string TfrmCRList::rawLine(const QListWidgetItem* item) {
    return item->data(Qt::UserRole).toByteArray().toStdString();
}

const QListWidgetItem* TfrmCRList::selectedEntry() const {
    const QList<QListWidgetItem*> chosen = lst_Main->selectedItems();
    if (chosen.isEmpty()) {
        Prompt::warn("選択してください。");
        return nullptr;
    }
    return chosen.front();
}

void TfrmCRList::cmd_ReLoadClick() {
    const QListWidgetItem* item = selectedEntry();
    if (!item) return;
    const std::string line = rawLine(item);
    if (!isValidLine(line)) {
        Prompt::warn("選択されたデータは不正なデータです。");
        return;
    }
    currentName_ = line.substr(0, NameLength);
    nameChosen_ = true;
    accept();
}

void TfrmCRList::openLinkedFile() {
    const QListWidgetItem* item = selectedEntry();
    if (!item) return;
    const std::string line = rawLine(item);
    if (isCurrentDocument(line)) {
        Prompt::warn("既に開かれているファイルです。");
        return;
    }
    if (!isValidLine(line)) {
        Prompt::warn("選択されたデータは不正なデータです。");
        return;
    }
    if (pathColumn_ == 0) {
        Prompt::warn("リストがありません。");
        return;
    }
    const std::string path = line.substr(PathOffset);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        Prompt::warn("対象ファイルが存在しません。");
        return;
    }
    if (startInstance) startInstance(path);
}

void TfrmCRList::deleteEntry() {
    const QListWidgetItem* item = selectedEntry();
    if (!item) return;
    const std::string line = rawLine(item);
    if (isCurrentDocument(line)) {
        Prompt::warn("開いているファイルの色情報は削除は出来ません。");
        return;
    }
    if (!isValidLine(line)) {
        Prompt::warn("選択されたデータは不正なデータです。");
        return;
    }
    if (!Prompt::askYesNo("色情報を削除します。\nよろしいですか？"))
        return;
    // Another instance may have rewritten the list since it was shown: the entry is found
    // again by its name, never by its position.
    CMyColourFile::removeTemporaryEntry(global, line.substr(0, NameLength));
    loadList();
}

bool TfrmCRList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lst_Main && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteEntry();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
