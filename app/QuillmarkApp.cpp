// The application object and the steps of its start-up and shut-down.
#include "app/QuillmarkApp.h"

#include "app/AboutDlg.h"
#include "app/DocManager.h"
#include "app/MainFrame.h"
#include "app/QuillmarkDoc.h"
#include "app/QuillmarkView.h"
#include "app/SingleInstance.h"
#include "app/UiProbe.h"
#include "app/Vorn2EditView.h"
#include "platform/EndSignals.h"
#include "platform/UserFolders.h"
#include "res/AppMessageBox.h"
#include "res/AppResources.h"
#include "res/EditorResources.h"
#include "res/ResourceIds.h"

#include <wx/dnd.h>
#include <wx/evtloop.h>
#include <wx/evtloopsrc.h>
#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Files dropped on the main window open as the kind their extension names.
class CFileDropTarget : public wxFileDropTarget {
 public:
  explicit CFileDropTarget(CQuillmarkShell& shell) : m_shell(shell) {}
  bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override {
    m_shell.OpenFilesFromOutside(files);
    return true;
  }

 private:
  CQuillmarkShell& m_shell;
};

// Reads the pipe of the session-ending signals from the event loop.
class CEndSignalHandler : public wxEventLoopSourceHandler {
 public:
  explicit CEndSignalHandler(CQuillmarkShell& shell) : m_shell(shell) {}
  void OnReadWaiting() override {
    if (const int signal = platform::TakeEndSignal()) m_shell.EndOnSignal(signal);
  }
  void OnWriteWaiting() override {}
  void OnExceptionWaiting() override {}

 private:
  CQuillmarkShell& m_shell;
};

wxString AbsolutePath(const wxString& path) {
  wxFileName name(path);
  name.MakeAbsolute();
  return name.GetFullPath();
}

}  // namespace

CQuillmarkShell::CQuillmarkShell(wxApp& app, const ShellOptions& options) : m_app(app), m_options(options) {}

CQuillmarkShell::~CQuillmarkShell() {
  if (!m_exited) ExitInstance();
}

wxString CQuillmarkShell::ConfigFilePath() {
  return wxString::FromUTF8(platform::UserConfigFile("Quillmark").c_str());
}

std::string CQuillmarkShell::RecoveryFolder() { return platform::UserDataHome() + "/Quillmark/recovery"; }

wxString CQuillmarkShell::InstanceFolder() {
  return wxString::FromUTF8((platform::UserRuntimeDir() + "/Quillmark").c_str());
}

wxString CQuillmarkShell::RestorePrompt(size_t count) {
  return wxString::Format(
      "Quillmark did not close properly last time. %s kept for recovery.\n\nRestore %s?",
      count == 1 ? wxString("One document with unsaved changes was")
                 : wxString::Format("%zu documents with unsaved changes were", count),
      count == 1 ? "it" : "them");
}

bool CQuillmarkShell::IsRegistered(wxDocTemplate* temp) const {
  if (!m_pDocManager || !temp) return false;
  for (wxDocTemplate* t : m_pDocManager->GetTemplatesVector())
    if (t == temp) return true;
  return false;
}

