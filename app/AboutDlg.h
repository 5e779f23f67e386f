// The About box (dialog 100): the application icon, name and version, a
// one-line notice and an OK button.
#pragma once

#include <wx/dialog.h>

class wxStaticBitmap;
class wxStaticText;
class wxButton;

class CAboutDlg : public wxDialog {
 public:
  explicit CAboutDlg(wxWindow* parent = nullptr);

  wxStaticBitmap* m_icon = nullptr;
  wxStaticText* m_version = nullptr;
  wxStaticText* m_notice = nullptr;
  wxButton* m_ok = nullptr;
};
