// The editor window itself: construction and creation, the fonts and the cell
// size measured from them, the reset to an empty text, title and line access,
// the cursor, and the notifications to the parent.
#include <wx/dcclient.h>
#include <wx/fontenum.h>

#include <cstdio>

#include "editor/ColorEditWnd.h"
#include "editor/CoveredPaint.h"
#include "editor/EditorEvents.h"
#include "editor/GlyphOverhangs.h"
#include "editor/PixelHeightFont.h"
#include "res/EditorResources.h"
#include "res/ResourceIds.h"

namespace {

// The face whose private-use characters U+F000..U+F0FF draw the bytes that
// have no standard character.
const wchar_t kGlyphFace[] = L"Veltrane";

constexpr int kInitialFontHeight = 18;
constexpr int kNormalWeight = 500;
constexpr int kBoldWeight = 700;

// Whether a font face of that name is installed; asked once per face name.
bool FaceInstalled(const std::wstring& face) {
  static std::wstring lastFace;
  static bool lastAnswer = false;
  static bool asked = false;
  if (!asked || face != lastFace) {
    lastFace = face;
    lastAnswer = !face.empty() && wxFontEnumerator::IsValidFacename(wxString(face));
    asked = true;
  }
  return lastAnswer;
}

}  // namespace

ColorEditWnd::ColorEditWnd(wxWindow* parent, const wxRect& rect, std::wstring fontFace,
                           bool horizontalScroll) {
  m_glyphs = SystemGlyphTable();
  char name[64];
  std::snprintf(name, sizeof name, "ColorEditWnd::%p", static_cast<void*>(this));
  m_instanceName = name;

  m_cellWidth = 10;
  m_lineHeight = 10;
  m_controlId = ids::IDC_COLOR_EDIT;
  m_tabWidth = 4;
  m_useAccelerators = true;
  m_caretShown = false;
  m_lineBack = 0xFFFFFF;
  m_selBack = 0x000000;
  m_selText = 0xFFFFFF;
  m_readOnly = false;
  m_firstCol = 0;
  m_firstLine = 0;

  m_hAccel = LoadEditorAccelerators();

  BindWindowEvents();
  BindPaintEvents();
  BindCaretEvents();
  BindScrollEvents();
  BindUndoEvents();
  BindKeyboardEvents();
  BindCommandEvents();

  // The picture comes only from OnPaint; the background is never erased.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  // wxALWAYS_SHOW_SB keeps a bar that is not needed visible but inert.
  long style = wxVSCROLL | wxALWAYS_SHOW_SB | wxWANTS_CHARS | (horizontalScroll ? wxHSCROLL : 0);
  Create(style, parent, rect, fontFace);  // the editor lives on without a window when this fails
  ResetContent();
}

ColorEditWnd::~ColorEditWnd() {
  // The caret goes first; fonts, undo history and text model go with the
  // members, the window with the base.
  if (GetCaret()) SetCaret(nullptr);
  m_caretShown = false;
  coveredpaint::Forget(this);
}

bool ColorEditWnd::Create(long style, wxWindow* parent, const wxRect& rect, const std::wstring& fontFace) {
  m_fontFace = fontFace;
  m_fontHeight = kInitialFontHeight;
  CreateFonts();
  // A child window needs a parent; without one there is no window to create.
  if (!parent) return false;
  if (!wxWindow::Create(parent, ids::IDC_COLOR_EDIT, rect.GetPosition(), rect.GetSize(), style,
                        wxString::FromAscii("ColorEditWnd")))
    return false;
  return OnCreate() == 0;
}

int ColorEditWnd::OnCreate() {
  if (!HasWindow()) return -1;
  m_caretShown = false;
  m_hCursor = wxCursor(wxCURSOR_IBEAM);
  // Every paint covers the whole client area (the background is never erased).
  coveredpaint::Cover(this);
  return 0;
}

void ColorEditWnd::ResetContent() {
  ClearText();
  m_caretCol = m_caretLine = 0;
  m_anchorCol = m_anchorLine = 0;
  m_firstCol = 0;
  m_firstLine = 0;
  m_hadSelection = false;
  m_mouseDown = false;
  m_caretShown = false;
  m_autoIndent = true;
  ClearFrameStack(m_redoStack);
  ClearFrameStack(m_undoStack);
  m_currentFrame.Clear();
}

void ColorEditWnd::ClearText() {
  CTextModel& model = m_textModel;
  for (int i = 0; i < model.LineCount(); ++i) RecordUndo(LineDeleted, model.lines[i], i);
  model.lines.clear();
  model.lineColours.clear();
  model.UpdateMaxLineLength();
  model.InsertLine(std::string(), 0, true);
  UpdateScrollBars();
  SendNotification(ids::EN_CHANGE);
}

