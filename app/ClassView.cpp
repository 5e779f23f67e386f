// The Section View pane.
#include "app/ClassView.h"

#include <wx/dcclient.h>
#include <wx/menu.h>
#include <wx/settings.h>

#include <memory>
#include <utility>

#include "app/OneLineName.h"
#include "app/PaneMenu.h"
#include "res/AppMessageBox.h"
#include "res/PaneResources.h"

using namespace ids;

CClassView::CClassView(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size) {
  Create(parent, id, pos, size);
}

bool CClassView::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size) {
  if (!wxPanel::Create(parent, id, pos, size, wxTAB_TRAVERSAL | wxCLIP_CHILDREN | wxFULL_REPAINT_ON_RESIZE |
                                                  wxBORDER_NONE)) {
    return false;
  }
  auto* tree = new CViewTree();
  if (!tree->Create(this, IDC_SECTION_TREE,
                    wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE | wxBORDER_NONE)) {
    delete tree;
    return false;
  }
  m_wndSectionTree = tree;
  if (std::unique_ptr<wxImageList> images = LoadPaneImageList(IDB_CLASS_VIEW)) {
    m_SectionViewImages = images.release();
    m_wndSectionTree->AssignImageList(m_SectionViewImages);
  }

  Bind(wxEVT_SIZE, &CClassView::OnSize, this);
  Bind(wxEVT_PAINT, &CClassView::OnPaint, this);
  Bind(wxEVT_CONTEXT_MENU, &CClassView::OnContextMenu, this);
  Bind(wxEVT_SET_FOCUS, &CClassView::OnSetFocus, this);
  Bind(wxEVT_MENU, &CClassView::OnClassAddMemberFunction, this, ID_CLASS_ADD_MEMBER_FUNCTION);
  Bind(wxEVT_MENU, &CClassView::OnNothing, this, ID_CLASS_ADD_MEMBER_VARIABLE, ID_CLASS_PROPERTIES);
  Bind(wxEVT_MENU, &CClassView::OnNewFolder, this, ID_NEW_FOLDER);
  Bind(wxEVT_MENU, &CClassView::OnSort, this, ID_SORTING_GROUPBYTYPE, ID_SORTING_SORTBYACCESS);
  Bind(wxEVT_UPDATE_UI, &CClassView::OnUpdateSort, this, ID_SORTING_GROUPBYTYPE, ID_SORTING_SORTBYACCESS);
  AdjustLayout();
  return true;
}

void CClassView::EmptyClassView() {
  m_wndSectionTree->DeleteAllItems();
  m_strTitle.clear();
}

void CClassView::FillClassView(const std::list<std::wstring>& names, const std::list<std::int32_t>& lines,
                               std::wstring title) {
  CViewTree& tree = *m_wndSectionTree;
  tree.DeleteAllItems();
  m_strTitle = std::move(title);
  const wxTreeItemId root = tree.AddRoot(OneLineName(m_strTitle) + L" Sections", 0, 0, new CTreeLineData(0));
  tree.SetItemBold(root);
  // The two lists come in step; a name without a line would have nowhere to
  // go, so only the pairs are shown.
  auto line = lines.begin();
  for (auto name = names.begin(); name != names.end() && line != lines.end(); ++name, ++line)
    tree.AppendItem(root, *name, 1, 1, new CTreeLineData(*line));
  tree.Expand(root);
}

void CClassView::AdjustLayout() {
  if (!m_wndSectionTree) return;
  const wxRect client = GetClientRect();
  m_wndSectionTree->SetSize(client.x + 1, client.y + 1, client.width - 2, client.height - 2);
}

void CClassView::SetFocus() {
  if (m_wndSectionTree) m_wndSectionTree->SetFocus();
  else wxPanel::SetFocus();
}

void CClassView::OnSize(wxSizeEvent& event) {
  AdjustLayout();
  event.Skip();
}

// A one-pixel frame in the shadow colour, in the margin round the tree.
void CClassView::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxRect tree = m_wndSectionTree->GetRect().Inflate(1, 1);
  dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(tree);
}

void CClassView::OnContextMenu(wxContextMenuEvent& event) {
  if (event.GetEventObject() != m_wndSectionTree) {
    event.Skip();
    return;
  }
  const wxPoint screen = event.GetPosition();
  if (screen != wxDefaultPosition) {
    int flags = 0;
    const wxTreeItemId item = m_wndSectionTree->HitTest(m_wndSectionTree->ScreenToClient(screen), flags);
    if (item.IsOk()) m_wndSectionTree->SelectItem(item);
  }
  m_wndSectionTree->SetFocus();
  std::unique_ptr<wxMenu> menu = LoadPaneMenu(IDR_POPUP_SORT);
  if (!menu) return;
  TrackPaneMenu(this, this, *menu, screen);
}

void CClassView::OnSetFocus(wxFocusEvent& event) {
  if (m_wndSectionTree) m_wndSectionTree->SetFocus();
  event.Skip();
}

void CClassView::OnClassAddMemberFunction(wxCommandEvent&) { AppMessageBox("Add member function..."); }

void CClassView::OnNothing(wxCommandEvent&) {}

void CClassView::OnNewFolder(wxCommandEvent&) { AppMessageBox("New Folder..."); }

void CClassView::OnSort(wxCommandEvent& event) {
  const unsigned id = static_cast<unsigned>(event.GetId());
  if (id == m_nCurrSort) return;
  // There is no sort button whose picture would follow; the tree keeps its order.
  m_nCurrSort = id;
}

void CClassView::OnUpdateSort(wxUpdateUIEvent& event) {
  event.Check(static_cast<unsigned>(event.GetId()) == m_nCurrSort);
}
