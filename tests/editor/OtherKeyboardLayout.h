// Keys pressed on another keyboard layout: the display's layout is switched
// for the life of the object (through setxkbmap, which comes with the X
// server) and put back after; keys go through XTest as real key presses.
#pragma once

#include <string>

struct _XDisplay;

class OtherKeyboardLayout {
 public:
  // Switches the display to `layout` ("de").
  explicit OtherKeyboardLayout(const std::string& layout);
  ~OtherKeyboardLayout();
  OtherKeyboardLayout(const OtherKeyboardLayout&) = delete;
  OtherKeyboardLayout& operator=(const OtherKeyboardLayout&) = delete;

  // Whether the layout is in place.
  bool IsSet() const { return set_; }
  // Presses and releases the key that carries the symbol `key` (an X key
  // symbol name: "q", "8") with AltGr (the third level's shift) held.
  void AltGr(const std::string& key);

 private:
  // The display's model, layout, variant and options as setxkbmap tells them.
  std::string model_, layout_, variant_, options_;
  _XDisplay* display_ = nullptr;
  bool set_ = false;
};
