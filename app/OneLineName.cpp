#include "app/OneLineName.h"

wxString OneLineName(const wxString& name) {
  wxString shown;
  shown.reserve(name.length());
  for (auto it = name.begin(); it != name.end(); ++it) {
    const wxUniChar c = *it;
    if (c != '\r' && c != '\n') {
      shown += c;
      continue;
    }
    shown += wxUniChar(0x21B5);  // a CR LF pair is one break
    if (c == '\r' && it + 1 != name.end() && *(it + 1) == '\n') ++it;
  }
  return shown;
}
