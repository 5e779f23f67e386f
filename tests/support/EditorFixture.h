// Window-test fixture with one editor inside a parent panel that records the
// editor's notifications (EN_SETFOCUS, EN_KILLFOCUS, EN_CHANGE) in order.
#pragma once

#include <wx/panel.h>

#include <string>
#include <vector>

#include "editor/ColorEditWnd.h"
#include "editor/EditorEvents.h"
#include "editor/KeyState.h"
#include "res/ResourceIds.h"
#include "support/WxFixture.h"
#include "textmodel/SampleColorizer.h"

class NotificationRecorder : public wxPanel {
 public:
  explicit NotificationRecorder(wxWindow* parent) : wxPanel(parent, wxID_ANY, wxPoint(0, 0), wxSize(800, 600)) {
    Bind(EVT_EN_SETFOCUS, [this](wxCommandEvent& e) { Record(ids::EN_SETFOCUS, e); });
    Bind(EVT_EN_KILLFOCUS, [this](wxCommandEvent& e) { Record(ids::EN_KILLFOCUS, e); });
    Bind(EVT_EN_CHANGE, [this](wxCommandEvent& e) { Record(ids::EN_CHANGE, e); });
  }
  int Count(int code) const {
    int n = 0;
    for (int c : codes) n += (c == code);
    return n;
  }
  std::vector<int> codes;  // notification codes in the order they arrived
  std::vector<int> ids;    // the control id of each

 private:
  void Record(int code, wxCommandEvent& e) {
    codes.push_back(code);
    ids.push_back(e.GetId());
  }
};

class EditorFixture : public WxFixture {
 protected:
  void SetUp() override {
    WxFixture::SetUp();
    keystate::Override(false, false);
    parent_ = new NotificationRecorder(frame_);
    editor_ = new ColorEditWnd(parent_, wxRect(2, 2, 796, 596), L"Veltrane", true);
    Pump();
  }
  void TearDown() override {
    delete editor_;
    editor_ = nullptr;
    keystate::ClearOverride();
    WxFixture::TearDown();
  }

  // Replaces the editor's text with `lines` directly in the model (no undo
  // records, no notifications), recolours, and puts caret and anchor at (0, 0).
  void SetLines(const std::vector<std::string>& lines) {
    CTextModel& m = editor_->m_textModel;
    m.lines = lines;
    m.lineColours.assign(lines.size(), {});
    m.RecolourAll();
    editor_->m_caretCol = editor_->m_caretLine = 0;
    editor_->m_anchorCol = editor_->m_anchorLine = 0;
    editor_->UpdateScrollBars();
  }
  std::vector<std::string> Lines() const { return editor_->m_textModel.lines; }

  void SetCaret(int col, int line) {
    editor_->m_caretCol = col;
    editor_->m_caretLine = line;
  }
  void SetAnchor(int col, int line) {
    editor_->m_anchorCol = col;
    editor_->m_anchorLine = line;
  }

  // Colours the editor's text with `colorizer` holding the keyword,
  // operator and flow-keyword sets.
  void UseColorizer(CSampleColorizer& colorizer) {
    colorizer.LoadKeywords(L"Keywords.ini");
    colorizer.LoadOperators();
    colorizer.LoadFlowKeywords();
    editor_->m_textModel.colorizer = &colorizer;
  }

  NotificationRecorder* parent_ = nullptr;
  ColorEditWnd* editor_ = nullptr;

 public:  // keys sent to the editor, also for tables of cases
  void Char(wchar_t unit) {
    wxKeyEvent event(wxEVT_CHAR);
    event.m_uniChar = unit;
    event.m_keyCode = unit;
    event.SetEventObject(editor_);
    editor_->GetEventHandler()->ProcessEvent(event);
  }
  void KeyDown(int key) {
    wxKeyEvent event(wxEVT_KEY_DOWN);
    event.m_keyCode = key;
    event.SetEventObject(editor_);
    editor_->GetEventHandler()->ProcessEvent(event);
  }
};
