// TfrmMain: window creation, caption, command line, instances, menus, close and status bar.
#include "app/TfrmMain.h"

#include "app/CommandLine.h"
#include "app/Navigator.h"
#include "app/SelectionInfo.h"
#include "app/StatusBarPanels.h"
#include "app/StatusPanel.h"
#include "app/StatusText.h"
#include "dialogs/TfrmAbout.h"
#include "editor/CMyEdit.h"
#include "platform/core/CodePage.h"
#include "platform/core/Prompt.h"
#include "platform/core/Shell.h"
#include "settings/CMyGlobal.h"
#include "settings/CMyPublic.h"
#include "store/CMyHyo.h"
#include "store/ColourOpenSteps.h"
#include "store/OpenFlow.h"
#include "store/SaveFlow.h"
#include "store/SeriesFill.h"
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
constexpr int statusBarHeight = 17;
constexpr int bottomPanelHeight = 25;
constexpr int scrollBarThickness = 17;

QString qs(const std::string& utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

std::string toNative(const QString& path) { return path.toUtf8().toStdString(); }

// The hourglass the open and save flows show while they read or write.
void showWaitCursor(bool on) {
    if (on) QApplication::setOverrideCursor(Qt::WaitCursor);
    else QApplication::restoreOverrideCursor();
}

} // namespace

// ---------------------------------------------------------------------------------------
// Creation

TfrmMain::TfrmMain(const std::vector<std::string>& arguments, QWidget* parent)
    : QMainWindow(parent) {
    setObjectName("TfrmMain");
    resize(782, 510);
    initDocumentState();
    createObjects();
    loadSettings();
    applyStoreSettings();
    copyStartFormat();
    createLayout();
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    createView();
    createEditor();
    createNavigator();
    resetStatusMemory();
    raiseScrollRanges();
    placeWindow();
    tb_Ret->setChecked(global_->returnMovesRight());
    startWithCommandLine(arguments);
    updateStatus(0);
    updateFormatPanels();
    setAcceptDrops(true);
    grid->setFocus();
}

TfrmMain::~TfrmMain() {
    // The view and editor go first, then the shared objects in the reverse of their creation.
    navigator.reset();
    if (grid) grid->setView(nullptr);
    draw_.reset();
    edit_.reset();
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
}

void TfrmMain::loadSettings() {
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect area = s ? s->geometry() : QRect(0, 0, 1920, 1080);
    global_->loadSettings(area.width(), area.height());
}

void TfrmMain::applyStoreSettings() {
    hyo_->journal().setLimit(global_->undoSize());
    hyo_->setZoomPercent(global_->viewScale());
}

