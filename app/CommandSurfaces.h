// CommandSurfaces: builds the menus and the toolbar from the command table, applies the
// enable and check rules, and runs every command with the wrapping its entry asks for -
// whether it comes from a menu, a button, the tool palette or a user-defined key.
#pragma once

#include "app/Command.h"

#include <QAction>
#include <QObject>

#include <map>
#include <string>

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class CommandContext;
class TfrmTool;

class CommandSurfaces : public QObject {
    Q_OBJECT
public:
    // `window` owns the actions and places the tool palette; `context` is what the commands
    // run on.
    CommandSurfaces(CommandContext& context, QWidget& window);

    // One action per menu item and per toolbar button, owned by the window.
    void build(QMenuBar* menuBar, QToolBar* toolBar, int buttonWidth);

    // The menu item or toolbar button of that object name; none when there is no such one.
    QAction* action(const char* name) const;
    // The same for a name the window relies on: a missing one is a programming fault and
    // stops the program with its name.
    QAction& checkedAction(const char* name) const;
    bool isChecked(const char* name) const { return checkedAction(name).isChecked(); }
    QMenu* menu(const char* name) const;
    void setChecked(const char* name, bool checked);

    // Applies every enable and check rule; done when a menu opens and after each command.
    void refresh();

    // Runs the command unless its rule disables it, wrapped as its entry says; true when it
    // ran and took effect.
    bool run(const Command& command);
    // Ctrl+digit (1-9), Shift held or not: runs the function number stored for that key.
    void runUserKey(int digit, bool shift);
    // A command row of the tool palette; false when the slot holds no command.
    bool runPaletteSlot(int mode, int row);
    // A colour swatch of the tool palette: background or text, index 0-15 or -1 for none.
    bool runSwatch(bool text, int index);
    // Opens the tool palette in `mode` (0 cells, 1 whole rows, 2 whole columns) at the grid
    // point `globalPos`, moved left or up to stay inside the window.
    void showPalette(int mode, const QPoint& globalPos);
    TfrmTool& palette() { return *frmTool; }

signals:
    // A menu of the menu bar or a submenu is about to show (after the rules were applied).
    void menuOpening(const QString& name);

private:
    QAction* makeAction(const Command& command, const char* name);
    void buildMenus(QMenuBar* menuBar);
    void buildToolBar(QToolBar* toolBar, int buttonWidth);
    // Through the item or button when there is one, so a toggle changes state as a click does.
    bool activate(const Command& command);

    CommandContext& context;
    QWidget& window;
    TfrmTool* frmTool = nullptr;  // created with the surfaces, lives as long as the window
    std::map<std::string, QAction*> actions;
    std::map<std::string, QMenu*> menus;
};
