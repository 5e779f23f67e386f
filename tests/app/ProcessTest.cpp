// The program as a process: a start whose command line fails ends cleanly, an
// instance killed without being reaped is taken over by the next start, a
// start that runs alone is the one later starts come to, recovery files stay
// with the run they belong to, the session-ending signals keep the unsaved
// edits, and the programs Quillmark starts inherit none of its descriptors.
#include <gtest/gtest.h>

#include <wx/fileconf.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>

#include "app/DocManager.h"
#include "app/Recovery.h"
#include "app/SingleInstance.h"
#include "platform/InstanceLock.h"
#include "platform/UserFolders.h"
#include "res/ResourceIds.h"
#include "support/AppFixture.h"

using namespace apptest;

namespace {

using Clock = std::chrono::steady_clock;

long MsSince(Clock::time_point start) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// Answers what the program shows with Return until it ends; true when it ended.
bool AnswerUntilExit(Child& program, int ms) {
  const auto start = Clock::now();
  while (!program.Exited()) {
    if (MsSince(start) > ms) return false;
    PressKeyIn(program.Pid(), WXK_RETURN, 1000);
    program.WaitExit(1000);
  }
  return true;
}

// The state letter of process `pid` in /proc ('Z' for a zombie), or 0.
char ProcessState(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(in, line);
  const std::size_t close = line.rfind(')');
  return close != std::string::npos && close + 2 < line.size() ? line[close + 2] : 0;
}

// The descriptors listed by `ls -l /proc/self/fd` but for ls's own listing
// handle: "<fd> -> <target>" each.
std::vector<std::string> ListedDescriptors(const std::string& listing) {
  std::vector<std::string> fds;
  std::istringstream in(listing);
  std::string line;
  const std::regex entry(R"((\d+) -> (.*)$)"), own(R"(/proc/\d+/fd)");
  std::smatch m;
  while (std::getline(in, line))
    if (std::regex_search(line, m, entry) && !std::regex_match(m[2].str(), own))
      fds.push_back(m[1].str() + " -> " + m[2].str());
  return fds;
}

class ProcessTest : public ApplicationTest {
 protected:
  std::string SocketPath() const { return CSingleInstance(CQuillmarkShell::InstanceFolder()).ServicePath().utf8_string(); }
  std::string LockPath() const { return CSingleInstance(CQuillmarkShell::InstanceFolder()).LockPath().utf8_string(); }
};

// A command line whose file cannot be opened ends the start after the
// message, with a failure status and no signal: a missing file, a folder, and
// a missing file between two good ones (the start ends at the first failure,
// the others stay as they were). An earlier run's recovery files stay.
TEST_F(ProcessTest, FailedCommandLineOpenEndsTheProgramCleanly) {
  CRecoveryStore store(CQuillmarkShell::RecoveryFolder());
  ASSERT_TRUE(store.WriteRunningMarker());
  ASSERT_TRUE(store.Replace({{"", "Quillmark", "unsaved"}}));
  const std::string good1 = MakeSource("good1.vorn", "CON\n"), good2 = MakeSource("good2.vorn", "PUB x\n");
  ::mkdir((root_ + "/folder.vorn").c_str(), 0700);
  const std::vector<std::vector<std::string>> lines = {
      {root_ + "/missing.vorn"}, {root_ + "/folder.vorn"}, {good1, root_ + "/missing.vorn", good2}};
  for (const auto& args : lines) {
    SCOPED_TRACE(args.size() == 1 ? args[0] : "good1 missing good2");
    Child program(args, {});
    ASSERT_TRUE(AnswerUntilExit(program, 30000));
    EXPECT_EQ(program.Signal(), 0);
    EXPECT_NE(program.ExitCode(), 0);
  }
  EXPECT_EQ(ReadFile(good1), "CON\n");
  EXPECT_EQ(ReadFile(good2), "PUB x\n");
  EXPECT_TRUE(store.HasRunningMarker());
  ASSERT_EQ(store.Load().size(), 1u);
  EXPECT_EQ(store.Load()[0].text, "unsaved");
}

// SIGTERM after real typing: the edit made since the last autosave is kept,
// a second signal while it is kept changes nothing, the program ends with
// status 128 + 15, and the next start offers the text back. SIGHUP with
// nothing modified, while a dialog is open, is a clean end: nothing is kept,
// nothing is offered.
TEST_F(ProcessTest, EndSignalKeepsTheEditsForTheNextStart) {
  const std::string original = "CON\n  x = 1\n\nPUB main\n";
  const std::string path = MakeSource("ended.vorn", original);
  CRecoveryStore store(CQuillmarkShell::RecoveryFolder());
  {
    // The autosave confirms that typing reaches the editor; what is typed
    // after it, before its next round, only the signal can keep.
    Child program({path}, {"QUILLMARK_FIRST_PAINT=1", "QUILLMARK_TEST_AUTOSAVE_MS=4000"});
    ASSERT_TRUE(program.FirstPaint(60000)) << program.Output();
    ASSERT_TRUE(TypeUntilAutosaved(program.Pid(), store, "zq", 6, 6000)) << "typing did not reach the program";
    wxUIActionSimulator sim;
    sim.Text("wv");
    Pump();
    wxMilliSleep(200);
    ::kill(program.Pid(), SIGTERM);
    ::kill(program.Pid(), SIGTERM);
    ASSERT_TRUE(program.WaitExit(10000));
    EXPECT_EQ(program.Signal(), 0);
    EXPECT_EQ(program.ExitCode(), 128 + SIGTERM);
  }
  ASSERT_TRUE(store.HasRunningMarker());
  ASSERT_EQ(store.Load().size(), 1u);
  const std::string text = store.Load()[0].text;
  EXPECT_NE(text.find("wv"), std::string::npos) << text;
  EXPECT_EQ(ReadFile(path), original);
  CQuillmarkShell::Start result;
  wxTEST_DIALOG(result = Start(), wxExpectModal<wxMessageDialog>(wxYES).Describe("restore prompt"));
  ASSERT_EQ(result, CQuillmarkShell::Start::Running);
  ASSERT_NE(DocumentOf(path), nullptr);
  EXPECT_TRUE(DocumentOf(path)->IsModified());
  EXPECT_EQ(EditorOf(DocumentOf(path))->GetText(), text);
  Stop();

  // The signal may come while a dialog runs (here File Open's): the end
  // does not wait for it.
  Child quiet({path}, {"QUILLMARK_FIRST_PAINT=1"});
  ASSERT_TRUE(quiet.FirstPaint(60000)) << quiet.Output();
  Display* display = X11(XOpenDisplay)(nullptr);
  ASSERT_NE(display, nullptr);
  std::unique_ptr<Display, int (*)(Display*)> closer(display, X11(XCloseDisplay));
  bool open = false;
  for (int attempt = 0; attempt < 5 && !open; ++attempt) {
    ASSERT_TRUE(PressKeyIn(quiet.Pid(), 'O', 10000, wxMOD_CONTROL));
    open = PumpUntil([&] { return DialogOf(display, DefaultRootWindow(display), quiet.Pid()) != 0; }, 3000);
  }
  ASSERT_TRUE(open) << "File Open did not show its dialog";
  ::kill(quiet.Pid(), SIGHUP);
  ASSERT_TRUE(quiet.WaitExit(10000));
  EXPECT_EQ(quiet.Signal(), 0);
  EXPECT_EQ(quiet.ExitCode(), 128 + SIGHUP);
  EXPECT_FALSE(store.HasRunningMarker());
  EXPECT_TRUE(store.RecordFiles().empty());
}

// A is killed while its parent does not reap it. B takes the lock at once
// (no wait for an answer), offers A's documents and keeps them as its own;
// C hands its file to B and ends, offering nothing and deleting nothing.
TEST_F(ProcessTest, KilledUnreapedInstanceIsTakenOverAtOnce) {
  CRecoveryStore store(CQuillmarkShell::RecoveryFolder());
  const std::string handed = MakeSource("handed.vorn2", "VAR\n");
  // A's parent: starts A, tells its pid, and never waits for it.
  int pidPipe[2];
  ASSERT_EQ(::pipe(pidPipe), 0);
  char self[4096] = {};
  ASSERT_GT(::readlink("/proc/self/exe", self, sizeof(self) - 1), 0);
  std::string exe = self;
  exe = exe.substr(0, exe.rfind('/'));
  exe = exe.substr(0, exe.rfind('/')) + "/app/quillmark";
  const pid_t parent = ::fork();
  if (parent == 0) {
    const pid_t a = ::fork();
    if (a == 0) {
      const int nul = ::open("/dev/null", O_WRONLY);
      ::dup2(nul, 1);
      ::close_range(3, ~0U, 0);
      ::execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    (void)!::write(pidPipe[1], &a, sizeof a);
    for (;;) ::pause();
  }
  ::close(pidPipe[1]);
  pid_t a = -1;
  ASSERT_EQ(::read(pidPipe[0], &a, sizeof a), static_cast<ssize_t>(sizeof a));
  ::close(pidPipe[0]);
  struct Reaper {
    pid_t pid;
    ~Reaper() {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
  } reaper{parent};
  ASSERT_TRUE(PumpUntil([&] { return platform::HasListener(SocketPath()) && store.HasRunningMarker(); }, 60000));
  // What A's autosave would have kept.
  ASSERT_TRUE(store.Replace({{"", "Quillmark", "CON\n  kept = 1\n"}}));
  ::kill(a, SIGKILL);
  ASSERT_TRUE(PumpUntil([&] { return ProcessState(a) == 'Z'; }, 5000));

  const auto started = Clock::now();
  Child b({}, {"QUILLMARK_FIRST_PAINT=1"});
  ASSERT_TRUE(b.FirstPaint(60000)) << b.Output();
  EXPECT_LT(MsSince(started), 4500) << "B waited for the dead instance";
  // B offers A's document; Return takes the default answer, Yes.
  ASSERT_TRUE(PressKeyIn(b.Pid(), WXK_RETURN));
  ASSERT_TRUE(PumpUntil([&] { return platform::HasListener(SocketPath()); }, 10000));
  ASSERT_EQ(ProcessState(a), 'Z');

  Child c({handed}, {});
  ASSERT_TRUE(c.WaitExit(15000)) << "C did not hand its file over";
  EXPECT_EQ(c.ExitCode(), 0);
  EXPECT_EQ(c.Signal(), 0);
  ASSERT_EQ(store.Load().size(), 1u);
  EXPECT_EQ(store.Load()[0].text, "CON\n  kept = 1\n");
  // B opened C's file: its recent files, written as it ends, say so.
  EXPECT_FALSE(b.Exited());
  ::kill(b.Pid(), SIGTERM);
  ASSERT_TRUE(b.WaitExit(10000));
  EXPECT_EQ(Config().Read("/Recent File List/File1", ""), wxString::FromUTF8(handed));
  EXPECT_EQ(store.Load().size(), 1u);  // the restored document, kept at B's end
}

// A holder of the lock that lives but does not answer: the start runs alone,
// keeps its documents apart and offers none of the holder's, and is the one a
// later start hands over to. When it ends cleanly its folder goes; a folder
// left by such a run that has ended is offered to the next holder.
TEST_F(ProcessTest, StartThatRunsAloneIsTheOneLaterStartsComeTo) {
  CRecoveryStore store(CQuillmarkShell::RecoveryFolder());
  ASSERT_TRUE(store.WriteRunningMarker());
  ASSERT_TRUE(store.Replace({{"", "Quillmark", "the holder's"}}));
  // An ended run of the same process number left a folder: not this run's.
  CRecoveryStore earlier(CRecoveryStore::SideFolder(CQuillmarkShell::RecoveryFolder()));
  ASSERT_TRUE(earlier.WriteRunningMarker());
  ASSERT_TRUE(earlier.Replace({{"", "Quillmark", "earlier run"}}));
  platform::MakeFolders(CQuillmarkShell::InstanceFolder().utf8_string());
  auto holder = std::make_unique<platform::FileLock>();
  ASSERT_EQ(holder->TryLock(LockPath()), platform::FileLock::Result::Taken);
  ShellOptions options = InProcess();
  options.singleInstance = true;
  options.handOverTimeoutMs = 300;
  shelltest::MessageBoxes boxes;
  ASSERT_EQ(Start(wxArrayString(), options), CQuillmarkShell::Start::Running);
  EXPECT_TRUE(boxes.texts.empty());  // nothing offered: the holder lives
  EXPECT_TRUE(platform::HasListener(SocketPath()));
  const std::string handed = MakeSource("to-alone.vorn", "OBJ\n");
  Child later({handed}, {});
  ASSERT_TRUE(PumpUntil([&] { return later.Exited(); }, 15000));
  EXPECT_EQ(later.ExitCode(), 0);
  ASSERT_TRUE(PumpUntil([&] { return DocumentOf(handed) != nullptr; }, 5000));
  // Its edits go to a folder of its own.
  EditorOf(DocumentOf(handed))->InsertText(L"DAT\n");
  ASSERT_TRUE(shell_->m_autosave && shell_->m_autosave->SaveNow());
  const std::string side = CRecoveryStore::SideFolder(CQuillmarkShell::RecoveryFolder(), 1);
  EXPECT_EQ(CRecoveryStore(side).Load().size(), 1u);
  EXPECT_EQ(CRecoveryStore::EndedSideFolders(CQuillmarkShell::RecoveryFolder()),
            std::vector<std::string>{earlier.Folder()});  // its own lives
  ASSERT_EQ(earlier.Load().size(), 1u);
  EXPECT_EQ(earlier.Load()[0].text, "earlier run");
  ASSERT_EQ(store.Load().size(), 1u);
  EXPECT_EQ(store.Load()[0].text, "the holder's");
  Stop();
  EXPECT_FALSE(wxDirExists(side));
  EXPECT_EQ(store.Load().size(), 1u);

  // Runs beside the holder that ended abnormally left their folders; once
  // the holder has ended, the next start offers them all with the holder's,
  // and "No" removes them all.
  CRecoveryStore left(CQuillmarkShell::RecoveryFolder() + "/beside-1");
  ASSERT_TRUE(left.WriteRunningMarker());
  ASSERT_TRUE(left.Replace({{"", "Quillmark", "left beside"}}));
  holder.reset();
  options.handOverTimeoutMs = 5000;
  boxes.answers.push_back(wxID_NO);
  ASSERT_EQ(Start(wxArrayString(), options), CQuillmarkShell::Start::Running);
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(boxes.texts[0], CQuillmarkShell::RestorePrompt(3));
  EXPECT_TRUE(store.RecordFiles().empty());
  EXPECT_FALSE(wxDirExists(CQuillmarkShell::RecoveryFolder() + "/beside-1"));
  EXPECT_FALSE(wxDirExists(earlier.Folder()));
}

// A tool run by a chip command lists its descriptors while the program holds
// its lock, its socket and its recovery folder: only the standard three are
// open. The real program's desktop cache refresher sees the same.
TEST_F(ProcessTest, StartedProgramsInheritNoDescriptors) {
  ShellOptions options = InProcess();
  options.singleInstance = true;
  WriteSetting("/Settings/sInitialMode", "Vorn2");
  const std::string doc = MakeSource("tool.vorn2", "CON\n");
  WriteFile(root_ + "/t2asm.exe", "#!/bin/sh\nls -l /proc/self/fd > fds.txt\n");
  ::chmod((root_ + "/t2asm.exe").c_str(), 0755);
  ASSERT_EQ(Start(Files({doc}), options), CQuillmarkShell::Start::Running);
  ASSERT_TRUE(platform::HasListener(SocketPath()));
  wxCommandEvent compile(wxEVT_MENU, ids::ID_TarnCompile);
  ASSERT_TRUE(DocumentOf(doc)->GetFirstView()->ProcessEvent(compile));
  const std::vector<std::string> fds = ListedDescriptors(ReadFile(root_ + "/fds.txt"));
  ASSERT_GE(fds.size(), 3u) << ReadFile(root_ + "/fds.txt");
  EXPECT_EQ(fds.size(), 3u) << ReadFile(root_ + "/fds.txt");
  for (const std::string& fd : fds) EXPECT_TRUE(fd[0] >= '0' && fd[0] <= '2' && fd[1] == ' ') << fd;
  Stop();

  const std::string bin = root_ + "/bin";
  ::mkdir(bin.c_str(), 0700);
  WriteFile(bin + "/update-mime-database", "#!/bin/sh\nls -l /proc/self/fd > " + root_ + "/refresher.txt\n");
  ::chmod((bin + "/update-mime-database").c_str(), 0755);
  Child program({}, {"PATH=" + bin + ":" + std::string(std::getenv("PATH")), "XDG_DATA_HOME=" + root_ + "/fresh",
                     "QUILLMARK_FIRST_PAINT=1"});
  ASSERT_TRUE(program.FirstPaint(60000)) << program.Output();
  ASSERT_TRUE(PumpUntil([&] { return ListedDescriptors(ReadFile(root_ + "/refresher.txt")).size() >= 3; }, 5000));
  const std::vector<std::string> seen = ListedDescriptors(ReadFile(root_ + "/refresher.txt"));
  EXPECT_EQ(seen.size(), 3u) << ReadFile(root_ + "/refresher.txt");
}

}  // namespace