void TfrmMain::copyStartFormat() {
    doc.colourMode = global_->colourFileMode();
    doc.encoding = global_->startEncoding();
    doc.lineEnding = global_->startLineEnd();
    doc.withBom = global_->startBom();
    joinDelimiter = '/';
    splitDelimiter = '/';
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

void TfrmMain::createActions() {
    auto make = [this](QAction*& action, const char* name, const char* text) {
        action = new QAction(QString::fromUtf8(text), this);
        action->setObjectName(name);
        return action;
    };
    connect(make(mnuFileNew, "mnuFileNew", "新規作成(&N)"), &QAction::triggered, this,
            &TfrmMain::mnuFileNewClick);
    connect(make(mnuFileOpen, "mnuFileOpen", "ファイルを開く(&O)..."), &QAction::triggered,
            this, &TfrmMain::mnuFileOpenClick);
    for (int i = 0; i < 5; ++i) {
        const std::string name = "mnuFileHist" + std::to_string(i + 1);
        make(mnuFileHistItems[i], name.c_str(), "（未選択）");
        connect(mnuFileHistItems[i], &QAction::triggered, this, [this, i] { chooseRecentFile(i); });
    }
    connect(make(mnuFileReload, "mnuFileReload", "再読み込み(&R)"), &QAction::triggered, this,
            &TfrmMain::mnuFileReloadClick);
    make(mnuFileCRList, "mnuFileCRList", "一時保存の色情報読込(&I)...")->setEnabled(false);
    connect(make(mnuFileSave, "mnuFileSave", "上書き保存(&S)..."), &QAction::triggered, this,
            &TfrmMain::mnuFileSaveClick);
    mnuFileSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(make(mnuFileSaveAs, "mnuFileSaveAs", "名前を付けて保存(&A)..."), &QAction::triggered,
            this, &TfrmMain::mnuFileSaveAsClick);
    connect(make(mnuFileSaveChg, "mnuFileSaveChg", "文字コードを指定して保存(&C)..."),
            &QAction::triggered, this, &TfrmMain::mnuFileSaveChgClick);
    connect(make(mnuFileCRLink, "mnuFileCRLink", "データファイル直下に色情報ファイル(VXC)を作成"),
            &QAction::triggered, this, &TfrmMain::mnuFileCRLinkClick);
    connect(make(mnuFileCRKari, "mnuFileCRKari", "一時保存に変更"), &QAction::triggered, this,
            &TfrmMain::mnuFileCRKariClick);
    connect(make(mnuFileExp, "mnuFileExp", "指定行数をエクスポート(&X)..."), &QAction::triggered,
            this, &TfrmMain::mnuFileExpClick);
    make(mnuFilePreview, "mnuFilePreview", "プレビュー(&V)...")->setEnabled(false);
    make(mnuFilePrintSetup, "mnuFilePrintSetup", "ページ設定...")->setEnabled(false);
    make(mnuFilePrint, "mnuFilePrint", "印刷(&P)...")->setEnabled(false);
    connect(make(mnuFileExit, "mnuFileExit", "終了(&Q)"), &QAction::triggered, this,
            &QWidget::close);
    connect(make(mnuEditUndo, "mnuEditUndo", "元に戻す(&Z)"), &QAction::triggered, this,
            &TfrmMain::mnuEditUndoClick);
    mnuEditUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));

    // The view modes carry check marks; what they show is set from the modes themselves.
    connect(make(mnuShowOneHeader, "mnuShowOneHeader", "１行目をヘッダーとする(&H)"),
            &QAction::triggered, this, &TfrmMain::mnuShowOneHeaderClick);
    connect(make(mnuShowScrfix, "mnuShowScrfix", "列固定(&R)"), &QAction::triggered, this,
            &TfrmMain::mnuShowScrfixClick);
    connect(make(mnuKougo, "mnuKougo", "交互背景色モード(&L)"), &QAction::triggered, this,
            &TfrmMain::mnuKougoClick);
    mnuKougo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    for (QAction* a : {mnuShowOneHeader, mnuShowScrfix, mnuKougo}) a->setCheckable(true);
    // Both zoom items share one handler; the tag is the step in percent.
    connect(make(mnuOptionScaleUp, "mnuOptionScaleUp", "表示拡大(&U)"), &QAction::triggered, this,
            &TfrmMain::mnuOptionScaleClick);
    mnuOptionScaleUp->setShortcut(QKeySequence(Qt::Key_F9));
    mnuOptionScaleUp->setData(10);
    connect(make(mnuOptionScaleDown, "mnuOptionScaleDown", "表示縮小(&S)"), &QAction::triggered,
            this, &TfrmMain::mnuOptionScaleClick);
    mnuOptionScaleDown->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F9));
    mnuOptionScaleDown->setData(-10);
    // Card editing, the user keys and the options have no window yet.
    make(mnuToolCardEdit, "mnuToolCardEdit", "カード編集(&C)...")->setEnabled(false);
    mnuToolCardEdit->setShortcut(QKeySequence(Qt::Key_F5));
    make(mnuOptionUserKey, "mnuOptionUserKey", "ユーザー定義キー割当")->setEnabled(false);
    make(mnuOptionOption, "mnuOptionOption", "オプション(&O)...")->setEnabled(false);
    mnuOptionOption->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));

    connect(make(mnuHelpHelp, "mnuHelpHelp", "ヘルプ(&H)"), &QAction::triggered, this,
            &TfrmMain::mnuHelpHelpClick);
    connect(make(mnuHelpData, "mnuHelpData", "選択中の情報表示(&D)..."), &QAction::triggered, this,
            &TfrmMain::mnuHelpDataClick);
    connect(make(mnuHelpFolder, "mnuHelpFolder", "編集中ファイルのフォルダを開く(&F)"),
            &QAction::triggered, this, &TfrmMain::mnuHelpFolderClick);
    connect(make(mnuHelpAbout, "mnuHelpAbout", "バージョン情報(&A)..."), &QAction::triggered, this,
            &TfrmMain::mnuHelpAboutClick);
}

