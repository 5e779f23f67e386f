// The Shift and Ctrl state that the editor reads at the moment it acts (not
// from the event in hand), behind one seam that tests can set.
#pragma once

namespace keystate {

bool ShiftDown();
bool ControlDown();

// Makes ShiftDown/ControlDown answer the given values until ClearOverride.
void Override(bool shift, bool control);
void ClearOverride();

}  // namespace keystate
