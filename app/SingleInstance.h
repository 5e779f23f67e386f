// One running Quillmark per user: a lock in the user's run-time folder tells
// a later start that one is running, and a local socket carries the later
// start's file names to it. The instance that later starts hand over to is
// the one that listens on the socket.
#pragma once

#include "platform/InstanceLock.h"

#include <wx/arrstr.h>
#include <wx/ipc.h>
#include <wx/string.h>

#include <functional>
#include <memory>

class CSingleInstance {
 public:
  // `folder` is a per-user folder (it is created when missing); the lock and
  // the socket are named after the user there.
  explicit CSingleInstance(const wxString& folder);
  ~CSingleInstance();

  wxString LockPath() const;
  wxString ServicePath() const;

  enum class Role {
    First,       // this start holds the lock (or no lock can be had at all)
    HandedOver,  // the running instance took the files; end now
    Alone,       // the lock's holder lives but did not take the files
  };
  // Takes the lock, or hands the files (absolute paths) to the running
  // instance. A holder that has ended, also one killed and not yet reaped,
  // has let go of the lock, which is then taken at once; a holder that lives
  // may still be starting, so the hand-over is tried for up to `timeoutMs`.
  Role Start(const wxArrayString& files, int timeoutMs = 5000);
  bool HoldsLock() const { return m_lock.IsHeld(); }

  // Listens for later starts' file names unless another instance already
  // does; `onFiles` runs on the user-interface thread, after the message
  // that brought them. A start that runs alone listens as well, so that
  // later starts come to it.
  bool StartServer(std::function<void(const wxArrayString&)> onFiles);

  // One attempt to hand the files to whoever listens on the socket.
  bool HandOverOnce(const std::string& message) const;

  // The files as one message and back: UTF-8 names, each ended by a NUL.
  static std::string Encode(const wxArrayString& files);
  static wxArrayString Decode(const void* data, size_t size);

 private:
  wxString m_folder;
  platform::FileLock m_lock;
  std::unique_ptr<wxServer> m_server;
};
