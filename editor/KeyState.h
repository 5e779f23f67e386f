// The Shift and Ctrl state that the editor reads as it acts, behind one seam
// that tests can set. While the editor handles an input event it is the
// state that event carries (the state when the user pressed the key or the
// button, however long the program took to get to it); otherwise the keys
// held now.
#pragma once

#include <wx/kbdstate.h>

namespace keystate {

bool ShiftDown();
bool ControlDown();

// Makes ShiftDown/ControlDown answer the given values until ClearOverride.
void Override(bool shift, bool control);
void ClearOverride();

// For its lifetime, ShiftDown/ControlDown answer from `event`'s modifiers
// (unless overridden); nests.
class EventModifiers {
 public:
  explicit EventModifiers(const wxKeyboardState& event);
  ~EventModifiers();
  EventModifiers(const EventModifiers&) = delete;
  EventModifiers& operator=(const EventModifiers&) = delete;

 private:
  bool m_hadEvent, m_shift, m_control;
};

}  // namespace keystate
