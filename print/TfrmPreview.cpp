// TfrmPreview: page image at screen resolution, stretched by the zoom into the page area.
#include "print/TfrmPreview.h"

#include "platform/core/Prompt.h"
#include "print/CMyPrint.h"
#include "settings/CMyGlobal.h"

#include <QActionGroup>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr double HundredthsPerInch = 2540.0;
// Larger page images are not made: a paper of several metres would take gigabytes.
constexpr int MaxImageSide = 32767;
constexpr qint64 MaxImageBytes = 512LL << 20;
const QColor StockGrey(128, 128, 128);
constexpr int DataSizes[] = {100, 90, 80, 70, 60, 50, 40};

} // namespace

TfrmPreview::TfrmPreview(QWidget* owner, CMyPrint& print, const CMyHyo& hyo,
                         const CMyHyoCom& com, CMyGlobal& global)
    : QDialog(owner), print_(print), hyo_(hyo), com_(com), global_(global), renderer_(hyo, com) {
    setObjectName(QStringLiteral("TfrmPreview"));
    setWindowTitle(QStringLiteral("プレビュー"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    setMinimumSize(500, 400);
    printScale_ = global_.printScale();
    previewZoom_ = global_.previewZoom();
    renderer_.setGridLines(global_.printGrid());
    renderer_.setOverflow(global_.cellOverflow());
    const QPointF dpi = CMyPrint::screenDpi(owner);
    screenPerHundredthMmX_ = dpi.x() / HundredthsPerInch;
    screenPerHundredthMmY_ = dpi.y() / HundredthsPerInch;
    print_.ensureDefaults();
    buildControls();
    buildMenu();
    buildPage();
    placeWindow();
}

void TfrmPreview::buildControls() {
    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto button = [this, toolBar](const char* name, const char* caption, void (TfrmPreview::*slot)()) {
        QAction* action = toolBar->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromUtf8(name));
        action->setIconText(action->text());   // a button would drop the "..." otherwise
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    cmd_Prev = button("cmd_Prev", "前ページ", &TfrmPreview::cmd_PrevClick);
    cmd_Next = button("cmd_Next", "次ページ", &TfrmPreview::cmd_NextClick);
    toolBar->addSeparator();
    cmd_Print = button("cmd_Print", "印刷...", &TfrmPreview::cmd_PrintClick);
    cmd_PageSet = button("cmd_PageSet", "ページ設定...", &TfrmPreview::cmd_PageSetClick);
    toolBar->addSeparator();
    cmd_Close = toolBar->addAction(QStringLiteral("閉じる"));
    cmd_Close->setObjectName(QStringLiteral("cmd_Close"));
    connect(cmd_Close, &QAction::triggered, this, &QDialog::reject);

    pnl_Page = new QWidget(this);
    pnl_Page->setObjectName(QStringLiteral("pnl_Page"));
    pnl_Page->setAttribute(Qt::WA_OpaquePaintEvent);
    pnl_Page->setContextMenuPolicy(Qt::DefaultContextMenu);
    pnl_Page->installEventFilter(this);
    scr_Right = new QScrollBar(Qt::Vertical, this);
    scr_Right->setObjectName(QStringLiteral("scr_Right"));
    scr_Bottom = new QScrollBar(Qt::Horizontal, this);
    scr_Bottom->setObjectName(QStringLiteral("scr_Bottom"));
    connect(scr_Right, &QScrollBar::valueChanged, pnl_Page, qOverload<>(&QWidget::update));
    connect(scr_Bottom, &QScrollBar::valueChanged, pnl_Page, qOverload<>(&QWidget::update));
    auto* statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("StatusBar1"));
    statusBar->setSizeGripEnabled(false);
    lbl_Status = new QLabel(statusBar);
    statusBar->addWidget(lbl_Status, 1);

    auto* area = new QGridLayout;
    area->setSpacing(0);
    area->addWidget(pnl_Page, 0, 0);
    area->addWidget(scr_Right, 0, 1);
    area->addWidget(scr_Bottom, 1, 0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addLayout(area, 1);
    layout->addWidget(statusBar);
}

void TfrmPreview::buildMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    mnus_ScrFit = PopupMenu1->addAction(QStringLiteral("画面に用紙を合わせる"));
    mnus_ScrFit->setObjectName(QStringLiteral("mnus_ScrFit"));
    mnus_ScrFit->setCheckable(true);
    connect(mnus_ScrFit, &QAction::triggered, this, &TfrmPreview::mnus_ScrFitClick);
    mnus_PaperFit = PopupMenu1->addMenu(QStringLiteral("データサイズ"));
    mnus_PaperFit->setObjectName(QStringLiteral("mnus_PaperFit"));
    for (int percent : DataSizes) {
        const QString caption = percent == 100 ? QStringLiteral("原寸(100%)")
                                               : QStringLiteral("%1%").arg(percent);
        QAction* item = mnus_PaperFit->addAction(caption);
        item->setObjectName(QStringLiteral("mnus_PaperSize%1").arg(percent));
        item->setCheckable(true);
        item->setData(percent);
        connect(item, &QAction::triggered, this, [this, percent] { paperSizeClick(percent); });
    }
    mnus_GridOn = PopupMenu1->addAction(QStringLiteral("グリッドの表示"));
    mnus_GridOn->setObjectName(QStringLiteral("mnus_GridOn"));
    mnus_GridOn->setCheckable(true);
    connect(mnus_GridOn, &QAction::triggered, this, &TfrmPreview::mnus_GridOnClick);
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TfrmPreview::PopupMenu1Popup);
    PopupMenu1Popup();
}