CQuillmarkShell::Start CQuillmarkShell::InitInstance(const wxArrayString& args) {
  // Common controls, OLE, control containment and the taskbar need nothing
  // under wx; the base initialisation is the image handlers the icons use.
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxInitAllImageHandlers();

  // The settings, under the application's name, in the user's config folder.
  m_app.SetVendorName(AppNameString());
  m_app.SetAppName(AppNameString());

  wxArrayString files;
  for (const wxString& arg : args) files.Add(AbsolutePath(arg));

  // One instance per user: a later start hands its files to the first.
  if (m_options.singleInstance) {
    m_singleInstance = std::make_unique<CSingleInstance>(InstanceFolder());
    switch (m_singleInstance->Start(files, m_options.handOverTimeoutMs)) {
      case CSingleInstance::Role::HandedOver:
        return Start::HandedOver;
      case CSingleInstance::Role::Alone:
        // The running instance does not answer: start on our own rather than
        // lose the files.
        std::fprintf(stderr, "quillmark: the running instance did not answer; starting another\n");
        m_runsAlone = true;
        break;
      case CSingleInstance::Role::First:
        break;
    }
  }

  const wxString configFile = ConfigFilePath();
  platform::MakeFolders(wxFileName(configFile).GetPath().utf8_string());
  m_config = new wxFileConfig(AppNameString(), AppNameString(), configFile, wxString(), wxCONFIG_USE_LOCAL_FILE);
  delete wxConfigBase::Set(m_config);

  // The document manager with the recent-file list of ten.
  m_pDocManager = new CQuillmarkDocManager();
  m_pDocManager->LoadRecentFiles(*m_config);

  // The start-up mode: read, never written.
  wxString mode;
  m_config->Read("/Settings/sInitialMode", &mode, "Vorn1");
  m_strInitialMode = mode.ToStdWstring();

  // Both templates; wx registers a template as it is made, so both are taken
  // back out and the start-up one registered alone.
  m_pTemplateA = new CQuillmarkDocTemplate(m_pDocManager, ids::IDR_QuillmarkTYPE, CLASSINFO(CQuillmarkDoc),
                                           CLASSINFO(CQuillmarkView));
  m_pTemplateB = new CQuillmarkDocTemplate(m_pDocManager, ids::IDR_Vorn2EditTYPE, CLASSINFO(CVorn2EditDoc),
                                           CLASSINFO(CVorn2EditView));
  m_pDocManager->DisassociateTemplate(m_pTemplateA);
  m_pDocManager->DisassociateTemplate(m_pTemplateB);
  // Exact comparison: case-sensitive, no trimming.
  const bool firstGeneration = m_strInitialMode == L"Vorn1";
  CQuillmarkDocTemplate* startup = firstGeneration ? m_pTemplateA : m_pTemplateB;
  CQuillmarkDocTemplate* other = firstGeneration ? m_pTemplateB : m_pTemplateA;
  m_pDocManager->AssociateTemplate(startup);
  m_pUnregistered = other;

  // Recovery: whether the last run ended without its clean exit. The
  // instance that holds the lock keeps its documents in the recovery folder
  // and offers what ended runs left there; a run beside a living instance
  // keeps its own apart and offers nothing, for nothing there is its.
  std::vector<RecoveryRecord> recovered;
  if (m_options.recovery) {
    if (m_runsAlone) {
      for (int choice = 0; choice < 10 && !m_recovery; ++choice) {
        auto store = std::make_unique<CRecoveryStore>(CRecoveryStore::SideFolder(RecoveryFolder(), choice));
        if (store->Claim() && !store->HasRunningMarker() && store->RecordFiles().empty()) m_recovery = std::move(store);
      }
    } else {
      m_recovery = std::make_unique<CRecoveryStore>(RecoveryFolder());
      if (m_recovery->HasRunningMarker()) recovered = m_recovery->Load();
      m_offeredFolders = CRecoveryStore::EndedSideFolders(RecoveryFolder());
      for (const std::string& folder : m_offeredFolders) {
        const std::vector<RecoveryRecord> side = CRecoveryStore(folder).Load();
        recovered.insert(recovered.end(), side.begin(), side.end());
      }
    }
  }

  // The main frame, hidden until the command line has been processed.
  m_pMainFrame = new CMainFrame(m_pDocManager, nullptr, wxID_ANY, AppNameString());
  if (!m_pMainFrame->IsCreated()) {
    m_pMainFrame->Destroy();
    m_pMainFrame = nullptr;
    return Start::Failed;
  }
  m_pMainFrame->SetIcons(AppIcons());
  m_app.SetTopWindow(m_pMainFrame);
  m_pMainFrame->SetDropTarget(new CFileDropTarget(*this));
  m_app.Bind(wxEVT_MENU, &CQuillmarkShell::OnAppAbout, this, ids::ID_APP_ABOUT);
  m_app.Bind(wxEVT_MENU, &CQuillmarkShell::OnAppAbout, this, MenuItemIdOfCommand(ids::ID_APP_ABOUT));

  // The desktop learns the start-up kind's extension, at every start.
  if (m_options.registerWithDesktop) {
    const DocTemplateStrings& s = startup->m_strings;
    m_registration = platform::RegisterShellFileType(
        platform::UserDataHome(), "quillmark", AppNameString().utf8_string(),
        wxStandardPaths::Get().GetExecutablePath().utf8_string(),
        {s.regFileTypeId.utf8_string(), s.regFileTypeName.utf8_string(), s.filterExt.utf8_string()}, AppIconSvg());
    if (!m_registration.ok) std::fprintf(stderr, "quillmark: %s", m_registration.error.c_str());
  }

  // The command line: no file makes a new document of the start-up kind, a
  // file opens as the start-up kind whatever its extension.
  if (files.empty()) {
    if (!m_pDocManager->CreateNewDocument()) return Start::Failed;
  } else {
    for (const wxString& file : files)
      if (!m_pDocManager->CreateDocument(file, wxDOC_SILENT)) return Start::Failed;
  }

  // Shell open: later starts hand their files over. Only now, so that no
  // start hands its files to a run whose command line failed and that ends.
  if (m_singleInstance) {
    if (!m_singleInstance->StartServer([this](const wxArrayString& handed) { OpenFilesFromOutside(handed); }))
      std::fprintf(stderr, "quillmark: cannot listen for files from later starts\n");
  }

  m_pMainFrame->Show();
  m_pMainFrame->Update();
  if (wxGetEnv("QUILLMARK_FIRST_PAINT", nullptr)) ReportFirstPaint();

  // From now on File New offers both kinds and File Open goes by extension.
  m_pDocManager->AssociateTemplate(other);
  m_pUnregistered = nullptr;

  if (!recovered.empty()) {
    if (AppMessageBox(RestorePrompt(recovered.size()), wxYES_NO | wxICON_QUESTION, m_pMainFrame) == wxYES)
      RestoreDocuments(*m_pDocManager, recovered);  // their records are replaced below
    else
      m_recovery->RemoveRecords();
  }
  if (m_recovery) {
    // Only from here on does this run own the recovery folder: a start that
    // failed before leaves an earlier run's documents for the next start.
    if (!m_recovery->WriteRunningMarker())
      std::fprintf(stderr, "quillmark: cannot write to %s; unsaved changes are not kept for recovery\n",
                   m_recovery->Folder().c_str());
    m_autosave = std::make_unique<CAutosave>(*m_pDocManager, *m_recovery, m_options.autosaveIntervalMs);
    // What was restored is kept again at once, not only after an interval;
    // the folders of ended runs go once it is kept here (or refused).
    if (!recovered.empty() && !m_autosave->SaveNow()) m_offeredFolders.clear();
    for (const std::string& folder : m_offeredFolders) CRecoveryStore(folder).RemoveFolder();
    m_offeredFolders.clear();
    m_autosave->Start();
  }
  if (m_options.catchEndSignals) CatchEndSignals();
  return Start::Running;
}

