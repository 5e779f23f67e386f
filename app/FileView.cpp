// The File View pane.
#include "app/FileView.h"

#include <wx/dcclient.h>
#include <wx/menu.h>
#include <wx/settings.h>

#include <memory>

#include "app/PaneMenu.h"
#include "res/AppMessageBox.h"
#include "res/EditorResources.h"
#include "res/PaneResources.h"

using namespace ids;

namespace {
// The commands the pane answers; each is enabled because it is handled.
constexpr int kHandledCommands[] = {ID_PROPERTIES, ID_OPEN,      ID_OPEN_WITH, ID_DUMMY_COMPILE,
                                    ID_EDIT_CUT,   ID_EDIT_COPY, ID_EDIT_CLEAR};
}  // namespace

CFileView::CFileView(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size) {
  Create(parent, id, pos, size);
}

bool CFileView::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size) {
  if (!wxPanel::Create(parent, id, pos, size, wxTAB_TRAVERSAL | wxCLIP_CHILDREN | wxFULL_REPAINT_ON_RESIZE |
                                                  wxBORDER_NONE)) {
    return false;
  }
  auto* tree = new CViewTree();
  if (!tree->Create(this, IDC_FILE_TREE, wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE | wxBORDER_NONE)) {
    delete tree;
    return false;
  }
  m_wndFileTree = tree;
  if (std::unique_ptr<wxImageList> images = LoadPaneImageList(IDB_FILE_VIEW)) {
    m_FileViewImages = images.release();
    m_wndFileTree->AssignImageList(m_FileViewImages);
  }

  // The toolbar's button reaches the pane itself: its click travels up from
  // the toolbar to its parent.
  m_wndToolBar = new wxToolBar(this, IDR_EXPLORER, wxDefaultPosition, wxDefaultSize,
                               wxTB_HORIZONTAL | wxTB_FLAT | wxTB_NODIVIDER | wxBORDER_NONE);
  m_wndToolBar->SetToolBitmapSize(wxSize(16, 15));
  m_wndToolBar->AddTool(MenuItemIdOfCommand(ID_PROPERTIES), wxString(), LoadPaneToolbarBitmap(IDR_EXPLORER));
  m_wndToolBar->Realize();

  const wxTreeItemId root = m_wndFileTree->AddRoot("Build to see files", 0, 0);
  m_wndFileTree->SetItemBold(root);

  Bind(wxEVT_SIZE, &CFileView::OnSize, this);
  Bind(wxEVT_PAINT, &CFileView::OnPaint, this);
  Bind(wxEVT_CONTEXT_MENU, &CFileView::OnContextMenu, this);
  Bind(wxEVT_SET_FOCUS, &CFileView::OnSetFocus, this);
  // The context menu hands its choice over as the command; the toolbar's
  // button carries the command itself.
  Bind(wxEVT_MENU, &CFileView::OnProperties, this, ID_PROPERTIES);
  for (int command : kHandledCommands) {
    if (command != ID_PROPERTIES) Bind(wxEVT_MENU, &CFileView::OnNothing, this, command);
    Bind(wxEVT_UPDATE_UI, &CFileView::OnUpdateHandled, this, command);
  }
  AdjustLayout();
  return true;
}

void CFileView::AdjustLayout() {
  if (!m_wndFileTree || !m_wndToolBar) return;
  const wxRect client = GetClientRect();
  const int toolbarHeight = m_wndToolBar->GetBestSize().y;
  m_wndToolBar->SetSize(client.x, client.y, client.width, toolbarHeight);
  m_wndFileTree->SetSize(client.x + 1, client.y + toolbarHeight + 1, client.width - 2,
                         client.height - toolbarHeight - 2);
}

void CFileView::SetFocus() {
  if (m_wndFileTree) m_wndFileTree->SetFocus();
  else wxPanel::SetFocus();
}

void CFileView::OnSize(wxSizeEvent& event) {
  AdjustLayout();
  event.Skip();
}

// A one-pixel frame in the shadow colour, in the margin round the tree.
void CFileView::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxRect tree = m_wndFileTree->GetRect().Inflate(1, 1);
  dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_3DSHADOW)));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(tree);
}

void CFileView::OnContextMenu(wxContextMenuEvent& event) {
  if (event.GetEventObject() != m_wndFileTree) {
    event.Skip();
    return;
  }
  const wxPoint screen = event.GetPosition();
  if (screen != wxDefaultPosition) {
    int flags = 0;
    const wxTreeItemId item = m_wndFileTree->HitTest(m_wndFileTree->ScreenToClient(screen), flags);
    if (item.IsOk()) m_wndFileTree->SelectItem(item);
  }
  m_wndFileTree->SetFocus();
  std::unique_ptr<wxMenu> menu = LoadPaneMenu(IDR_POPUP_EXPLORER);
  if (!menu) return;
  TrackPaneMenu(this, this, *menu, screen);
}

void CFileView::OnSetFocus(wxFocusEvent& event) {
  if (m_wndFileTree) m_wndFileTree->SetFocus();
  event.Skip();
}

void CFileView::OnProperties(wxCommandEvent&) { AppMessageBox("Properties...."); }

void CFileView::OnNothing(wxCommandEvent&) {}

void CFileView::OnUpdateHandled(wxUpdateUIEvent& event) { event.Enable(true); }
