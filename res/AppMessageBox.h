// The program's message box: every message the user is shown goes through
// here, with the application's name as the caption. Tests answer it with
// wx's modal-dialog testing hooks (wxTEST_DIALOG).
#pragma once

#include <wx/defs.h>
#include <wx/string.h>

class wxWindow;

// The application's name, the caption of its message boxes and the name its
// settings are kept under.
extern const wchar_t* const kAppName;

// Shows `text` modally; returns wxOK, wxYES, wxNO or wxCANCEL as wxMessageBox does.
int AppMessageBox(const wxString& text, long style = wxOK, wxWindow* parent = nullptr);
