// Context menus of the panes: the items' update handlers run for the window
// that receives the commands, the user picks an item, and the chosen item
// goes back to that window as its command id.
#pragma once

#include <wx/gdicmn.h>

#include <functional>

class wxMenu;
class wxWindow;

// Shows `menu` at `screenPoint` (wxDefaultPosition: at the mouse) over
// `owner` and sends the chosen command to `target`'s own handlers. Before the
// menu opens, `target`'s own update handlers set the items' enabled and
// checked state; an item whose update handler disables it is not carried out.
void TrackPaneMenu(wxWindow* owner, wxWindow* target, wxMenu& menu, const wxPoint& screenPoint);

// Runs `target`'s update handlers on every item of `menu`.
void UpdatePaneMenu(wxWindow* target, wxMenu& menu);

// Who picks the item: by default the user through a popup menu. A test puts
// its own chooser here (it receives the menu as it would be shown and
// returns a menu item id or wxID_NONE); an empty function restores the popup.
using PaneMenuChooser = std::function<int(wxWindow* owner, wxMenu& menu, const wxPoint& clientPoint)>;
void SetPaneMenuChooser(PaneMenuChooser chooser);
