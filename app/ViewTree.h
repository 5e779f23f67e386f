// The tree control of the Section View and the File View: a double-click on
// any item but the root asks the main window to bring that item's line to
// the top of the active document's views.
//
// The tree draws itself and only the rows in view: filling it with thousands
// of sections measures no text, so a large source fills and first paints it
// in a few milliseconds. Items are addressed by wxTreeItemId, as in wx's own
// tree control, whose calls of the same names it answers alike.
#pragma once

#include <wx/graphics.h>
#include <wx/imaglist.h>
#include <wx/treebase.h>
#include <wx/vscroll.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

// The zero-based line an item of the tree stands for.
class CTreeLineData : public wxTreeItemData {
 public:
  explicit CTreeLineData(std::int32_t line) : m_nLine(line) {}
  std::int32_t m_nLine;
};

class CViewTree : public wxVScrolledWindow {
 public:
  CViewTree() = default;
  // `style`: wxTR_HAS_BUTTONS, wxTR_NO_LINES, wxTR_LINES_AT_ROOT and border flags.
  CViewTree(wxWindow* parent, wxWindowID id, long style);
  ~CViewTree() override;

  bool Create(wxWindow* parent, wxWindowID id, long style);

  // ---- items ----
  // The one top-level item; the tree takes `data`.
  wxTreeItemId AddRoot(wxString text, int image = -1, int selImage = -1, wxTreeItemData* data = nullptr);
  // A new last child of `parent`; the tree takes `data`.
  wxTreeItemId AppendItem(const wxTreeItemId& parent, wxString text, int image = -1, int selImage = -1,
                          wxTreeItemData* data = nullptr);
  void DeleteAllItems();  // every item goes, with its data; nothing is selected

  unsigned GetCount() const;  // all items, the root included
  size_t GetChildrenCount(const wxTreeItemId& item, bool recursively = true) const;
  wxTreeItemId GetRootItem() const;
  wxTreeItemId GetItemParent(const wxTreeItemId& item) const;
  wxTreeItemId GetFirstChild(const wxTreeItemId& item, wxTreeItemIdValue& cookie) const;
  wxTreeItemId GetNextChild(const wxTreeItemId& item, wxTreeItemIdValue& cookie) const;
  bool ItemHasChildren(const wxTreeItemId& item) const;

  wxString GetItemText(const wxTreeItemId& item) const;
  void SetItemText(const wxTreeItemId& item, const wxString& text);
  int GetItemImage(const wxTreeItemId& item, wxTreeItemIcon which = wxTreeItemIcon_Normal) const;
  wxTreeItemData* GetItemData(const wxTreeItemId& item) const;
  // The line `item` carries; 0 for an item without one.
  std::int32_t GetItemLine(const wxTreeItemId& item) const;
  void SetItemBold(const wxTreeItemId& item, bool bold = true);
  bool IsBold(const wxTreeItemId& item) const;

  // ---- expansion and selection ----
  void Expand(const wxTreeItemId& item);
  // Closing an item that holds the selected one selects it instead.
  void Collapse(const wxTreeItemId& item);
  void Toggle(const wxTreeItemId& item);
  bool IsExpanded(const wxTreeItemId& item) const;

  wxTreeItemId GetSelection() const;  // not ok when nothing is selected
  // Selects `item` and scrolls it into view; an item inside a closed one is
  // not shown and cannot be selected.
  void SelectItem(const wxTreeItemId& item);
  void Unselect();
  void EnsureVisible(const wxTreeItemId& item);

  // ---- geometry ----
  // The item on the row under `point` (client coordinates), with
  // wxTREE_HITTEST_* flags telling which part of the row it is.
  wxTreeItemId HitTest(const wxPoint& point, int& flags) const;
  // The item's row (`textOnly`: its image and text) in client coordinates;
  // false when the item is inside a closed item.
  bool GetBoundingRect(const wxTreeItemId& item, wxRect& rect, bool textOnly = false) const;

  // The images the items' image indices name; the tree owns the list.
  void AssignImageList(wxImageList* images);
  wxImageList* GetImageList() const { return m_images.get(); }

  bool SetFont(const wxFont& font) override;

  // What a double-click does, wherever in the tree it lands: the selected
  // item, when there is one and it is not the root, sends the go-to-line
  // event with its line to the application's main window and returns once
  // that has been handled. Returns whether it sent.
  bool OnDblClk();

 protected:
  wxCoord OnGetRowHeight(size_t row) const override;

 private:
  struct Item {
    wxString text;
    int image = -1, selImage = -1;
    bool bold = false, expanded = false;
    int depth = 0;
    Item* parent = nullptr;
    std::vector<Item*> children;
    std::unique_ptr<wxTreeItemData> data;
  };
  static Item* ItemOf(const wxTreeItemId& id) { return static_cast<Item*>(id.GetID()); }
  Item* NewItem(Item* parent, wxString&& text, int image, int selImage, wxTreeItemData* data);

  // The rows follow the items lazily: a change marks them stale, and the
  // next look at them lists the shown items again and sets the scroll range.
  void RowsChanged();
  void EnsureRows() const;
  int RowOf(const Item* item) const;  // -1 when not shown
  static bool IsInside(const Item* item, const Item* ancestor);
  void Select(Item* item);
  void MeasureRows();

  // The x where a row's image starts; its button sits one indent left of it.
  int ImageX(const Item* item) const;
  int TextX(const Item* item) const;
  int TextWidth(const Item* item) const;
  wxRect RowRect(int row) const;

  void OnPaint(wxPaintEvent& event);
  // The dotted lines' pieces a row needs, as (x, top, bottom) upright and
  // (x, y, right) across.
  struct Segment {
    int x, y0, y1;
  };
  void RowLines(const Item* item, const wxRect& rect, std::vector<Segment>& upright,
                std::vector<Segment>& across) const;
  // The font and colour the graphics context draws text with, set only when they change.
  struct TextPens {
    wxGraphicsContext* gc = nullptr;
    bool set = false, bold = false;
    wxColour colour;
  };
  void DrawRow(wxDC& dc, const Item* item, const wxRect& rect, TextPens& pens);
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftDClick(wxMouseEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnFocus(wxFocusEvent& event);

  long m_treeStyle = 0;
  std::deque<Item> m_items;  // the root first; addresses stay while the tree holds them
  Item* m_root = nullptr;
  Item* m_selection = nullptr;
  mutable std::vector<Item*> m_rows;  // the items shown, top to bottom
  mutable bool m_rowsStale = false;
  std::unique_ptr<wxImageList> m_images;
  wxFont m_boldFont;
  int m_textHeight = 16, m_boldTextHeight = 16;  // measured once per font, not per row
  int m_rowHeight = 18;
  int m_indent = 19;
};
