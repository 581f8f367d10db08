// TfrmCard: "カード編集" - one data row of the table as a two-column card (item name, value),
// edited with the main window's grid view and in-cell editor.
#pragma once

#include <QDialog>

#include "grid/NavigatorHost.h"
#include "store/TableLimits.h"

#include <functional>
#include <memory>

class CMyEdit;
class CMyGlobal;
class CMyHyo;
class CMyHyoCom;
class CMyHyoDraw;
class GridWidget;
class Navigator;
class QAction;
class QScrollBar;

// What the card asks of the main window while it is open.
struct CardWindowHooks {
    std::function<void(int row)> goToRow;          // move the main cursor to the row shown
    std::function<void(bool changed)> rowWritten;  // after a write-back (changed: mark modified)
    std::function<void()> save;                    // the main window's save command
    std::function<bool()> returnMovesRight;        // the Return direction toggle
};

// Modal. The card keeps its own table and undo journal; it writes into the main table (as
// one undo step there) when it moves to another row, updates, makes a new card or closes,
// unless the user cancels.
class TfrmCard : public QDialog, private NavigatorHost {
    Q_OBJECT
public:
    static constexpr long long ClipboardLimit = 5000000;   // bytes, copy and paste

    TfrmCard(CMyHyo& source, CMyGlobal& global, CardWindowHooks hooks, QWidget* parent = nullptr);
    ~TfrmCard() override;

    // Shows data row `row` (row 1 when row 0 holds the item names); called before showing.
    void loadCard(int row);

    // Distance -1, 0 (write back and refresh) or +1; a beep at either end.
    void moveCard(int distance);
    // A card for the row after the data.
    void newCard();
    // Writes the card back when it was changed; false (window stays) when it was refused.
    bool writeBack();

    int cardRow() const { return cardRow_; }
    bool cardModified() const { return cardModified_; }
    CMyHyo& cardTable() { return *card; }
    CMyHyoDraw& cardView() { return *view; }
    CMyEdit& cardEditor() { return *editor; }
    GridWidget& cardGrid() { return *grid; }

public slots:
    // Esc: the card closes without writing anything.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The grid's last row, 0-based: a card never goes past it.
    static int lastRow() { return TableLimits::maxRows() - 1; }
    // What the card's navigation asks of its window: the card has no status bar, tool
    // palette or user keys; an edit marks the card changed.
    void updateStatus(int) override {}
    void markModified() override { cardModified_ = true; }
    bool returnMovesRight() const override;
    void runUserKey(int, bool) override {}
    void showToolPalette(int, const QPoint&) override {}
    bool copySelection() override;
    void pasteAtCursor() override { paste(false); }
    void viewModesChanged() override {}

    // Pastes the clipboard into the card cells; `plain` reads quotes as text.
    void paste(bool plain);
    void pastePlain() { paste(false); }
    void pasteWithoutBreaks() { paste(true); }
    void copyCells() { copySelection(); }

    void createLayout();
    void createActions();
    void createView();
    void placeWindow();
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);
    void fillValues();
    void updateTitle();
    void redraw();
    void undo();
    void redo();
    void commitEdit();
    void storeSettings();
    QAction* addCommand(const char* name, const char* caption, const char* shortcut,
                        void (TfrmCard::*slot)());
    void mnuFileSaveClick();
    void mnuFileCancelClick();
    void mnuFileExitClick();
    void moveBack() { moveCard(-1); }
    void moveNext() { moveCard(1); }
    void updateCard() { moveCard(0); }

    CMyHyo& source;
    CMyGlobal& global;
    CardWindowHooks hooks;
    std::unique_ptr<CMyHyoCom> palette;
    std::unique_ptr<CMyHyo> card;
    std::unique_ptr<CMyHyoDraw> view;
    std::unique_ptr<CMyEdit> editor;
    std::unique_ptr<Navigator> navigator;
    GridWidget* grid = nullptr;
    QScrollBar* scr_Right = nullptr;
    QScrollBar* scr_Bottom = nullptr;

    int cardRow_ = 0;
    bool cardModified_ = false;
};
