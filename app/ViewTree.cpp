// The panes' tree control: items, drawing of the rows in view, mouse and keys,
// and its double-click.
#include "app/ViewTree.h"

#include <wx/app.h>
#include <wx/dcbuffer.h>
#include <wx/graphics.h>
#include <wx/renderer.h>
#include <wx/settings.h>

#include <algorithm>
#include <utility>

#include "app/GotoLineEvent.h"

CViewTree::CViewTree(wxWindow* parent, wxWindowID id, long style) { Create(parent, id, style); }

CViewTree::~CViewTree() = default;

bool CViewTree::Create(wxWindow* parent, wxWindowID id, long style) {
  m_treeStyle = style & ~wxBORDER_MASK;
  if (!wxVScrolledWindow::Create(parent, id, wxDefaultPosition, wxDefaultSize,
                                 (style & wxBORDER_MASK) | wxWANTS_CHARS | wxFULL_REPAINT_ON_RESIZE)) {
    return false;
  }
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_LISTBOX));
  SetForegroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
  MeasureRows();
  Bind(wxEVT_PAINT, &CViewTree::OnPaint, this);
  Bind(wxEVT_LEFT_DOWN, &CViewTree::OnLeftDown, this);
  // A double-click anywhere counts, also on empty space below the items.
  Bind(wxEVT_LEFT_DCLICK, &CViewTree::OnLeftDClick, this);
  Bind(wxEVT_KEY_DOWN, &CViewTree::OnKeyDown, this);
  Bind(wxEVT_SET_FOCUS, &CViewTree::OnFocus, this);
  Bind(wxEVT_KILL_FOCUS, &CViewTree::OnFocus, this);
  return true;
}

// ---- items ----

CViewTree::Item* CViewTree::NewItem(Item* parent, wxString&& text, int image, int selImage,
                                    wxTreeItemData* data) {
  Item& item = m_items.emplace_back();
  item.text = std::move(text);
  item.image = image;
  item.selImage = selImage;
  item.parent = parent;
  item.depth = parent ? parent->depth + 1 : 0;
  item.data.reset(data);
  if (data) data->SetId(wxTreeItemId(&item));
  if (parent) parent->children.push_back(&item);
  RowsChanged();
  return &item;
}

wxTreeItemId CViewTree::AddRoot(wxString text, int image, int selImage, wxTreeItemData* data) {
  if (m_root) {
    // One root only, as in wx's tree: the new one stands alone.
    delete data;
    return wxTreeItemId();
  }
  m_root = NewItem(nullptr, std::move(text), image, selImage, data);
  return wxTreeItemId(m_root);
}

wxTreeItemId CViewTree::AppendItem(const wxTreeItemId& parent, wxString text, int image, int selImage,
                                   wxTreeItemData* data) {
  Item* into = ItemOf(parent);
  if (!into) {
    delete data;
    return wxTreeItemId();
  }
  return wxTreeItemId(NewItem(into, std::move(text), image, selImage, data));
}

void CViewTree::DeleteAllItems() {
  m_selection = nullptr;
  m_root = nullptr;
  m_rows.clear();
  m_items.clear();
  RowsChanged();
}

unsigned CViewTree::GetCount() const { return static_cast<unsigned>(m_items.size()); }

size_t CViewTree::GetChildrenCount(const wxTreeItemId& id, bool recursively) const {
  const Item* item = ItemOf(id);
  if (!item) return 0;
  size_t count = item->children.size();
  if (recursively)
    for (const Item* child : item->children) count += GetChildrenCount(wxTreeItemId(const_cast<Item*>(child)), true);
  return count;
}

wxTreeItemId CViewTree::GetRootItem() const { return wxTreeItemId(m_root); }

wxTreeItemId CViewTree::GetItemParent(const wxTreeItemId& id) const {
  const Item* item = ItemOf(id);
  return wxTreeItemId(item ? item->parent : nullptr);
}

// The cookie is the index of the next child.
wxTreeItemId CViewTree::GetFirstChild(const wxTreeItemId& id, wxTreeItemIdValue& cookie) const {
  cookie = reinterpret_cast<wxTreeItemIdValue>(static_cast<std::uintptr_t>(0));
  return GetNextChild(id, cookie);
}

wxTreeItemId CViewTree::GetNextChild(const wxTreeItemId& id, wxTreeItemIdValue& cookie) const {
  const Item* item = ItemOf(id);
  const std::uintptr_t next = reinterpret_cast<std::uintptr_t>(cookie);
  if (!item || next >= item->children.size()) return wxTreeItemId();
  cookie = reinterpret_cast<wxTreeItemIdValue>(next + 1);
  return wxTreeItemId(item->children[next]);
}

