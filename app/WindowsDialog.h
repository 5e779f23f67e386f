// The windows dialog (command 131): the open document windows, one to
// activate or to close.
#pragma once

#include <wx/dialog.h>

#include <vector>

class wxAuiMDIChildFrame;
class wxAuiMDIParentFrame;
class wxListBox;

class CWindowsDialog : public wxDialog {
 public:
  explicit CWindowsDialog(wxAuiMDIParentFrame* frame);

  wxListBox* m_wndList = nullptr;

  // Makes the chosen window the active one and ends the dialog.
  void OnActivate(wxCommandEvent& event);
  // Closes the chosen window (its document may ask to save first).
  void OnCloseWindow(wxCommandEvent& event);

  // The document windows in tab order, as the list shows them.
  std::vector<wxAuiMDIChildFrame*> Windows() const;

 private:
  void Fill();
  void OnUpdateNeedsSelection(wxUpdateUIEvent& event);

  wxAuiMDIParentFrame* m_frame;
};
