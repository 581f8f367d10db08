// TfrmPreview: page image at screen resolution, stretched by the zoom into the page area.
#include "print/TfrmPreview.h"

#include "platform/core/Prompt.h"
#include "print/CMyPrint.h"
#include "settings/CMyGlobal.h"

#include <QActionGroup>
#include <QApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double HundredthsPerInch = 2540.0;
// Larger page images are not made: a paper of several metres would take gigabytes.
constexpr int MaxImageSide = 32767;
constexpr qint64 MaxImageBytes = 512LL << 20;
// Pages of more device pixels than this (high zoom on a dense screen) are not kept as images.
constexpr qint64 MaxCachedPageBytes = 64LL << 20;
const QColor StockGrey(128, 128, 128);
constexpr int DataSizes[] = {100, 90, 80, 70, 60, 50, 40};
constexpr int ScrollStep = 20;
constexpr double ZoomStep = 1.25;
constexpr double MinimumZoom = 0.25;
constexpr double MaximumZoom = 4.0;

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
    screenDpi_ = CMyPrint::screenDpi(owner);
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
    // Tables of thousands of pages: a page is reached by its number.
    auto* pageLabel = new QLabel(QStringLiteral("ページ："), toolBar);
    txt_PageNo = new QSpinBox(toolBar);
    txt_PageNo->setObjectName(QStringLiteral("txt_PageNo"));
    txt_PageNo->setKeyboardTracking(false);
    txt_PageNo->setRange(1, 1);
    pageLabel->setBuddy(txt_PageNo);
    lbl_PageTotal = new QLabel(toolBar);
    lbl_PageTotal->setObjectName(QStringLiteral("lbl_PageTotal"));
    toolBar->addWidget(pageLabel);
    toolBar->addWidget(txt_PageNo);
    toolBar->addWidget(lbl_PageTotal);
    connect(txt_PageNo, &QSpinBox::valueChanged, this, &TfrmPreview::txt_PageNoChange);
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
    pnl_Page->setFocusPolicy(Qt::StrongFocus);
    pnl_Page->installEventFilter(this);
    scr_Right = new QScrollBar(Qt::Vertical, this);
    scr_Right->setObjectName(QStringLiteral("scr_Right"));
    scr_Bottom = new QScrollBar(Qt::Horizontal, this);
    scr_Bottom->setObjectName(QStringLiteral("scr_Bottom"));
    scr_Right->setSingleStep(ScrollStep);
    scr_Bottom->setSingleStep(ScrollStep);
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
    pnl_Page->setFocus();
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
    frame_ = print_.previewFrame(screenDpi_, printScale_);
    pageWidth_ = static_cast<int>(frame_.paper.width() * screenDpi_.x() / HundredthsPerInch);
    pageHeight_ = static_cast<int>(frame_.paper.height() * screenDpi_.y() / HundredthsPerInch);
    if (pageWidth_ <= 0 || pageHeight_ <= 0 || pageWidth_ > MaxImageSide ||
        pageHeight_ > MaxImageSide || qint64(pageWidth_) * pageHeight_ * 4 > MaxImageBytes) {
        Prompt::warn("用紙の作成に失敗しました。");
        const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        const QSize size = screen ? screen->size() : QSize(800, 600);
        pageWidth_ = size.width();
        pageHeight_ = size.height();
        frame_.paper = QSizeF(pageWidth_ * HundredthsPerInch / screenDpi_.x(),
                              pageHeight_ * HundredthsPerInch / screenDpi_.y());
    }
    layoutRenderer();
    showPage(1);
}

// The page is drawn for the window's pixels: the screen's resolution times the zoom and the
// device pixel ratio, so it stays sharp at every zoom and on scaled screens. The split into
// pages comes from the paper alone and does not change with them.
double TfrmPreview::renderRatio() const {
    return previewZoom_ * (pnl_Page ? pnl_Page->devicePixelRatioF() : 1.0);
}

void TfrmPreview::layoutRenderer() {
    pageCache_ = QImage();
    laidOutRatio_ = renderRatio();
    frame_.dataSize = printScale_;
    renderer_.layoutFrame(pnl_Page, frame_, screenDpi_ * laidOutRatio_);
    pagesAcross_ = renderer_.horizontalPages();
    pagesDown_ = renderer_.verticalPages();
}

void TfrmPreview::showPage(int page) {
    currentPage_ = std::clamp(page, 1, pageCount());
    pageCache_ = QImage();
    const QSignalBlocker quiet(txt_PageNo);
    txt_PageNo->setRange(1, pageCount());
    txt_PageNo->setValue(currentPage_);
    lbl_PageTotal->setText(QStringLiteral("/%1").arg(pageCount()));
    updatePreviewStatus();
    pnl_Page->update();
}

