// TfrmMain: the main window - start-up, document lifecycle, command line, File menu, status bar.
#pragma once

#include "app/CommandContext.h"
#include "app/StatusReport.h"
#include "grid/NavigatorHost.h"
#include "store/DocumentState.h"

#include <QMainWindow>
#include <QPoint>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

struct CommandState;
struct OpenColourHooks;
struct OpenFlowWindow;
class CMyEdit;
class ColumnDerive;
class CommandSurfaces;
class DocumentSaver;
class CMyGlobal;
class CMyHyo;
class CMyHyoCom;
class CMyHyoDraw;
class CMyPrint;
class CMyPublic;
class GridWidget;
class Navigator;
class QScrollBar;
class QToolBar;
class QWidget;
class SearchRunner;
class TfrmFind;

class TfrmMain : public QMainWindow, public CommandContext, private NavigatorHost {
    Q_OBJECT
public:
    // Selection bounds as the status bar sees them: zero-based, normalised.
    using Bounds = StatusReport::Bounds;

    static constexpr int statusPanelCount = StatusReport::panelCount;
    static constexpr int maxPathBytes = 260;
    static constexpr int minimumWidth = 250;
    static constexpr int minimumHeight = 200;

    // `arguments` are the command-line arguments without the program name.
    explicit TfrmMain(const std::vector<std::string>& arguments, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // ---- what the commands reach (CommandContext) -----------------------------------------
    int openFile(const std::string* path, bool header, const std::string* colourKey,
                 int typeOption) override;
    bool startInstance(const std::vector<std::string>& arguments) override;
    void updateCaption(bool modified, bool force) override;
    void commitEdit() override;
    bool isEditing() const override;
    void goToCell(int column, int row) override;
    void updateStatus(int scope) override;
    void forgetStatusSelection() override;
    void updateFormatPanels() override;
    void setStatusMessage(const std::string& utf8, int hold = 0) override;
    void redrawGrid(bool forceHeader) override;
    void raiseScrollRanges() override;
    bool holdsData() const override;
    void applyViewOptions() override;
    void updateColourSaveButton() override;
    int optionsPageIndex() const override;
    void setOptionsPage(int page) override;
    CommandState commandState() const override;
    CommandSurfaces& commands() override;
    DocumentSaver& saver() override;
    QWidget* dialogParent() override;
    bool closeWindow() override;
    CMyGlobal& global() override;
    CMyHyo& hyo() override;
    CMyHyoCom& hyoCom() override;
    CMyPrint& printer() override;
    DocumentState& document() override;
    bool filterButtonDown() const override;
    void setFilterButton(bool down) override;
    SearchRunner& search() override;
    void chooseRecentFile(int index) override;
    void reload(bool confirm) override;
    CMyHyoDraw& view() override;
    CMyEdit& editor() override;
    Navigator& navigation() override;
    ColumnDerive& columnDerive() override;

    // ---- the rest of the window ---------------------------------------------------------
    // Stores an open edit, then opens `path` here when the window is empty and unmodified,
    // else in another instance.
    void openOrStart(const std::string& path, bool header, int typeOption);
    CMyPublic& utilities() { return *public_; }
    const DocumentState& document() const { return doc; }
    // The find, replace and filter dialog (one for the whole run).
    TfrmFind& findDialog() { return *frmFind; }

    // ---- for tests and start-up scripts -----------------------------------------------
    QString statusPanelText(int panel) const;
    Bounds lastStatusRange() const { return status->lastRange(); }
    int statusHold() const { return status->hold(); }
    // The executable another instance runs (the running program unless replaced).
    void setInstanceProgram(const std::string& path) { instanceProgram = path; }
    // Files dropped on the window: only the first one is used.
    void FormDropFiles(const QStringList& paths);
    GridWidget& gridWidget() { return *grid; }

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
    void placeWindow();
    void startWithCommandLine(const std::vector<std::string>& arguments);
    void showUntitled();

    // Commands and their helpers.
    OpenFlowWindow openFlowWindow();
    OpenColourHooks openColourHooks();
    void saveWindowPlace();
    std::string instanceExecutable() const;
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
    std::unique_ptr<DocumentSaver> saver_;
    std::unique_ptr<StatusReport> status;

    DocumentState doc;
    // View options that live as long as the window (the alternating background is kept by
    // the navigation, which switches it).
    int optionsPage = 0;
    std::string instanceProgram;

    // Controls.
    GridWidget* grid = nullptr;
    QScrollBar* scr_Right = nullptr;
    QScrollBar* scr_Bottom = nullptr;
    QWidget* pnl_Bottom = nullptr;
    QWidget* pnl_Corner = nullptr;
    QToolBar* ToolBar2 = nullptr;
};
