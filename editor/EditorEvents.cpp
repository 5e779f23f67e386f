// Definitions of the editor's notification event types.
#include "editor/EditorEvents.h"

#include "res/ResourceIds.h"

wxDEFINE_EVENT(EVT_EN_SETFOCUS, wxCommandEvent);
wxDEFINE_EVENT(EVT_EN_KILLFOCUS, wxCommandEvent);
wxDEFINE_EVENT(EVT_EN_CHANGE, wxCommandEvent);

wxEventType EditorNotificationType(int code) {
  switch (code) {
    case ids::EN_SETFOCUS: return EVT_EN_SETFOCUS;
    case ids::EN_KILLFOCUS: return EVT_EN_KILLFOCUS;
    default: return EVT_EN_CHANGE;
  }
}
