// CVorn2EditView: the second-generation view, with the second-generation
// compile and Load RAM commands; Find and Load EEPROM are disabled here and
// the clipboard commands find no handler in it.
#pragma once

#include "app/SourceView.h"

class CVorn2EditView : public CSourceView {
 public:
  CVorn2EditView() = default;

  // The common initial update, then the COM port becomes 2.
  void OnInitialUpdate() override;

  // 1-based COM port of Load RAM: 0 until the initial update, then 2.
  int m_nComPort = 0;

  void OnCompile(wxCommandEvent& event);
  void OnLoadRam(wxCommandEvent& event);
  // Find's command entry: does nothing (the command stays disabled).
  void OnFindTarn(wxCommandEvent& event);
  // Find and Load EEPROM: disabled.
  void OnUpdateDisabled(wxUpdateUIEvent& event);
  // Compile and Load RAM: enabled.
  void OnUpdateEnabled(wxUpdateUIEvent& event);

 protected:
  bool IsSecondGeneration() const override { return true; }

 private:
  wxDECLARE_DYNAMIC_CLASS(CVorn2EditView);
  wxDECLARE_EVENT_TABLE();
};