QImage TfrmPreview::pageImage() const {
    QImage image(renderer_.pageWidth(), renderer_.pageHeight(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const_cast<CMyHyoPrn&>(renderer_).drawPage(painter, currentPage_);
    return image;
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
    updateScrollRange(scr_Bottom, pageWidth_, pnl_Page->width());
    updateScrollRange(scr_Right, pageHeight_, pnl_Page->height());
}

void TfrmPreview::resetView() {
    scr_Bottom->setValue(0);
    scr_Right->setValue(0);
    updateScrollRanges();
    pnl_Page->update();
}

void TfrmPreview::fitToWindow() {
    const int pageWidth = pageWidth_, pageHeight = pageHeight_;
    const auto fit = [](int length, int extent) {
        if (extent <= 1) return 1.0;
        return std::min(std::trunc(static_cast<double>(length) / (extent - 1) * 100) / 100, 1.0);
    };
    setZoom(std::max(std::min(fit(pnl_Page->width(), pageWidth),
                              fit(pnl_Page->height(), pageHeight)), MinimumZoom));
}

void TfrmPreview::setZoom(double zoom) {
    previewZoom_ = zoom;
    setWindowTitle(zoom == 1.0 ? QStringLiteral("プレビュー")
                               : QStringLiteral("プレビュー【%1％】").arg(static_cast<int>(zoom * 100)));
    layoutRenderer();
}

// Ctrl+plus, Ctrl+minus and Ctrl+wheel: a quarter more or less per step, in whole percents;
// the page keeps its scroll position where it still can.
void TfrmPreview::zoomStep(int steps) {
    double zoom = previewZoom_ * std::pow(ZoomStep, steps);
    zoom = std::round(zoom * 100) / 100;
    // Steps through 100 % stop there, so that the page's own size is always reachable.
    if ((previewZoom_ < 1.0 && zoom > 1.0) || (previewZoom_ > 1.0 && zoom < 1.0)) zoom = 1.0;
    zoom = std::clamp(zoom, MinimumZoom, MaximumZoom);
    if (zoom == previewZoom_) return;
    setZoom(zoom);
    updateScrollRanges();
    pnl_Page->update();
}

void TfrmPreview::pageResized() {
    if (previewZoom_ != 1.0) fitToWindow();
    resetView();
}

// Shows the visible part of the page in device pixels: the painter works in the panel's
// logical pixels, so it is scaled back by the device pixel ratio. The page is drawn once into
// an image and copied at each paint, so scrolling does not draw it again; a page too large for
// such an image is drawn straight into the panel instead.
void TfrmPreview::paintPage() {
    if (renderRatio() != laidOutRatio_) layoutRenderer();
    const double ratio = pnl_Page->devicePixelRatioF();
    const QSize area = pnl_Page->size();
    const double left = scr_Bottom->value() * previewZoom_, top = scr_Right->value() * previewZoom_;
    const QRectF page(-left, -top, renderer_.pageWidth() / ratio, renderer_.pageHeight() / ratio);
    QPainter painter(pnl_Page);
    painter.fillRect(QRect(QPoint(0, 0), area), StockGrey);
    painter.fillRect(page, Qt::white);
    painter.setClipRect(page.intersected(QRectF(QPointF(0, 0), area)));
    painter.scale(1 / ratio, 1 / ratio);
    painter.translate(-std::round(left * ratio), -std::round(top * ratio));
    const bool cacheable = qint64(renderer_.pageWidth()) * renderer_.pageHeight() * 4 <= MaxCachedPageBytes;
    if (pageCache_.isNull() && cacheable) pageCache_ = pageImage();
    if (!pageCache_.isNull()) painter.drawImage(0, 0, pageCache_);
    else renderer_.drawPage(painter, currentPage_);
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
    case QEvent::KeyPress:
        return pageKey(static_cast<QKeyEvent*>(event));
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            if (wheel->angleDelta().y() != 0) zoomStep(wheel->angleDelta().y() > 0 ? 1 : -1);
        } else {
            QApplication::sendEvent(scr_Right, event);
        }
        return true;
    }
    case QEvent::ContextMenu:
        PopupMenu1->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    default:
        return false;
    }
}

void TfrmPreview::keyPressEvent(QKeyEvent* event) {
    if (!pageKey(event)) QDialog::keyPressEvent(event);
}

// PageUp and PageDown page, Home and End go to the first and last page, the arrows scroll and
// Ctrl with plus or minus zooms; the rest (Esc closes) is the dialog's.
bool TfrmPreview::pageKey(QKeyEvent* event) {
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_PageUp: cmd_PrevClick(); return true;
    case Qt::Key_PageDown: cmd_NextClick(); return true;
    case Qt::Key_Home: showPage(1); return true;
    case Qt::Key_End: showPage(pageCount()); return true;
    case Qt::Key_Left: scr_Bottom->triggerAction(QAbstractSlider::SliderSingleStepSub); return true;
    case Qt::Key_Right: scr_Bottom->triggerAction(QAbstractSlider::SliderSingleStepAdd); return true;
    case Qt::Key_Up: scr_Right->triggerAction(QAbstractSlider::SliderSingleStepSub); return true;
    case Qt::Key_Down: scr_Right->triggerAction(QAbstractSlider::SliderSingleStepAdd); return true;
    // On a Japanese keyboard "+" is Shift+";", so Ctrl+";" zooms in as well.
    case Qt::Key_Plus: case Qt::Key_Equal: case Qt::Key_Semicolon:
        if (!control) return false;
        zoomStep(1);
        return true;
    case Qt::Key_Minus:
        if (!control) return false;
        zoomStep(-1);
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
        setZoom(1.0);
    } else {
        fitToWindow();
    }
    resetView();
}

void TfrmPreview::paperSizeClick(int percent) {
    printScale_ = percent / 100.0;
    layoutRenderer();
    showPage(1);
}

void TfrmPreview::txt_PageNoChange(int page) {
    if (page != currentPage_) showPage(page);
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
