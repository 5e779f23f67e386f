// CQuillmarkView: the first-generation view's clipboard, select-all and chip
// commands.
#include "app/QuillmarkView.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include "app/ClipboardHasText.h"
#include "chip/GalvectRunner.h"
#include "res/ResourceIds.h"

wxIMPLEMENT_DYNAMIC_CLASS(CQuillmarkView, CSourceView);

// clang-format off
wxBEGIN_EVENT_TABLE(CQuillmarkView, CSourceView)
  EVT_MENU(ids::ID_EDIT_PASTE, CQuillmarkView::OnEditPaste)
  EVT_UPDATE_UI(ids::ID_EDIT_PASTE, CQuillmarkView::OnUpdateEditPaste)
  EVT_MENU(ids::ID_EDIT_COPY, CQuillmarkView::OnEditCopy)
  EVT_UPDATE_UI(ids::ID_EDIT_COPY, CQuillmarkView::OnUpdateEditCopy)
  EVT_MENU(ids::ID_EDIT_CUT, CQuillmarkView::OnEditCut)
  EVT_UPDATE_UI(ids::ID_EDIT_CUT, CQuillmarkView::OnUpdateEditCopy)
  EVT_MENU(ids::ID_EDIT_SELECT_ALL, CQuillmarkView::OnEditSelectAll)
  EVT_UPDATE_UI(ids::ID_EDIT_SELECT_ALL, CQuillmarkView::OnUpdateEnabled)
  EVT_MENU(ids::ID_ButtonLoadRam, CQuillmarkView::OnLoadRam)
  EVT_UPDATE_UI(ids::ID_ButtonLoadRam, CQuillmarkView::OnUpdateEnabled)
  EVT_MENU(ids::ID_ButtonFindTarn, CQuillmarkView::OnFindTarn)
  EVT_UPDATE_UI(ids::ID_ButtonFindTarn, CQuillmarkView::OnUpdateEnabled)
  EVT_MENU(ids::ID_TarnCompile, CQuillmarkView::OnCompile)
  EVT_UPDATE_UI(ids::ID_TarnCompile, CQuillmarkView::OnUpdateEnabled)
  EVT_MENU(ids::ID_TarnLoadEeprom, CQuillmarkView::OnLoadEeprom)
  EVT_UPDATE_UI(ids::ID_TarnLoadEeprom, CQuillmarkView::OnUpdateEnabled)
wxEND_EVENT_TABLE()
// clang-format on

void CQuillmarkView::RunGalvect(std::wstring mode) {
  ChipDocumentOfView doc(GetDocument());
  BuildListOfFrame list;
  ::RunGalvect(std::move(mode), doc, list);
}

void CQuillmarkView::OnEditPaste(wxCommandEvent&) {
  if (m_pEditor) m_pEditor->Paste();
}

void CQuillmarkView::OnEditCopy(wxCommandEvent&) {
  if (m_pEditor) m_pEditor->CopySelection();
}

void CQuillmarkView::OnEditCut(wxCommandEvent&) {
  if (m_pEditor) m_pEditor->Cut();
}

void CQuillmarkView::OnEditSelectAll(wxCommandEvent&) {
  if (m_pEditor) m_pEditor->SelectAll();
}

void CQuillmarkView::OnUpdateEditPaste(wxUpdateUIEvent& event) {
  event.Enable(m_pEditor != nullptr && CClipboardHasText::Get().HasText());
}

void CQuillmarkView::OnUpdateEditCopy(wxUpdateUIEvent& event) {
  event.Enable(m_pEditor != nullptr && m_pEditor->HasSelection());
}

void CQuillmarkView::OnUpdateEnabled(wxUpdateUIEvent& event) { event.Enable(true); }

void CQuillmarkView::OnFindTarn(wxCommandEvent&) { RunGalvect(kGalvectFind); }
void CQuillmarkView::OnCompile(wxCommandEvent&) { RunGalvect(kGalvectCompile); }
void CQuillmarkView::OnLoadRam(wxCommandEvent&) { RunGalvect(kGalvectLoadRam); }
void CQuillmarkView::OnLoadEeprom(wxCommandEvent&) { RunGalvect(kGalvectLoadEeprom); }