bool CViewTree::ItemHasChildren(const wxTreeItemId& id) const {
  const Item* item = ItemOf(id);
  return item && !item->children.empty();
}

wxString CViewTree::GetItemText(const wxTreeItemId& id) const {
  const Item* item = ItemOf(id);
  return item ? item->text : wxString();
}

void CViewTree::SetItemText(const wxTreeItemId& id, const wxString& text) {
  if (Item* item = ItemOf(id)) {
    item->text = text;
    Refresh();
  }
}

int CViewTree::GetItemImage(const wxTreeItemId& id, wxTreeItemIcon which) const {
  const Item* item = ItemOf(id);
  if (!item) return -1;
  return which == wxTreeItemIcon_Selected || which == wxTreeItemIcon_SelectedExpanded ? item->selImage
                                                                                      : item->image;
}

wxTreeItemData* CViewTree::GetItemData(const wxTreeItemId& id) const {
  const Item* item = ItemOf(id);
  return item ? item->data.get() : nullptr;
}

std::int32_t CViewTree::GetItemLine(const wxTreeItemId& item) const {
  const auto* data = dynamic_cast<const CTreeLineData*>(GetItemData(item));
  return data ? data->m_nLine : 0;
}

void CViewTree::SetItemBold(const wxTreeItemId& id, bool bold) {
  if (Item* item = ItemOf(id)) {
    item->bold = bold;
    Refresh();
  }
}

bool CViewTree::IsBold(const wxTreeItemId& id) const {
  const Item* item = ItemOf(id);
  return item && item->bold;
}

// ---- expansion and selection ----

void CViewTree::Expand(const wxTreeItemId& id) {
  Item* item = ItemOf(id);
  if (!item || item->children.empty() || item->expanded) return;
  item->expanded = true;
  RowsChanged();
  EnsureRows();
}

void CViewTree::Collapse(const wxTreeItemId& id) {
  Item* item = ItemOf(id);
  if (!item || !item->expanded) return;
  item->expanded = false;
  if (m_selection && m_selection != item && IsInside(m_selection, item)) m_selection = item;
  RowsChanged();
  EnsureRows();
}

void CViewTree::Toggle(const wxTreeItemId& id) {
  if (IsExpanded(id)) Collapse(id);
  else Expand(id);
}

bool CViewTree::IsExpanded(const wxTreeItemId& id) const {
  const Item* item = ItemOf(id);
  return item && item->expanded;
}

wxTreeItemId CViewTree::GetSelection() const { return wxTreeItemId(m_selection); }

void CViewTree::SelectItem(const wxTreeItemId& id) {
  Item* item = ItemOf(id);
  if (item && RowOf(item) >= 0) Select(item);
}

void CViewTree::Unselect() { Select(nullptr); }

void CViewTree::Select(Item* item) {
  if (item == m_selection) return;
  m_selection = item;
  if (item) EnsureVisible(wxTreeItemId(item));
  Refresh();
}

void CViewTree::EnsureVisible(const wxTreeItemId& id) {
  const int row = RowOf(ItemOf(id));
  if (row < 0) return;
  const size_t first = GetVisibleRowsBegin();
  const size_t end = GetVisibleRowsEnd();
  const int shown = std::max(1, GetClientSize().y / m_rowHeight);  // whole rows that fit
  if (static_cast<size_t>(row) < first) ScrollToRow(row);
  else if (static_cast<size_t>(row) >= first + shown || static_cast<size_t>(row) >= end)
    ScrollToRow(std::max(0, row - shown + 1));
}

bool CViewTree::IsInside(const Item* item, const Item* ancestor) {
  for (const Item* up = item; up; up = up->parent)
    if (up == ancestor) return true;
  return false;
}

// ---- rows ----

void CViewTree::RowsChanged() {
  if (m_rowsStale) return;
  m_rowsStale = true;
  Refresh();
}

void CViewTree::EnsureRows() const {
  if (!m_rowsStale) return;
  m_rowsStale = false;
  m_rows.clear();
  // Depth first through the open items; the stack holds what comes next.
  std::vector<Item*> pending;
  if (m_root) pending.push_back(m_root);
  while (!pending.empty()) {
    Item* item = pending.back();
    pending.pop_back();
    m_rows.push_back(item);
    if (item->expanded)
      for (auto child = item->children.rbegin(); child != item->children.rend(); ++child) pending.push_back(*child);
  }
  auto* self = const_cast<CViewTree*>(this);
  self->SetRowCount(m_rows.size());
}

