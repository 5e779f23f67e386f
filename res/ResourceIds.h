// Numeric ids of commands, controls, menus, accelerator tables, timers and
// messages, with the values the program and its users know them by.
#pragma once

namespace ids {

// Standard edit commands.
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_EDIT_SELECT_ALL = 57642;
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_EDIT_REDO = 57644;

// The editor control.
constexpr int IDC_COLOR_EDIT = 310;        // control id of its notifications
constexpr int IDR_EDITOR_CONTEXT_MENU = 310;
constexpr int IDR_EDITOR_ACCELERATORS = 312;

// Editor notification codes.
constexpr int EN_SETFOCUS = 0x0100;
constexpr int EN_KILLFOCUS = 0x0200;
constexpr int EN_CHANGE = 0x0300;

}  // namespace ids
