// CMyHyoDraw: the grid view - draws the table into an off-screen image and owns the geometry,
// the current cell, the selection and the mouse gestures made on the grid.
#pragma once

#include "engine/FindParameters.h"
#include "engine/SelectionRange.h"
#include "view/GridCanvas.h"
#include "view/GridGeometry.h"
#include "view/GridPainter.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QRgb>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CMyHyo;
class CMyHyoCom;
class QPainter;

enum SelectionState { SelNone = 0, SelMaking = 1, SelMade = 2 };
enum SelectionKind { SelCells = 1, SelColumns = 2, SelRows = 4 };
enum DragKind { DragNone = 0, DragColumnBorder = 3, DragRowBorder = 5 };

// What a mouse press on the grid started.
enum MouseDownCode {
    DownNothing = 0,
    DownCell = 1,          // a cell range (or a fill drag) is being made
    DownColumn = 2,        // whole columns
    DownColumnBorder = 3,
    DownRow = 4,           // whole rows (also the top-left corner: every row)
    DownRowBorder = 5,
};
// Pointer shape a mouse move asks for while no gesture is under way.
enum MouseShape {
    ShapeDefault = 0,
    ShapeColumnCaption = -1,
    ShapeColumnBorder = -2,
    ShapeRowNumber = -3,
    ShapeRowBorder = -4,
    ShapeFillHandle = -5,
};
// What a mouse release finished.
enum MouseUpCode {
    UpNothing = 0,
    UpSelection = 1,
    UpColumnWidth = 3,
    UpRowHeight = 5,
    UpFill = 6,            // the fill changed the table: the document is modified
};

// Anchor and end of a selection as stored (whole rows keep columns -1/-2, whole columns rows).
struct CellBlock {
    int anchorColumn = 0;
    int anchorRow = 0;
    int endColumn = 0;
    int endRow = 0;
};
// Normalised, zero-based bounds every selection command works on.
using SelectionBounds = SelectionRange;
// Result of moveCursor: 0 visible, 1 vertical scroll, 2 horizontal scroll, 3 both.
struct CursorMove {
    int code = 0;
    int firstColumn = 0;
    int topRow = 0;
};

// Coordinates taken and returned by the view are relative to the grid area's top-left corner
// (the GridWidget's own coordinates). originX/originY only move what paint() draws, for a
// window that paints the grid at an offset inside a bigger widget.
class CMyHyoDraw {
public:
    static constexpr int MaxColumns = 999;
    // The fixed-pitch Japanese gothic the grid and the in-cell editor draw with.
    static QString fontFamily();

    CMyHyoDraw(CMyHyo& hyo, const CMyHyoCom& com);
    CMyHyoDraw(const CMyHyoDraw&) = delete;
    CMyHyoDraw& operator=(const CMyHyoDraw&) = delete;

    // ---- set-up ------------------------------------------------------------------------
    // Screen size of the window's screen: the off-screen image is that big (or the view's
    // size when that is bigger).
    void attach(int screenWidth, int screenHeight, int originX, int originY, int scalePercent);
    void setScale(int percent);
    // Device pixels per logical pixel of the screen the grid is shown on; the image is drawn
    // at that resolution. A change leaves a blank image: render again.
    void setDevicePixelRatio(double ratio) { canvas_.setDevicePixelRatio(ratio); }
    double devicePixelRatio() const { return canvas_.devicePixelRatio(); }
    void setViewSize(int width, int height);
    void setOptions(bool lineCursor, bool cellOverflow, int showDataEnd, int altInterval,
                    int altScheme);
    void setDataEndLines(int showDataEnd) { showDataEnd_ = showDataEnd; }
    void setAlternateLines(int interval, int scheme);
    void setLineBreakMarks(bool on) { lineBreakMarks_ = on; }       // CELL_RET_VIEW
    void setSelectionColourMode(int mode) { selectionColourMode_ = mode; }   // SEL_COLORNO
    // The grid reaches at most this many columns and rows (the card shows two columns);
    // without a call it follows the table's row limit.
    void setLimits(int columns, int rows);
    // Called with a rectangle (widget coordinates) whenever what paint() shows changes.
    void setUpdateHook(std::function<void(const QRect&)> hook) { updateHook_ = std::move(hook); }

