// TfrmCard: the card window - its table, view, editor and navigation, the row it shows, its
// commands and keys, and writing back into the main table.
#include "dialogs/TfrmCard.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

#include "grid/ClipboardBridge.h"
#include "grid/Navigator.h"
#include "editor/CMyEdit.h"
#include "engine/CardTransfer.h"
#include "engine/ClipboardText.h"
#include "engine/PasteOperation.h"
#include "platform/core/Prompt.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "view/CMyHyoCom.h"
#include "view/CMyHyoDraw.h"
#include "view/GridWidget.h"

namespace {

constexpr int ScrollBarThickness = 17;

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

} // namespace

TfrmCard::TfrmCard(CMyHyo& table, CMyGlobal& settings, CardWindowHooks windowHooks, QWidget* parent)
    : QDialog(parent), source(table), global(settings), hooks(std::move(windowHooks)) {
    setObjectName("TfrmCard");
    setModal(true);
    setMinimumSize(250, 200);
    setSizeGripEnabled(true);
    createLayout();
    createActions();
    createView();
    placeWindow();
}

TfrmCard::~TfrmCard() {
    navigator.reset();
    if (grid) grid->setView(nullptr);
}

// ---- creation ---------------------------------------------------------------------------

void TfrmCard::createLayout() {
    auto* client = new QWidget(this);
    auto* layout = new QGridLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    grid = new GridWidget(client);
    grid->setObjectName("pai_Pos");
    grid->setFocusPolicy(Qt::StrongFocus);
    grid->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    scr_Right = new QScrollBar(Qt::Vertical, client);
    scr_Right->setObjectName("scr_Right");
    scr_Right->setFixedWidth(ScrollBarThickness);
    scr_Bottom = new QScrollBar(Qt::Horizontal, client);
    scr_Bottom->setObjectName("scr_Bottom");
    scr_Bottom->setFixedHeight(ScrollBarThickness);
    layout->addWidget(grid, 0, 0);
    layout->addWidget(scr_Right, 0, 1);
    layout->addWidget(scr_Bottom, 1, 0);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->setMenuBar(new QMenuBar(this));
    auto* tools = new QToolBar(this);
    tools->setObjectName("ToolBar1");
    outer->addWidget(tools);
    outer->addWidget(client, 1);
}