void TfrmPreview::placeWindow() {
    WindowPlace place;
    if (global_.isMaximized(previewWindow)) {
        setWindowState(windowState() | Qt::WindowMaximized);
    } else if (global_.restoreWindow(previewWindow, place)) {
        setGeometry(place.left, place.top, std::max(place.width, 500), std::max(place.height, 400));
    }
}

// ---- the page ---------------------------------------------------------------------------

void TfrmPreview::buildPage() {
    const QSizeF paper = print_.paperSize();
    const int width = static_cast<int>(paper.width() * screenPerHundredthMmX_);
    const int height = static_cast<int>(paper.height() * screenPerHundredthMmY_);
    pageBitmap_ = QImage();
    if (width > 0 && height > 0 && width <= MaxImageSide && height <= MaxImageSide &&
        qint64(width) * height * 4 <= MaxImageBytes)
        pageBitmap_ = QImage(width, height, QImage::Format_RGB32);
    if (pageBitmap_.isNull()) {
        Prompt::warn("用紙の作成に失敗しました。");
        const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        const QSize size = screen ? screen->size() : QSize(800, 600);
        pageBitmap_ = QImage(size, QImage::Format_RGB32);
    }
    const QMargins margins = print_.pageMargins();
    const PageMargins pixels{static_cast<int>(margins.left() * screenPerHundredthMmX_),
                             static_cast<int>(margins.top() * screenPerHundredthMmY_),
                             static_cast<int>(margins.right() * screenPerHundredthMmX_),
                             static_cast<int>(margins.bottom() * screenPerHundredthMmY_)};
    renderer_.layoutPage(&pageBitmap_, pageBitmap_.width(), pageBitmap_.height(), pixels,
                         printScale_, printScale_);
    showPage(1);
}

void TfrmPreview::showPage(int page) {
    pagesAcross_ = renderer_.horizontalPages();
    pagesDown_ = renderer_.verticalPages();
    currentPage_ = std::clamp(page, 1, pageCount());
    pageBitmap_.fill(Qt::white);
    QPainter painter(&pageBitmap_);
    renderer_.drawPage(painter, currentPage_);
    painter.end();
    updatePreviewStatus();
    pnl_Page->update();
}

QString TfrmPreview::statusText() const { return lbl_Status->text(); }

void TfrmPreview::updatePreviewStatus() {
    const int percent = (static_cast<int>(printScale_ * 1010) / 100) * 10;
    const QString rate = percent == 100 ? QString() : QStringLiteral("- データ率:%1%").arg(percent);
    lbl_Status->setText(QStringLiteral("ページ：%1/%2 - 横:%3 縦:%4 %5")
                            .arg(currentPage_).arg(pageCount()).arg(pagesAcross_)
                            .arg(pagesDown_).arg(rate));
    cmd_Prev->setEnabled(pageCount() > 1 && currentPage_ > 1);
    cmd_Next->setEnabled(pageCount() > 1 && currentPage_ < pageCount());
}

// ---- scrolling and zoom -----------------------------------------------------------------

void TfrmPreview::updateScrollRange(QScrollBar* bar, int extent, int length) {
    const int visible = static_cast<int>(length / previewZoom_);
    const bool scrolls = extent - visible > 1;
    bar->setEnabled(scrolls);
    bar->setRange(0, scrolls ? extent - visible : 0);
    bar->setPageStep(std::max(visible, 1));
}

void TfrmPreview::updateScrollRanges() {
    updateScrollRange(scr_Bottom, pageBitmap_.width(), pnl_Page->width());
    updateScrollRange(scr_Right, pageBitmap_.height(), pnl_Page->height());
}

void TfrmPreview::resetView() {
    scr_Bottom->setValue(0);
    scr_Right->setValue(0);
    updateScrollRanges();
    pnl_Page->update();
}

void TfrmPreview::fitToWindow() {
    const int pageWidth = pageBitmap_.width(), pageHeight = pageBitmap_.height();
    const auto fit = [](int length, int extent) {
        if (extent <= 1) return 1.0;
        return std::min(std::trunc(static_cast<double>(length) / (extent - 1) * 100) / 100, 1.0);
    };
    previewZoom_ = std::max(std::min(fit(pnl_Page->width(), pageWidth),
                                     fit(pnl_Page->height(), pageHeight)), 0.25);
    setWindowTitle(QStringLiteral("プレビュー【%1％】").arg(static_cast<int>(previewZoom_ * 100)));
}

