// CVorn2EditView: the second-generation view's chip commands.
#include "app/Vorn2EditView.h"

#include "app/MainFrame.h"
#include "chip/Vorn2Commands.h"
#include "res/ResourceIds.h"

wxIMPLEMENT_DYNAMIC_CLASS(CVorn2EditView, CSourceView);

// clang-format off
wxBEGIN_EVENT_TABLE(CVorn2EditView, CSourceView)
  EVT_MENU(ids::ID_TarnCompile, CVorn2EditView::OnCompile)
  EVT_UPDATE_UI(ids::ID_TarnCompile, CVorn2EditView::OnUpdateEnabled)
  EVT_UPDATE_UI(ids::ID_TarnLoadEeprom, CVorn2EditView::OnUpdateDisabled)
  EVT_MENU(ids::ID_ButtonFindTarn, CVorn2EditView::OnFindTarn)
  EVT_UPDATE_UI(ids::ID_ButtonFindTarn, CVorn2EditView::OnUpdateDisabled)
  EVT_MENU(ids::ID_ButtonLoadRam, CVorn2EditView::OnLoadRam)
  EVT_UPDATE_UI(ids::ID_ButtonLoadRam, CVorn2EditView::OnUpdateEnabled)
wxEND_EVENT_TABLE()
// clang-format on

void CVorn2EditView::OnInitialUpdate() {
  if (IsInitialised()) return;
  CSourceView::OnInitialUpdate();
  if (IsInitialised()) m_nComPort = 2;
}

void CVorn2EditView::OnCompile(wxCommandEvent&) {
  ChipDocumentOfView doc(GetDocument());
  BuildListOfFrame list;
  Vorn2Compile(doc, list);
}

void CVorn2EditView::OnLoadRam(wxCommandEvent&) {
  ChipDocumentOfView doc(GetDocument());
  BuildListOfFrame list;
  wxWindow* parent = GetMainFrame();
  Vorn2LoadRam(m_nComPort, doc, list, parent ? parent : GetFrame());
}

void CVorn2EditView::OnFindTarn(wxCommandEvent&) {}

void CVorn2EditView::OnUpdateDisabled(wxUpdateUIEvent& event) { event.Enable(false); }

void CVorn2EditView::OnUpdateEnabled(wxUpdateUIEvent& event) { event.Enable(true); }
