// The Output pane: tabs at the bottom for the Build, Debug and Find lists.
// The Build list is where the chip commands write what they do and what the
// tools print.
#pragma once

#include <wx/aui/auibook.h>
#include <wx/panel.h>
#include <wx/vlbox.h>

#include <string>
#include <vector>

#include "app/PaneEdge.h"
#include "app/ThemeCached.h"
#include "res/ResourceIds.h"

// A list of output lines, one per row, unsorted: every line goes to the end.
// It draws only the rows in view, so appending stays cheap however long the
// list grows; a line wider than the list is cut at the right edge.
//
// Appending only stores the line and asks for a repaint; the rows, the
// scroll bar and the scroll position catch up at the next paint (or when the
// program next waits for input, for a list not on the screen). So lines that
// a tool run adds show as soon as its wait loop lets the windows paint, even
// where no queued event is run.
class COutputList : public ThemeCached<wxVListBox> {
 public:
  COutputList() = default;
  COutputList(wxWindow* parent, wxWindowID id);

  bool Create(wxWindow* parent, wxWindowID id);

  void ResetContent();                       // empties the list
  // Appends one line at the end and keeps the end in view.
  void AddString(const std::wstring& line);
  unsigned GetCount() const;
  std::wstring GetString(unsigned i) const;  // line i; empty when there is no such line

  bool SetFont(const wxFont& font) override;
  void OnInternalIdle() override;

 protected:
  void OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const override;
  wxCoord OnMeasureItem(size_t n) const override;

 private:
  void OnContextMenu(wxContextMenuEvent& event);
  void OnEditCopy(wxCommandEvent& event);
  void OnEditClear(wxCommandEvent& event);
  void OnViewOutput(wxCommandEvent& event);
  void OnUpdateHandled(wxUpdateUIEvent& event);
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  void CatchUp();  // rows for every line added so far, the last in view
  bool ShowEnd();  // scrolls the last row to the bottom; false when no whole row fits

  std::vector<std::wstring> m_lines;
  bool m_catchUpPending = false;  // lines were added since the rows last caught up
  bool m_endWanted = false;       // the end is to be shown once the list has room for a row
  wxCoord m_lineHeight = 1;
};

// The notices of its tabs and lists end at the pane.
class COutputWnd : public PaneEdge<wxPanel> {
 public:
  COutputWnd() = default;
  COutputWnd(wxWindow* parent, wxWindowID id = ids::ID_VIEW_OUTPUTWND, const wxPoint& pos = wxDefaultPosition,
             const wxSize& size = wxSize(100, 100));

  // Creates the pane, its tabs and the three lists with their first lines;
  // false when any of them cannot be made.
  bool Create(wxWindow* parent, wxWindowID id = ids::ID_VIEW_OUTPUTWND, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxSize(100, 100));

  // Gives the Build, the Debug and the Find list the regular user-interface font.
  void UpdateFonts();

  wxAuiNotebook* m_wndTabs = nullptr;
  COutputList* m_wndOutputBuild = nullptr;
  COutputList* m_wndOutputDebug = nullptr;
  COutputList* m_wndOutputFind = nullptr;

 private:
  void OnSize(wxSizeEvent& event);
};
