// EditorCaret: the editor's blinking caret, drawn over the window's picture
// without keeping the pixels under it.
#pragma once

#include <wx/window.h>
#include <wx/caret.h>
#include <wx/timer.h>

// A wxCaret that shows and blinks as the toolkit's own, but takes itself off
// the screen by asking the window to repaint where it stood. The toolkit's
// caret saves the pixels under it (reading them back from the display) and
// puts them back when it goes; a paint under it in between made them stale.
class EditorCaret : public wxCaret {
 public:
  EditorCaret(wxWindow* window, int width, int height);
  ~EditorCaret() override;

  void OnSetFocus() override;
  void OnKillFocus() override;

 protected:
  void DoShow() override;
  void DoHide() override;
  void DoMove() override;
  void DoSize() override;

 private:
  void OnBlink(wxTimerEvent& event);
  // Draws the caret when its drawing is still due since it was shown.
  void DrawPending();
  // Draws the caret where it stands now.
  void Draw();
  // Asks for a repaint of where the caret was drawn.
  void Erase();

  wxTimer m_blinkTimer;
  bool m_drawn = false;    // the caret is on the screen at m_drawnAt
  bool m_drawPending = false;  // shown, to be drawn once the event is done
  bool m_focused = true;   // drawn filled, else as a frame
  wxRect m_drawnAt;
};