int CViewTree::RowOf(const Item* item) const {
  if (!item) return -1;
  for (const Item* up = item->parent; up; up = up->parent)
    if (!up->expanded) return -1;
  EnsureRows();
  const auto at = std::find(m_rows.begin(), m_rows.end(), item);
  return at == m_rows.end() ? -1 : static_cast<int>(at - m_rows.begin());
}

wxCoord CViewTree::OnGetRowHeight(size_t) const { return m_rowHeight; }

// Rows as high as the taller of the text and the images, with a pixel of air
// above and below; one indent per level, the root level holding its button.
void CViewTree::MeasureRows() {
  m_boldFont = GetFont().Bold();
  {
    wxClientDC dc(this);
    dc.SetFont(GetFont());
    m_textHeight = dc.GetCharHeight();
    dc.SetFont(m_boldFont);
    m_boldTextHeight = dc.GetCharHeight();
  }
  int height = std::max(m_textHeight, m_boldTextHeight);
  int imageWidth = 16;
  if (m_images && m_images->GetImageCount() > 0) {
    int w = 0, h = 0;
    m_images->GetSize(0, w, h);
    height = std::max(height, h);
    imageWidth = w;
  }
  m_rowHeight = height + 2;
  m_indent = std::max(imageWidth + 3, 19);
  SetRowCount(GetRowCount());  // the rows' height changed
  Refresh();
}

bool CViewTree::SetFont(const wxFont& font) {
  const bool changed = wxVScrolledWindow::SetFont(font);
  MeasureRows();
  return changed;
}

void CViewTree::AssignImageList(wxImageList* images) {
  m_images.reset(images);
  MeasureRows();
}

int CViewTree::ImageX(const Item* item) const {
  const int level = item->depth + (m_treeStyle & wxTR_LINES_AT_ROOT ? 1 : 0);
  return level * m_indent + 2;
}

int CViewTree::TextX(const Item* item) const {
  int x = ImageX(item);
  if (m_images && item->image >= 0) {
    int w = 0, h = 0;
    m_images->GetSize(item->image, w, h);
    x += w + 3;
  }
  return x;
}

// Only ever one item's text: the one whose label is drawn highlighted or asked about.
int CViewTree::TextWidth(const Item* item) const {
  wxClientDC dc(const_cast<CViewTree*>(this));
  dc.SetFont(item->bold ? m_boldFont : GetFont());
  return dc.GetTextExtent(item->text).x + 4;
}

wxRect CViewTree::RowRect(int row) const {
  const int first = static_cast<int>(GetVisibleRowsBegin());
  return wxRect(0, (row - first) * m_rowHeight, GetClientSize().x, m_rowHeight);
}

wxTreeItemId CViewTree::HitTest(const wxPoint& point, int& flags) const {
  EnsureRows();
  flags = 0;
  if (point.y < 0) {
    flags = wxTREE_HITTEST_ABOVE;
    return wxTreeItemId();
  }
  const size_t row = GetVisibleRowsBegin() + static_cast<size_t>(point.y / m_rowHeight);
  if (row >= m_rows.size()) {
    flags = wxTREE_HITTEST_BELOW | wxTREE_HITTEST_NOWHERE;
    return wxTreeItemId();
  }
  if (point.x < 0) flags |= wxTREE_HITTEST_TOLEFT;
  if (point.x >= GetClientSize().x) flags |= wxTREE_HITTEST_TORIGHT;
  Item* item = m_rows[row];
  const int imageX = ImageX(item);
  const int textX = TextX(item);
  if (m_treeStyle & wxTR_HAS_BUTTONS && !item->children.empty() && point.x >= imageX - m_indent &&
      point.x < imageX) {
    flags |= wxTREE_HITTEST_ONITEMBUTTON;
  } else if (point.x < imageX) {
    flags |= wxTREE_HITTEST_ONITEMINDENT;
  } else if (point.x < textX) {
    flags |= wxTREE_HITTEST_ONITEMICON;
  } else if (point.x < textX + TextWidth(item)) {
    flags |= wxTREE_HITTEST_ONITEMLABEL;
  } else {
    flags |= wxTREE_HITTEST_ONITEMRIGHT;
  }
  const int within = point.y % m_rowHeight;
  flags |= within < m_rowHeight / 2 ? wxTREE_HITTEST_ONITEMUPPERPART : wxTREE_HITTEST_ONITEMLOWERPART;
  return wxTreeItemId(item);
}

