// The go-to-line request: a command event with the id of the go-to-line
// message whose int carries the zero-based line to bring to the top. It is
// processed synchronously (ProcessEvent), never queued.
#pragma once

#include <wx/event.h>

wxDECLARE_EVENT(EVT_GOTO_LINE, wxCommandEvent);

// A go-to-line event for `line`.
wxCommandEvent MakeGotoLineEvent(int line);
