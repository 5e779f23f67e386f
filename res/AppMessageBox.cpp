// The program's message box.
#include "res/AppMessageBox.h"

#include <wx/msgdlg.h>

const wchar_t* const kAppName = L"Quillmark";

int AppMessageBox(const wxString& text, long style, wxWindow* parent) {
  return wxMessageBox(text, kAppName, style, parent);
}
