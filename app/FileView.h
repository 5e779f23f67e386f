// The File View pane: a tree with the one bold item "Build to see files", a
// one-button toolbar and a context menu whose commands, but Properties, do
// nothing.
#pragma once

#include <wx/imaglist.h>
#include <wx/panel.h>
#include <wx/toolbar.h>

#include "app/ViewTree.h"
#include "res/ResourceIds.h"

class CFileView : public wxPanel {
 public:
  CFileView() = default;
  CFileView(wxWindow* parent, wxWindowID id = ids::ID_VIEW_FILEVIEW, const wxPoint& pos = wxDefaultPosition,
            const wxSize& size = wxSize(200, 200));

  // Creates the pane, its tree with its one item and its toolbar; false when
  // any of them cannot be made.
  bool Create(wxWindow* parent, wxWindowID id = ids::ID_VIEW_FILEVIEW, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxSize(200, 200));

  // The toolbar across the top, the tree below it inside a one-pixel margin.
  virtual void AdjustLayout();

  // The keyboard focus goes to the tree.
  void SetFocus() override;

  CViewTree* m_wndFileTree = nullptr;
  wxImageList* m_FileViewImages = nullptr;  // owned by the tree
  wxToolBar* m_wndToolBar = nullptr;

 private:
  void OnSize(wxSizeEvent& event);
  void OnPaint(wxPaintEvent& event);
  void OnContextMenu(wxContextMenuEvent& event);
  void OnSetFocus(wxFocusEvent& event);
  void OnProperties(wxCommandEvent& event);
  void OnNothing(wxCommandEvent& event);
  void OnUpdateHandled(wxUpdateUIEvent& event);
};
