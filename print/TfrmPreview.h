// TfrmPreview: the print preview - one page at a time at a chosen data size and display zoom,
// paging, panning with the mouse, printing and page set-up from there.
#pragma once

#include "print/CMyHyoPrn.h"

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QPointF>

class CMyGlobal;
class CMyHyo;
class CMyHyoCom;
class CMyPrint;
class QAction;
class QLabel;
class QMenu;
class QKeyEvent;
class QScrollBar;
class QSpinBox;
class QWidget;

class TfrmPreview : public QDialog {
    Q_OBJECT
public:
    TfrmPreview(QWidget* owner, CMyPrint& print, const CMyHyo& hyo, const CMyHyoCom& com,
                CMyGlobal& global);

    int currentPage() const { return currentPage_; }
    int pageCount() const { return pagesAcross_ * pagesDown_; }
    int pagesAcross() const { return pagesAcross_; }
    int pagesDown() const { return pagesDown_; }
    double printScale() const { return printScale_; }
    double previewZoom() const { return previewZoom_; }
    bool gridLines() const { return renderer_.gridLines(); }
    // The current page as the window draws it: at the screen's resolution times the zoom and
    // the device pixel ratio.
    QImage pageImage() const;
    // Size of the page at 100 % zoom, in the window's (logical) pixels.
    QSize pageSize() const { return QSize(pageWidth_, pageHeight_); }
    QString statusText() const;
    QMenu* popupMenu() const { return PopupMenu1; }

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void cmd_PrevClick();
    void cmd_NextClick();
    void cmd_PrintClick();
    void cmd_PageSetClick();
    void mnus_ScrFitClick();
    void mnus_GridOnClick();
    void paperSizeClick(int percent);
    void txt_PageNoChange(int page);
    void PopupMenu1Popup();

private:
    void buildControls();
    void buildMenu();
    void placeWindow();
    void buildPage();
    void showPage(int page);
    void updatePreviewStatus();
    void updateScrollRanges();
    void updateScrollRange(QScrollBar* bar, int extent, int length);
    void fitToWindow();
    void setZoom(double zoom);
    void zoomStep(int steps);
    void layoutRenderer();
    double renderRatio() const;
    bool pageKey(QKeyEvent* event);
    void resetView();
    void paintPage();
    void pageResized();
    void mousePressed(const QPoint& at);
    void mouseMoved(const QPoint& at);

    CMyPrint& print_;
    const CMyHyo& hyo_;
    const CMyHyoCom& com_;
    CMyGlobal& global_;
    CMyHyoPrn renderer_;
    PageFrame frame_;
    QPointF screenDpi_{96, 96};
    double laidOutRatio_ = 0;   // zoom times device pixel ratio the renderer was laid out for
    QImage pageCache_;          // the shown page in device pixels; null until painted
    int pageWidth_ = 0;
    int pageHeight_ = 0;
    double printScale_ = 1.0;
    double previewZoom_ = 1.0;
    int currentPage_ = 1;
    int pagesAcross_ = 1;
    int pagesDown_ = 1;
    bool dragging_ = false;
    QPoint dragStart_;
    int dragStartX_ = 0;
    int dragStartY_ = 0;

    QAction* cmd_Prev = nullptr;
    QAction* cmd_Next = nullptr;
    QAction* cmd_Print = nullptr;
    QAction* cmd_PageSet = nullptr;
    QAction* cmd_Close = nullptr;
    QSpinBox* txt_PageNo = nullptr;
    QLabel* lbl_PageTotal = nullptr;
    QWidget* pnl_Page = nullptr;
    QScrollBar* scr_Right = nullptr;
    QScrollBar* scr_Bottom = nullptr;
    QLabel* lbl_Status = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* mnus_ScrFit = nullptr;
    QMenu* mnus_PaperFit = nullptr;
    QAction* mnus_GridOn = nullptr;
};
