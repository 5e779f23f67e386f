// What the chip commands need of the document they build and of the Build
// list they report into. The views adapt their document and the Output pane's
// Build list to these, so the chip commands know nothing of the application.
#pragma once

#include <string>

// The Output pane's Build list: one wide string per line, kept in the order added.
struct BuildList {
  virtual ~BuildList();
  virtual void ResetContent() = 0;
  virtual void AddString(const std::wstring& line) = 0;
};

// The document a chip command works on.
struct ChipDocument {
  virtual ~ChipDocument();
  // The document's file-save command: saves under its path name, asking for a
  // name first when it has none or its file no longer exists or is read-only.
  // false when the user cancelled or writing failed.
  virtual bool Save() = 0;
  // The document's full path name (as it stands after a save).
  virtual std::wstring PathName() = 0;
  // The document's title: its file name as the user sees it.
  virtual std::wstring Title() = 0;
};
