// EditorCaret: the editor's caret, drawn through a client context and taken
// off by a repaint of its rectangle.
#include "editor/EditorCaret.h"

#include <wx/dcclient.h>
#include <wx/window.h>

EditorCaret::EditorCaret(wxWindow* window, int width, int height) : wxCaret(window, width, height) {
  m_blinkTimer.Bind(wxEVT_TIMER, &EditorCaret::OnBlink, this);
}

EditorCaret::~EditorCaret() { m_blinkTimer.Stop(); }

// Shown, the caret blinks from then on. It is drawn once the event that
// showed it is done: a move in the same event (the editor moves every caret
// it shows) takes it off again, so that it is then neither drawn nor erased.
void EditorCaret::DoShow() {
  const int blinkTime = GetBlinkTime();
  if (blinkTime > 0) m_blinkTimer.Start(blinkTime);
  if (m_drawn || m_drawPending) return;
  wxWindow* window = GetWindow();
  if (!window) return;
  m_drawPending = true;
  wxCaret* caret = this;
  window->CallAfter([window, caret] {
    if (auto* shown = dynamic_cast<EditorCaret*>(window->GetCaret()); shown && shown == caret)
      shown->DrawPending();
  });
}

void EditorCaret::DoHide() {
  m_blinkTimer.Stop();
  m_drawPending = false;
  if (m_drawn) Erase();
}

// A moved caret leaves the screen and comes back at its next blink (at once
// when it does not blink).
void EditorCaret::DoMove() {
  if (!IsVisible()) return;
  if (m_drawPending) {
    m_drawPending = GetBlinkTime() <= 0;
    return;
  }
  if (!m_drawn) return;
  Erase();
  if (GetBlinkTime() <= 0) Draw();
}

void EditorCaret::DrawPending() {
  if (!m_drawPending) return;
  m_drawPending = false;
  if (IsVisible() && !m_drawn) Draw();
}

void EditorCaret::DoSize() {
  if (!IsVisible()) return;
  DoHide();
  DoShow();
}

void EditorCaret::OnSetFocus() {
  m_focused = true;
  if (IsVisible() && m_drawn) Draw();
}

// Without the focus the caret shows as a frame.
void EditorCaret::OnKillFocus() {
  m_focused = false;
  if (!IsVisible()) return;
  if (m_drawn) Erase();
  Draw();
}

void EditorCaret::OnBlink(wxTimerEvent&) {
  m_drawPending = false;
  if (m_drawn)
    Erase();
  else
    Draw();
}

// Black on a light background, white on a dark one.
void EditorCaret::Draw() {
  wxWindow* window = GetWindow();
  if (!window) return;
  const wxColour back = window->GetBackgroundColour();
  const bool dark = back.Red() < 100 && back.Green() < 100 && back.Blue() < 100;
  wxClientDC dc(window);
  dc.SetPen(dark ? *wxWHITE_PEN : *wxBLACK_PEN);
  if (m_focused)
    dc.SetBrush(dark ? *wxWHITE_BRUSH : *wxBLACK_BRUSH);
  else
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
  const wxPoint at = GetPosition();
  const wxSize size = GetSize();
  m_drawnAt = wxRect(at, size);
  dc.DrawRectangle(m_drawnAt);
  m_drawn = true;
}

void EditorCaret::Erase() {
  m_drawn = false;
  if (wxWindow* window = GetWindow()) window->RefreshRect(m_drawnAt, false);
}
