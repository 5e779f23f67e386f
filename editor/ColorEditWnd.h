// ColorEditWnd: the self-drawn source editor window over its own text model.
// One class; its implementation is split by concern:
//   ColorEditWnd_Window.cpp    construction, fonts, reset, title, cursor, notifications
//   ColorEditWnd_Paint.cpp     painting and geometry
//   ColorEditWnd_Caret.cpp     caret, selection, line scrolling and mouse
//   ColorEditWnd_Scroll.cpp    scroll bars, wheel, zoom, caret following
//   ColorEditWnd_Undo.cpp      line primitives, commit and replay
//   ColorEditWnd_Keyboard.cpp  keys, typed characters and the edit operations
//   ColorEditWnd_Exchange.cpp  whole text in and out, clipboard
//   ColorEditWnd_Commands.cpp  edit commands, context menu, accelerators, focus
#pragma once

#include <wx/accel.h>
#include <wx/cursor.h>
#include <wx/font.h>
#include <wx/window.h>

#include <bitset>
#include <memory>
#include <string>
#include <utility>

#include "editor/GlyphTable.h"
#include "editor/UndoFrame.h"
#include "textmodel/TextModel.h"
#include "textmodel/Types.h"

class CellCache;
class PaintBuffers;
class wxDC;
class wxMenu;
class wxUpdateUIEvent;

class ColorEditWnd : public wxWindow {
 public:
  // Creates the window at once as a child of `parent` at `rect` (parent client
  // coordinates), with fonts of face `fontFace` and, when `horizontalScroll`,
  // a horizontal scroll bar.
  ColorEditWnd(wxWindow* parent, const wxRect& rect, std::wstring fontFace, bool horizontalScroll);
  ~ColorEditWnd() override;

  // ---- window, fonts, reset (ColorEditWnd_Window.cpp) ----
  bool Create(long style, wxWindow* parent, const wxRect& rect, const std::wstring& fontFace);
  void ResetContent();
  void ClearText();
  void SetTitle(std::wstring title);
  std::string GetLine(int i) const;
  int OnCreate();
  void OnShowWindow(wxShowEvent& event);
  void OnSetCursor(wxSetCursorEvent& event);
  // Creates m_font and m_boldFont at m_fontHeight from m_fontFace.
  void CreateFonts();
  // Reads m_cellWidth and m_lineHeight from the normal font.
  void MeasureCell();
  // Sends a notification code to the parent (EN_SETFOCUS, EN_KILLFOCUS, EN_CHANGE).
  void SendNotification(int code);

  // ---- painting and geometry (ColorEditWnd_Paint.cpp) ----
  void OnPaint(wxPaintEvent& event);
  // Paints the client area into `target` through one off-screen picture of
  // the target's clip box; OnPaint passes its paint context, tests and
  // printing may pass any other.
  void PaintTo(wxDC& target);
  void OnEraseBackground(wxEraseEvent& event);
  // Draws one line at y; returns (x after the last drawn cell, y).
  wxPoint DrawLine(wxDC& dc, const std::string& text, const std::vector<COLORREF>& colours, int line,
                   int y);
  // Whether a character of this colour is drawn with the bold font.
  static bool IsBoldColour(COLORREF colour);
  // Invalidates the rows whose picture differs from what the screen shows:
  // another line, text, colour, shade or selection than at their last paint.
  // Edits call it where a whole repaint would show the same.
  void RefreshChangedRows();
  int GetVisibleColumnCount() const;
  int GetFirstVisibleLine() const;
  int GetVisibleLineCount(bool unclamped) const;
  int GetLastVisibleLine() const;
  wxRect GetLineRect(int line) const;
  wxRect GetLinesRect(int a, int b) const;

  // ---- caret, selection and mouse (ColorEditWnd_Caret.cpp) ----
  bool HasSelection();
  bool IsInSelection(int column, int line);
  void ClampPosition(int& column, int& line) const;
  void SetSelection(int anchorCol, int anchorLine, int caretCol, int caretLine);
  void UpdateCaret(bool show);
  void ScrollToLine(int line);
  void ScrollLineIntoView(int line);
  void OnLButtonDown(wxMouseEvent& event);
  void OnMouseMove(wxMouseEvent& event);
  void OnLButtonUp(wxMouseEvent& event);
  void OnLButtonDblClk(wxMouseEvent& event);

  // ---- scrolling (ColorEditWnd_Scroll.cpp) ----
  void UpdateScrollBars();
  void OnSize(wxSizeEvent& event);
  void OnVScroll(wxScrollWinEvent& event);
  void OnHScroll(wxScrollWinEvent& event);
  void OnMouseWheel(wxMouseEvent& event);
  void EnsureCaretVisible();
  void UpdateAnchor(bool afterKey);
  void ScrollClientBy(int dx, int dy);

