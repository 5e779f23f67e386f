// The COM port dialog: "COM1" to "COM9" in a read-only list, the given port
// preselected, OK to accept, Esc or the close box to cancel.
#include "chip/PortDialog.h"

#include "res/ResourceIds.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/stattext.h>

wxIMPLEMENT_CLASS(PortDialog, wxDialog);

wxBEGIN_EVENT_TABLE(PortDialog, wxDialog)
  EVT_INIT_DIALOG(PortDialog::OnInitDialog)
  EVT_CHOICE(ids::IDC_COMBO_PORT, PortDialog::OnCbnSelchangeCombo)
  EVT_CHAR_HOOK(PortDialog::OnCharHook)
  EVT_CLOSE(PortDialog::OnCloseBox)
wxEND_EVENT_TABLE()

PortDialog::PortDialog(wxWindow* parent)
    : wxDialog(parent, ids::IDD_PORT, "Pick COM Port", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
  // Laid out in dialog units, as the dialog was designed.
  const auto at = [this](int x, int y) { return ConvertDialogToPixels(wxPoint(x, y)); };
  const auto size = [this](int w, int h) { return ConvertDialogToPixels(wxSize(w, h)); };

  new wxStaticText(this, wxID_STATIC, "Select COM port from list:", at(18, 12), size(90, 12), wxALIGN_LEFT);

  wxArrayString ports;
  for (int port = 1; port <= 9; ++port) ports.Add(wxString::Format("COM%d", port));
  m_comboPort = new wxChoice(this, ids::IDC_COMBO_PORT, at(60, 36), wxSize(size(84, 0).x, -1), ports, wxCB_SORT);

  m_okButton = new wxButton(this, wxID_OK, "OK", at(72, 84), size(50, 14));
  m_okButton->SetDefault();
  // Cancel exists for Esc and the close box only; it cannot be clicked.
  wxButton* cancel = new wxButton(this, wxID_CANCEL, "Cancel", at(150, 84), size(50, 14));
  cancel->Hide();

  SetClientSize(size(207, 104));
}

void PortDialog::OnInitDialog(wxInitDialogEvent& event) {
  wxDialog::OnInitDialog(event);
  // A port outside the list leaves it without a selection.
  m_comboPort->SetSelection(m_nPort >= 1 && m_nPort <= 9 ? m_nPort - 1 : wxNOT_FOUND);
  m_okButton->SetFocus();
}

void PortDialog::OnCbnSelchangeCombo(wxCommandEvent&) {
  const int selection = m_comboPort->GetSelection();
  if (selection == wxNOT_FOUND) return;
  m_nPort = selection + 1;
  m_strPort = m_comboPort->GetString(selection).ToStdWstring();
}

// With its Cancel button hidden the dialog would otherwise turn Esc into OK.
void PortDialog::OnCharHook(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_ESCAPE && IsModal()) {
    EndModal(wxID_CANCEL);
    return;
  }
  event.Skip();
}

void PortDialog::OnCloseBox(wxCloseEvent& event) {
  if (IsModal()) {
    EndModal(wxID_CANCEL);
    return;
  }
  event.Skip();
}