bool CViewTree::GetBoundingRect(const wxTreeItemId& id, wxRect& rect, bool textOnly) const {
  const Item* item = ItemOf(id);
  const int row = RowOf(item);
  if (row < 0) return false;
  rect = RowRect(row);
  if (textOnly) {
    rect.x = ImageX(item);
    rect.width = TextX(item) + TextWidth(item) - rect.x;
  }
  return true;
}

// ---- drawing ----

// Only the rows in view are drawn. The lines are gathered first: the upright
// pieces of consecutive rows join, so each column is one dotted line.
void CViewTree::OnPaint(wxPaintEvent&) {
  EnsureRows();
  wxAutoBufferedPaintDC dc(this);
  dc.SetBackground(wxBrush(GetBackgroundColour()));
  dc.Clear();
  const size_t first = GetVisibleRowsBegin();
  const size_t end = std::min(GetVisibleRowsEnd(), m_rows.size());
  if (!(m_treeStyle & wxTR_NO_LINES)) {
    std::vector<Segment> upright, across;
    for (size_t row = first; row < end; ++row)
      RowLines(m_rows[row], RowRect(static_cast<int>(row)), upright, across);
    std::stable_sort(upright.begin(), upright.end(), [](const Segment& a, const Segment& b) { return a.x < b.x; });
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT), 1, wxPENSTYLE_DOT));
    for (size_t i = 0; i < upright.size();) {
      Segment joined = upright[i++];
      while (i < upright.size() && upright[i].x == joined.x && upright[i].y0 <= joined.y1) joined.y1 = upright[i++].y1;
      dc.DrawLine(joined.x, joined.y0, joined.x, joined.y1);
    }
    for (const Segment& s : across) dc.DrawLine(s.x, s.y0, s.y1, s.y0);
  }
  // Text goes straight to the graphics context where there is one: the
  // context of the paint would measure every text again for its bounds.
  TextPens pens;
  pens.gc = dc.GetGraphicsContext();
  dc.SetFont(GetFont());
  for (size_t row = first; row < end; ++row) DrawRow(dc, m_rows[row], RowRect(static_cast<int>(row)), pens);
}

// Each level's column runs down past the items that have siblings below
// them, and a branch leads from the item's column into its image.
void CViewTree::RowLines(const Item* item, const wxRect& rect, std::vector<Segment>& upright,
                         std::vector<Segment>& across) const {
  const bool atRoot = (m_treeStyle & wxTR_LINES_AT_ROOT) != 0;
  const int middle = rect.y + rect.height / 2;
  const int bottom = rect.GetBottom() + 1;
  for (const Item* level = item; level; level = level->parent) {
    if (!level->parent && !atRoot) break;
    const int column = ImageX(level) - m_indent + m_indent / 2 - 2;
    const bool lastSibling = !level->parent || level->parent->children.back() == level;
    if (level == item) {
      across.push_back({column, middle, ImageX(item)});
      // A top-level item has no line above it.
      if (level->parent) upright.push_back({column, rect.y, lastSibling ? middle : bottom});
      else if (!lastSibling) upright.push_back({column, middle, bottom});
    } else if (!lastSibling) {
      upright.push_back({column, rect.y, bottom});
    }
  }
}

void CViewTree::DrawRow(wxDC& dc, const Item* item, const wxRect& rect, TextPens& pens) {
  const int imageX = ImageX(item);
  const int middle = rect.y + rect.height / 2;
  if (m_treeStyle & wxTR_HAS_BUTTONS && !item->children.empty()) {
    const int column = imageX - m_indent + m_indent / 2 - 2;
    const int size = std::min(11, rect.height - 2);
    const wxRect button(column - size / 2, middle - size / 2, size, size);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(GetBackgroundColour()));
    dc.DrawRectangle(button);
    wxRendererNative::Get().DrawTreeItemButton(this, dc, button, item->expanded ? wxCONTROL_EXPANDED : 0);
  }
  const bool selected = item == m_selection;
  const int image = selected ? item->selImage : item->image;
  if (m_images && image >= 0 && image < m_images->GetImageCount()) {
    int w = 0, h = 0;
    m_images->GetSize(image, w, h);
    m_images->Draw(image, dc, imageX, rect.y + (rect.height - h) / 2, wxIMAGELIST_DRAW_TRANSPARENT);
  }
  const int textX = TextX(item);
  wxColour text = GetForegroundColour();
  if (selected) {
    // Only the label is highlighted, strongly while the tree has the focus.
    const bool focused = HasFocus();
    const wxRect label(textX, rect.y, TextWidth(item), rect.height);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(wxSystemSettings::GetColour(focused ? wxSYS_COLOUR_HIGHLIGHT : wxSYS_COLOUR_BTNFACE)));
    dc.DrawRectangle(label);
    if (focused) text = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT);
  }
  const int x = textX + 2;
  const int y = rect.y + (rect.height - (item->bold ? m_boldTextHeight : m_textHeight)) / 2;
  const wxFont& font = item->bold ? m_boldFont : GetFont();
  if (pens.gc) {
    if (!pens.set || pens.bold != item->bold || pens.colour != text) {
      pens.gc->SetFont(pens.gc->CreateFont(font, text));
      pens.set = true;
      pens.bold = item->bold;
      pens.colour = text;
    }
    pens.gc->DrawText(item->text, x, y);
  } else {
    dc.SetFont(font);
    dc.SetTextForeground(text);
    dc.DrawText(item->text, x, y);
  }
}