    // ---- drawing -----------------------------------------------------------------------
    void render(int firstColumn, int topRow, bool forceHeader);
    // Shows the freshly rendered image with the cursor and the selection band.
    void present();
    // Copies the rendered strips, paints the grey area and the exclusive-or feedback.
    void paint(QPainter& painter, const QRect& dirty) const;
    const QImage& image() const { return canvas_.image(); }
    const std::vector<LayoutEntry>& layout() const { return geometry_.rows(); }
    long renderCount() const { return renderCount_; }

    // ---- geometry ----------------------------------------------------------------------
    int columnAt(int x) const;     // -1 when no grid column is there
    int rowAt(int y) const;        // -1 in the header or beyond the drawn rows
    std::optional<QRect> cellRect(int column, int row) const;   // null when not on screen
    int columnX(int column) const; // -1 when not on screen
    int topFor(int row) const;
    int lastFrom(int top) const;
    int firstFor(int column) const;
    int lastFromColumn(int first) const;
    int gridColumns() const;       // navigable columns: min(columnCount + 50, 999)
    int gridRows() const;          // navigable rows: min(rowCount + 500, 500000)
    int tableColumns() const;      // columns in use (widest row)

    int topRow() const { return topRow_; }
    int lastRow() const { return lastRow_; }
    int firstColumn() const { return firstColumn_; }
    int lastColumn() const { return lastColumn_; }
    int headerHeight() const { return headerHeight_; }
    int rowNumberWidth() const { return rowNumberWidth_; }
    int rowNumberMinWidth() const { return rowNumberMinWidth_; }
    int viewWidth() const { return viewWidth_; }
    int viewHeight() const { return viewHeight_; }
    int originX() const { return originX_; }
    int originY() const { return originY_; }
    double scale() const { return scale_; }
    int charWidth() const { return charWidth_; }
    int linePitch() const { return linePitch_; }
    const QFont& font() const { return canvas_.font(); }
    int dataEndX() const { return painter_.dataEndX(); }
    int dataEndY() const { return painter_.dataEndY(); }
    int dataEndColumn() const { return painter_.dataEndColumn(); }
    QRgb alternateColour() const { return altLineColour_; }

    // ---- current cell and cursor --------------------------------------------------------
    CursorMove moveCursor(int column, int row);
    int curColumn() const { return curColumn_; }
    int curRow() const { return curRow_; }
    // Sets the current cell without drawing (keyboard logic draws afterwards).
    void setCurrentCell(int column, int row);
    // Draws the cursor at the current cell, replacing the one shown (when enabled).
    void showCursor();
    // Hidden until showCursor: presenting the grid again (a resize, a scroll) keeps it away,
    // as the in-cell editor needs.
    void hideCursor();
    void setCursorEnabled(bool on);
    bool cursorEnabled() const { return cursorEnabled_; }
    bool cursorShown() const { return cursorShown_; }
    int cornerX() const { return cornerX_; }
    int cornerY() const { return cornerY_; }

    // ---- selection ---------------------------------------------------------------------
    int selState() const { return selState_; }
    int selKind() const { return selKind_; }
    CellBlock selection() const { return {anchorColumn_, anchorRow_, endColumn_, endRow_}; }
    bool hasSelection() const { return selState_ != SelNone; }
    // True when the selection is a cell range of exactly one cell.
    bool selectionIsSingleCell() const;
    void setSelection(int state, int kind, const CellBlock& block);
    // Drops the selection and its band (and a pending fill).
    void clearSelection();
    SelectionBounds selectionBounds() const;
    // Draws the band of the current selection (replacing the one shown) or erases it.
    void showBand();
    void eraseBand();
    bool bandShown() const { return !bandParts_.empty(); }
    bool blockSaved() const { return blockSaved_; }
    CellBlock savedBlock() const { return savedBlock_; }
    void setBlockSaved(bool saved, const CellBlock& block = {});

