// The Output pane and its lists.
#include "app/OutputWnd.h"

#include <wx/aui/framemanager.h>
#include <wx/dc.h>
#include <wx/menu.h>
#include <wx/settings.h>

#include <algorithm>
#include <memory>

#include "app/PaneMenu.h"
#include "res/AppMessageBox.h"
#include "res/PaneResources.h"

using namespace ids;

// ---- COutputList ----

COutputList::COutputList(wxWindow* parent, wxWindowID id) { Create(parent, id); }

bool COutputList::Create(wxWindow* parent, wxWindowID id) {
  if (!wxVListBox::Create(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE)) return false;
  m_lineHeight = std::max(GetCharHeight(), 1);
  // Before the list's own painting: the rows catch up with the lines.
  Bind(wxEVT_PAINT, &COutputList::OnPaint, this);
  Bind(wxEVT_SIZE, &COutputList::OnSize, this);
  Bind(wxEVT_CONTEXT_MENU, &COutputList::OnContextMenu, this);
  Bind(wxEVT_MENU, &COutputList::OnEditCopy, this, ID_EDIT_COPY);
  Bind(wxEVT_MENU, &COutputList::OnEditClear, this, ID_EDIT_CLEAR);
  Bind(wxEVT_MENU, &COutputList::OnViewOutput, this, ID_VIEW_OUTPUTWND);
  for (int command : {ID_EDIT_COPY, ID_EDIT_CLEAR, ID_VIEW_OUTPUTWND})
    Bind(wxEVT_UPDATE_UI, &COutputList::OnUpdateHandled, this, command);
  return true;
}

void COutputList::ResetContent() {
  m_lines.clear();
  m_catchUpPending = false;
  m_endWanted = false;
  SetItemCount(0);
  Refresh();
}

// Telling the scroll bar about each line would cost far more than the line
// itself: the line is stored, the list asks once for a repaint, and the rows
// catch up when that paint comes. (Rows given to the list after its first
// paint, through its row count alone, would not show: wx repaints nothing
// for them.)
void COutputList::AddString(const std::wstring& line) {
  m_lines.push_back(line);
  if (m_catchUpPending) return;
  m_catchUpPending = true;
  Refresh();
}

void COutputList::CatchUp() {
  if (!m_catchUpPending) return;
  m_catchUpPending = false;
  SetItemCount(m_lines.size());
  m_endWanted = !ShowEnd();
}

// The first shown row is worked out here from the whole rows that fit. A
// list without room for one (a pane not laid out yet) shows its end once it
// has room.
bool COutputList::ShowEnd() {
  const size_t fit = static_cast<size_t>(std::max(GetClientSize().y, 0) / m_lineHeight);
  const size_t count = GetItemCount();
  if (count == 0) return true;
  if (fit == 0) return false;
  ScrollToRow(count > fit ? count - fit : 0);
  return true;
}

// Catching up may scroll the rows while this paint is under way: the whole
// list is then painted once more with the rows where they now stand.
void COutputList::OnPaint(wxPaintEvent& event) {
  if (m_catchUpPending) {
    CatchUp();
    Refresh();
  }
  event.Skip();
}

void COutputList::OnInternalIdle() {
  wxVListBox::OnInternalIdle();
  CatchUp();
}

// A list that grows shows as many rows as fit: no blank space below the last
// row while rows above it are scrolled away.
void COutputList::OnSize(wxSizeEvent& event) {
  event.Skip();
  const size_t fit = static_cast<size_t>(std::max(GetClientSize().y, 0) / m_lineHeight);
  if (fit == 0) return;
  if (m_endWanted) {
    m_endWanted = !ShowEnd();
    return;
  }
  const size_t count = GetItemCount();
  const size_t lowest = count > fit ? count - fit : 0;
  if (GetVisibleRowsBegin() > lowest) ScrollToRow(lowest);
}

unsigned COutputList::GetCount() const { return static_cast<unsigned>(m_lines.size()); }

std::wstring COutputList::GetString(unsigned i) const { return i < m_lines.size() ? m_lines[i] : std::wstring(); }

bool COutputList::SetFont(const wxFont& font) {
  const bool changed = wxVListBox::SetFont(font);
  m_lineHeight = std::max(GetCharHeight(), 1);
  SetItemCount(GetItemCount());  // the rows' height changed with the font
  return changed;
}

void COutputList::OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const {
  if (n >= m_lines.size()) return;
  const std::wstring& line = m_lines[n];
  // Only what can show is measured and drawn: no character is narrower
  // than a pixel, so a longer line is cut before it reaches the renderer.
  const size_t visible = static_cast<size_t>(std::max(GetClientSize().x, 0)) + 1;
  const wxString text(line.data(), std::min(line.size(), visible));
  dc.SetFont(GetFont());
  dc.SetTextForeground(IsSelected(n) ? wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT)
                                     : GetForegroundColour());
  dc.DrawText(text, rect.x + 2, rect.y);
}