// ---- mouse and keys ----

void CViewTree::OnLeftDown(wxMouseEvent& event) {
  SetFocus();
  int flags = 0;
  const wxTreeItemId hit = HitTest(event.GetPosition(), flags);
  if (hit.IsOk()) {
    if (flags & wxTREE_HITTEST_ONITEMBUTTON) Toggle(hit);
    else Select(ItemOf(hit));
  }
  event.Skip();
}

// The go-to-line first, for the item selected by the first click; then an
// item with children opens or closes, as its button does.
void CViewTree::OnLeftDClick(wxMouseEvent& event) {
  OnDblClk();
  int flags = 0;
  const wxTreeItemId hit = HitTest(event.GetPosition(), flags);
  if (hit.IsOk()) {
    if (!(flags & wxTREE_HITTEST_ONITEMBUTTON)) Select(ItemOf(hit));
    if (ItemHasChildren(hit)) Toggle(hit);
  }
  event.Skip();
}

// Up and down through the shown rows, a page at a time, to either end; left
// closes an open item or goes to its parent, right opens a closed item or
// goes to its first child. Keys only select: nothing is sent.
void CViewTree::OnKeyDown(wxKeyEvent& event) {
  EnsureRows();
  if (m_rows.empty()) {
    event.Skip();
    return;
  }
  const int last = static_cast<int>(m_rows.size()) - 1;
  const int current = RowOf(m_selection);
  const int page = std::max(1, GetClientSize().y / m_rowHeight - 1);
  int target = current;
  switch (event.GetKeyCode()) {
    case WXK_UP:
    case WXK_NUMPAD_UP: target = current < 0 ? 0 : std::max(0, current - 1); break;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN: target = current < 0 ? 0 : std::min(last, current + 1); break;
    case WXK_HOME:
    case WXK_NUMPAD_HOME: target = 0; break;
    case WXK_END:
    case WXK_NUMPAD_END: target = last; break;
    case WXK_PAGEUP:
    case WXK_NUMPAD_PAGEUP: target = current < 0 ? 0 : std::max(0, current - page); break;
    case WXK_PAGEDOWN:
    case WXK_NUMPAD_PAGEDOWN: target = current < 0 ? 0 : std::min(last, current + page); break;
    case WXK_LEFT:
    case WXK_NUMPAD_LEFT:
      if (!m_selection) target = 0;
      else if (m_selection->expanded) Collapse(wxTreeItemId(m_selection));
      else if (m_selection->parent) target = RowOf(m_selection->parent);
      break;
    case WXK_RIGHT:
    case WXK_NUMPAD_RIGHT:
      if (!m_selection) target = 0;
      else if (!m_selection->children.empty() && !m_selection->expanded) Expand(wxTreeItemId(m_selection));
      else if (m_selection->expanded) target = RowOf(m_selection->children.front());
      break;
    default: event.Skip(); return;
  }
  if (target >= 0 && target <= last) Select(m_rows[target]);
}

void CViewTree::OnFocus(wxFocusEvent& event) {
  Refresh();  // the selected label shows whether the tree has the focus
  event.Skip();
}

// ---- the double-click ----

bool CViewTree::OnDblClk() {
  const wxTreeItemId sel = GetSelection();
  const wxTreeItemId root = GetRootItem();
  if (!sel.IsOk() || !root.IsOk() || sel == root) return false;
  wxWindow* mainWindow = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
  if (!mainWindow) return false;
  wxCommandEvent gotoLine = MakeGotoLineEvent(GetItemLine(sel));
  gotoLine.SetEventObject(this);
  mainWindow->GetEventHandler()->ProcessEvent(gotoLine);
  return true;
}
