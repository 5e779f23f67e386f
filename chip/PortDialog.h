// The small modal dialog with which Load RAM asks for the COM port (COM1 to
// COM9) the loader is to use.
#pragma once

#include <wx/dialog.h>

#include <string>

class wxChoice;
class wxButton;
class wxInitDialogEvent;
class wxKeyEvent;
class wxCloseEvent;

class PortDialog : public wxDialog {
 public:
  explicit PortDialog(wxWindow* parent = nullptr);

  wxChoice* m_comboPort = nullptr;  // control 1000, the read-only port list
  int m_nPort = 0;                  // 1-based chosen port; set by the caller before the run
  std::wstring m_strPort;           // text of the entry last picked during this run

  wxButton* OkButton() const { return m_okButton; }

 private:
  void OnInitDialog(wxInitDialogEvent& event);
  void OnCbnSelchangeCombo(wxCommandEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnCloseBox(wxCloseEvent& event);

  wxButton* m_okButton = nullptr;

  wxDECLARE_CLASS(PortDialog);
  wxDECLARE_EVENT_TABLE();
};