wxCoord COutputList::OnMeasureItem(size_t) const { return m_lineHeight; }

void COutputList::OnContextMenu(wxContextMenuEvent& event) {
  std::unique_ptr<wxMenu> menu = LoadPaneMenu(IDR_OUTPUT_POPUP);
  if (!menu) return;
  SetFocus();
  TrackPaneMenu(this, this, *menu, event.GetPosition());
}

void COutputList::OnEditCopy(wxCommandEvent&) { AppMessageBox("Copy output", wxOK, this); }

void COutputList::OnEditClear(wxCommandEvent&) { AppMessageBox("Clear output", wxOK, this); }

// Hides the docked pane that holds this list. The tabs may keep a manager of
// their own for their pages, so each manager found on the way up is asked
// whether one of the list's ancestors is its pane, until one says yes.
void COutputList::OnViewOutput(wxCommandEvent&) {
  wxWindow* from = this;
  while (from) {
    wxAuiManager* manager = wxAuiManager::GetManager(from);
    if (!manager) return;
    wxWindow* managed = manager->GetManagedWindow();
    for (wxWindow* w = this; w && w != managed; w = w->GetParent()) {
      wxAuiPaneInfo& pane = manager->GetPane(w);
      if (!pane.IsOk()) continue;
      if (managed) managed->SetFocus();
      pane.Hide();
      manager->Update();
      return;
    }
    from = managed ? managed->GetParent() : nullptr;
  }
}

void COutputList::OnUpdateHandled(wxUpdateUIEvent& event) { event.Enable(true); }

// ---- COutputWnd ----

COutputWnd::COutputWnd(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size) {
  Create(parent, id, pos, size);
}

bool COutputWnd::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size) {
  if (!wxPanel::Create(parent, id, pos, size, wxTAB_TRAVERSAL | wxCLIP_CHILDREN | wxBORDER_NONE)) return false;
  // Flat tabs at the bottom without close buttons; a tab can be dragged to
  // another place or split off beside the others.
  auto* tabs = new wxAuiNotebook();
  if (!tabs->Create(this, IDC_OUTPUT_TABS, wxDefaultPosition, GetClientSize(),
                    wxAUI_NB_BOTTOM | wxAUI_NB_TAB_MOVE | wxAUI_NB_TAB_SPLIT | wxAUI_NB_SCROLL_BUTTONS)) {
    delete tabs;
    return false;
  }
  m_wndTabs = tabs;
  COutputList** lists[] = {&m_wndOutputBuild, &m_wndOutputDebug, &m_wndOutputFind};
  const int listIds[] = {IDC_OUTPUT_BUILD, IDC_OUTPUT_DEBUG, IDC_OUTPUT_FIND};
  for (int i = 0; i < 3; ++i) {
    auto* list = new COutputList();
    if (!list->Create(m_wndTabs, listIds[i])) {
      delete list;
      return false;
    }
    *lists[i] = list;
  }
  UpdateFonts();
  m_wndTabs->AddPage(m_wndOutputBuild, LoadPaneString(IDS_BUILD_TAB), true);
  m_wndTabs->AddPage(m_wndOutputDebug, LoadPaneString(IDS_DEBUG_TAB));
  m_wndTabs->AddPage(m_wndOutputFind, LoadPaneString(IDS_FIND_TAB));

  const wchar_t* second = L"The output is being displayed in rows of a list view";
  const wchar_t* third = L"but you can change the way it is displayed as you wish...";
  const std::pair<COutputList*, const wchar_t*> firsts[] = {
      {m_wndOutputBuild, L"Build output is being displayed here."},
      {m_wndOutputDebug, L"Debug output is being displayed here."},
      {m_wndOutputFind, L"Find output is being displayed here."}};
  for (const auto& [list, first] : firsts) {
    list->AddString(first);
    list->AddString(second);
    list->AddString(third);
  }
  Bind(wxEVT_SIZE, &COutputWnd::OnSize, this);
  return true;
}

void COutputWnd::UpdateFonts() {
  const wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  for (COutputList* list : {m_wndOutputBuild, m_wndOutputDebug, m_wndOutputFind}) {
    if (!list) continue;
    list->SetFont(font);
    list->Refresh();
  }
}

void COutputWnd::OnSize(wxSizeEvent& event) {
  if (m_wndTabs) m_wndTabs->SetSize(wxRect(GetClientSize()));
  event.Skip();
}
