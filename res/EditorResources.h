// The editor's own resources: its context menu (310), its accelerator
// table (312) and its message texts.
#pragma once

#include <wx/accel.h>
#include <wx/string.h>

#include <cstddef>

#include <memory>
#include <vector>

class wxMenu;

// Menu items take ids below 0x7FFF only, while the standard commands lie at
// 0xE000 to 0xEFFF and the program's own ribbon commands at 0x8000 to 0x8FFE.
// Their items carry the command id moved down by 0x8000 (standard commands:
// 0x6000 to 0x6FFF) or by 0x1000 (own commands: 0x7000 to 0x7FFE), ranges
// where no command of the program lies. Other ids are the same for both.
int MenuItemIdOfCommand(int command);
int CommandOfMenuItemId(int item);

// Every item id that stands for another command lies in this one range.
constexpr int kFirstAliasedItem = 0x6000;
constexpr int kLastAliasedItem = 0x7FFE;

// The popup of menu 310: Undo, Redo, Cut, Copy, Paste and Select All, each
// item with the menu item id of its command.
std::unique_ptr<wxMenu> LoadEditorContextMenu();

// The entries of accelerator table 312: Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Y and
// Ctrl+Z, each only with Ctrl held and neither Shift nor Alt.
std::vector<wxAcceleratorEntry> EditorAcceleratorEntries();

// Accelerator table 312 built from those entries.
wxAcceleratorTable LoadEditorAccelerators();

// Whether a key-down is the entry's key with exactly the entry's Ctrl, Shift
// and Alt state.
bool AcceleratorMatches(const wxAcceleratorEntry& entry, const wxKeyEvent& event);

// The message after a paste that left out `count` (at least 1) characters
// that no glyph shows.
wxString PasteLeftOutMessage(std::size_t count);
