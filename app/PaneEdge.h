// The outer window of a docked pane, where the notices of the pane's own
// controls end: a notebook's page changes and tab clicks, a list's or a
// tree's selection. Travelling on up they would reach the main frame, which
// hands command events to the active document window first; from there they
// reach the document tab strip, whose handlers take any notebook's page
// change for their own and look up a document by the pane's tab index.
#pragma once

#include <wx/event.h>

// Whether `event` is such a notice of a control.
bool IsControlNotice(const wxEvent& event);

template <class Base>
class PaneEdge : public Base {
 public:
  using Base::Base;

 protected:
  // The pane's own handlers and those of the windows inside it have had the
  // notice by now; it goes no further.
  bool TryAfter(wxEvent& event) override {
    if (IsControlNotice(event)) return false;
    return Base::TryAfter(event);
  }
};
