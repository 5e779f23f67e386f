// The go-to-line event type.
#include "app/GotoLineEvent.h"

#include "res/ResourceIds.h"

wxDEFINE_EVENT(EVT_GOTO_LINE, wxCommandEvent);

wxCommandEvent MakeGotoLineEvent(int line) {
  wxCommandEvent event(EVT_GOTO_LINE, ids::WM_GOTOLINE);
  event.SetInt(line);
  return event;
}
