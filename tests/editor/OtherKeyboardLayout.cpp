#include "OtherKeyboardLayout.h"

#include <wx/arrstr.h>
#include <wx/utils.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

bool Run(const std::string& command) { return wxExecute(wxString::FromUTF8(command), wxEXEC_SYNC) == 0; }

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

}  // namespace

OtherKeyboardLayout::OtherKeyboardLayout(const std::string& layout) {
  wxArrayString lines;
  if (wxExecute("setxkbmap -query", lines, wxEXEC_SYNC) != 0) return;
  for (const wxString& line : lines) {
    const std::string text = line.ToStdString();
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) continue;
    const std::string name = text.substr(0, colon);
    const std::size_t start = text.find_first_not_of(' ', colon + 1);
    const std::string value = start == std::string::npos ? std::string() : text.substr(start);
    if (name == "model") model_ = value;
    else if (name == "layout") layout_ = value;
    else if (name == "variant") variant_ = value;
    else if (name == "options") options_ = value;
  }
  display_ = XOpenDisplay(nullptr);
  if (!display_ || layout_.empty()) return;
  set_ = Run("setxkbmap -layout " + Quoted(layout));
}

OtherKeyboardLayout::~OtherKeyboardLayout() {
  if (set_) {
    std::string command = "setxkbmap -model " + Quoted(model_) + " -layout " + Quoted(layout_) + " -option ''";
    if (!variant_.empty()) command += " -variant " + Quoted(variant_);
    if (!options_.empty()) command += " -option " + Quoted(options_);
    Run(command);
  }
  if (display_) XCloseDisplay(display_);
}

void OtherKeyboardLayout::AltGr(const std::string& key) {
  if (!display_) return;
  const KeyCode shift = XKeysymToKeycode(display_, XK_ISO_Level3_Shift);
  const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(key.c_str()));
  if (!shift || !code) return;
  XTestFakeKeyEvent(display_, shift, 1, CurrentTime);
  XTestFakeKeyEvent(display_, code, 1, CurrentTime);
  XTestFakeKeyEvent(display_, code, 0, CurrentTime);
  XTestFakeKeyEvent(display_, shift, 0, CurrentTime);
  XFlush(display_);
}