int CQuillmarkShell::ExitInstance() {
  if (m_exited) return 0;
  m_exited = true;
  m_app.Unbind(wxEVT_MENU, &CQuillmarkShell::OnAppAbout, this, ids::ID_APP_ABOUT);
  m_app.Unbind(wxEVT_MENU, &CQuillmarkShell::OnAppAbout, this, MenuItemIdOfCommand(ids::ID_APP_ABOUT));
  delete m_signalSource;
  m_signalSource = nullptr;
  const bool ownsRecovery = m_autosave != nullptr;
  m_autosave.reset();
  if (m_pDocManager && m_config) m_pDocManager->SaveRecentFiles(*m_config);
  // A template never registered (start-up failed first) is not the
  // manager's to delete; the registered ones are (it may have deleted them
  // already, when the main window closed).
  if (m_pUnregistered && !IsRegistered(m_pUnregistered)) delete m_pUnregistered;
  m_pUnregistered = nullptr;
  m_pTemplateA = m_pTemplateB = nullptr;
  delete m_pDocManager;
  m_pDocManager = nullptr;
  if (m_app.GetTopWindow() == m_pMainFrame) m_app.SetTopWindow(nullptr);
  m_pMainFrame = nullptr;
  if (m_config) {
    // The settings reach the disk here.
    if (wxConfigBase::Get(false) == m_config) wxConfigBase::Set(nullptr);
    delete m_config;
    m_config = nullptr;
  }
  // Everything that could be lost is closed now: no recovery file stays,
  // unless a signal ended the session with unsaved work.
  if (ownsRecovery) FinishRecovery();
  m_singleInstance.reset();
  return 0;
}

void CQuillmarkShell::OnAppAbout(wxCommandEvent&) {
  CAboutDlg dlg(nullptr);
  dlg.ShowModal();
}

void CQuillmarkShell::OpenFilesFromOutside(const wxArrayString& files) {
  if (!m_pDocManager) return;
  m_pDocManager->OpenFiles(files);
  if (m_pMainFrame) {
    m_pMainFrame->Show();
    m_pMainFrame->Iconize(false);
    m_pMainFrame->Raise();
  }
}

void CQuillmarkShell::DiscardAndClose() {
  if (m_pDocManager) {
    for (wxDocument* doc : m_pDocManager->GetDocumentsVector()) doc->Modify(false);
    m_pDocManager->CloseDocuments(true);
  }
  if (m_pMainFrame) {
    m_pMainFrame->Destroy();
  }
}

void CQuillmarkShell::CatchEndSignals() {
  const int fd = platform::WatchEndSignals();
  if (fd < 0) return;
  m_signalHandler = std::make_unique<CEndSignalHandler>(*this);
  m_signalSource = wxEventLoopBase::AddSourceForFD(fd, m_signalHandler.get(), wxEVENT_SOURCE_INPUT);
}

