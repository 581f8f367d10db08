// TfrmMain: window creation, caption, command line, instances, menus, close and status bar.
#include "app/TfrmMain.h"

#include "app/CommandLine.h"
#include "app/CommandRules.h"
#include "app/CommandSurfaces.h"
#include "app/CommandTable.h"
#include "app/DocumentSaver.h"
#include "grid/Navigator.h"
#include "app/SearchRunner.h"
#include "dialogs/TfrmFind.h"
#include "engine/ColumnDerive.h"
#include "editor/CMyEdit.h"
#include "platform/core/CodePage.h"
#include "platform/core/Prompt.h"
#include "platform/core/Shell.h"
#include "print/CMyPrint.h"
#include "settings/CMyGlobal.h"
#include "settings/CMyPublic.h"
#include "app/ProgressWindow.h"
#include "store/CMyHyo.h"
#include "store/TableLimits.h"
#include "store/ColourOpenSteps.h"
#include "store/OpenFlow.h"
#include "engine/SeriesFill.h"
#include "view/CMyHyoCom.h"
#include "view/CMyHyoDraw.h"
#include "view/GridWidget.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

#include <algorithm>
#include <filesystem>

namespace {

const char* const untitledCaption = "Ｖｅｘｉｌ";
constexpr int toolBarHeight = 30;
constexpr int toolButtonWidth = 25;
constexpr int bottomPanelHeight = 25;
constexpr int scrollBarThickness = 17;

QString qs(const std::string& utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

std::string toNative(const QString& path) { return path.toUtf8().toStdString(); }

} // namespace

// ---------------------------------------------------------------------------------------
// Creation

TfrmMain::TfrmMain(const std::vector<std::string>& arguments, QWidget* parent)
    : QMainWindow(parent) {
    setObjectName("TfrmMain");
    ProgressWindow::install();
    resize(782, 510);
    initDocumentState();
    createObjects();
    loadSettings();
    applyStoreSettings();
    copyStartFormat();
    createLayout();
    createStatusBar();
    createView();
    createEditor();
    createNavigator();
    createSearch();
    createCommands();
    raiseScrollRanges();
    placeWindow();
    commands_->setChecked("tb_Ret", global_->returnMovesRight());
    startWithCommandLine(arguments);
    updateStatus(0);
    updateFormatPanels();
    setAcceptDrops(true);
    grid->setFocus();
}

TfrmMain::~TfrmMain() {
    // The view and editor go first, then the shared objects in the reverse of their creation.
    saver_.reset();
    searchRunner.reset();
    navigator.reset();
    if (grid) grid->setView(nullptr);
    draw_.reset();
    edit_.reset();
    print_.reset();
    hyoCom_.reset();
    hyo_.reset();
    public_.reset();
    global_.reset();
}

void TfrmMain::initDocumentState() {
    doc = DocumentState{};
    doc.separator = ',';
}

void TfrmMain::createObjects() {
    global_ = std::make_unique<CMyGlobal>();
    public_ = std::make_unique<CMyPublic>();
    hyoCom_ = std::make_unique<CMyHyoCom>();
    hyo_ = std::make_unique<CMyHyo>();
    print_ = std::make_unique<CMyPrint>(*global_);
}

void TfrmMain::loadSettings() {
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect area = s ? s->geometry() : QRect(0, 0, 1920, 1080);
    global_->loadSettings(area.width(), area.height());
}

void TfrmMain::applyStoreSettings() {
    hyo_->journal().setLimit(global_->undoSize());
    TableLimits::setMaxRows(global_->maxRows());
    hyo_->setZoomPercent(global_->viewScale());
}

void TfrmMain::copyStartFormat() {
    doc.colourMode = global_->colourFileMode();
    doc.encoding = global_->startEncoding();
    doc.lineEnding = global_->startLineEnd();
    doc.withBom = global_->startBom();
    optionsPage = 0;
}

// The grid fills the client area left of scr_Right and above the bottom panel, which holds
// scr_Bottom and a corner panel under scr_Right.
void TfrmMain::createLayout() {
    auto* client = new QWidget(this);
    client->setObjectName("pnl_Client");
    auto* layout = new QGridLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The grid widget's top-left corner is the grid origin (the pai_Pos marker of the form).
    grid = new GridWidget(client);
    grid->setObjectName("pai_Pos");
    grid->setFocusPolicy(Qt::StrongFocus);
    grid->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    grid->setMinimumSize(0, 0);

    scr_Right = new QScrollBar(Qt::Vertical, client);
    scr_Right->setObjectName("scr_Right");
    scr_Right->setFixedWidth(scrollBarThickness);
    scr_Right->setRange(0, 0);

    pnl_Bottom = new QWidget(client);
    pnl_Bottom->setObjectName("pnl_Bottom");
    pnl_Bottom->setFixedHeight(bottomPanelHeight);
    auto* bottom = new QHBoxLayout(pnl_Bottom);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->setSpacing(0);
    scr_Bottom = new QScrollBar(Qt::Horizontal, pnl_Bottom);
    scr_Bottom->setObjectName("scr_Bottom");
    scr_Bottom->setRange(0, 10);
    pnl_Corner = new QWidget(pnl_Bottom);
    pnl_Corner->setObjectName("pnl_Corner");
    pnl_Corner->setFixedWidth(scrollBarThickness);
    bottom->addWidget(scr_Bottom);
    bottom->addWidget(pnl_Corner);

    layout->addWidget(grid, 0, 0);
    layout->addWidget(scr_Right, 0, 1);
    layout->addWidget(pnl_Bottom, 1, 0, 1, 2);
    setCentralWidget(client);
    setMinimumSize(minimumWidth, minimumHeight);
}

// Menus and toolbar come from the command table; the window answers the menus' openings.
void TfrmMain::createCommands() {
    ToolBar2 = addToolBar(QStringLiteral("ToolBar2"));
    ToolBar2->setObjectName("ToolBar2");
    ToolBar2->setMovable(false);
    ToolBar2->setFixedHeight(toolBarHeight);
    ToolBar2->setIconSize(QSize(16, 16));
    ToolBar2->setToolButtonStyle(Qt::ToolButtonIconOnly);
    commands_ = new CommandSurfaces(*this, *this);
    commands_->build(menuBar(), ToolBar2, toolButtonWidth);
    connect(commands_, &CommandSurfaces::menuOpening, this, [this](const QString& name) {
        if (name == QLatin1String("mnuFileHist")) fillRecentFiles();
    });
}

void TfrmMain::createStatusBar() { status = std::make_unique<StatusReport>(statusBar(), *this); }

// The view paints on the grid widget with its origin at the widget's corner.
void TfrmMain::createView() {
    draw_ = std::make_unique<CMyHyoDraw>(*hyo_, *hyoCom_);
    columnDerive_ = std::make_unique<ColumnDerive>();
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QSize screenSize = s ? s->size() : QSize(1920, 1080);
    draw_->attach(screenSize.width(), screenSize.height(), 0, 0, global_->viewScale());
    grid->setView(draw_.get());
    // The fill handle and F4 both end here; the navigation marks the document modified and
    // redraws when this reports a change.
    draw_->fillHandler = [this](const CellBlock& source, const SelectionBounds& target) {
        const EditOutcome out =
            SeriesFill(*hyo_, *public_)
                .run({source.anchorColumn, source.anchorRow, source.endColumn, source.endRow},
                     target);
        // Filling below the last row or right of the widest one grows the table.
        if (out.raiseRanges && navigator) raiseScrollRanges();
        return out.none() ? 0 : 1;
    };
    layoutView();
    applyViewOptions();
    connect(grid, &GridWidget::resized, this, [this] {
        layoutView();
        redrawGrid(true);
    });
}

void TfrmMain::applyViewOptions() {
    draw_->setOptions(global_->showLineCursor(), global_->cellOverflow(), global_->showEndLine(),
                      global_->alternateRows(), global_->alternateColour());
    draw_->setLineBreakMarks(global_->showCellLineBreaks());
    draw_->setSelectionColourMode(global_->selectionColour());
}

void TfrmMain::createEditor() {
    edit_ = std::make_unique<CMyEdit>();
    edit_->attach(grid);
    edit_->setScale(global_->viewScale());
}

// Keys, mouse, wheel and scroll bars of the grid go through the navigation.
void TfrmMain::createNavigator() {
    navigator = std::make_unique<Navigator>(*hyo_, *draw_, *edit_, *global_, grid, scr_Right,
                                            scr_Bottom, static_cast<NavigatorHost&>(*this));
    navigator->installOn(grid);
    connect(scr_Right, &QScrollBar::valueChanged, this, &TfrmMain::scr_RightChange);
    connect(scr_Bottom, &QScrollBar::valueChanged, this, &TfrmMain::scr_BottomChange);
}

void TfrmMain::raiseScrollRanges() { navigator->raiseScrollRanges(); }

void TfrmMain::placeWindow() {
    if (global_->isMaximized(mainWindow)) {
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    WindowPlace place;
    if (global_->restoreWindow(mainWindow, place)) {
        move(place.left, place.top);
        resize(std::max(int(place.width), minimumWidth), std::max(int(place.height), minimumHeight));
    }
}

void TfrmMain::startWithCommandLine(const std::vector<std::string>& arguments) {
    const CommandLine line = CommandLine::parse(arguments);
    if (line.hasPath) openFile(&line.path, line.header, nullptr, line.typeOption);
    // A file that could not be opened leaves an untitled window, which must look like one.
    if (doc.filePath.empty()) showUntitled();
}

void TfrmMain::showUntitled() {
    updateCaption(false, false);
    draw_->render(0, 0, true);
    draw_->present();
    updateColourSaveButton();
}

// ---------------------------------------------------------------------------------------
// Caption

void TfrmMain::updateCaption(bool m, bool force) {
    if (m != doc.modified || !m || force) {
        doc.modified = m;
        applyCaption();
    }
    doc.modified = m;
}

void TfrmMain::applyCaption() {
    std::string caption = doc.filePath.empty() ? std::string(untitledCaption) : doc.filePath;
    if (doc.modified) caption += "(更新)";
    if (filterButtonDown()) {
        char suffix[64];
        std::snprintf(suffix, sizeof suffix, " - 【%d列目を抽出中】", hyo_->filterColumnValue() + 1);
        caption += suffix;
    }
    // Only the title: a display name would be appended by Qt to every dialog's title too. The
    // task bar shows the window's title.
    // A literal "[*]" in a path would otherwise be taken for Qt's modified placeholder.
    QString title = qs(caption);
    title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(title);
}

bool TfrmMain::filterButtonDown() const {
    return commands_ && commands_->isChecked("tb_Filter");
}

// setChecked does not trigger the button, so its command does not run.
void TfrmMain::setFilterButton(bool down) {
    if (commands_) commands_->setChecked("tb_Filter", down);
}

// The find dialog is made once with the window, so its texts and switches last the whole run.
void TfrmMain::createSearch() {
    frmFind = new TfrmFind(*global_, *hyoCom_, this);
    searchRunner = std::make_unique<SearchRunner>(*this, *frmFind);
    saver_ = std::make_unique<DocumentSaver>(*this);
}

// ---------------------------------------------------------------------------------------
// Opening, instances

int TfrmMain::openFile(const std::string* path, bool header, const std::string* colourKey,
                       int typeOption) {
    OpenFlow flow(*hyo_, *global_, doc, openFlowWindow(), openColourHooks());
    const int result = flow.openFile(path ? *path : std::string(), header,
                                     colourKey ? *colourKey : std::string(), typeOption);
    if (result == OpenFlow::Loaded || result == OpenFlow::CancelledOrReadError) {
        // A read error keeps the rows read so far and the new path, so the window shows them.
        if (!doc.filePath.empty()) updateCaption(false, true);
        updateColourSaveButton();
        updateFormatPanels();
        status->forgetSelection();
        updateStatus(0);
    }
    return result;
}

// What the open flow needs from the window while it reads.
OpenFlowWindow TfrmMain::openFlowWindow() {
    OpenFlowWindow w;
    w.editorLineHeight = [this] { return edit_->linePitch(); };
    w.scrollBarHeight = [this] { return navigator->rowBarHeight(); };
    w.releaseFreeze = [this] { navigator->releaseFreeze(); };
    w.releaseFilterButton = [this] { commands_->setChecked("tb_Filter", false); };
    w.waitCursor = DocumentSaver::showWaitCursor;
    w.setCaption = [this](const std::string&) {
        doc.modified = false;
        applyCaption();
    };
    w.resetScroll = [this] { navigator->resetScroll(); };
    w.restoreFreeze = [this](int first, int end) { navigator->restoreFreeze(first, end); };
    w.refresh = [this] { redrawGrid(true); };
    return w;
}

OpenColourHooks TfrmMain::openColourHooks() {
    return ColourOpenSteps::hooks(
        [this](int band, int colour) {
            navigator->setAlternateMode(band > 0, band > 0 ? band : 1, colour);
        });
}

bool TfrmMain::holdsData() const { return hyo_->storeRowCount() > 0 || doc.modified; }

std::string TfrmMain::instanceExecutable() const {
    if (!instanceProgram.empty()) return instanceProgram;
    return toNative(QCoreApplication::applicationFilePath());
}

bool TfrmMain::startInstance(const std::vector<std::string>& arguments) {
    global_->saveSettings(false);
    const std::string exe = instanceExecutable();
    const QFileInfo info(qs(exe));
    if (!info.exists() || !info.isFile() || !info.isExecutable()) {
        Prompt::warn(".EXEファイルが無効です。");
        return false;
    }
    if (!Shell::startProgram(exe, arguments)) {
        Prompt::warn("実行に失敗しました。");
        return false;
    }
    return true;
}

void TfrmMain::openOrStart(const std::string& path, bool header, int typeOption) {
    // Text still being typed belongs to this window: stored first, it makes the window hold
    // data, and the editor never stays open over a freshly loaded file.
    commitEdit();
    if (!holdsData()) {
        openFile(&path, header, nullptr, typeOption);
        return;
    }
    std::vector<std::string> arguments{path};
    if (typeOption >= TypeComma && typeOption <= TypeTabNoQuotes)
        arguments.push_back("-t" + std::to_string(typeOption));
    startInstance(arguments);
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

// Only the first dropped item counts; when it is no local file, the drop opens nothing.
void TfrmMain::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    // The drop is finished before the file is read, so the source is not kept waiting.
    event->acceptProposedAction();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return;
    const QStringList paths{urls.first().toLocalFile()};
    QMetaObject::invokeMethod(this, [this, paths] { FormDropFiles(paths); }, Qt::QueuedConnection);
}

void TfrmMain::FormDropFiles(const QStringList& paths) {
    if (paths.isEmpty()) return;
    const std::string path = toNative(paths.first());
    if (path.empty() || path.size() > maxPathBytes) return;
    openOrStart(path, false, TypeNone);
}

// The recent-files list is read again each time its menu opens.
void TfrmMain::fillRecentFiles() {
    global_->loadRecentFiles();
    for (int i = 0; i < 5; ++i) {
        const std::string name = "mnuFileHist" + std::to_string(i + 1);
        // A path is text: "&" in it is no accelerator.
        QString caption = qs(global_->recentMenuCaption(i));
        commands_->checkedAction(name.c_str()).setText(caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
    }
}

// The command wrap refuses while the editor is open.
void TfrmMain::chooseRecentFile(int index) {
    global_->loadRecentFiles();
    const RecentFileChoice choice =
        global_->chooseRecentFile(index, doc.filePath, false, holdsData());
    if (choice.action == RecentFileChoice::Warn) Prompt::warn(choice.message);
    else if (choice.action != RecentFileChoice::Nothing) openOrStart(choice.path, false, TypeNone);
}

// The command wrap refuses while the editor is open.
void TfrmMain::reload(bool confirm) {
    if (confirm && Prompt::messageBox("再読み込みをします。\nよろしいですか？", "確認",
                                      PromptButtons::YesNo, PromptIcon::Question) !=
                       PromptAnswer::Yes)
        return;
    if (doc.filePath.empty()) {
        Prompt::warn("読み込むファイルがありません。");
        return;
    }
    if (doc.modified && Prompt::messageBox("更新データが破棄されます。\nよろしいですか？", "確認",
                                           PromptButtons::YesNo, PromptIcon::Warning,
                                           PromptAnswer::No) != PromptAnswer::Yes)
        return;
    const int column = draw_->curColumn();
    const int row = draw_->curRow();
    const int top = navigator->topRow();
    const int left = navigator->firstColumn();
    const std::string path = doc.filePath;
    openFile(&path, hyo_->inHeaderMode(), nullptr, TypeNone);
    const int n = hyo_->rowCount();
    if (row < n + 200 && top < n + 200) {
        navigator->restoreScroll(top, left);
        redrawGrid(true);
        goToCell(column, row);
    } else {
        goToCell(0, n);
    }
}

// Enabled by its rule; pressed while the colours go to a file.
void TfrmMain::updateColourSaveButton() {
    const bool colourOn = global_->colourFileMode() != 0;
    commands_->refresh();
    commands_->setChecked("tb_SaveFMT", colourOn && (doc.colourFileInUse || doc.colourMode == 1));
}

// ---------------------------------------------------------------------------------------
// Commands

void TfrmMain::markModified() { updateCaption(true, false); }

bool TfrmMain::returnMovesRight() const { return commands_->isChecked("tb_Ret"); }

void TfrmMain::runUserKey(int digit, bool shift) { commands_->runUserKey(digit, shift); }

void TfrmMain::showToolPalette(int mode, const QPoint& globalPos) {
    commands_->showPalette(mode, globalPos);
}

bool TfrmMain::copySelection() { return commands_->run(*CommandTable::find("mnuEditCopy")); }

void TfrmMain::pasteAtCursor() { commands_->run(*CommandTable::find("mnuEditPaste")); }

void TfrmMain::viewModesChanged() { commands_->refresh(); }

CommandState TfrmMain::commandState() const {
    CommandState state;
    state.colourFiles = global_->colourFileMode() != 0;
    state.hasFile = !doc.filePath.empty();
    state.colourMode = doc.colourMode;
    state.filtered = hyo_->isFiltered();
    state.canRedo = hyo_->redoCount() > 0;
    state.headerMode = hyo_->inHeaderMode();
    state.frozen = draw_ && draw_->frozenEnd() > 0;
    state.alternate = navigator && navigator->alternateMode();
    return state;
}

// ---------------------------------------------------------------------------------------
// Closing and resizing

void TfrmMain::closeEvent(QCloseEvent* event) {
    // A cell still being edited is stored first, so the question below knows about it.
    commitEdit();
    if (doc.modified) {
        const PromptAnswer a = Prompt::messageBox("更新されています。保存しますか？", "確認",
                                                  PromptButtons::YesNoCancel, PromptIcon::Warning);
        if (a == PromptAnswer::Cancel || (a == PromptAnswer::Yes && !saver_->saveDocument(false))) {
            event->ignore();
            return;
        }
    }
    saveWindowPlace();
    global_->setReturnMovesRight(commands_->isChecked("tb_Ret"));
    global_->saveSettings(false);
    event->accept();
}

void TfrmMain::saveWindowPlace() {
    const bool maximized = isMaximized();
    global_->setMaximized(mainWindow, maximized);
    if (!maximized) global_->storeWindow(mainWindow, x(), y(), width(), height());
}

// The grid area is the bottom panel's width less the corner and the height of scr_Right,
// which is exactly the grid widget's size in this layout.
void TfrmMain::layoutView() { draw_->setViewSize(grid->width(), grid->height()); }

// ---------------------------------------------------------------------------------------
// Grid, editor and keys

bool TfrmMain::isEditing() const { return edit_ && edit_->isActive(); }

void TfrmMain::commitEdit() { navigator->commitEdit(); }

void TfrmMain::goToCell(int column, int row) { navigator->goToCell(column, row); }

void TfrmMain::redrawGrid(bool forceHeader) { navigator->renderAtPositions(forceHeader); }

void TfrmMain::scr_RightChange(int) { navigator->scr_RightChange(); }

void TfrmMain::scr_BottomChange(int) { navigator->scr_BottomChange(); }

// ---------------------------------------------------------------------------------------
// Status bar

QString TfrmMain::statusPanelText(int panel) const { return status->text(panel); }

void TfrmMain::setStatusMessage(const std::string& utf8, int hold) { status->setMessage(utf8, hold); }

void TfrmMain::updateStatus(int scope) { status->update(scope); }

void TfrmMain::forgetStatusSelection() { status->forgetSelection(); }

void TfrmMain::updateFormatPanels() { status->updateFormat(); }

// ---------------------------------------------------------------------------------------
// What the commands reach. Defined here, not in the class: the thunks of a second base's
// inline overrides may be left out where another file expands the function.

int TfrmMain::optionsPageIndex() const { return optionsPage; }
void TfrmMain::setOptionsPage(int page) { optionsPage = page; }
CommandSurfaces& TfrmMain::commands() { return *commands_; }
DocumentSaver& TfrmMain::saver() { return *saver_; }
QWidget* TfrmMain::dialogParent() { return this; }
bool TfrmMain::closeWindow() { return close(); }
CMyGlobal& TfrmMain::global() { return *global_; }
CMyHyo& TfrmMain::hyo() { return *hyo_; }
CMyHyoCom& TfrmMain::hyoCom() { return *hyoCom_; }
CMyPrint& TfrmMain::printer() { return *print_; }
DocumentState& TfrmMain::document() { return doc; }
SearchRunner& TfrmMain::search() { return *searchRunner; }
CMyHyoDraw& TfrmMain::view() { return *draw_; }
CMyEdit& TfrmMain::editor() { return *edit_; }
Navigator& TfrmMain::navigation() { return *navigator; }
ColumnDerive& TfrmMain::columnDerive() { return *columnDerive_; }
