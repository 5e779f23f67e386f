// The chip commands' test sandbox, and a guard that fails any dialog a test
// did not expect (it would otherwise wait for a user forever).
#include "ChipTestSupport.h"

#include <wx/app.h>
#include <wx/log.h>

#include <cstdlib>
#include <sys/stat.h>

namespace chiptest {

namespace {

namespace fs = std::filesystem;

// Registered once for the whole program; wxTEST_DIALOG's own hooks, registered
// later, answer the dialogs a test expects before this one sees them.
class UnexpectedDialogGuard : public wxModalDialogHook {
 protected:
  int Enter(wxDialog* dialog) override {
    if (allowRealDialogs) return wxID_NONE;
    ADD_FAILURE() << "unexpected dialog: " << dialog->GetTitle().ToStdString();
    return wxID_CANCEL;
  }
  void Exit(wxDialog*) override {}

 public:
  static bool allowRealDialogs;
};
bool UnexpectedDialogGuard::allowRealDialogs = false;

class GuardEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    guard_.Register();
    // wx asserts in the test program are test failures, not message boxes.
    wxSetAssertHandler([](const wxString& file, int line, const wxString& func, const wxString& cond,
                          const wxString& msg) {
      ADD_FAILURE() << "wx assert " << file.ToStdString() << ":" << line << " " << func.ToStdString() << " "
                    << cond.ToStdString() << " " << msg.ToStdString();
    });
  }
  void TearDown() override { guard_.Unregister(); }

 private:
  UnexpectedDialogGuard guard_;
};

const ::testing::Environment* const kGuard = ::testing::AddGlobalTestEnvironment(new GuardEnvironment);

}  // namespace

void AllowRealDialogs(bool allow) { UnexpectedDialogGuard::allowRealDialogs = allow; }

void ChipToolTest::SetUp() {
  char pattern[] = "/tmp/qmchip.XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  root_ = fs::canonical(pattern).string();
  prog_ = root_ + "/prog";
  bin_ = root_ + "/bin";
  docs_ = root_ + "/docs";
  rec_ = root_ + "/rec";
  for (const std::string& dir : {prog_, bin_, docs_, rec_}) fs::create_directories(dir);
  const char* path = std::getenv("PATH");
  savedPath_ = path ? path : "/usr/bin:/bin";
  setenv("PATH", (bin_ + ":" + savedPath_).c_str(), 1);
  chip::SetProgramFolderForTesting(std::wstring(prog_.begin(), prog_.end()));
  doc_.path = std::wstring(docs_.begin(), docs_.end()) + L"/blink.vorn";
  doc_.title = L"blink.vorn";
}

void ChipToolTest::TearDown() {
  setenv("PATH", savedPath_.c_str(), 1);
  chip::SetProgramFolderForTesting(std::wstring());
  platform::SetCommandProcessorForTesting(std::string());
  std::error_code ignored;
  if (!root_.empty()) fs::remove_all(root_, ignored);
}

void ChipToolTest::WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string ChipToolTest::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void ChipToolTest::WriteTool(const std::string& folder, const std::string& name, const std::string& recordAs,
                             const std::string& body) {
  const std::string rec = platform::QuoteForCommandProcessor(rec_ + "/" + recordAs);
  std::string script = "#!/bin/sh\n";
  script += "rec=" + rec + "\n";
  script += "n=1; while [ -e \"$rec.$n\" ]; do n=$((n+1)); done; mkdir \"$rec.$n\"\n";
  script += "pwd -P > \"$rec.$n/cwd\"\n";
  script += "echo $# > \"$rec.$n/argc\"\n";
  script += "i=0; for a in \"$@\"; do i=$((i+1)); printf '%s' \"$a\" > \"$rec.$n/arg$i\"; done\n";
  script += body + "\n";
  const std::string path = folder + "/" + name;
  WriteFile(path, script);
  chmod(path.c_str(), 0755);
}

int ChipToolTest::Runs(const std::string& recordAs) const {
  int n = 0;
  while (fs::exists(rec_ + "/" + recordAs + "." + std::to_string(n + 1))) ++n;
  return n;
}

std::vector<std::string> ChipToolTest::Args(const std::string& recordAs, int run) const {
  const std::string dir = rec_ + "/" + recordAs + "." + std::to_string(run);
  std::vector<std::string> args;
  const int count = std::atoi(ReadFile(dir + "/argc").c_str());
  for (int i = 1; i <= count; ++i) args.push_back(ReadFile(dir + "/arg" + std::to_string(i)));
  return args;
}

std::string ChipToolTest::Cwd(const std::string& recordAs, int run) const {
  std::string cwd = ReadFile(rec_ + "/" + recordAs + "." + std::to_string(run) + "/cwd");
  if (!cwd.empty() && cwd.back() == '\n') cwd.pop_back();
  return cwd;
}

std::vector<std::string> ChipToolTest::Pwned() const {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(root_))
    if (entry.path().filename().string().rfind("PWNED", 0) == 0) found.push_back(entry.path().string());
  return found;
}

}  // namespace chiptest
