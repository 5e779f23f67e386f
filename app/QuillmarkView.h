// CQuillmarkView: the first-generation view, with the clipboard and
// select-all commands and the first-generation chip commands.
#pragma once

#include <string>

#include "app/SourceView.h"

class CQuillmarkView : public CSourceView {
 public:
  CQuillmarkView() = default;

  // Runs the first-generation tool in `mode` ("ID", "Compile", "LoadRam",
  // "LoadEeprom") on this view's document, reporting into the Build list.
  void RunGalvect(std::wstring mode);

  void OnEditPaste(wxCommandEvent& event);
  void OnEditCopy(wxCommandEvent& event);
  void OnEditCut(wxCommandEvent& event);
  void OnEditSelectAll(wxCommandEvent& event);
  // Paste: enabled exactly when the clipboard holds text.
  void OnUpdateEditPaste(wxUpdateUIEvent& event);
  // Copy and Cut: enabled exactly when the editor has a selection.
  void OnUpdateEditCopy(wxUpdateUIEvent& event);
  // Select All and the four chip commands: always enabled here.
  void OnUpdateEnabled(wxUpdateUIEvent& event);

  void OnLoadRam(wxCommandEvent& event);
  void OnFindTarn(wxCommandEvent& event);
  void OnCompile(wxCommandEvent& event);
  void OnLoadEeprom(wxCommandEvent& event);

 private:
  wxDECLARE_DYNAMIC_CLASS(CQuillmarkView);
  wxDECLARE_EVENT_TABLE();
};