void TfrmMain::createMenus() {
    mnuFile = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    mnuFile->setObjectName("mnuFile");
    mnuFile->addAction(mnuFileNew);
    mnuFile->addAction(mnuFileOpen);
    mnuFileHist = mnuFile->addMenu(QStringLiteral("最近保存したファイルを開く"));
    mnuFileHist->setObjectName("mnuFileHist");
    for (QAction* item : mnuFileHistItems) mnuFileHist->addAction(item);
    mnuFile->addAction(mnuFileReload);
    mnuFile->addSeparator();
    mnuFile->addAction(mnuFileCRList);
    mnuFile->addSeparator();
    mnuFile->addAction(mnuFileSave);
    mnuFile->addAction(mnuFileSaveAs);
    mnuFile->addAction(mnuFileSaveChg);
    mnuFileCRSave = mnuFile->addMenu(QStringLiteral("色情報ファイル保存"));
    mnuFileCRSave->setObjectName("mnuFileCRSave");
    mnuFileCRSave->addAction(mnuFileCRLink);
    mnuFileCRSave->addAction(mnuFileCRKari);
    mnuFile->addAction(mnuFileExp);
    mnuFile->addSeparator();
    mnuFile->addAction(mnuFilePreview);
    mnuFile->addAction(mnuFilePrintSetup);
    mnuFile->addAction(mnuFilePrint);
    mnuFile->addSeparator();
    mnuFile->addAction(mnuFileExit);
    connect(mnuFile, &QMenu::aboutToShow, this, &TfrmMain::mnuFileMenuPopup);
    connect(mnuFileHist, &QMenu::aboutToShow, this, &TfrmMain::mnuFileHistClick);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName("mnuEdit");
    edit->addAction(mnuEditUndo);

    mnuTool = menuBar()->addMenu(QStringLiteral("ツール(&T)"));
    mnuTool->setObjectName("mnuTool");
    mnuTool->addAction(mnuShowOneHeader);
    mnuTool->addAction(mnuShowScrfix);
    mnuTool->addAction(mnuKougo);
    mnuTool->addSeparator();
    mnuTool->addAction(mnuOptionScaleUp);
    mnuTool->addAction(mnuOptionScaleDown);
    mnuTool->addSeparator();
    mnuTool->addAction(mnuToolCardEdit);
    mnuTool->addSeparator();
    mnuTool->addAction(mnuOptionUserKey);
    mnuTool->addAction(mnuOptionOption);
    connect(mnuTool, &QMenu::aboutToShow, this, &TfrmMain::mnuToolMenuPopup);

    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->setObjectName("mnuHelp");
    help->addAction(mnuHelpHelp);
    help->addAction(mnuHelpData);
    help->addAction(mnuHelpFolder);
    help->addSeparator();
    help->addAction(mnuHelpAbout);
}

