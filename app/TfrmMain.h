// TfrmMain: the main window - start-up, document lifecycle, command line, File menu, status bar.
#pragma once

#include "store/DocumentState.h"

#include <QMainWindow>
#include <QPoint>
#include <QStringList>

#include <array>
#include <memory>
#include <string>
#include <vector>

struct OpenColourHooks;
struct OpenFlowWindow;
struct SaveFlowWindow;
class CMyEdit;
class CMyGlobal;
class CMyHyo;
class CMyHyoCom;
class CMyHyoDraw;
class CMyPublic;
class GridWidget;
class Navigator;
class QAction;
class QLabel;
class QMenu;
class QScrollBar;
class QToolBar;
class QWidget;

class TfrmMain : public QMainWindow {
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
    // Opens `path` here when the window is empty and unmodified, else in another instance.
    void openOrStart(const std::string& path, bool header, int typeOption);
    void updateCaption(bool modified, bool force);
    // Stores the in-cell editor's text when it is active.
    void commitEdit();
    bool isEditing() const;
    void goToCell(int column, int row);
    // Scope 0: panels 0, 1, 5, 6; scope 1: panels 1, 5, 6 (the table size cannot have changed).
    void updateStatus(int scope);
    void updateFormatPanels();
    // Writes a notice into panel 6; `hold` refreshes pass before the panel shows cells again.
    void setStatusMessage(const std::string& utf8, int hold = 0);
    // Renders at the scroll-bar positions and presents.
    void redrawGrid(bool forceHeader);

    // ---- shared objects ---------------------------------------------------------------
    CMyGlobal& global() { return *global_; }
    CMyPublic& utilities() { return *public_; }
    CMyHyo& hyo() { return *hyo_; }
    DocumentState& document() { return doc; }
    const DocumentState& document() const { return doc; }
    bool filterButtonDown() const;

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

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    void mnuFileNewClick();
    void mnuFileOpenClick();
    void mnuFileHistClick();
    void mnuFileReloadClick();
    void mnuFileSaveClick();
    void mnuFileSaveAsClick();
    void mnuFileSaveChgClick();
    void mnuFileExpClick();
    void mnuFileCRLinkClick();
    void mnuFileCRKariClick();
    void tb_SaveFMTClick(bool pressed);
    void mnuFileMenuPopup();
    void mnuEditUndoClick();
    void mnuToolMenuPopup();
    void mnuShowOneHeaderClick();
    void mnuShowScrfixClick();
    void mnuKougoClick();
    void mnuOptionScaleClick();
    void mnuHelpDataClick();
    void mnuHelpHelpClick();
    void mnuHelpFolderClick();
    void mnuHelpAboutClick();
    void scr_RightChange(int value);
    void scr_BottomChange(int value);

private:
    // Window creation, in order.
    void initDocumentState();
    void createObjects();
    void loadSettings();
    void applyStoreSettings();
    void copyStartFormat();
    void createLayout();
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createView();
    void applyViewOptions();
    void createEditor();
    void createNavigator();
    void resetStatusMemory();
    void raiseScrollRanges();
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
    void updateColourSaveButton();
    SaveFlowWindow saveFlowWindow();
    void refreshDocumentState();
    void colourFileCommand(int tag);
    void viewFreeze(int& first, int& end) const;
    bool wholeRowsSelected() const;
    void setAlternateMode(bool on, int lines, int scheme);
    void updateViewModeChecks();
    bool saveDocument(bool saveAs);
    void saveWindowPlace();
    bool holdsData() const;
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
    std::unique_ptr<CMyHyoDraw> draw_;
    std::unique_ptr<CMyEdit> edit_;
    std::unique_ptr<Navigator> navigator;

    DocumentState doc;
    // View options that live as long as the window (the alternating background is kept by
    // the navigation, which switches it).
    char joinDelimiter = '/';
    char splitDelimiter = '/';
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
    QMenu* mnuFile = nullptr;
    QMenu* mnuFileHist = nullptr;
    QMenu* mnuFileCRSave = nullptr;
    QAction* mnuFileNew = nullptr;
    QAction* mnuFileOpen = nullptr;
    std::array<QAction*, 5> mnuFileHistItems{};
    QAction* mnuFileReload = nullptr;
    QAction* mnuFileCRList = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuFileSaveChg = nullptr;
    QAction* mnuFileCRLink = nullptr;
    QAction* mnuFileCRKari = nullptr;
    QAction* mnuFileExp = nullptr;
    QAction* mnuFilePreview = nullptr;
    QAction* mnuFilePrintSetup = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuEditUndo = nullptr;
    QMenu* mnuTool = nullptr;
    QAction* mnuShowOneHeader = nullptr;
    QAction* mnuShowScrfix = nullptr;
    QAction* mnuKougo = nullptr;
    QAction* mnuOptionScaleUp = nullptr;
    QAction* mnuOptionScaleDown = nullptr;
    QAction* mnuToolCardEdit = nullptr;
    QAction* mnuOptionUserKey = nullptr;
    QAction* mnuOptionOption = nullptr;
    QAction* mnuHelpData = nullptr;
    QAction* mnuHelpHelp = nullptr;
    QAction* mnuHelpFolder = nullptr;
    QAction* mnuHelpAbout = nullptr;
    QAction* tb_New = nullptr;
    QAction* tb_Open = nullptr;
    QAction* tb_Save = nullptr;
    QAction* tb_SaveFMT = nullptr;
    QAction* tb_Preview = nullptr;
    QAction* tb_Find = nullptr;
    QAction* tb_SortUp = nullptr;
    QAction* tb_SortDown = nullptr;
    QAction* tb_Filter = nullptr;
    QAction* tb_FilterSet = nullptr;
    QAction* tb_KindText = nullptr;
    QAction* tb_KindNum = nullptr;
    QAction* tb_Ret = nullptr;
    QAction* tb_Card = nullptr;
};
