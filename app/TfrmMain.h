// TfrmMain: the main window - start-up, document lifecycle, command line, File menu, status bar.
#pragma once

#include "grid/NavigatorHost.h"
#include "store/DocumentState.h"

#include <QMainWindow>
#include <QPoint>
#include <QStringList>

#include <array>
#include <memory>
#include <string>
#include <vector>

struct CommandState;
struct OpenColourHooks;
struct OpenFlowWindow;
struct SaveFlowWindow;
class CMyEdit;
class ColumnDerive;
class CommandSurfaces;
class CMyGlobal;
class CMyHyo;
class CMyHyoCom;
class CMyHyoDraw;
class CMyPrint;
class CMyPublic;
class GridWidget;
class Navigator;
class QLabel;
class QScrollBar;
class QToolBar;
class QWidget;
class SearchRunner;
class TfrmFind;

class TfrmMain : public QMainWindow, private NavigatorHost {
    Q_OBJECT
public:
    // Selection bounds as the status bar and the commands see them: zero-based, normalised.
    struct Bounds {
        int c1 = -1, r1 = -1, c2 = -1, r2 = -1;
        bool operator==(const Bounds&) const = default;
    };

    static constexpr int statusPanelCount = 7;
    static constexpr int maxPathBytes = 260;
    static constexpr int minimumWidth = 250;
    static constexpr int minimumHeight = 200;

