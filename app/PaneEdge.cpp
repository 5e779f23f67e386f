// Which events are notices of a pane's controls.
#include "app/PaneEdge.h"

#include <wx/bookctrl.h>
#include <wx/treebase.h>

bool IsControlNotice(const wxEvent& event) {
  const wxEventType type = event.GetEventType();
  return dynamic_cast<const wxBookCtrlEvent*>(&event) || dynamic_cast<const wxTreeEvent*>(&event) ||
         type == wxEVT_LISTBOX || type == wxEVT_LISTBOX_DCLICK;
}