void TfrmPreview::pageResized() {
    if (previewZoom_ != 1.0) fitToWindow();
    resetView();
}

void TfrmPreview::paintPage() {
    QPainter painter(pnl_Page);
    const QSize area = pnl_Page->size();
    const int left = scr_Bottom->value(), top = scr_Right->value();
    const double sourceWidth = std::min(pageBitmap_.width() - left, static_cast<int>(area.width() / previewZoom_));
    const double sourceHeight = std::min(pageBitmap_.height() - top, static_cast<int>(area.height() / previewZoom_));
    const QRectF source(left, top, std::max(sourceWidth, 0.0), std::max(sourceHeight, 0.0));
    const QRect target(0, 0, static_cast<int>(source.width() * previewZoom_),
                       static_cast<int>(source.height() * previewZoom_));
    painter.drawImage(target, pageBitmap_, source);
    painter.fillRect(target.width(), 0, area.width() - target.width(), area.height(), StockGrey);
    painter.fillRect(0, target.height(), target.width(), area.height() - target.height(), StockGrey);
}

// ---- mouse ------------------------------------------------------------------------------

bool TfrmPreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched != pnl_Page) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Paint:
        paintPage();
        return true;
    case QEvent::Resize:
        pageResized();
        return false;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
        mousePressed(static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    case QEvent::MouseMove:
        mouseMoved(static_cast<QMouseEvent*>(event)->position().toPoint());
        return dragging_;
    case QEvent::MouseButtonRelease:
        if (!dragging_) return false;
        dragging_ = false;
        pnl_Page->unsetCursor();
        return true;
    case QEvent::ContextMenu:
        PopupMenu1->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    default:
        return false;
    }
}

void TfrmPreview::mousePressed(const QPoint& at) {
    dragging_ = true;
    dragStart_ = at;
    dragStartX_ = scr_Bottom->value();
    dragStartY_ = scr_Right->value();
    pnl_Page->setCursor(Qt::SizeAllCursor);
}

// The page follows the mouse: each bar goes to its position at the press plus the distance
// moved back, within its range; bars that are off do not move.
void TfrmPreview::mouseMoved(const QPoint& at) {
    if (!dragging_) return;
    if (scr_Bottom->isEnabled() && at.x() != dragStart_.x())
        scr_Bottom->setValue(dragStartX_ + dragStart_.x() - at.x());
    if (scr_Right->isEnabled() && at.y() != dragStart_.y())
        scr_Right->setValue(dragStartY_ + dragStart_.y() - at.y());
}

// ---- commands ---------------------------------------------------------------------------

void TfrmPreview::cmd_PrevClick() {
    if (currentPage_ > 1) showPage(currentPage_ - 1);
}

void TfrmPreview::cmd_NextClick() {
    if (currentPage_ < pageCount()) showPage(currentPage_ + 1);
}

void TfrmPreview::cmd_PrintClick() {
    print_.printTable(this, hyo_, com_, renderer_.gridLines(), printScale_);
}

void TfrmPreview::cmd_PageSetClick() {
    if (!print_.showPageSetup(this)) return;
    buildPage();
    resetView();
}

void TfrmPreview::mnus_ScrFitClick() {
    if (previewZoom_ != 1.0) {
        previewZoom_ = 1.0;
        setWindowTitle(QStringLiteral("プレビュー"));
    } else {
        fitToWindow();
    }
    resetView();
}

void TfrmPreview::paperSizeClick(int percent) {
    printScale_ = percent / 100.0;
    renderer_.setScale(printScale_);
    showPage(1);
}

void TfrmPreview::mnus_GridOnClick() {
    renderer_.setGridLines(!renderer_.gridLines());
    showPage(currentPage_);
}

void TfrmPreview::PopupMenu1Popup() {
    mnus_ScrFit->setChecked(previewZoom_ != 1.0);
    mnus_GridOn->setChecked(renderer_.gridLines());
    // The mark goes to the largest size not above the data size; none below 40 %.
    bool marked = false;
    for (QAction* item : mnus_PaperFit->actions()) {
        const bool mark = !marked && item->data().toInt() <= printScale_ * 100 + 1e-9;
        item->setChecked(mark);
        marked = marked || mark;
    }
}

// ---- closing ----------------------------------------------------------------------------

void TfrmPreview::done(int result) {
    global_.setPrintScale(printScale_);
    global_.setPreviewZoom(previewZoom_);
    global_.setPrintGrid(renderer_.gridLines());
    global_.setMaximized(previewWindow, isMaximized());
    if (!isMaximized()) {
        const QRect place = geometry();
        global_.storeWindow(previewWindow, place.x(), place.y(), place.width(), place.height());
    }
    QDialog::done(result);
}
