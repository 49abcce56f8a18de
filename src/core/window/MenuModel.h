#pragma once
// The menu bar of the main window: menus, items, separators and shortcut keys.

#include <string>
#include <vector>

#include "window/Command.h"

namespace qb {

struct Shortcut {
    int key = 0;    // virtual-key code, 0 for none
    int shift = 0;  // 1 Shift, 2 Ctrl
};

struct MenuItem {
    std::string name;     // mnuMEAddToMemory; empty for a separator
    std::string caption;  // "&Add To Memory"
    Command command = Command::None;
    Shortcut shortcut;
    std::vector<MenuItem> submenu;  // the items of a submenu, which has no command of its own
    bool IsSeparator() const { return name.empty(); }
    bool IsSubmenu() const { return !submenu.empty(); }
};

struct Menu {
    std::string name;
    std::string caption;
    std::vector<MenuItem> items;
    bool keptWhenCollapsed = false;  // the File menu stays on the collapsed window
    // Opening the menu puts the tape back over the shortcut-key panels; the Help menu leaves
    // them, so that its Keyboard Shortcut Keys item can page and About finds them as they were.
    bool hidesShortcutKeys = true;
};

// The menus from left to right.
const std::vector<Menu>& MainMenus();

// How a shortcut reads in a menu ("Ctrl+O", "Shift+F1", "Del").
std::string ShortcutText(const Shortcut& shortcut);

}  // namespace qb