    // ---- mouse -------------------------------------------------------------------------
    int mouseDown(int x, int y, bool shift);
    int mouseMove(int x, int y);
    int mouseUp();
    int dragKind() const { return dragKind_; }
    int guidePos() const { return guidePos_; }
    // Runs the series fill at the end of a fill drag: returns 1 when the table changed.
    std::function<int(const CellBlock& source, const SelectionBounds& target)> fillHandler;

    // ---- frozen columns ----------------------------------------------------------------
    // New frozenEnd (0 after unfreezing), or -1 when refused (the warning was shown).
    int toggleFrozen();
    int frozenStart() const { return frozenStart_; }
    int frozenEnd() const { return frozenEnd_; }
    int frozenWidth() const { return frozenWidth_; }
    void recomputeFrozenWidth();

    FindParameters findParams;

private:
    // The mouse gestures work on the selection, the drag state and the overlay directly.
    friend class GridGestures;

    struct XorPart {
        QRect rect;
        QRgb colour;
    };

    GridStyle style() const;
    void buildColumnSlots(int firstColumn);
    void buildRowLayout(int topRow);
    void computeLastColumn();
    int scaledColumn(int column) const;
    int scaledRow(int row) const;

    void replaceParts(std::vector<XorPart>& parts, std::vector<XorPart> fresh);
    void requestUpdate(const QRect& gridRect);
    void eraseCursor();
    std::vector<XorPart> cursorPartsAt(int column, int row);
    std::vector<XorPart> bandParts();

    CMyHyo& hyo_;
    GridCanvas canvas_;
    GridPainter painter_;
    std::function<void(const QRect&)> updateHook_;
    long renderCount_ = 0;

    int charWidth_ = 6;
    int linePitch_ = 14;
    double scale_ = 1.0;
    int headerHeight_ = 16;
    int rowNumberMinWidth_ = 40;
    int maxColumns_ = MaxColumns;
    int maxRows_ = 0;   // 0: the table's row limit
    int rowLimit() const;
    int rowNumberWidth_ = 40;
    int originX_ = 0;
    int originY_ = 0;
    int viewWidth_ = 320;
    int viewHeight_ = 200;
    int screenWidth_ = 0;
    int screenHeight_ = 0;
    QRgb headerColour_ = qRgb(192, 192, 192);

    int topRow_ = 0;
    int lastRow_ = 0;
    int firstColumn_ = 0;
    int lastColumn_ = 0;
    int headerColumnCount_ = -1;
    int greyRightX_ = -1;      // grey from here to viewWidth when the last grid column shows
    GridGeometry geometry_;

    int frozenStart_ = 0;
    int frozenEnd_ = 0;
    int frozenWidth_ = 0;

    int curColumn_ = 0;
    int curRow_ = 0;
    bool cursorShown_ = false;
    bool cursorHeld_ = false;  // hidden by hideCursor until showCursor
    int cursorColumn_ = 0;
    int cursorRow_ = 0;
    bool cursorEnabled_ = true;

    int selState_ = SelNone;
    int selKind_ = SelCells;
    int anchorColumn_ = 0;
    int anchorRow_ = 0;
    int endColumn_ = 0;
    int endRow_ = 0;
    int cornerX_ = -1;
    int cornerY_ = -1;

    int dragKind_ = DragNone;
    int dragColumn_ = 0;
    int dragRow_ = 0;
    int guidePos_ = 0;
    int guideMin_ = 0;

    bool blockSaved_ = false;
    CellBlock savedBlock_;

    bool lineCursor_ = true;
    bool cellOverflow_ = true;
    int showDataEnd_ = 0;
    int altLineInterval_ = 0;
    int altLineScheme_ = 0;
    QRgb altLineColour_ = qRgb(240, 255, 240);
    bool lineBreakMarks_ = true;
    int selectionColourMode_ = 1;

    std::vector<XorPart> cursorParts_;
    std::vector<XorPart> bandParts_;
    std::vector<XorPart> guideParts_;
};
