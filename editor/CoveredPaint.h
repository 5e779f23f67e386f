// CoveredPaint: a window that paints every pixel of its client area spares
// its ancestors the paint of what it covers.
#pragma once

class wxRect;
class wxWindow;

namespace coveredpaint {

// From now until Forget(window): a paint or background erase of one of
// `window`'s ancestors whose invalid area lies wholly inside `window`'s
// client area is left out. GTK paints a window's ancestors under it first,
// and `window`, shown and painting all its area, covers their pixels there
// in the same pass; so an edit's repaint of a few rows costs the rows alone,
// not also the frames and docking panes around them.
void Cover(wxWindow* window);
void Forget(wxWindow* window);

// The client area of `window` in the client coordinates of `ancestor`, or an
// empty rectangle when `ancestor` is not an ancestor of a shown `window`.
// Where the window's border and scroll bars stand is left open: the area is
// the part that is client area wherever they stand.
wxRect ClientAreaIn(const wxWindow* window, const wxWindow* ancestor);

}  // namespace coveredpaint
