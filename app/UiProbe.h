// A test hook for tests that drive the built program from outside: when the
// environment variable QUILLMARK_PROBE names a path, the program listens on a
// Unix socket there and answers one-line requests about its windows (where
// each control is on the screen, what has the focus, the menus, the Build
// list). Without the variable nothing is created and nothing runs.
//
// Requests (one line each; the answer follows, then the connection closes):
//   rects   one line per control: name, screen x y w h, shown, enabled, text
//   state   focus, documents and their modified flags, open dialogs
//   menus   the menu bar's menus and items, a popup menu while one is open,
//           and the item last highlighted
//   output  the lines of the Build list
//   ping    "pong"
// Fields are separated by tabs. Anything else, or a line longer than a few
// hundred bytes, is dropped without an answer.
#pragma once

// Starts the probe when QUILLMARK_PROBE is set (and its socket can be made).
void StartUiProbeFromEnvironment();
// Stops it and removes its socket; nothing when it never started.
void StopUiProbe();
