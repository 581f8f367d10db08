// CommandTable: every command of the main window (menus, toolbar, tool palette, user-defined
// keys) gathered from the area files, and the layout of the menus and the toolbar.
#pragma once

#include "app/Command.h"

#include <string_view>
#include <vector>

// A menu of the menu bar or a submenu. Its items are command names, "-" for a separator, or
// the name of a submenu, which stands at that place.
struct MenuLayout {
    const char* name;
    const char* caption;
    const char* parent;  // none for a menu of the menu bar
    EnableRule enable;
    std::vector<const char*> items;
};

class CommandTable {
public:
    // In the order of the area files; the menus and the toolbar have their own order.
    static const std::vector<Command>& all();
    static const Command* find(std::string_view name);
    static const Command* byUserFunction(int number);
    static const Command* byPaletteSlot(int mode, int row);
    // The menu bar's menus first, in their order, then the submenus.
    static const std::vector<MenuLayout>& menus();
    // Toolbar button names in order, "-" between groups.
    static const std::vector<const char*>& toolBar();
};