// Buttons whose commands arrive later are shown disabled so the bar keeps its final order.
void TfrmMain::createToolBar() {
    ToolBar2 = addToolBar(QStringLiteral("ToolBar2"));
    ToolBar2->setObjectName("ToolBar2");
    ToolBar2->setMovable(false);
    ToolBar2->setFixedHeight(toolBarHeight);
    ToolBar2->setIconSize(QSize(16, 16));
    ToolBar2->setToolButtonStyle(Qt::ToolButtonIconOnly);
    QStyle* st = style();
    auto button = [this, st](QAction*& action, const char* name, const char* hint,
                             QStyle::StandardPixmap icon, const char* letter) {
        action = new QAction(this);
        action->setObjectName(name);
        action->setToolTip(QString::fromUtf8(hint));
        action->setStatusTip(QString::fromUtf8(hint));
        if (icon != QStyle::SP_CustomBase) action->setIcon(st->standardIcon(icon));
        else action->setText(QString::fromUtf8(letter));
        ToolBar2->addAction(action);
        if (QWidget* b = ToolBar2->widgetForAction(action)) b->setFixedWidth(toolButtonWidth);
        return action;
    };
    connect(button(tb_New, "tb_New", "新規ファイル", QStyle::SP_FileIcon, ""), &QAction::triggered,
            this, &TfrmMain::mnuFileNewClick);
    connect(button(tb_Open, "tb_Open", "ファイルを開く", QStyle::SP_DialogOpenButton, ""),
            &QAction::triggered, this, &TfrmMain::mnuFileOpenClick);
    connect(button(tb_Save, "tb_Save", "ファイルを保存する", QStyle::SP_DialogSaveButton, ""),
            &QAction::triggered, this, &TfrmMain::mnuFileSaveClick);
    button(tb_SaveFMT, "tb_SaveFMT", "ONで保存すると色情報を保存する", QStyle::SP_CustomBase, "色")
        ->setCheckable(true);
    connect(tb_SaveFMT, &QAction::triggered, this, &TfrmMain::tb_SaveFMTClick);
    ToolBar2->addSeparator();
    button(tb_Preview, "tb_Preview", "プレビュー", QStyle::SP_FileDialogContentsView, "")
        ->setEnabled(false);
    button(tb_Find, "tb_Find", "検索", QStyle::SP_FileDialogDetailedView, "")->setEnabled(false);
    ToolBar2->addSeparator();
    button(tb_SortUp, "tb_SortUp", "選択列を昇順に並べる", QStyle::SP_ArrowUp, "")->setEnabled(false);
    button(tb_SortDown, "tb_SortDown", "選択列を降順に並べる", QStyle::SP_ArrowDown, "")
        ->setEnabled(false);
    ToolBar2->addSeparator();
    button(tb_Filter, "tb_Filter", "抽出の実行有無", QStyle::SP_CustomBase, "抽")->setCheckable(true);
    tb_Filter->setEnabled(false);
    button(tb_FilterSet, "tb_FilterSet", "抽出の検索文字列を設定", QStyle::SP_CustomBase, "設")
        ->setEnabled(false);
    ToolBar2->addSeparator();
    button(tb_KindText, "tb_KindText", "文字列（左詰め）", QStyle::SP_CustomBase, "文")
        ->setEnabled(false);
    button(tb_KindNum, "tb_KindNum", "数値（右詰め）", QStyle::SP_CustomBase, "数")->setEnabled(false);
    ToolBar2->addSeparator();
    button(tb_Ret, "tb_Ret", "リターンの移動方向", QStyle::SP_ArrowRight, "")->setCheckable(true);
    button(tb_Card, "tb_Card", "カード編集(F5)", QStyle::SP_FileDialogListView, "")->setEnabled(false);
}

void TfrmMain::createStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setFixedHeight(statusBarHeight);
    bar->setSizeGripEnabled(false);
    auto* strip = new StatusBarPanels(bar);
    bar->addWidget(strip, 1);
    for (int i = 0; i < statusPanelCount; ++i) panels[i] = strip->panel(i);
}

