#pragma once
// The main menu (menu 100) as data: every item with its text, status-bar hint and place,
// and the accelerator table. The frame builds its menus and actions from these tables, and
// the tests compare the built menus against them.

#include <vector>

struct TMenuEntry {
    enum Kind { Command, Separator, SubMenuBegin, SubMenuEnd, RecentFiles };
    Kind kind = Command;
    int id = 0;             // command id (Command only)
    const char* text = "";  // menu text, "\t" then the key shown for it
    const char* hint = "";  // status-bar hint; empty when the item has none
};

struct TMenuLayout {
    const char* title;
    std::vector<TMenuEntry> entries;
};

// The four menus, in menu-bar order.
const std::vector<TMenuLayout>& MainMenuLayout();

// Every command entry of the menus, sub-menus included, in menu order.
std::vector<TMenuEntry> AllMenuCommands();
// The entry of a command id; nullptr when the menus have no such command.
const TMenuEntry* FindMenuCommand(int id);

struct TAccelerator {
    const char* key;  // in the form QKeySequence reads, e.g. "Ctrl+N"
    int id;
};
// Accelerator table 100.
const std::vector<TAccelerator>& AcceleratorTable();
// Further keys of our own for commands, bound and shown in the menus beside the texts of
// the menu table (which stay as they are).
const std::vector<TAccelerator>& SecondaryShortcuts();

// Tool-bar layout: a command id, or a separator of the given width (id 0).
struct TToolBarEntry {
    int id;
    int separatorWidth;
};
const std::vector<TToolBarEntry>& ToolBarLayout();
