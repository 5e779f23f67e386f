// Real key state from wx, unless a test has set it.
#include "editor/KeyState.h"

#include <wx/utils.h>

namespace keystate {
namespace {
bool g_overridden = false;
bool g_shift = false;
bool g_control = false;
}  // namespace

bool ShiftDown() { return g_overridden ? g_shift : wxGetKeyState(WXK_SHIFT); }
bool ControlDown() { return g_overridden ? g_control : wxGetKeyState(WXK_CONTROL); }

void Override(bool shift, bool control) {
  g_overridden = true;
  g_shift = shift;
  g_control = control;
}

void ClearOverride() { g_overridden = false; }

}  // namespace keystate
