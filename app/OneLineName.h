// How a name that may hold line breaks (a file's name may) shows in a tab, a
// caption or a tree label: on one line.
#pragma once

#include <wx/string.h>

// `name` with each line break (CR, LF or a CR LF pair) shown as a return arrow.
wxString OneLineName(const wxString& name);
