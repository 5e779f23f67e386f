// Key state from the event in hand, else from wx, unless a test has set it.
#include "editor/KeyState.h"

#include <wx/utils.h>

namespace keystate {
namespace {
bool g_overridden = false;
bool g_shift = false;
bool g_control = false;
bool g_inEvent = false;
bool g_eventShift = false;
bool g_eventControl = false;
}  // namespace

bool ShiftDown() {
  if (g_overridden) return g_shift;
  return g_inEvent ? g_eventShift : wxGetKeyState(WXK_SHIFT);
}
bool ControlDown() {
  if (g_overridden) return g_control;
  return g_inEvent ? g_eventControl : wxGetKeyState(WXK_CONTROL);
}

void Override(bool shift, bool control) {
  g_overridden = true;
  g_shift = shift;
  g_control = control;
}

void ClearOverride() { g_overridden = false; }

EventModifiers::EventModifiers(const wxKeyboardState& event)
    : m_hadEvent(g_inEvent), m_shift(g_eventShift), m_control(g_eventControl) {
  g_inEvent = true;
  g_eventShift = event.ShiftDown();
  g_eventControl = event.ControlDown();
}

EventModifiers::~EventModifiers() {
  g_inEvent = m_hadEvent;
  g_eventShift = m_shift;
  g_eventControl = m_control;
}

}  // namespace keystate