    // `arguments` are the command-line arguments without the program name.
    explicit TfrmMain(const std::vector<std::string>& arguments, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // ---- operations the other parts of the window and the dialogs call ----------------
    // Reads a file into this window; without a path the open dialog asks for one.
    // 0 loaded, negative when nothing (or only part) was read.
    int openFile(const std::string* path, bool header, const std::string* colourKey,
                 int typeOption);
    // Saves the settings, then starts another vexil with `arguments`; false (after the
    // message) when it could not be started.
    bool startInstance(const std::vector<std::string>& arguments);
    // Stores an open edit, then opens `path` here when the window is empty and unmodified,
    // else in another instance.
    void openOrStart(const std::string& path, bool header, int typeOption);
    void updateCaption(bool modified, bool force);
    // Stores the in-cell editor's text when it is active.
    void commitEdit();
    bool isEditing() const;
    void goToCell(int column, int row);
    // Scope 0: panels 0, 1, 5, 6; scope 1: panels 1, 5, 6 (the table size cannot have changed).
    void updateStatus(int scope) override;
    void updateFormatPanels();
    // Writes a notice into panel 6; `hold` refreshes pass before the panel shows cells again.
    void setStatusMessage(const std::string& utf8, int hold = 0);
    // Renders at the scroll-bar positions and presents.
    void redrawGrid(bool forceHeader);
    // Scroll bars only grow here; commands that delete rows or columns set them exactly.
    void raiseScrollRanges();

    // ---- what the commands run ---------------------------------------------------------
    // A window holds data when rows were read or typed; it then opens files elsewhere.
    bool holdsData() const;
    bool saveDocument(bool saveAs);
    void saveWithEncoding();
    void exportRows();
    // Colour information beside the data file (tag 0) or in the temporary store (tag 1).
    void colourFileCommand(int tag);
    // The colour-save button was pressed or released.
    void toggleSaveFormat(bool pressed);
    // Hands the view options of the settings to the view (after start-up and the options).
    void applyViewOptions();
    // Enables and presses the colour-save button by MAKEFD and the document's colour mode.
    void updateColourSaveButton();
    // The options dialog reopens on the page that was active when it last closed.
    int optionsPageIndex() const { return optionsPage; }
    void setOptionsPage(int page) { optionsPage = page; }
    // What the enable and check rules of the commands look at.
    CommandState commandState() const;
    CommandSurfaces& commands() { return *commands_; }

    // ---- shared objects ---------------------------------------------------------------
    CMyGlobal& global() { return *global_; }
    CMyPublic& utilities() { return *public_; }
    CMyHyo& hyo() { return *hyo_; }
    CMyHyoCom& hyoCom() { return *hyoCom_; }
    CMyPrint& printer() { return *print_; }
    DocumentState& document() { return doc; }
    const DocumentState& document() const { return doc; }
    bool filterButtonDown() const;
    // Presses or releases tb_Filter without running its command.
    void setFilterButton(bool down);
    // The find, replace and filter dialog (one for the whole run) and the commands using it.
    TfrmFind& findDialog() { return *frmFind; }
    SearchRunner& search() { return *searchRunner; }

    // ---- for tests and start-up scripts -----------------------------------------------
    QString statusPanelText(int panel) const;
    Bounds lastStatusRange() const { return statusRange; }
    int statusHold() const { return statusHoldCount; }
    // The executable another instance runs (the running program unless replaced).
    void setInstanceProgram(const std::string& path) { instanceProgram = path; }
    // What the File > recent-files item at `index` (0-4) does when chosen.
    void chooseRecentFile(int index);
    // Files dropped on the window: only the first one is used.
    void FormDropFiles(const QStringList& paths);
    // The reload command; `confirm` false skips the first question (user-key function 6).
    void reload(bool confirm);
    // The grid's view, editor and navigation (keys, mouse, scroll bars).
    CMyHyoDraw& view() { return *draw_; }
    CMyEdit& editor() { return *edit_; }
    Navigator& navigation() { return *navigator; }
    GridWidget& gridWidget() { return *grid; }
    // Join, split, compare and group with their colour sequence and remembered delimiters.
    ColumnDerive& columnDerive() { return *columnDerive_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    void scr_RightChange(int value);
    void scr_BottomChange(int value);

private:
    // What the grid's navigation asks of the window.
    void markModified() override;
    bool returnMovesRight() const override;
    void runUserKey(int digit, bool shift) override;
    void showToolPalette(int mode, const QPoint& globalPos) override;
    bool copySelection() override;
    void pasteAtCursor() override;
    void viewModesChanged() override;

    // Window creation, in order.
    void initDocumentState();
    void createObjects();
    void loadSettings();
    void applyStoreSettings();
    void copyStartFormat();
    void createLayout();
    void createCommands();
    void fillRecentFiles();
    void createStatusBar();
    void createView();
    void createEditor();
    void createNavigator();
    void createSearch();
    void resetStatusMemory();
    void placeWindow();
    void startWithCommandLine(const std::vector<std::string>& arguments);
    void showUntitled();

    // Commands and their helpers.
    OpenFlowWindow openFlowWindow();
    OpenColourHooks openColourHooks();
    void resetScroll();
    void releaseFreeze();
    void restoreFreeze(int first, int end);
    int editorLineHeight() const;
    SaveFlowWindow saveFlowWindow();
    void refreshDocumentState();
    void viewFreeze(int& first, int& end) const;
    bool wholeRowsSelected() const;
    void setAlternateMode(bool on, int lines, int scheme);
    void saveWindowPlace();
    int tableColumnCount() const;
    std::string instanceExecutable() const;
    Bounds selectionBounds() const;
    void updateSelectionPanels(const Bounds& b);
    void setPanel(int panel, const std::string& utf8);
    void applyCaption();
    void layoutView();

    // Objects created once per window, in creation order (destroyed in reverse).
    std::unique_ptr<CMyGlobal> global_;
    std::unique_ptr<CMyPublic> public_;
    std::unique_ptr<CMyHyoCom> hyoCom_;
    std::unique_ptr<CMyHyo> hyo_;
    std::unique_ptr<CMyPrint> print_;
    std::unique_ptr<CMyHyoDraw> draw_;
    std::unique_ptr<CMyEdit> edit_;
    std::unique_ptr<Navigator> navigator;
    std::unique_ptr<ColumnDerive> columnDerive_;
    CommandSurfaces* commands_ = nullptr;  // a child of the window
    TfrmFind* frmFind = nullptr;           // a child of the window
    std::unique_ptr<SearchRunner> searchRunner;

    DocumentState doc;
    // View options that live as long as the window (the alternating background is kept by
    // the navigation, which switches it).
    int optionsPage = 0;
    int findColour = -1;
    Bounds statusRange;
    int statusHoldCount = 0;
    std::string instanceProgram;

    // Controls.
    GridWidget* grid = nullptr;
    QScrollBar* scr_Right = nullptr;
    QScrollBar* scr_Bottom = nullptr;
    QWidget* pnl_Bottom = nullptr;
    QWidget* pnl_Corner = nullptr;
    QToolBar* ToolBar2 = nullptr;
    std::array<QLabel*, statusPanelCount> panels{};
};