// The view paints on the grid widget with its origin at the widget's corner.
void TfrmMain::createView() {
    draw_ = std::make_unique<CMyHyoDraw>(*hyo_, *hyoCom_);
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QSize screenSize = s ? s->size() : QSize(1920, 1080);
    draw_->attach(screenSize.width(), screenSize.height(), 0, 0, global_->viewScale());
    grid->setView(draw_.get());
    // The fill handle and F4 both end here; the navigation marks the document modified and
    // redraws when this reports a change.
    draw_->fillHandler = [this](const CellBlock& source, const SelectionBounds& target) {
        const int changed =
            SeriesFill(*hyo_, *public_)
                .run({source.anchorColumn, source.anchorRow, source.endColumn, source.endRow},
                     target);
        // Filling below the last row or right of the widest one grows the table.
        if (changed > 0 && navigator) raiseScrollRanges();
        return changed;
    };
    layoutView();
    applyViewOptions();
    grid->onResize = [this](QResizeEvent*) {
        layoutView();
        redrawGrid(true);
    };
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
    NavigatorHooks hooks;
    hooks.updateStatus = [this](int scope) { updateStatus(scope); };
    hooks.markModified = [this] { updateCaption(true, false); };
    hooks.returnMovesRight = [this] { return tb_Ret->isChecked(); };
    hooks.viewModesChanged = [this] { updateViewModeChecks(); };
    navigator = std::make_unique<Navigator>(*hyo_, *draw_, *edit_, *global_, grid, scr_Right,
                                            scr_Bottom, std::move(hooks));
    navigator->installOn(grid);
    connect(scr_Right, &QScrollBar::valueChanged, this, &TfrmMain::scr_RightChange);
    connect(scr_Bottom, &QScrollBar::valueChanged, this, &TfrmMain::scr_BottomChange);
}

void TfrmMain::resetStatusMemory() {
    statusRange = Bounds{};
    statusHoldCount = 0;
    findColour = -1;
}

// Scroll bars only grow here; commands that delete rows or columns set them exactly.
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

bool TfrmMain::filterButtonDown() const { return tb_Filter && tb_Filter->isChecked(); }

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
        statusRange = Bounds{};
        updateStatus(0);
    }
    return result;
}

// What the open flow needs from the window while it reads.
OpenFlowWindow TfrmMain::openFlowWindow() {
    OpenFlowWindow w;
    w.editorLineHeight = [this] { return editorLineHeight(); };
    w.scrollBarHeight = [this] { return scr_Right->height(); };
    w.releaseFreeze = [this] { releaseFreeze(); };
    w.releaseFilterButton = [this] { tb_Filter->setChecked(false); };
    w.waitCursor = showWaitCursor;
    w.setCaption = [this](const std::string&) {
        doc.modified = false;
        applyCaption();
    };
    w.resetScroll = [this] { resetScroll(); };
    w.restoreFreeze = [this](int first, int end) { restoreFreeze(first, end); };
    w.refresh = [this] { redrawGrid(true); };
    return w;
}

OpenColourHooks TfrmMain::openColourHooks() {
    return ColourOpenSteps::hooks(
        [this](int band, int colour) { setAlternateMode(band > 0, band > 0 ? band : 1, colour); });
}

// After a load the bars start at the top left and span exactly the new table, and the
// cursor is back on the first cell.
void TfrmMain::resetScroll() {
    navigator->scrollSync = true;
    scr_Right->setMinimum(0);
    scr_Bottom->setMinimum(0);
    scr_Right->setMaximum(draw_->gridRows());
    scr_Bottom->setMaximum(draw_->gridColumns());
    scr_Right->setValue(0);
    scr_Bottom->setValue(0);
    navigator->scrollSync = false;
    draw_->clearSelection();
    draw_->setCurrentCell(0, 0);
}

// The table's width is its widest row; column records may exist beyond it.
int TfrmMain::tableColumnCount() const { return hyo_->widestRowValue(); }

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
    if (!holdsData()) {
        openFile(&path, header, nullptr, typeOption);
        return;
    }
    std::vector<std::string> arguments{path};
    if (typeOption >= TypeComma && typeOption <= TypeTabNoQuotes)
        arguments.push_back("-t" + std::to_string(typeOption));
    startInstance(arguments);
}

void TfrmMain::mnuFileNewClick() {
    commitEdit();
    startInstance({});
}

