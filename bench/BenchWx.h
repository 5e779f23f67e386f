// What the window benchmarks share: whether wx could start (set by the
// benchmark main) and letting wx and the X server handle everything pending.
#pragma once

#include <wx/app.h>
#include <wx/utils.h>

extern bool g_benchHasWx;

inline void Pump() {
  for (int i = 0; i < 5; ++i) {
    wxTheApp->ProcessPendingEvents();
    while (wxTheApp->Pending()) wxTheApp->Dispatch();
    wxYield();
  }
}
