// Single instance per user, and the hand-over of file names over a local socket.
#include "app/SingleInstance.h"

#include "platform/UserFolders.h"

#include <wx/app.h>
#include <wx/ipc.h>
#include <wx/utils.h>

#include <string>

namespace {

const char kTopic[] = "open";

class COpenConnection : public wxConnection {
 public:
  explicit COpenConnection(std::function<void(const wxArrayString&)> onFiles) : m_onFiles(std::move(onFiles)) {}

  bool OnExecute(const wxString& topic, const void* data, size_t size, wxIPCFormat) override {
    if (topic != kTopic) return false;
    const wxArrayString files = CSingleInstance::Decode(data, size);
    // Open them from the event loop, not from inside the socket's handler:
    // opening may show message boxes.
    auto onFiles = m_onFiles;
    if (wxTheApp)
      wxTheApp->CallAfter([onFiles, files] { onFiles(files); });
    return true;
  }

 private:
  std::function<void(const wxArrayString&)> m_onFiles;
};

class COpenServer : public wxServer {
 public:
  explicit COpenServer(std::function<void(const wxArrayString&)> onFiles) : m_onFiles(std::move(onFiles)) {}

  wxConnectionBase* OnAcceptConnection(const wxString& topic) override {
    return topic == kTopic ? new COpenConnection(m_onFiles) : nullptr;
  }

 private:
  std::function<void(const wxArrayString&)> m_onFiles;
};

}  // namespace

CSingleInstance::CSingleInstance(const wxString& folder) : m_folder(folder) {}

CSingleInstance::~CSingleInstance() = default;

wxString CSingleInstance::LockPath() const {
  return m_folder + "/quillmark-" + wxString::FromUTF8(platform::UserName().c_str()) + ".lock";
}

wxString CSingleInstance::ServicePath() const {
  return m_folder + "/quillmark-" + wxString::FromUTF8(platform::UserName().c_str()) + ".socket";
}

CSingleInstance::Role CSingleInstance::Start(const wxArrayString& files, int timeoutMs) {
  platform::MakeFolders(m_folder.utf8_string());
  const std::string lock = LockPath().utf8_string(), socket = ServicePath().utf8_string();
  const std::string message = Encode(files);
  for (int waited = 0;; waited += 100) {
    switch (m_lock.TryLock(lock)) {
      case platform::FileLock::Result::Unavailable:
        // No lock can be had (e.g. a read-only folder): run rather than
        // refuse to start at all, but go to a listening instance first.
        return platform::HasListener(socket) && HandOverOnce(message) ? Role::HandedOver : Role::First;
      case platform::FileLock::Result::Taken:
        // A start that ran alone while an earlier holder lived may still be
        // listening: it stays the one instance.
        if (platform::HasListener(socket) && HandOverOnce(message)) {
          m_lock.Release();
          return Role::HandedOver;
        }
        return Role::First;
      case platform::FileLock::Result::HeldElsewhere:
        if (platform::HasListener(socket) && HandOverOnce(message)) return Role::HandedOver;
        break;
    }
    if (waited >= timeoutMs) return Role::Alone;
    wxMilliSleep(100);
  }
}

bool CSingleInstance::StartServer(std::function<void(const wxArrayString&)> onFiles) {
  // wx removes the socket file before it listens: never take it from an
  // instance that listens on it.
  if (platform::HasListener(ServicePath().utf8_string())) return false;
  m_server = std::make_unique<COpenServer>(std::move(onFiles));
  if (!m_server->Create(ServicePath())) {
    m_server.reset();
    return false;
  }
  return true;
}

bool CSingleInstance::HandOverOnce(const std::string& message) const {
  wxClient client;
  std::unique_ptr<wxConnectionBase> connection(client.MakeConnection("localhost", ServicePath(), kTopic));
  if (!connection) return false;
  // An empty message still tells the running instance to come to the front.
  const bool sent = connection->Execute(message.data(), message.size() + 1, wxIPC_PRIVATE);
  connection->Disconnect();
  return sent;
}

std::string CSingleInstance::Encode(const wxArrayString& files) {
  std::string message;
  for (const wxString& file : files) {
    const wxScopedCharBuffer utf8 = file.utf8_str();
    message.append(utf8.data(), utf8.length());
    message += '\0';
  }
  return message;
}

wxArrayString CSingleInstance::Decode(const void* data, size_t size) {
  wxArrayString files;
  const char* bytes = static_cast<const char*>(data);
  size_t start = 0;
  for (size_t i = 0; i < size; ++i) {
    if (bytes[i] != '\0') continue;
    if (i > start) {
      const wxString file = wxString::FromUTF8(bytes + start, i - start);
      if (!file.empty()) files.Add(file);
    }
    start = i + 1;
  }
  return files;
}
