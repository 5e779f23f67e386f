// Builds the editor's context menu and accelerator table.
#include "res/EditorResources.h"

#include <wx/event.h>
#include <wx/menu.h>

#include "res/ResourceIds.h"

namespace {
// Standard commands and their items.
constexpr int kStandardCommandFirst = 0xE000;
constexpr int kStandardCommandLast = 0xEFFF;
constexpr int kStandardShift = 0x8000;
// The program's own commands above 0x7FFF and their items; 0x8FFF would give
// 0x7FFF, which menus reject, so the range ends one below.
constexpr int kOwnCommandFirst = 0x8000;
constexpr int kOwnCommandLast = 0x8FFE;
constexpr int kOwnShift = 0x1000;

bool Within(int value, int first, int last) { return value >= first && value <= last; }
}  // namespace

int MenuItemIdOfCommand(int command) {
  if (Within(command, kStandardCommandFirst, kStandardCommandLast)) return command - kStandardShift;
  if (Within(command, kOwnCommandFirst, kOwnCommandLast)) return command - kOwnShift;
  return command;
}

int CommandOfMenuItemId(int item) {
  if (Within(item, kStandardCommandFirst - kStandardShift, kStandardCommandLast - kStandardShift))
    return item + kStandardShift;
  if (Within(item, kOwnCommandFirst - kOwnShift, kOwnCommandLast - kOwnShift)) return item + kOwnShift;
  return item;
}

std::unique_ptr<wxMenu> LoadEditorContextMenu() {
  auto menu = std::make_unique<wxMenu>();
  auto add = [&menu](int command, const char* text) { menu->Append(MenuItemIdOfCommand(command), text); };
  add(ids::ID_EDIT_UNDO, "Undo");
  add(ids::ID_EDIT_REDO, "Redo");
  menu->AppendSeparator();
  add(ids::ID_EDIT_CUT, "Cut");
  add(ids::ID_EDIT_COPY, "&Copy");
  add(ids::ID_EDIT_PASTE, "Paste");
  menu->AppendSeparator();
  add(ids::ID_EDIT_SELECT_ALL, "Select &All");
  return menu;
}

std::vector<wxAcceleratorEntry> EditorAcceleratorEntries() {
  // wxACCEL_CTRL alone: an entry matches only while Shift and Alt are up.
  return {
      wxAcceleratorEntry(wxACCEL_CTRL, 'C', ids::ID_EDIT_COPY),
      wxAcceleratorEntry(wxACCEL_CTRL, 'X', ids::ID_EDIT_CUT),
      wxAcceleratorEntry(wxACCEL_CTRL, 'V', ids::ID_EDIT_PASTE),
      wxAcceleratorEntry(wxACCEL_CTRL, 'Y', ids::ID_EDIT_REDO),
      wxAcceleratorEntry(wxACCEL_CTRL, 'Z', ids::ID_EDIT_UNDO),
  };
}

wxAcceleratorTable LoadEditorAccelerators() {
  const std::vector<wxAcceleratorEntry> entries = EditorAcceleratorEntries();
  return wxAcceleratorTable(static_cast<int>(entries.size()), entries.data());
}

bool AcceleratorMatches(const wxAcceleratorEntry& entry, const wxKeyEvent& event) {
  const int flags = entry.GetFlags();
  int key = entry.GetKeyCode();
  if (key >= 'a' && key <= 'z') key -= 'a' - 'A';
  return event.GetKeyCode() == key && ((flags & wxACCEL_CTRL) != 0) == event.ControlDown() &&
         ((flags & wxACCEL_SHIFT) != 0) == event.ShiftDown() && ((flags & wxACCEL_ALT) != 0) == event.AltDown();
}

wxString PasteLeftOutMessage(std::size_t count) {
  if (count == 1) return "1 character of the pasted text cannot be shown and was left out.";
  return wxString::Format("%zu characters of the pasted text cannot be shown and were left out.", count);
}
