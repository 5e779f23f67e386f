// Context menus of the panes.
#include "app/PaneMenu.h"

#include <wx/menu.h>
#include <wx/window.h>

#include <utility>

#include "res/EditorResources.h"

namespace {

PaneMenuChooser& Chooser() {
  static PaneMenuChooser chooser;
  return chooser;
}

// Asks `target`'s own handlers about one command. Only the target answers:
// the frame above it would route the standard edit commands to a view.
bool QueryUpdate(wxWindow* target, int command, wxUpdateUIEvent& update) {
  update.SetId(command);
  update.SetEventObject(target);
  return target->ProcessWindowEventLocally(update);
}

}  // namespace

void SetPaneMenuChooser(PaneMenuChooser chooser) { Chooser() = std::move(chooser); }

void UpdatePaneMenu(wxWindow* target, wxMenu& menu) {
  for (wxMenuItem* item : menu.GetMenuItems()) {
    if (wxMenu* sub = item->GetSubMenu()) {
      UpdatePaneMenu(target, *sub);
      continue;
    }
    if (item->IsSeparator()) continue;
    wxUpdateUIEvent update(CommandOfMenuItemId(item->GetId()));
    QueryUpdate(target, CommandOfMenuItemId(item->GetId()), update);
    if (update.GetSetEnabled()) item->Enable(update.GetEnabled());
    if (update.GetSetChecked() && item->IsCheckable()) item->Check(update.GetChecked());
  }
}

void TrackPaneMenu(wxWindow* owner, wxWindow* target, wxMenu& menu, const wxPoint& screenPoint) {
  UpdatePaneMenu(target, menu);
  const wxPoint at = screenPoint == wxDefaultPosition ? wxDefaultPosition : owner->ScreenToClient(screenPoint);
  const int item = Chooser() ? Chooser()(owner, menu, at) : owner->GetPopupMenuSelectionFromUser(menu, at);
  if (item == wxID_NONE) return;
  const int command = CommandOfMenuItemId(item);

  // The menu showed the state of a moment ago; a command disabled now is dropped.
  wxUpdateUIEvent update(command);
  if (QueryUpdate(target, command, update) && update.GetSetEnabled() && !update.GetEnabled()) return;

  wxCommandEvent event(wxEVT_MENU, command);
  event.SetEventObject(target);
  target->ProcessWindowEventLocally(event);
}