void TfrmMain::mnuFileOpenClick() {
    if (isEditing()) return;
    if (!holdsData()) {
        openFile(nullptr, false, nullptr, TypeNone);
        return;
    }
    const FileChoice choice = Prompt::chooseOpenFile(OpenFlow::openFilters(), 1);
    if (!choice.accepted) return;
    // Filter 4 (quoted TAB) runs as "-t2", filter 3 (unquoted TAB) as "-t3".
    std::vector<std::string> arguments{choice.path};
    if (choice.filterIndex == 1) arguments.push_back("-t1");
    else if (choice.filterIndex == 3) arguments.push_back("-t3");
    else if (choice.filterIndex == 4) arguments.push_back("-t2");
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

void TfrmMain::mnuFileHistClick() {
    global_->loadRecentFiles();
    for (int i = 0; i < 5; ++i) mnuFileHistItems[i]->setText(qs(global_->recentMenuCaption(i)));
}

void TfrmMain::chooseRecentFile(int index) {
    if (isEditing()) return;
    global_->loadRecentFiles();
    const RecentFileChoice choice =
        global_->chooseRecentFile(index, doc.filePath, isEditing(), holdsData());
    if (choice.action == RecentFileChoice::Warn) Prompt::warn(choice.message);
    else if (choice.action != RecentFileChoice::Nothing) openOrStart(choice.path, false, TypeNone);
}

void TfrmMain::mnuFileReloadClick() { reload(true); }

void TfrmMain::reload(bool confirm) {
    if (isEditing()) return;
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
    const Bounds before{draw_->curColumn(), draw_->curRow(), draw_->curColumn(), draw_->curRow()};
    const int top = scr_Right->value();
    const int left = scr_Bottom->value();
    const std::string path = doc.filePath;
    openFile(&path, hyo_->inHeaderMode(), nullptr, TypeNone);
    const int n = hyo_->rowCount();
    if (before.r1 < n + 200 && top < n + 200) {
        navigator->scrollSync = true;
        scr_Right->setMaximum(std::max(scr_Right->maximum(), top));
        scr_Bottom->setMaximum(std::max(scr_Bottom->maximum(), left));
        scr_Right->setValue(top);
        scr_Bottom->setValue(left);
        navigator->scrollSync = false;
        redrawGrid(true);
        goToCell(before.c1, before.r1);
    } else {
        goToCell(0, n);
    }
}

void TfrmMain::mnuHelpFolderClick() {
    if (doc.filePath.empty()) {
        Prompt::warn("編集中のファイルが存在しません。");
        return;
    }
    // A path given relative on the command line lies in the folder vexil was started in; cut
    // as it stands it would name no folder, or the root.
    std::string path = doc.filePath;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (!error) path = absolute.string();
    std::string folder = path.substr(0, CMyGlobal::lastBackslash(path));
    const char sep = std::filesystem::path::preferred_separator;
    if (!folder.empty() && folder.back() == sep && folder.size() > 1) folder.pop_back();
    if (folder.empty()) folder = std::string(1, sep);
    if (!Shell::openFolder(folder)) Prompt::warn("実行失敗");
}

void TfrmMain::mnuHelpHelpClick() { global_->showHelp(); }

void TfrmMain::mnuHelpAboutClick() {
    commitEdit();
    TfrmAbout about(this);
    about.exec();
}

// ---------------------------------------------------------------------------------------
// Saving and the File menu

void TfrmMain::mnuFileMenuPopup() {
    const bool colourOn = global_->colourFileMode() != 0;
    const bool hasFile = !doc.filePath.empty();
    mnuFileCRSave->setEnabled(colourOn);
    mnuFileCRList->setEnabled(false);
    mnuFileCRLink->setEnabled(colourOn && hasFile && doc.colourMode != 1);
    mnuFileCRKari->setEnabled(colourOn && hasFile && doc.colourMode == 1);
}

// What the save flows need from the window.
SaveFlowWindow TfrmMain::saveFlowWindow() {
    SaveFlowWindow w;
    w.closeEditor = [this] { commitEdit(); };
    // The notice outlives the next two refreshes of the status bar.
    w.setColourNote = [this](const std::string& text) { setStatusMessage(text, text.empty() ? 0 : 2); };
    w.waitCursor = showWaitCursor;
    w.viewSettings = [this](int& freezeFirst, int& freezeEnd, int& alternate) {
        viewFreeze(freezeFirst, freezeEnd);
        alternate = navigator->alternateMode()
                        ? navigator->alternateLines() * 1000 + navigator->alternateScheme() : 0;
    };
    w.refresh = [this] { refreshDocumentState(); };
    return w;
}

// Caption, colour button and format panels after a save or a colour-file command.
void TfrmMain::refreshDocumentState() {
    updateCaption(doc.modified, true);
    updateColourSaveButton();
    updateFormatPanels();
}

bool TfrmMain::saveDocument(bool saveAs) {
    SaveFlow flow(*hyo_, *global_, doc, saveFlowWindow());
    return flow.saveDocument(saveAs);
}

void TfrmMain::mnuFileSaveClick() { saveDocument(false); }
void TfrmMain::mnuFileSaveAsClick() { saveDocument(true); }

void TfrmMain::mnuFileSaveChgClick() {
    SaveFlow flow(*hyo_, *global_, doc, saveFlowWindow());
    flow.saveWithEncoding();
    refreshDocumentState();
}

void TfrmMain::mnuFileExpClick() {
    commitEdit();
    const Bounds b = selectionBounds();
    SaveFlow flow(*hyo_, *global_, doc, saveFlowWindow());
    flow.exportCommand(wholeRowsSelected(), b.r1 + 1, b.r2 + 1);
}

void TfrmMain::colourFileCommand(int tag) {
    commitEdit();
    SaveFlow flow(*hyo_, *global_, doc, saveFlowWindow());
    flow.colourFileCommand(tag);
    refreshDocumentState();
}

void TfrmMain::mnuFileCRLinkClick() { colourFileCommand(0); }
void TfrmMain::mnuFileCRKariClick() { colourFileCommand(1); }

void TfrmMain::tb_SaveFMTClick(bool pressed) {
    SaveFlow flow(*hyo_, *global_, doc, saveFlowWindow());
    const bool down = flow.toggleSaveFormat(pressed);
    tb_SaveFMT->setChecked(down);
    refreshDocumentState();
}

void TfrmMain::updateColourSaveButton() {
    const bool colourOn = global_->colourFileMode() != 0;
    tb_SaveFMT->setEnabled(colourOn);
    tb_SaveFMT->setChecked(colourOn && (doc.colourFileInUse || doc.colourMode == 1));
}

// ---------------------------------------------------------------------------------------
// Undo

void TfrmMain::mnuEditUndoClick() {
    if (isEditing()) {
        Prompt::beep();
        return;
    }
    const UndoPosition at = hyo_->undo();
    if (at.column == -1 && at.row == -1) {
        Prompt::warn("Undoデータがありません。");
        return;
    }
    tb_Filter->setChecked(hyo_->isFiltered());
    updateCaption(doc.modified, true);
    draw_->recomputeFrozenWidth();
    goToCell(std::max(at.column, 0), std::max(at.row, 0));
}

// ---------------------------------------------------------------------------------------
// Tools menu: the view modes and the zoom

void TfrmMain::mnuToolMenuPopup() { updateViewModeChecks(); }

void TfrmMain::updateViewModeChecks() {
    mnuShowOneHeader->setChecked(hyo_->inHeaderMode());
    mnuShowScrfix->setChecked(draw_->frozenEnd() > 0);
    mnuKougo->setChecked(navigator->alternateMode());
}

// The view-mode commands store an open edit themselves before the table or view changes.
void TfrmMain::mnuShowOneHeaderClick() {
    navigator->toggleHeader();
    updateViewModeChecks();
}

void TfrmMain::mnuShowScrfixClick() {
    navigator->toggleFrozen();
    updateViewModeChecks();
}

void TfrmMain::mnuKougoClick() {
    navigator->toggleAlternate();
    updateViewModeChecks();
}

void TfrmMain::mnuOptionScaleClick() {
    if (auto* item = qobject_cast<QAction*>(sender())) navigator->zoom(item->data().toInt());
}

void TfrmMain::mnuHelpDataClick() { navigator->showSelectionInformation(); }

// ---------------------------------------------------------------------------------------
// Closing and resizing

void TfrmMain::closeEvent(QCloseEvent* event) {
    // A cell still being edited is stored first, so the question below knows about it.
    commitEdit();
    if (doc.modified) {
        const PromptAnswer a = Prompt::messageBox("更新されています。保存しますか？", "確認",
                                                  PromptButtons::YesNoCancel, PromptIcon::Warning);
        if (a == PromptAnswer::Cancel || (a == PromptAnswer::Yes && !saveDocument(false))) {
            event->ignore();
            return;
        }
    }
    saveWindowPlace();
    global_->setReturnMovesRight(tb_Ret->isChecked());
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

TfrmMain::Bounds TfrmMain::selectionBounds() const {
    const SelectionBounds b = draw_->selectionBounds();
    return Bounds{b.left, b.top, b.right, b.bottom};
}

// ---------------------------------------------------------------------------------------
// Status bar

void TfrmMain::setPanel(int panel, const std::string& utf8) { panels[panel]->setText(qs(utf8)); }

QString TfrmMain::statusPanelText(int panel) const {
    return panel >= 0 && panel < statusPanelCount ? panels[panel]->text() : QString();
}

void TfrmMain::setStatusMessage(const std::string& utf8, int hold) {
    setPanel(6, utf8);
    statusHoldCount = hold;
}

void TfrmMain::updateStatus(int scope) {
    if (scope != 0 && scope != 1) return;
    const Bounds b = selectionBounds();
    if (b != statusRange) {
        updateSelectionPanels(b);
        statusRange = b;
    }
    setPanel(5, StatusText::zoom(global_->viewScale()));
    if (scope == 0) setPanel(0, StatusText::tableSize(tableColumnCount(), hyo_->rowCount()));
}

void TfrmMain::updateSelectionPanels(const Bounds& b) {
    setPanel(1, StatusText::selection(b.c1, b.r1, b.c2, b.r2, hyo_->columnTitle(b.c1)));
    const bool oneRow = b.r1 == b.r2 && b.c1 != b.c2;
    const bool oneColumn = b.c1 == b.c2 && b.r1 != b.r2;
    if (global_->simpleCalc() && (oneRow || oneColumn)) {
        const double sum = oneRow ? SelectionInfo::sumAlongLine(*hyo_, true, b.r1, b.c1, b.c2)
                                  : SelectionInfo::sumAlongLine(*hyo_, false, b.c1, b.r1, b.r2);
        setPanel(6, StatusText::total(oneRow, sum));
        return;
    }
    if (statusHoldCount > 0) {
        --statusHoldCount;
        return;
    }
    // The current cell, which stays where a selection was started, not the bounds' corner.
    const std::string text = hyo_->cellString(draw_->curColumn(), draw_->curRow());
    setPanel(6, StatusText::cellExcerpt(text.c_str()));
}

void TfrmMain::updateFormatPanels() {
    setPanel(2, StatusText::separator(doc.separator, doc.colourFileInUse));
    setPanel(3, StatusText::encoding(doc.encoding, doc.withBom));
    setPanel(4, StatusText::lineEnding(doc.lineEnding));
}

// ---------------------------------------------------------------------------------------
// View hooks used by the open flow

void TfrmMain::releaseFreeze() {
    if (draw_->frozenEnd() > 0) navigator->toggleFrozen();
}

// A freeze recorded in a colour file: columns first..end-1 stay at the left edge. The view
// freezes from its first scrolled column up to the current one, so set both and toggle.
void TfrmMain::restoreFreeze(int first, int end) {
    if (first < 0 || end <= first || end >= draw_->gridColumns()) return;
    if (draw_->frozenEnd() > 0) navigator->toggleFrozen();
    navigator->scrollSync = true;
    scr_Bottom->setValue(first);
    navigator->scrollSync = false;
    draw_->render(first, scr_Right->value(), true);
    draw_->setCurrentCell(end, 0);
    navigator->toggleFrozen();
    draw_->setCurrentCell(first, 0);
}

int TfrmMain::editorLineHeight() const { return edit_->linePitch(); }

void TfrmMain::viewFreeze(int& first, int& end) const {
    first = draw_->frozenStart();
    end = draw_->frozenEnd();
}

bool TfrmMain::wholeRowsSelected() const {
    return draw_->selState() == SelMade && draw_->selKind() == SelRows;
}

// The alternating background as the options dialog or a colour file sets it.
void TfrmMain::setAlternateMode(bool on, int lines, int scheme) {
    navigator->setAlternateMode(on, lines, scheme);
}

