// The windows dialog: a list of the document windows with Activate and
// Close Window.
#include "app/WindowsDialog.h"

#include <wx/aui/auibook.h>
#include <wx/aui/aui.h>
#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/sizer.h>

namespace {
constexpr int kActivate = wxID_HIGHEST + 1;
constexpr int kCloseWindow = wxID_HIGHEST + 2;
}  // namespace

CWindowsDialog::CWindowsDialog(wxAuiMDIParentFrame* frame)
    : wxDialog(frame, wxID_ANY, wxT("Windows"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_frame(frame) {
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  m_wndList = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(300, 200));
  row->Add(m_wndList, 1, wxEXPAND | wxALL, 8);
  auto* buttons = new wxBoxSizer(wxVERTICAL);
  buttons->Add(new wxButton(this, kActivate, wxT("&Activate")), 0, wxEXPAND | wxBOTTOM, 4);
  buttons->Add(new wxButton(this, kCloseWindow, wxT("&Close Window")), 0, wxEXPAND | wxBOTTOM, 4);
  buttons->Add(new wxButton(this, wxID_CANCEL, wxT("OK")), 0, wxEXPAND);
  row->Add(buttons, 0, wxALL, 8);
  SetSizerAndFit(row);

  Bind(wxEVT_BUTTON, &CWindowsDialog::OnActivate, this, kActivate);
  Bind(wxEVT_BUTTON, &CWindowsDialog::OnCloseWindow, this, kCloseWindow);
  m_wndList->Bind(wxEVT_LISTBOX_DCLICK, &CWindowsDialog::OnActivate, this);
  Bind(wxEVT_UPDATE_UI, &CWindowsDialog::OnUpdateNeedsSelection, this, kActivate);
  Bind(wxEVT_UPDATE_UI, &CWindowsDialog::OnUpdateNeedsSelection, this, kCloseWindow);
  Fill();
}

std::vector<wxAuiMDIChildFrame*> CWindowsDialog::Windows() const {
  std::vector<wxAuiMDIChildFrame*> windows;
  wxAuiNotebook* tabs = m_frame ? m_frame->GetNotebook() : nullptr;
  if (!tabs) return windows;
  for (size_t i = 0; i < tabs->GetPageCount(); ++i)
    if (auto* child = dynamic_cast<wxAuiMDIChildFrame*>(tabs->GetPage(i)))
      if (!child->IsBeingDeleted()) windows.push_back(child);
  return windows;
}

void CWindowsDialog::Fill() {
  m_wndList->Clear();
  wxAuiMDIChildFrame* active = m_frame ? m_frame->GetActiveChild() : nullptr;
  const std::vector<wxAuiMDIChildFrame*> windows = Windows();
  for (size_t i = 0; i < windows.size(); ++i) {
    m_wndList->Append(windows[i]->GetTitle());
    if (windows[i] == active) m_wndList->SetSelection(static_cast<int>(i));
  }
}

void CWindowsDialog::OnActivate(wxCommandEvent&) {
  const std::vector<wxAuiMDIChildFrame*> windows = Windows();
  const int chosen = m_wndList->GetSelection();
  if (chosen == wxNOT_FOUND || static_cast<size_t>(chosen) >= windows.size()) return;
  windows[static_cast<size_t>(chosen)]->Activate();
  if (IsModal()) EndModal(wxID_OK);
  else Hide();
}

void CWindowsDialog::OnCloseWindow(wxCommandEvent&) {
  const std::vector<wxAuiMDIChildFrame*> windows = Windows();
  const int chosen = m_wndList->GetSelection();
  if (chosen == wxNOT_FOUND || static_cast<size_t>(chosen) >= windows.size()) return;
  windows[static_cast<size_t>(chosen)]->Close();
  Fill();
}

void CWindowsDialog::OnUpdateNeedsSelection(wxUpdateUIEvent& event) {
  event.Enable(m_wndList->GetSelection() != wxNOT_FOUND);
}