QAction* TfrmCard::addCommand(const char* name, const char* caption, const char* shortcut,
                              void (TfrmCard::*slot)()) {
    auto* action = new QAction(QString::fromUtf8(caption), this);
    action->setObjectName(name);
    if (shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void TfrmCard::createActions() {
    auto* menus = static_cast<QMenuBar*>(layout()->menuBar());
    QMenu* file = menus->addMenu(QStringLiteral("ファイル(&F)"));
    QAction* newCardAction = addCommand("mnuFileNew", "新規カード(&N)", "Ctrl+N", &TfrmCard::newCard);
    QAction* updateAction = addCommand("mnuFileUpdate", "更新(&S)", "F5", &TfrmCard::updateCard);
    file->addAction(newCardAction);
    file->addAction(updateAction);
    file->addAction(addCommand("mnuFileSave", "更新してファイル保存(&S)", "Ctrl+S", &TfrmCard::mnuFileSaveClick));
    file->addSeparator();
    file->addAction(addCommand("mnuFileCancel", "更新キャンセルして終了(&C)", nullptr, &TfrmCard::mnuFileCancelClick));
    file->addAction(addCommand("mnuFileExit", "更新して終了(&Q)", "F6", &TfrmCard::mnuFileExitClick));

    QMenu* edit = menus->addMenu(QStringLiteral("編集(&E)"));
    edit->addAction(addCommand("mnu_EditUndo", "元に戻す(&Z)", "Ctrl+Z", &TfrmCard::undo));
    QAction* redoAction = addCommand("mnu_EditRedo", "やり直し(&R)", "Ctrl+Y", &TfrmCard::redo);
    redoAction->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    edit->addAction(redoAction);
    // Ctrl+C and Ctrl+V stay characters of the grid and the editor, so these carry no shortcut.
    edit->addAction(addCommand("mnu_EditCopy", "コピー(&C)", nullptr, &TfrmCard::copyCells));
    edit->addAction(addCommand("mnu_EditPaste", "貼り付け(&P)", nullptr, &TfrmCard::pastePlain));
    edit->addAction(addCommand("mnu_EditPasteNoRet", "貼り付け(改行なし)", nullptr, &TfrmCard::pasteWithoutBreaks));

    auto* tools = findChild<QToolBar*>("ToolBar1");
    auto button = [&](const char* name, const char* text, const char* hint, QStyle::StandardPixmap icon,
                      void (TfrmCard::*slot)()) {
        auto* a = addCommand(name, text, nullptr, slot);
        a->setIcon(style()->standardIcon(icon));
        a->setToolTip(QString::fromUtf8(hint));
        tools->addAction(a);
    };
    button("tb_New", "新規カード", "新規カード(&N)", QStyle::SP_FileIcon, &TfrmCard::newCard);
    button("tb_Update", "更新する(F5)", "更新する(F5)", QStyle::SP_BrowserReload, &TfrmCard::updateCard);
    button("tb_Left", "前行へ移動", "前ページ(Ctl+左矢印)", QStyle::SP_ArrowLeft, &TfrmCard::moveBack);
    button("tb_Right", "次行へ移動", "次ページ(Ctl+右矢印)", QStyle::SP_ArrowRight, &TfrmCard::moveNext);
}

void TfrmCard::createView() {
    palette = std::make_unique<CMyHyoCom>();
    card = std::make_unique<CMyHyo>();
    CardTransfer::prepare(*card);
    card->setZoomPercent(global.cardScale());
    view = std::make_unique<CMyHyoDraw>(*card, *palette);
    view->setLimits(1, CardTransfer::MaxCardRows);   // two columns once a row is loaded
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QSize screenSize = s ? s->size() : QSize(1920, 1080);
    view->attach(screenSize.width(), screenSize.height(), 0, 0, global.cardScale());
    grid->setView(view.get());
    // A card cell shows only its own text: overflowing into the next column would cover values.
    view->setOptions(global.showLineCursor(), false, 0, 0, 0);
    view->setLineBreakMarks(global.showCellLineBreaks());
    view->setSelectionColourMode(global.selectionColour());
    view->setViewSize(grid->width(), grid->height());

    editor = std::make_unique<CMyEdit>();
    editor->attach(grid);
    editor->setScale(global.cardScale());

    navigator = std::make_unique<Navigator>(*card, *view, *editor, global, grid, scr_Right,
                                            scr_Bottom, static_cast<NavigatorHost&>(*this));
    navigator->installOn(grid);
    // Installed after the navigation's filter, so the card sees the keys first.
    grid->installEventFilter(this);
    connect(grid, &GridWidget::resized, this, [this] {
        view->setViewSize(grid->width(), grid->height());
        redraw();
    });
    connect(scr_Right, &QScrollBar::valueChanged, this, [this] { navigator->scr_RightChange(); });
    connect(scr_Bottom, &QScrollBar::valueChanged, this, [this] { navigator->scr_BottomChange(); });
}

void TfrmCard::placeWindow() {
    resize(462, 600);
    if (global.isMaximized(cardWindow)) {
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    WindowPlace place;
    if (global.restoreWindow(cardWindow, place)) {
        move(place.left, place.top);
        resize(std::max(int(place.width), 250), std::max(int(place.height), 200));
    }
}

// ---- the row on the card ----------------------------------------------------------------

void TfrmCard::loadCard(int row) {
    cardModified_ = false;
    view->setLimits(2, CardTransfer::MaxCardRows);
    cardRow_ = CardTransfer::shownRow(source, row);
    const bool namesAsked = !source.inHeaderMode() && row <= 0;
    updateTitle();
    if (source.inHeaderMode()) CardTransfer::fillTitleColumn(source, *card);
    else CardTransfer::fillValueColumn(source, *card, 0, CardTransfer::ItemColumn);
    fillValues();
    // Widths and heights the user set in an earlier card of this run (the widths also from
    // vexil.ini) come back; they are part of the card, not something to undo.
    card->journal().setRecording(false);
    card->setColumnWidth(0, global.cardColumnWidth(0));
    card->setColumnWidth(1, global.cardColumnWidth(1));
    for (int r = 0; r < card->rowCount() && global.cardRowHeight(r) > 0; ++r)
        card->setRowHeight(r, global.cardRowHeight(r));
    card->journal().clear();
    card->journal().setRecording(true);
    navigator->raiseScrollRanges();
    navigator->goToCell(namesAsked ? CardTransfer::ItemColumn : CardTransfer::ValueColumn, 0);
    redraw();
}

// The grid has its real size only once the window is laid out for showing: the card is then
// scrolled back to its start, so that a cursor placed while the grid was tiny does not leave
// the item column scrolled away.
void TfrmCard::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    view->setViewSize(grid->width(), grid->height());
    const int column = view->curColumn(), row = view->curRow();
    navigator->scrollSync = true;
    scr_Right->setValue(0);
    scr_Bottom->setValue(0);
    navigator->scrollSync = false;
    navigator->renderAtPositions(true);
    navigator->goToCell(column, row);
    redraw();
}

void TfrmCard::fillValues() {
    CardTransfer::fillValueColumn(source, *card, cardRow_, CardTransfer::ValueColumn);
    navigator->raiseScrollRanges();
}

bool TfrmCard::returnMovesRight() const { return hooks.returnMovesRight && hooks.returnMovesRight(); }

void TfrmCard::updateTitle() {
    setWindowTitle(QStringLiteral("カード編集:%1行目").arg(cardRow_ + 1));
}

void TfrmCard::redraw() {
    navigator->renderAtPositions(true);
    grid->update();
}

void TfrmCard::commitEdit() { navigator->commitEdit(); }

bool TfrmCard::writeBack() {
    commitEdit();
    const CardTransfer::WriteResult result = CardTransfer::writeBack(source, *card, cardRow_);
    if (result.status != CardTransfer::Written) return false;
    if (hooks.rowWritten) hooks.rowWritten(result.changed);
    cardModified_ = false;
    return true;
}

void TfrmCard::moveCard(int distance) {
    commitEdit();
    if ((distance < 0 && cardRow_ <= CardTransfer::firstRow(source)) ||
        (distance > 0 && cardRow_ >= lastRow())) {
        Prompt::beep();
        return;
    }
    if (cardModified_ && !writeBack()) return;
    cardRow_ += distance;
    fillValues();
    updateTitle();
    redraw();
    if (hooks.goToRow) hooks.goToRow(cardRow_);
}

void TfrmCard::newCard() {
    commitEdit();
    if (cardModified_ && !writeBack()) return;
    // The row after the data; a table of one row (or a full one) has no room for a card.
    const int target = source.rowCount();
    if (target <= 1 || target > lastRow()) {
        Prompt::beep();
        return;
    }
    cardRow_ = target;
    fillValues();
    navigator->goToCell(view->curColumn(), 0);
    updateTitle();
    redraw();
    if (hooks.goToRow) hooks.goToRow(cardRow_);
}

void TfrmCard::undo() {
    if (editor->isActive()) {
        Prompt::beep();
        return;
    }
    const UndoPosition at = card->undo();
    if (at.column < 0 && at.row < 0) return;
    navigator->goToCell(std::max(at.column, 0), std::max(at.row, 0));
    redraw();
}

// A redone edit is an edit of the card: it is written back like one.
void TfrmCard::redo() {
    if (editor->isActive()) {
        Prompt::beep();
        return;
    }
    const UndoPosition at = card->redo();
    if (at.column < 0 && at.row < 0) return;
    cardModified_ = true;
    navigator->goToCell(std::max(at.column, 0), std::max(at.row, 0));
    redraw();
}

// ---- clipboard ----------------------------------------------------------------------------

bool TfrmCard::copySelection() {
    const SelectionRange bounds = view->selectionBounds();
    const bool lineBreakOnly = global.copyQuoteLineBreakOnly();
    const long long size = ClipboardText::copyText(*card, bounds, ClipboardText::CopyTabs,
                                                   lineBreakOnly, nullptr, ClipboardLimit);
    if (size == 0) {
        Prompt::warn("コピーするデータがありません。");
        return false;
    }
    if (size > ClipboardLimit) {
        Prompt::warn("サイズをオーバーしました。5Mバイト以上のコピーはできません。");
        return false;
    }
    std::string text;
    ClipboardText::copyText(*card, bounds, ClipboardText::CopyTabs, lineBreakOnly, &text);
    ClipboardBridge::put(text);
    return true;
}

void TfrmCard::paste(bool plain) {
    commitEdit();
    int unrepresentable = 0;
    const std::string text = ClipboardBridge::take(unrepresentable);
    if (text.empty()) {
        Prompt::beep();
        return;
    }
    if (static_cast<long long>(text.size()) > ClipboardLimit) {
        Prompt::warn("サイズをオーバーしました。5Mバイト以上の貼り付けはできません。");
        return;
    }
    if (unrepresentable > 0) Prompt::beep();
    // Card row i is data column i, and the card has two columns: a block must fit both.
    const bool lineBreakOnly = global.copyQuoteLineBreakOnly();
    const ParseMode mode = plain ? ParseMode::Plain : lineBreakOnly ? ParseMode::Smart : ParseMode::Strict;
    const PastedBlock block = ClipboardText::parse(mode, text);
    const SelectionRange bounds = view->selectionBounds();
    if (!block.single() && (bounds.left + block.widest - 1 > CardTransfer::ValueColumn ||
                            bounds.top + block.rows() - 1 >= CardTransfer::MaxCardRows)) {
        Prompt::warn("貼り付けるデータが多すぎます。");
        return;
    }
    PasteOptions options;
    options.plain = plain;
    options.lineBreakOnly = lineBreakOnly;
    options.warnLineBreaks = global.lineBreakCopyWarning();
    const PasteOutcome outcome = PasteOperation::paste(*card, bounds, text, options);
    if (outcome != PasteOutcome::Pasted && outcome != PasteOutcome::Failed) return;
    cardModified_ = true;
    navigator->raiseScrollRanges();
    redraw();
}

// ---- closing ------------------------------------------------------------------------------

void TfrmCard::mnuFileSaveClick() {
    moveCard(0);
    if (!cardModified_ && hooks.save) hooks.save();
}

void TfrmCard::mnuFileCancelClick() { reject(); }

void TfrmCard::mnuFileExitClick() { close(); }

void TfrmCard::reject() {
    cardModified_ = false;
    storeSettings();
    QDialog::reject();
}

void TfrmCard::closeEvent(QCloseEvent* event) {
    commitEdit();
    if (cardModified_ && !writeBack()) {
        event->ignore();
        return;
    }
    storeSettings();
    event->accept();
}

void TfrmCard::storeSettings() {
    const bool maximized = isMaximized();
    global.setMaximized(cardWindow, maximized);
    if (!maximized) global.storeWindow(cardWindow, x(), y(), width(), height());
    global.setCardColumnWidth(0, card->columnWidth(0));
    global.setCardColumnWidth(1, card->columnWidth(1));
    for (int r = 0; r < card->rowCount(); ++r) global.setCardRowHeight(r, card->rowHeight(r));
}

// ---- keys ---------------------------------------------------------------------------------

bool TfrmCard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (handleKey(key->key(), key->modifiers())) return true;
    }
    return QDialog::eventFilter(watched, event);
}

// True when the card took the key; the rest goes to the grid (and an open edit to the editor).
bool TfrmCard::handleKey(int key, Qt::KeyboardModifiers modifiers) {
    if (editor->isActive()) return false;
    if (key == Qt::Key_Escape) {
        mnuFileCancelClick();
        return true;
    }
    if (key == Qt::Key_Delete) cardModified_ = true;
    if (!(modifiers & Qt::ControlModifier)) return false;
    if (key == Qt::Key_Left || key == Qt::Key_Right) {
        moveCard(key == Qt::Key_Left ? -1 : 1);
        return true;
    }
    const bool gridKey = key == Qt::Key_Home || key == Qt::Key_End || isEnter(key) ||
                         key == Qt::Key_Up || key == Qt::Key_Down;
    const bool clipboardKey = key == Qt::Key_C || key == Qt::Key_V || key == Qt::Key_X;
    // Other Ctrl keys (the user keys, zoom, row insertion) belong to the main window.
    return !(gridKey || clipboardKey);
}