void CQuillmarkShell::EndOnSignal(int signal) {
  // A second signal while the first is handled changes nothing: the
  // records are written once, each through a file of its own.
  if (m_endSignal || m_exited) return;
  m_endSignal = signal;
  // The store then holds exactly the modified documents; unmodified ones
  // need nothing. With none modified the end is a clean one.
  if (m_autosave) {
    m_autosave->Stop();
    m_keepRecovery = m_autosave->SaveNow() ? !m_recovery->RecordFiles().empty() : true;
  }
  std::fprintf(stderr, "quillmark: ended by signal %d%s\n", signal,
               m_keepRecovery ? "; unsaved changes are kept for recovery" : "");
  wxEventLoopBase* loop = wxEventLoopBase::GetActive();
  if (loop && loop->IsMain() && !loop->IsYielding()) {
    // Nothing modal is open: close every window without asking (what was
    // modified is kept) and let the event loop end as at the main window's
    // close; the settings are written on the way out.
    DiscardAndClose();
    return;
  }
  // A dialog (or a tool's wait) runs its own loop on the stack: leave it
  // untouched and end here, with the settings written.
  if (m_pDocManager && m_config) m_pDocManager->SaveRecentFiles(*m_config);
  if (m_config) m_config->Flush();
  FinishRecovery();
  std::fflush(nullptr);
  std::_Exit(128 + signal);
}

void CQuillmarkShell::FinishRecovery() {
  if (!m_recovery || m_keepRecovery) return;
  if (m_runsAlone)
    m_recovery->RemoveFolder();
  else
    m_recovery->MarkCleanExit();
}

void CQuillmarkShell::ReportFirstPaint() {
  // Prints one line when the main window (or anything in it) has finished
  // its first paint; the start-up time script waits for it.
  auto reported = std::make_shared<bool>(false);
  std::function<void(wxWindow*)> watch = [&](wxWindow* window) {
    window->Bind(wxEVT_PAINT, [reported](wxPaintEvent& event) {
      event.Skip();
      if (*reported) return;
      *reported = true;
      wxTheApp->CallAfter([] {
        std::printf("quillmark: first paint\n");
        std::fflush(stdout);
      });
    });
    for (wxWindow* child : window->GetChildren()) watch(child);
  };
  watch(m_pMainFrame);
}

CQuillmarkApp::CQuillmarkApp() : m_bHiColorIcons(1) {}

CQuillmarkApp::~CQuillmarkApp() = default;

// While it opens the display, GTK looks for the OpenGL visuals it would
// draw with, which loads the OpenGL driver: most of the toolkit's start-up.
// Nothing in Quillmark draws with OpenGL, and without that set-up GTK keeps
// the display's default visual. GDK_GL=disable leaves it out unless the user
// set GDK_GL; the variable goes again once GTK has read it, so that the
// programs Quillmark runs do not inherit it.
bool CQuillmarkApp::Initialize(int& argc, wxChar** argv) {
  const bool setHere = !wxGetEnv("GDK_GL", nullptr) && wxSetEnv("GDK_GL", "disable");
  const bool initialized = wxApp::Initialize(argc, argv);
  if (setHere) wxUnsetEnv("GDK_GL");
  return initialized;
}

bool CQuillmarkApp::OnInit() {
  // wx's own command-line parsing is left out: every argument is a file.
  ShellOptions options;
  options.catchEndSignals = true;
  // A test seam only: the autosave interval of a test run.
  wxString interval;
  if (wxGetEnv("QUILLMARK_TEST_AUTOSAVE_MS", &interval)) {
    long ms = 0;
    if (interval.ToLong(&ms) && ms > 0) options.autosaveIntervalMs = static_cast<int>(ms);
  }
  m_shell = std::make_unique<CQuillmarkShell>(*this, options);
  StartUiProbeFromEnvironment();  // a test hook: nothing unless QUILLMARK_PROBE is set
  wxArrayString files;
  for (int i = 1; i < argc; ++i) files.Add(argv[i]);
  switch (m_shell->InitInstance(files)) {
    case CQuillmarkShell::Start::Running:
      return true;
    case CQuillmarkShell::Start::HandedOver:
      m_handedOver = true;
      return true;
    case CQuillmarkShell::Start::Failed:
      break;
  }
  // The start ends here. The windows go first and at once, while the
  // document manager that their last events reach still exists; the files
  // the command line opened are closed unchanged.
  m_shell->DiscardAndClose();
  if (wxWindow* top = GetTopWindow()) top->Destroy();
  DeletePendingObjects();
  m_shell->ExitInstance();
  StopUiProbe();
  return false;
}

int CQuillmarkApp::OnRun() {
  if (m_handedOver) return 0;
  const int code = wxApp::OnRun();
  // Ended by a signal: the status a shell gives a process that signal ended.
  return m_shell && m_shell->EndSignal() ? 128 + m_shell->EndSignal() : code;
}

int CQuillmarkApp::OnExit() {
  StopUiProbe();
  if (m_shell) m_shell->ExitInstance();
  return wxApp::OnExit();
}

CQuillmarkApp* GetQuillmarkApp() { return dynamic_cast<CQuillmarkApp*>(wxApp::GetInstance()); }
