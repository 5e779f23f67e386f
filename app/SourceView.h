// CSourceView: what both editor views share. A view lives in its own
// document child frame, owns one ColorEditWnd that fills its window, loads the
// document's text into it, keeps the Section View in step with the active
// editor through timer 100, scrolls on go-to-line, marks its document
// modified when the editor changes the text, and prints the editor's lines.
#pragma once

#include <wx/docview.h>
#include <wx/timer.h>
#include <wx/weakref.h>
#include <wx/window.h>

#include <cstdint>
#include <functional>
#include <list>
#include <string>

#include "chip/ChipInterfaces.h"
#include "editor/ColorEditWnd.h"
#include "textmodel/SampleColorizer.h"

class wxMenu;
class wxPrintout;
class COutputList;

class CSourceView : public wxView {
 public:
  CSourceView();
  ~CSourceView() override;

  // The view's editor: null until OnInitialUpdate creates it; owned by the view.
  ColorEditWnd* m_pEditor = nullptr;
  CSampleColorizer m_colorizer;

  // The view's own window inside its CChildFrame (the parent of the editor).
  wxWindow* GetViewWindow();
  // Whether a source view other than this one is open.
  bool OtherSourceViewExists() const;

  // Creates the child frame and the view window (wxDocTemplate::CreateView).
  bool OnCreate(wxDocument* doc, long flags) override;
  // Creates and loads the editor from the document's m_strText. Runs once per
  // view; later calls do nothing. Runs by itself on the document's first
  // UpdateAllViews (after reading or preparing the text).
  virtual void OnInitialUpdate();
  bool IsInitialised() const { return m_initialised; }
  void OnUpdate(wxView* sender, wxObject* hint = nullptr) override;
  void OnDraw(wxDC* dc) override;
  // Closing one of several views of a document closes only that view, asking
  // first (Yes / No / Cancel) when its own editor holds unsaved edits; the
  // last view closes the document, which asks about unsaved changes.
  bool OnClose(bool deleteWindow) override;
  // The document's name or modified state changed: every view of the
  // document shows it in its frame's title, and the editors' model title
  // follows the document's title.
  void OnChangeFilename() override;
  // The printout of the editor's lines (Print, Quick Print, Preview).
  wxPrintout* OnCreatePrintout() override;

  // EVT_GOTO_LINE handler; the view processes EVT_GOTO_LINE sent to it.
  void OnGotoLine(wxCommandEvent& event);
  // One tick of timer 100 (also called directly by tests).
  void OnTimer(wxTimerEvent& event);
  // Whether this view is the view of the main frame's active child frame
  // (without a main frame: the document manager's current view).
  bool IsActiveView() const;

  // Print (57607), Quick Print (57608), Print Preview (57609).
  void OnFilePrint(wxCommandEvent& event);
  void OnFilePrintPreview(wxCommandEvent& event);

  // The frame title this view shows: the window's name (the document's name,
  // numbered while the document has several windows), with "*" after it
  // while the document holds unsaved changes.
  wxString FrameTitle() const;

  // Who picks an item of the view's context menu: empty (the user, through
  // a popup menu) unless a test puts its own chooser here, which receives the
  // menu as it would be shown and returns a menu item id or wxID_NONE.
  static std::function<int(wxMenu&)>& ContextMenuChooser();

  // Timer 100 of this view (runs on the view window).
  wxTimer m_timer;

 protected:
  // The document adapted to what the chip commands need.
  class ChipDocumentOfView : public ChipDocument {
   public:
    explicit ChipDocumentOfView(wxDocument* doc) : doc_(doc) {}
    bool Save() override;
    std::wstring PathName() override;
    std::wstring Title() override;

   private:
    wxDocument* doc_;
  };
  // The main frame's Build list adapted to what the chip commands need; lines
  // go nowhere when there is no main frame or Output pane.
  class BuildListOfFrame : public BuildList {
   public:
    BuildListOfFrame();
    void ResetContent() override;
    void AddString(const std::wstring& line) override;

   private:
    COutputList* list_ = nullptr;
  };

  // Hands the model's section list and title to the main frame's Section View,
  // when there is one.
  static void FillSectionView(const std::list<std::wstring>& names, const std::list<std::int32_t>& lines,
                              std::wstring title);
  // Whether a listed section name no longer matches the text of its header
  // line (a header renamed in place, which the editor's local analysis does
  // not report).
  bool SectionNamesOutdated() const;
  // Second-generation views colour in mode "Vorn2".
  virtual bool IsSecondGeneration() const { return false; }
  // Sets this view's frame title to FrameTitle().
  void ShowFrameTitle();

  // Events that reach the view window.
  void OnEditorChange(wxCommandEvent& event);
  void OnWindowSize(wxSizeEvent& event);
  void OnWindowContextMenu(wxContextMenuEvent& event);
  void OnWindowRightDown(wxMouseEvent& event);
  void OnWindowRightUp(wxMouseEvent& event);
  void OnWindowGotoLine(wxCommandEvent& event);
  // The keyboard focus that reaches the view window goes on to the editor.
  void OnWindowSetFocus(wxFocusEvent& event);
  void OnEditorDestroyed(wxWindowDestroyEvent& event);
  // Shows popup menu 119 at a point of the view window; the chosen command
  // goes through this view's command handlers.
  void ShowContextMenu(const wxPoint& clientPoint);

  wxWeakRef<wxWindow> m_viewWindow;
  bool m_initialised = false;
  bool m_loading = false;           // true while the initial text goes in
  bool m_unsavedEdits = false;      // this editor changed the text since the document was last clean
  bool m_menuShownForPress = false;  // the context menu came up for the current right press

  wxDECLARE_EVENT_TABLE();
};