  // ---- line primitives and undo (ColorEditWnd_Undo.cpp) ----
  void InsertLine(const std::string& text, int index, bool update, bool dontRecord);
  void ReplaceLine(const std::string& text, int index, bool dontRecord, bool update);
  void RemoveLine(int index, bool dontRecord, bool update);
  void CommitUndoFrame();
  void CommitAndNotify();
  void ReplayUndoFrame(CUndoFrameStack& from, CUndoFrameStack& to);
  void OnEditUndo(wxCommandEvent& event);
  void OnEditRedo(wxCommandEvent& event);

  // ---- keyboard and typing (ColorEditWnd_Keyboard.cpp) ----
  void OnKeyDown(wxKeyEvent& event);
  void OnChar(wxKeyEvent& event);
  int OnGetDlgCode() const;
  void InsertString(const std::string& text);
  void DeleteBack();
  void DeleteForward();
  void InsertNewLine();
  void DeleteSelection();
  std::string MakeTabFill(int column) const;

  // ---- text exchange and clipboard (ColorEditWnd_Exchange.cpp) ----
  std::string GetText() const;
  // Both return how many characters of the text were left out because no
  // glyph shows them (a surrogate pair counts as one).
  std::size_t InsertText(const std::wstring& text);
  std::size_t InsertWideText(const std::wstring& text);
  // Loads the text of a file being opened, each byte a character of the same
  // value: inserted as InsertText inserts it, with no undo record, and the
  // undo and redo histories left empty.
  void LoadText(const std::string& bytes);
  void CopySelection();
  void Cut();
  // Pastes the clipboard's text; when characters of it were left out, tells
  // the user how many in a message box.
  void Paste();

  // ---- commands, context menu, accelerators, focus (ColorEditWnd_Commands.cpp) ----
  void SelectAll();
  void OnContextMenu(wxContextMenuEvent& event);
  void UpdateMenuItems(wxMenu& menu);
  void OnSetFocus(wxFocusEvent& event);
  void OnKillFocus(wxFocusEvent& event);
  void OnEditCopy(wxCommandEvent& event);
  void OnEditCut(wxCommandEvent& event);
  void OnEditPaste(wxCommandEvent& event);
  void OnEditSelectAll(wxCommandEvent& event);
  void OnUpdateEditCopy(wxUpdateUIEvent& event);
  void OnUpdateEditPaste(wxUpdateUIEvent& event);
  void OnUpdateEditSelectAll(wxUpdateUIEvent& event);
  void OnUpdateEditUndo(wxUpdateUIEvent& event);
  void OnUpdateEditRedo(wxUpdateUIEvent& event);
  // Translates a key-down addressed to the editor through table 312; true when
  // the key became a command.
  bool PreTranslateMessage(wxKeyEvent& event);

  // ---- members ----
  CTextModel m_textModel;
  int m_cellWidth = 10;
  int m_lineHeight = 10;
  int m_tabWidth = 4;
  wxCursor m_hCursor;
  wxFont m_font;
  wxFont m_boldFont;
  int m_firstCol = 0;
  int m_firstLine = 0;
  int m_anchorCol = 0;
  int m_anchorLine = 0;
  int m_caretCol = 0;
  int m_caretLine = 0;
  COLORREF m_lineBack = 0xFFFFFF;
  COLORREF m_selBack = 0x000000;
  COLORREF m_selText = 0xFFFFFF;
  bool m_hadSelection = false;
  bool m_mouseDown = false;
  bool m_caretShown = false;
  int m_pressX = 0;
  int m_pressY = 0;
  bool m_useAccelerators = true;
  bool m_autoIndent = true;
  CUndoFrame m_currentFrame;
  CUndoFrameStack m_undoStack;
  CUndoFrameStack m_redoStack;
  int m_controlId = 310;
  bool m_readOnly = false;
  wxAcceleratorTable m_hAccel;
  std::string m_instanceName;
  GlyphTable m_glyphs{};
  int m_fontHeight = 18;
  std::wstring m_fontFace;
  // Painting copies cells whose glyph stays inside them from exactly rendered
  // pictures; false draws every glyph through text calls (the tests compare
  // both).
  bool m_paintCellsFromCache = true;
  std::shared_ptr<CellCache> m_cellCache;  // made by the first paint that can use it
  // The off-screen pictures, shared by all editors (one paints at a time).
  std::shared_ptr<PaintBuffers> m_paintBuffers;

 private:
  // Each concern binds its own event handlers; the constructor calls them all.
  void BindWindowEvents();
  void BindPaintEvents();
  void BindCaretEvents();
  void BindScrollEvents();
  void BindUndoEvents();
  void BindKeyboardEvents();
  void BindCommandEvents();

