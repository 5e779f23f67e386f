// The application object and its start-up: CQuillmarkApp is the wxApp; the
// steps of its start-up and shut-down live in CQuillmarkShell, which the
// application runs and which tests run inside their own wx application.
#pragma once

#include "app/Recovery.h"
#include "platform/ShellRegistration.h"

#include <wx/app.h>
#include <wx/arrstr.h>
#include <wx/event.h>

#include <memory>
#include <string>
#include <vector>

class CMainFrame;
class CQuillmarkDocManager;
class CQuillmarkDocTemplate;
class CSingleInstance;
class wxConfigBase;
class wxDocTemplate;
class wxEventLoopSource;
class wxEventLoopSourceHandler;

struct ShellOptions {
  // Take the per-user lock, hand files to a running instance, listen for
  // later starts' files.
  bool singleInstance = true;
  // How long a later start tries to reach a running instance that lives.
  int handOverTimeoutMs = 5000;
  // Write the desktop entry, MIME type and icon under the XDG data folder.
  bool registerWithDesktop = true;
  // Offer the documents of an abnormal end back, and keep the recovery marker.
  bool recovery = true;
  int autosaveIntervalMs = CAutosave::kDefaultIntervalMs;
  // End on SIGTERM and SIGHUP only after keeping the unsaved work (the
  // handlers are the process's: the program sets this, tests do not).
  bool catchEndSignals = false;
};

class CQuillmarkShell : public wxEvtHandler {
 public:
  enum class Start {
    Running,     // the main window is up; run the event loop
    HandedOver,  // another instance took the files; end now
    Failed,      // start-up failed; end now
  };

  CQuillmarkShell(wxApp& app, const ShellOptions& options = ShellOptions());
  ~CQuillmarkShell() override;

  // The start-up steps in order; `files` are the command line's arguments
  // after the program's name.
  Start InitInstance(const wxArrayString& files);
  // The shut-down steps; returns the process exit code.
  int ExitInstance();

  // About (57664): the About box, modal, without a parent.
  void OnAppAbout(wxCommandEvent& event);

  // Files dropped on the main window or handed over by a later start: each
  // opens as the kind its extension names; the main window comes forward.
  void OpenFilesFromOutside(const wxArrayString& files);

  // Closes every document without asking and destroys the main window, as
  // the end of a session that discards its changes (used by tests).
  void DiscardAndClose();

  // The end of the session by a signal (a log-out, `kill -TERM`): keeps the
  // modified documents for recovery, as the autosave does, and ends the
  // program; the next start offers them back.
  void EndOnSignal(int signal);
  // The signal that ended the session, or 0.
  int EndSignal() const { return m_endSignal; }

  // The start-up mode read from "Settings"/"sInitialMode".
  std::wstring m_strInitialMode;
  CQuillmarkDocManager* m_pDocManager = nullptr;
  CQuillmarkDocTemplate* m_pTemplateA = nullptr;  // first generation (130)
  CQuillmarkDocTemplate* m_pTemplateB = nullptr;  // second generation (311)
  CMainFrame* m_pMainFrame = nullptr;
  platform::ShellRegistrationResult m_registration;
  std::unique_ptr<CRecoveryStore> m_recovery;
  std::unique_ptr<CAutosave> m_autosave;
  std::unique_ptr<CSingleInstance> m_singleInstance;

  // Where the settings, recovery files and the instance lock are kept.
  static wxString ConfigFilePath();
  static std::string RecoveryFolder();
  static wxString InstanceFolder();

  // The message that offers recovered documents back.
  static wxString RestorePrompt(size_t count);

 private:
  bool IsRegistered(wxDocTemplate* temp) const;
  void ReportFirstPaint();
  void CatchEndSignals();
  // The end of a run that owns its recovery store: the store goes, unless
  // it keeps what a signal's end left unsaved.
  void FinishRecovery();

  wxApp& m_app;
  ShellOptions m_options;
  wxConfigBase* m_config = nullptr;
  CQuillmarkDocTemplate* m_pUnregistered = nullptr;  // ours until it is registered
  bool m_exited = false;
  // This start runs beside a living instance that did not take its files.
  bool m_runsAlone = false;
  // Folders of ended runs whose documents were offered at this start.
  std::vector<std::string> m_offeredFolders;
  int m_endSignal = 0;
  // The recovery files were kept at the end: the next start offers them.
  bool m_keepRecovery = false;
  std::unique_ptr<wxEventLoopSourceHandler> m_signalHandler;
  wxEventLoopSource* m_signalSource = nullptr;
};

class CQuillmarkApp : public wxApp {
 public:
  CQuillmarkApp();
  ~CQuillmarkApp() override;

  // The current application look (205-219); set by the main frame.
  unsigned int m_nAppLook = 0;
  // 1: toolbars, panes and pane icons use their high-colour images.
  int m_bHiColorIcons = 0;

  // Starts the toolkit without its OpenGL set-up (see the definition).
  bool Initialize(int& argc, wxChar** argv) override;
  bool OnInit() override;
  int OnRun() override;
  int OnExit() override;

  CQuillmarkShell* Shell() { return m_shell.get(); }

 private:
  std::unique_ptr<CQuillmarkShell> m_shell;
  bool m_handedOver = false;
};

// The running CQuillmarkApp, or nullptr where another wx application runs
// (the test programs).
CQuillmarkApp* GetQuillmarkApp();
