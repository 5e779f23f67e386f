// The Section View pane: a tree with a bold root naming the document and one
// item per section header line, filled by the views through FillClassView.
#pragma once

#include <wx/imaglist.h>
#include <wx/panel.h>

#include <cstdint>
#include <list>
#include <string>

#include "app/ViewTree.h"
#include "res/ResourceIds.h"

class CClassView : public wxPanel {
 public:
  CClassView() = default;
  CClassView(wxWindow* parent, wxWindowID id = ids::ID_VIEW_CLASSVIEW, const wxPoint& pos = wxDefaultPosition,
             const wxSize& size = wxSize(200, 200));

  // Creates the pane and its empty tree; false when either cannot be made.
  bool Create(wxWindow* parent, wxWindowID id = ids::ID_VIEW_CLASSVIEW, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxSize(200, 200));

  // Rebuilds the tree from nothing: the bold root "<title> Sections", under
  // it one item per name with the line at the same position as its data,
  // the root expanded.
  void FillClassView(const std::list<std::wstring>& names, const std::list<std::int32_t>& lines,
                     std::wstring title);

  // Empties the tree and forgets the title: no document's sections are shown.
  void EmptyClassView();

  // Places the tree inside a one-pixel margin.
  virtual void AdjustLayout();

  // The keyboard focus goes to the tree.
  void SetFocus() override;

  CViewTree* m_wndSectionTree = nullptr;
  wxImageList* m_SectionViewImages = nullptr;  // owned by the tree
  unsigned m_nCurrSort = ids::ID_SORTING_GROUPBYTYPE;  // the sort command last chosen; only shown as a check mark
  std::wstring m_strTitle;                             // the title of the last fill, without " Sections"

 private:
  void OnSize(wxSizeEvent& event);
  void OnPaint(wxPaintEvent& event);
  void OnContextMenu(wxContextMenuEvent& event);
  void OnSetFocus(wxFocusEvent& event);
  void OnClassAddMemberFunction(wxCommandEvent& event);
  void OnNothing(wxCommandEvent& event);
  void OnNewFolder(wxCommandEvent& event);
  void OnSort(wxCommandEvent& event);
  void OnUpdateSort(wxUpdateUIEvent& event);
};