  // ---- private helpers of each concern, declared by that concern below ----
  // window:
  // Whether the window exists (creation can fail; the editor then lives on without one).
  bool HasWindow() const;
  bool m_faceInstalled = false;        // m_fontFace is installed and the fonts use it
  bool m_privateGlyphsInFont = false;  // the fonts draw U+F000+b themselves
  bool m_runsFitCells = false;         // both fonts advance exactly one cell per character
  // Per font (normal, bold): the ASCII characters whose ink leaves their cell.
  std::bitset<128> m_overhangs[2];
  void FindOverhangs();
  wxFont m_standInFont;                // small font of the stand-in for private-use glyphs
  // paint:
  void DrawStandIn(wxDC& dc, unsigned char byte, int x, int y, const wxColour& colour);
  void PrepareStandIn();
  int m_standInAdvance = 0;  // width of one stand-in digit
  int m_standInTop = 0;      // y of the upper digit's text box within the cell
  int m_standInStep = 0;     // distance from the upper digit to the lower one
  // What one row of the window showed after the paint that last covered it.
  struct PaintedRow {
    bool known = false;  // false: unknown, or not a picture of the row's inputs
    int line = -1;       // -1: no line, the rows' background
    COLORREF back = 0;
    std::string text;
    std::vector<COLORREF> colours;
    int selFrom = 0;  // the selected columns among those drawn
    int selTo = 0;
    bool operator==(const PaintedRow& o) const {
      return known && o.known && line == o.line && back == o.back && selFrom == o.selFrom &&
             selTo == o.selTo && text == o.text && colours == o.colours;
    }
  };
  // Everything besides a row's own inputs that its picture depends on.
  struct PaintedView {
    int firstCol = 0, cellWidth = 0, lineHeight = 0, width = 0, height = 0, fontHeight = 0;
    COLORREF selBack = 0, selText = 0;
    std::wstring fontFace;
    bool operator==(const PaintedView& o) const {
      return firstCol == o.firstCol && cellWidth == o.cellWidth && lineHeight == o.lineHeight &&
             width == o.width && height == o.height && fontHeight == o.fontHeight &&
             selBack == o.selBack && selText == o.selText && fontFace == o.fontFace;
    }
  };
  PaintedView CurrentPaintedView() const;
  // What a paint would show on `row` now.
  PaintedRow RowToPaint(int row) const;
  // The columns [first, last) of `line` that the window can show.
  std::pair<std::size_t, std::size_t> SeenPart(int line) const;
  // RowToPaint without the row's text and colours.
  PaintedRow RowLook(int row) const;
  // Whether what the screen shows on `row` is RowToPaint(row), without
  // copying the row's text and colours.
  bool RowShowsNow(int row) const;
  // The line below the last one a paint draws.
  int PaintedLineEnd() const;
  // Forgets what the screen shows, so that the next RefreshChangedRows
  // repaints every row; for moves of the picture on the screen.
  void ForgetPaintedRows();
  std::vector<PaintedRow> m_paintedRows;
  bool m_paintingRegion = false;  // OnPaint is painting its invalid region
  PaintedView m_paintedView;
  // caret:
  // The position (column, line) a press at client point (x, y) goes to.
  void PositionFromPoint(int x, int y, int& column, int& line) const;
  void OnMouseCaptureLost(wxMouseCaptureLostEvent& event);
  // scroll:
  // The scroll-bar codes the scroll handlers act on (left/right share the
  // up/down values on the horizontal bar).
  enum ScrollCode {
    kScrollLineUp,
    kScrollLineDown,
    kScrollPageUp,
    kScrollPageDown,
    kScrollThumbPosition,
    kScrollThumbTrack,
    kScrollTop,
    kScrollBottom,
    kScrollEndScroll
  };
  static ScrollCode ScrollCodeOf(wxEventType type);
  // Routes a scroll-bar event to OnVScroll or OnHScroll by its bar.
  void OnScrollWin(wxScrollWinEvent& event);
  // Window operations that do nothing while there is no window.
  void Invalidate(const wxRect& rect, bool erase);
  void InvalidateAll(bool erase);
  void RepaintNow();
  void SetScrollPosition(int orientation, int position);
  void SetBar(int orientation, int position, int thumb, int range);
  // undo:
  // Appends a record of `kind` for `line` with the caret and anchor as they stand.
  void RecordUndo(std::int32_t kind, const std::string& text, int line);
  // keyboard:
  void MoveWordLeft();
  void MoveWordRight();
  // Whether a character event belongs to the toolkit rather than the text:
  // typed with Alt held and Ctrl up, or carrying no character.
  static bool IsSystemCharacter(const wxKeyEvent& event);
  // The byte a typed character stands for, through the glyph table; -1 when
  // the character has none.
  static int TypedByte(const wxKeyEvent& event);
  // Opens an edit action: empties the current frame and the redo stack.
  void BeginEditAction();
  // exchange:
  // InsertWideText of text already mapped to bytes; records the undo steps
  // only when `record`.
  void InsertBytes(const std::string& bytes, bool record);
  // The paste itself, under the wait cursor; returns how many characters of
  // the clipboard's text were left out.
  std::size_t PasteClipboardText();
  // commands:
  bool TryBefore(wxEvent& event) override;
  bool IsCommandEnabled(int id);
  wxPoint ContextMenuPoint(const wxPoint& screenPoint) const;
};
