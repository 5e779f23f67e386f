// One running Quillmark per user: a lock in the user's run-time folder tells
// a later start that one is running, and a local socket carries the later
// start's file names to it.
#pragma once

#include <wx/arrstr.h>
#include <wx/ipc.h>
#include <wx/string.h>

#include <functional>
#include <memory>

class wxSingleInstanceChecker;

class CSingleInstance {
 public:
  // `folder` is a per-user folder (it is created when missing); the lock and
  // the socket are named after the user there.
  explicit CSingleInstance(const wxString& folder);
  ~CSingleInstance();

  wxString LockPath() const;
  wxString ServicePath() const;

  // Takes the lock; false when another instance of this user holds it.
  bool BecomeFirst();

  // The first instance listens for later starts' file names; `onFiles` runs
  // on the user-interface thread, after the message that brought them.
  bool StartServer(std::function<void(const wxArrayString&)> onFiles);

  // A later start hands its files (absolute paths) to the first, trying for
  // up to `timeoutMs` while the first may still be starting; true when the
  // first instance took them.
  bool HandOver(const wxArrayString& files, int timeoutMs = 5000) const;

  // The files as one message and back: UTF-8 names, each ended by a NUL.
  static std::string Encode(const wxArrayString& files);
  static wxArrayString Decode(const void* data, size_t size);

 private:
  wxString m_folder;
  std::unique_ptr<wxSingleInstanceChecker> m_checker;
  std::unique_ptr<wxServer> m_server;
};
