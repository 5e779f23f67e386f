// CoveredPaint: one event filter for all covering windows, which drops the
// paint events of their ancestors for areas they cover.
#include "editor/CoveredPaint.h"

#include <wx/app.h>
#include <wx/eventfilter.h>
#include <wx/window.h>

#include <algorithm>
#include <vector>

namespace coveredpaint {
namespace {

class CoveredPaintFilter : public wxEventFilter {
 public:
  std::vector<wxWindow*> covering;

  int FilterEvent(wxEvent& event) override {
    const wxEventType type = event.GetEventType();
    if (type != wxEVT_PAINT && type != wxEVT_ERASE_BACKGROUND) return Event_Skip;
    const auto* target = wxDynamicCast(event.GetEventObject(), wxWindow);
    if (!target) return Event_Skip;
    const wxRect box = target->GetUpdateRegion().GetBox();
    if (box.IsEmpty()) return Event_Skip;
    for (const wxWindow* window : covering) {
      if (window != target && ClientAreaIn(window, target).Contains(box)) return Event_Processed;
    }
    return Event_Skip;
  }
};

CoveredPaintFilter* g_filter = nullptr;

}  // namespace

void Cover(wxWindow* window) {
  if (!window) return;
  if (!g_filter) {
    g_filter = new CoveredPaintFilter;
    wxEvtHandler::AddFilter(g_filter);
  }
  g_filter->covering.push_back(window);
}

void Forget(wxWindow* window) {
  if (!g_filter) return;
  auto& covering = g_filter->covering;
  covering.erase(std::remove(covering.begin(), covering.end(), window), covering.end());
  if (covering.empty()) {
    wxEvtHandler::RemoveFilter(g_filter);
    delete g_filter;
    g_filter = nullptr;
  }
}

wxRect ClientAreaIn(const wxWindow* window, const wxWindow* ancestor) {
  if (!window || !ancestor || window == ancestor || !window->IsShownOnScreen()) return wxRect();
  // A child's position counts from its parent's client area; that area
  // starts at the parent's client-area origin inside the parent's window.
  wxPoint at;
  const wxWindow* w = window;
  for (; w && w != ancestor; w = w->GetParent()) {
    const wxWindow* parent = w->GetParent();
    if (w->IsTopLevel() || !parent) return wxRect();
    at += w->GetPosition() + parent->GetClientAreaOrigin();
  }
  if (w != ancestor) return wxRect();
  // The client area lies at the window's top left or, with borders or bars
  // on that side, further in: only what it covers in both places counts.
  const wxSize client = window->GetClientSize();
  const wxSize outer = window->GetSize();
  const wxRect nearest(at, client);
  const wxRect furthest(at + wxPoint(outer.x - client.x, outer.y - client.y), client);
  return nearest.Intersect(furthest);
}

}  // namespace coveredpaint
