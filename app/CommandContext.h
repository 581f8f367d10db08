// CommandContext: what a command of the main window may reach - the document, the table, its
// view, the grid interaction, the settings and the few window services a command asks for.
// The main window gives it; the area files see only this, never the window itself.
#pragma once

#include <string>
#include <vector>

struct CommandState;
struct DocumentState;
class CMyEdit;
class CMyGlobal;
class CMyHyo;
class CMyHyoCom;
class CMyHyoDraw;
class CMyPrint;
class ColumnDerive;
class CommandSurfaces;
class DocumentSaver;
class Navigator;
class QWidget;
class SearchRunner;

class CommandContext {
public:
    // ---- the document and the objects that hold and show it -----------------------------
    virtual DocumentState& document() = 0;
    virtual CMyHyo& hyo() = 0;
    virtual CMyHyoCom& hyoCom() = 0;
    virtual CMyHyoDraw& view() = 0;
    virtual CMyEdit& editor() = 0;
    virtual Navigator& navigation() = 0;
    virtual CMyGlobal& global() = 0;
    virtual CMyPrint& printer() = 0;
    // Join, split, compare and group with their colour sequence and remembered delimiters.
    virtual ColumnDerive& columnDerive() = 0;
    // Sort, find, replace and filter with what they remember between runs.
    virtual SearchRunner& search() = 0;
    // Saving, exporting and the colour-file commands.
    virtual DocumentSaver& saver() = 0;
    // The menu items and toolbar buttons.
    virtual CommandSurfaces& commands() = 0;
    // What the enable and check rules of the commands look at.
    virtual CommandState commandState() const = 0;

    // ---- window services ------------------------------------------------------------------
    // The parent of the dialogs a command opens.
    virtual QWidget* dialogParent() = 0;
    // Stores the in-cell editor's text when it is active.
    virtual void commitEdit() = 0;
    virtual bool isEditing() const = 0;
    virtual void goToCell(int column, int row) = 0;
    // Renders at the scroll-bar positions and presents.
    virtual void redrawGrid(bool forceHeader) = 0;
    // Scroll bars only grow here; commands that delete rows or columns set them exactly.
    virtual void raiseScrollRanges() = 0;
    virtual void updateCaption(bool modified, bool force) = 0;
    // Scope 0: every status panel; scope 1: all but the table size.
    virtual void updateStatus(int scope) = 0;
    // The next status refresh rewrites the selection panels even when the selection did not
    // move: a sort or a filter changed the cells under it.
    virtual void forgetStatusSelection() = 0;
    virtual void updateFormatPanels() = 0;
    // Writes a notice into the last panel; `hold` refreshes pass before it shows cells again.
    virtual void setStatusMessage(const std::string& utf8, int hold = 0) = 0;
    // Enables and presses the colour-save button by MAKEFD and the document's colour mode.
    virtual void updateColourSaveButton() = 0;
    // Hands the view options of the settings to the view.
    virtual void applyViewOptions() = 0;
    // Reads a file into this window; without a path the open dialog asks for one.
    // 0 loaded, negative when nothing (or only part) was read.
    virtual int openFile(const std::string* path, bool header, const std::string* colourKey,
                         int typeOption) = 0;
    // A window holds data when rows were read or typed; it then opens files elsewhere.
    virtual bool holdsData() const = 0;
    // What the File > recent-files item at `index` (0-4) does when chosen.
    virtual void chooseRecentFile(int index) = 0;
    // `confirm` false skips the first question.
    virtual void reload(bool confirm) = 0;
    // tb_Filter's state; setting it does not run its command.
    virtual bool filterButtonDown() const = 0;
    virtual void setFilterButton(bool down) = 0;
    // Saves the settings, then starts another vexil with `arguments`; false (after the
    // message) when it could not be started.
    virtual bool startInstance(const std::vector<std::string>& arguments) = 0;
    // The options dialog reopens on the page that was active when it last closed.
    virtual int optionsPageIndex() const = 0;
    virtual void setOptionsPage(int page) = 0;
    // Closes the window (asking to save first); false when it stays open.
    virtual bool closeWindow() = 0;

protected:
    ~CommandContext() = default;
};
