// The About box, laid out in dialog units as the dialog template gives them.
#include "app/AboutDlg.h"

#include "res/AppResources.h"
#include "res/ResourceIds.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

CAboutDlg::CAboutDlg(wxWindow* parent)
    : wxDialog(parent, ids::IDD_ABOUTBOX, kAboutCaption, wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
  SetFont(wxFont(wxFontInfo(8)));
  auto du = [this](int x, int y) { return ConvertDialogToPixels(wxPoint(x, y)); };
  auto dus = [this](int w, int h) { return ConvertDialogToPixels(wxSize(w, h)); };

  const wxSize iconSize = dus(21, 20);
  const int side = std::min(iconSize.x, iconSize.y);
  m_icon = new wxStaticBitmap(this, wxID_ANY, AppIconBundleOfBitmaps().GetBitmap(wxSize(side, side)), du(14, 14),
                              wxSize(side, side));
  m_version = new wxStaticText(this, wxID_ANY, wxString(), du(42, 14), dus(114, 8), wxST_NO_AUTORESIZE);
  m_version->SetLabelText(kAboutVersion);  // no mnemonic processing
  m_notice = new wxStaticText(this, wxID_ANY, kAboutNotice, du(42, 26), wxDefaultSize);
  m_ok = new wxButton(this, wxID_OK, "OK", du(113, 41), dus(50, 14));
  m_ok->SetDefault();
  SetEscapeId(wxID_OK);

  // The notice may be wider than its 114 units in this font: the box grows
  // to show all of it rather than cutting it.
  const int right = std::max(du(170, 0).x, m_notice->GetRect().GetRight() + du(14, 0).x);
  SetClientSize(right, du(0, 62).y);
  if (right > du(170, 0).x) m_ok->Move(right - du(57, 0).x, m_ok->GetPosition().y);
  CentreOnParent();
}
