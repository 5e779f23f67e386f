// The editor's notifications to its parent: command events with the editor's
// control id, one event type per notification code, sent synchronously.
#pragma once

#include <wx/event.h>

wxDECLARE_EVENT(EVT_EN_SETFOCUS, wxCommandEvent);
wxDECLARE_EVENT(EVT_EN_KILLFOCUS, wxCommandEvent);
wxDECLARE_EVENT(EVT_EN_CHANGE, wxCommandEvent);

// The event type of a notification code (EN_SETFOCUS, EN_KILLFOCUS, EN_CHANGE).
wxEventType EditorNotificationType(int code);
