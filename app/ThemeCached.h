// Windows that ask GTK's theme for their default font and colours once per
// kind of window instead of at every device context they make.
#pragma once

#include <wx/window.h>

// Counts the theme changes the main frame was told of; the cached defaults
// are asked for again after each.
inline int g_themeGeneration = 0;

// Drawn windows ask the theme for their default font and colours each time
// one of them makes a device context to measure or draw with, or looks up a
// colour nobody set, and the theme answers slowly. The answer is the same
// for every window of a kind (plain windows in the same place of the theme,
// all of the normal variant), so each kind asks once, and again after the
// theme changed.
template <class Base>
class ThemeCached : public Base {
 public:
  using Base::Base;
  wxVisualAttributes GetDefaultAttributes() const override {
    static wxVisualAttributes attributes;
    static int generation = -1;
    if (generation != g_themeGeneration) {
      attributes = Base::GetDefaultAttributes();
      generation = g_themeGeneration;
    }
    return attributes;
  }
};