void ColorEditWnd::SetTitle(std::wstring title) { m_textModel.title = std::move(title); }

std::string ColorEditWnd::GetLine(int i) const {
  if (i < 0 || i >= m_textModel.LineCount()) throw InvalidArgumentError("line index out of range");
  return m_textModel.lines[i];
}

// The cell size follows the font every time the window is shown. GTK sends no
// show event for a child created visible, so the window reaching the screen
// (its realisation) counts as the first show; later Show calls arrive as
// show events of their own.
void ColorEditWnd::OnShowWindow(wxShowEvent& event) {
  if (event.IsShown()) MeasureCell();
  event.Skip();
}

void ColorEditWnd::OnSetCursor(wxSetCursorEvent& event) {
  if (HasWindow() && GetClientRect().Contains(event.GetX(), event.GetY())) {
    event.SetCursor(m_hCursor);
    return;
  }
  event.Skip();
}

void ColorEditWnd::CreateFonts() {
  m_faceInstalled = FaceInstalled(m_fontFace);
  m_privateGlyphsInFont = m_faceInstalled && wxString(m_fontFace).IsSameAs(kGlyphFace, false);
  auto make = [this](int weight, int guess) {
    wxFontInfo info;
    info.Family(wxFONTFAMILY_TELETYPE).Weight(weight);
    if (m_faceInstalled) info.FaceName(wxString(m_fontFace));
    return MakeFontOfPixelHeight(info, m_fontHeight, guess);
  };
  // A zoom step moves the height by one pixel, so the point size of the
  // fonts it replaces is a close guess; the bold font mostly takes the point
  // size of the normal one.
  m_font = make(kNormalWeight, m_font.IsOk() ? m_font.GetPointSize() : 0);
  m_boldFont = make(kBoldWeight, m_font.GetPointSize());
  m_standInFont = wxFont();
}

void ColorEditWnd::MeasureCell() {
  if (!HasWindow() || !m_font.IsOk()) return;
  wxClientDC dc(this);
  dc.SetFont(m_font);
  // The average width over the letters; a fixed-pitch font gives its advance.
  static const wxString sample = wxString::FromAscii("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
  const int n = static_cast<int>(sample.length());
  wxCoord width = 0, height = 0;
  dc.GetTextExtent(sample, &width, &height);
  m_cellWidth = (width + n / 2) / n;
  m_lineHeight = dc.GetCharHeight();

  // Runs of characters may be drawn with one text call when both fonts
  // advance by exactly one cell per character.
  m_runsFitCells = m_cellWidth > 0 && width == n * m_cellWidth;
  if (m_runsFitCells && m_boldFont.IsOk()) {
    dc.SetFont(m_boldFont);
    wxCoord boldWidth = 0;
    dc.GetTextExtent(sample, &boldWidth, nullptr);
    m_runsFitCells = boldWidth == n * m_cellWidth;
  }
  if (m_runsFitCells) {
    FindOverhangs();
  } else {
    m_overhangs[0].reset();
    m_overhangs[1].reset();
  }
  m_standInFont = wxFont();
}

// Notes, for both fonts, the printable ASCII characters whose ink leaves
// their cell: such a glyph is drawn on its own, in its place among its
// neighbours.
void ColorEditWnd::FindOverhangs() {
  m_overhangs[0] = FindGlyphOverhangs(m_font, m_cellWidth, m_lineHeight);
  m_overhangs[1] = FindGlyphOverhangs(m_boldFont, m_cellWidth, m_lineHeight);
}

void ColorEditWnd::SendNotification(int code) {
  if (!HasWindow()) return;
  wxWindow* parent = GetParent();
  if (!parent) return;
  wxCommandEvent event(EditorNotificationType(code), m_controlId);
  event.SetEventObject(this);
  parent->GetEventHandler()->ProcessEvent(event);
}

bool ColorEditWnd::HasWindow() const { return GetHandle() != nullptr; }

void ColorEditWnd::BindWindowEvents() {
  Bind(wxEVT_SHOW, &ColorEditWnd::OnShowWindow, this);
  Bind(wxEVT_CREATE, [this](wxWindowCreateEvent& event) {
    if (event.GetWindow() == this) {
      wxShowEvent show(GetId(), true);
      show.SetEventObject(this);
      OnShowWindow(show);
    }
    event.Skip();
  });
  Bind(wxEVT_SET_CURSOR, &ColorEditWnd::OnSetCursor, this);
}
