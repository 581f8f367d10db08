// TfrmHelp: the manual in a QTextBrowser, its tool bar and its find bar.
#include "dialogs/TfrmHelp.h"

#include "platform/core/Prompt.h"
#include "platform/core/Shell.h"

#include <QAction>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

TfrmHelp::TfrmHelp(QWidget* owner) : QDialog(owner) {
    setObjectName("TfrmHelp");
    setWindowTitle(QStringLiteral("Vexil ヘルプ"));
    // A reference window, not a question: it stays open while the user works in the table.
    setModal(false);
    setSizeGripEnabled(true);
    resize(860, 640);

    txt_Help = new QTextBrowser(this);
    txt_Help->setObjectName("txt_Help");
    txt_Help->setOpenLinks(false);
    connect(txt_Help, &QTextBrowser::anchorClicked, this, &TfrmHelp::followLink);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolBar();
    layout->addWidget(findChild<QToolBar*>("tb_Help"));
    layout->addWidget(txt_Help, 1);
    buildFindBar();
    layout->addWidget(pnl_Find);
}

void TfrmHelp::buildToolBar() {
    auto* bar = new QToolBar(this);
    bar->setObjectName("tb_Help");
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [&](const char* name, const QString& text, QKeySequence key, auto slot) {
        QAction* a = bar->addAction(text);
        a->setObjectName(name);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QAction* back = add("act_Back", QStringLiteral("戻る"), QKeySequence::Back,
                        [this] { txt_Help->backward(); });
    QAction* forward = add("act_Forward", QStringLiteral("進む"), QKeySequence::Forward,
                           [this] { txt_Help->forward(); });
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(txt_Help, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(txt_Help, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    add("act_Home", QStringLiteral("目次"), QKeySequence(), [this] { txt_Help->home(); });
    bar->addSeparator();
    add("act_Find", QStringLiteral("検索"), QKeySequence::Find, [this] { openFindBar(); });
    add("act_ZoomIn", QStringLiteral("拡大"), QKeySequence::ZoomIn, [this] { txt_Help->zoomIn(1); });
    add("act_ZoomOut", QStringLiteral("縮小"), QKeySequence::ZoomOut,
        [this] { txt_Help->zoomOut(1); });
}

void TfrmHelp::buildFindBar() {
    pnl_Find = new QWidget(this);
    pnl_Find->setObjectName("pnl_Find");
    auto* row = new QHBoxLayout(pnl_Find);
    row->setContentsMargins(6, 4, 6, 4);
    row->addWidget(new QLabel(QStringLiteral("検索:"), pnl_Find));
    txt_Find = new QLineEdit(pnl_Find);
    txt_Find->setObjectName("txt_Find");
    row->addWidget(txt_Find, 1);
    auto* up = new QPushButton(QStringLiteral("上検索"), pnl_Find);
    up->setObjectName("cmd_FindUp");
    auto* down = new QPushButton(QStringLiteral("下検索"), pnl_Find);
    down->setObjectName("cmd_FindDown");
    auto* close = new QPushButton(QStringLiteral("閉じる"), pnl_Find);
    close->setObjectName("cmd_FindClose");
    for (QPushButton* b : {up, down, close}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    connect(txt_Find, &QLineEdit::returnPressed, this, [this] { findText(txt_Find->text()); });
    connect(down, &QPushButton::clicked, this, [this] { findText(txt_Find->text()); });
    connect(up, &QPushButton::clicked, this, [this] { findText(txt_Find->text(), true); });
    connect(close, &QPushButton::clicked, pnl_Find, &QWidget::hide);
    // Escape in the find bar closes the bar, not the window.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), pnl_Find);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        pnl_Find->hide();
        txt_Help->setFocus();
    });
    pnl_Find->hide();
}

bool TfrmHelp::showPage(const QString& indexPath, const QString& anchor) {
    if (!QFileInfo(indexPath).isReadable()) return false;
    QUrl url = QUrl::fromLocalFile(QFileInfo(indexPath).absoluteFilePath());
    if (!anchor.isEmpty()) url.setFragment(anchor);
    txt_Help->setSource(url);
    show();
    raise();
    activateWindow();
    return true;
}

bool TfrmHelp::findText(const QString& text, bool backward) {
    if (text.isEmpty()) return false;
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (txt_Help->find(text, flags)) return true;
    // Go round once: from the other end of the page.
    const QTextCursor kept = txt_Help->textCursor();
    txt_Help->moveCursor(backward ? QTextCursor::End : QTextCursor::Start);
    if (txt_Help->find(text, flags)) return true;
    txt_Help->setTextCursor(kept);
    Prompt::beep();
    return false;
}

void TfrmHelp::openFindBar() {
    pnl_Find->show();
    txt_Find->setFocus();
    txt_Find->selectAll();
}

void TfrmHelp::followLink(const QUrl& link) {
    const QUrl target = txt_Help->source().resolved(link);
    if (target.isLocalFile() || target.scheme().isEmpty()) {
        txt_Help->setSource(target);
        return;
    }
    Shell::openUrl(target.toString(QUrl::FullyEncoded).toStdString());
}
