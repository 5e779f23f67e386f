// The safe save: a failure at any step leaves the old file as it was and no
// new file behind; success replaces the contents and keeps permissions, and
// a symbolic link keeps pointing at the replaced file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/SafeFile.h"

namespace fs = std::filesystem;
using platform::SaveStep;

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

unsigned ModeOf(const std::string& path) {
  struct stat st;
  EXPECT_EQ(0, ::stat(path.c_str(), &st)) << path;
  return st.st_mode & 07777;
}

// Runs the rest of a scope under an unprivileged user when we are root, so
// that permissions count; does nothing for an unprivileged process.
class Unprivileged {
 public:
  Unprivileged() {
    if (::geteuid() != 0) return;
    switched_ = ::setegid(65534) == 0 && ::seteuid(65534) == 0;
    failed_ = !switched_;
  }
  ~Unprivileged() {
    if (!switched_) return;
    (void)!::seteuid(0);
    (void)!::setegid(0);
  }
  bool Failed() const { return failed_; }

 private:
  bool switched_ = false;
  bool failed_ = false;
};

class SafeFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qm-safefile-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(pattern));
    dir_ = pattern;
    ::chmod(dir_.c_str(), 0777);  // an unprivileged user may work here too
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::all, ec);
    for (const auto& entry : fs::recursive_directory_iterator(dir_, ec))
      if (entry.is_directory(ec) && !entry.is_symlink(ec)) fs::permissions(entry.path(), fs::perms::all, ec);
    fs::remove_all(dir_, ec);
  }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  // The names in the folder, so a test can tell that no new file stayed.
  std::set<std::string> Names(const std::string& folder = std::string()) const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.empty() ? dir_ : folder))
      names.insert(entry.path().filename().string());
    return names;
  }

  std::string dir_;
};

const std::string kOld = "old contents\nsecond line\n";

// Every step, failing once, leaves the original byte for byte and nothing
// else in the folder; the message is the system's text for the error.
TEST_F(SafeFileTest, AFailureAtAnyStepLeavesTheOriginalAndNoNewFile) {
  struct Case {
    SaveStep step;
    int error;
    int failOnCall;  // which call of that step fails (writes come in chunks)
    std::size_t size;
  };
  const std::size_t big = (std::size_t(5) << 20) / 2;  // three write calls
  const Case cases[] = {
      {SaveStep::Open, EACCES, 1, 100},  {SaveStep::Write, ENOSPC, 1, 100}, {SaveStep::Write, EIO, 2, big},
      {SaveStep::Write, EDQUOT, 3, big}, {SaveStep::Flush, ENOSPC, 1, 100}, {SaveStep::Sync, EIO, 1, 100},
      {SaveStep::Close, EIO, 1, 100},    {SaveStep::Rename, EXDEV, 1, 100}, {SaveStep::Rename, EBUSY, 1, big},
  };
  for (bool original : {true, false}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(platform::SaveStepText(c.step)) + " call " + std::to_string(c.failOnCall) +
                   (original ? " over an existing file" : " of a new file"));
      const std::string path = Path("source.vorn");
      fs::remove(path);
      if (original) WriteAll(path, kOld);
      const std::set<std::string> before = Names();

      int calls = 0;
      platform::ScopedSaveFailurePoint fail(
          [&](SaveStep step) { return step == c.step && ++calls == c.failOnCall ? c.error : 0; });
      const platform::SaveResult result = platform::WriteFileSafely(path, std::string(c.size, 'x'));

      EXPECT_FALSE(result.ok);
      EXPECT_EQ(c.step, result.step);
      EXPECT_EQ(c.error, result.error);
      EXPECT_EQ(std::strerror(c.error), result.reason);
      EXPECT_EQ(before, Names());
      if (original)
        EXPECT_EQ(kOld, ReadAll(path));
      else
        EXPECT_FALSE(fs::exists(path));
    }
  }
}

// The steps run in order, a large save writing in several calls.
TEST_F(SafeFileTest, StepsRunInOrderAndTheNewContentsReplaceTheOld) {
  const std::string path = Path("source.vorn");
  WriteAll(path, kOld);
  std::string bytes((std::size_t(5) << 20) / 2, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
  std::vector<SaveStep> steps;
  {
    platform::ScopedSaveFailurePoint record([&](SaveStep step) {
      steps.push_back(step);
      return 0;
    });
    ASSERT_TRUE(platform::WriteFileSafely(path, bytes).ok);
  }
  const std::vector<SaveStep> expected = {SaveStep::Open,  SaveStep::Write, SaveStep::Write, SaveStep::Write,
                                          SaveStep::Flush, SaveStep::Sync,  SaveStep::Close, SaveStep::Rename};
  EXPECT_EQ(expected, steps);
  EXPECT_EQ(bytes, ReadAll(path));
  EXPECT_EQ(std::set<std::string>{"source.vorn"}, Names());

  ASSERT_TRUE(platform::WriteFileSafely(path, std::string()).ok);
  EXPECT_EQ("", ReadAll(path));
  EXPECT_EQ(std::set<std::string>{"source.vorn"}, Names());

  // A name at the system's length limit still leaves room for the new file's.
  const std::string longName(255, 'n');
  WriteAll(Path(longName), kOld);
  ASSERT_TRUE(platform::WriteFileSafely(Path(longName), "long\n").ok);
  EXPECT_EQ("long\n", ReadAll(Path(longName)));
  EXPECT_EQ((std::set<std::string>{"source.vorn", longName}), Names());
}

// An existing file keeps its permission bits, also those the umask would
// take from a new file; a new file gets 0666 less the umask.
TEST_F(SafeFileTest, PermissionsAreKeptAndNewFilesFollowTheUmask) {
  const mode_t oldMask = ::umask(027);
  for (unsigned mode : {0600u, 0640u, 0644u, 0664u, 0666u, 0755u, 0700u, 0604u}) {
    SCOPED_TRACE(mode);
    const std::string path = Path("kept.vorn");
    WriteAll(path, kOld);
    ASSERT_EQ(0, ::chmod(path.c_str(), mode));
    ASSERT_TRUE(platform::WriteFileSafely(path, "new\n").ok);
    EXPECT_EQ(mode, ModeOf(path));
    EXPECT_EQ("new\n", ReadAll(path));
  }
  const std::string fresh = Path("fresh.vorn");
  ASSERT_TRUE(platform::WriteFileSafely(fresh, "a\nb\n").ok);
  EXPECT_EQ(0640u, ModeOf(fresh));
  EXPECT_EQ("a\nb\n", ReadAll(fresh));
  ::umask(oldMask);
}

// Saving through a symbolic link replaces the file it points to and leaves
// the link in place; a dangling link gets its target created; links in a
// circle are refused.
TEST_F(SafeFileTest, SymbolicLinksAreFollowedToTheirTarget) {
  ASSERT_TRUE(fs::create_directory(Path("real")));
  const std::string target = Path("real/target.vorn");
  WriteAll(target, kOld);
  ::chmod(target.c_str(), 0664);
  struct Link {
    std::string name;
    std::string pointsTo;
  };
  const Link links[] = {
      {"absolute.vorn", target},
      {"relative.vorn", "real/target.vorn"},
      {"chain.vorn", "relative.vorn"},
  };
  for (const Link& link : links) fs::create_symlink(link.pointsTo, Path(link.name));
  for (const Link& link : links) {
    SCOPED_TRACE(link.name);
    const std::string bytes = "through " + link.name + "\n";
    ASSERT_TRUE(platform::WriteFileSafely(Path(link.name), bytes).ok);
    EXPECT_TRUE(fs::is_symlink(Path(link.name)));
    EXPECT_EQ(link.pointsTo, fs::read_symlink(Path(link.name)).string());
    EXPECT_EQ(bytes, ReadAll(target));
    EXPECT_EQ(0664u, ModeOf(target));
    EXPECT_EQ(std::set<std::string>{"target.vorn"}, Names(Path("real")));
  }

  fs::create_symlink("real/missing.vorn", Path("dangling.vorn"));
  ASSERT_TRUE(platform::WriteFileSafely(Path("dangling.vorn"), "made\n").ok);
  EXPECT_TRUE(fs::is_symlink(Path("dangling.vorn")));
  EXPECT_EQ("made\n", ReadAll(Path("real/missing.vorn")));

  fs::create_symlink("loop-b", Path("loop-a"));
  fs::create_symlink("loop-a", Path("loop-b"));
  const std::set<std::string> before = Names();
  const platform::SaveResult loop = platform::WriteFileSafely(Path("loop-a"), "x");
  EXPECT_FALSE(loop.ok);
  EXPECT_EQ(SaveStep::Open, loop.step);
  EXPECT_EQ(ELOOP, loop.error);
  EXPECT_EQ(before, Names());
}

// What the system refuses: a folder we may not create files in, a file we
// may not write, a folder in the file's place. Each fails at opening and
// leaves everything as it was.
TEST_F(SafeFileTest, RefusedPlacesFailAtOpeningAndChangeNothing) {
  ASSERT_TRUE(fs::create_directory(Path("readonly")));
  const std::string inReadOnly = Path("readonly/source.vorn");
  WriteAll(inReadOnly, kOld);
  ::chmod(inReadOnly.c_str(), 0666);
  ::chmod(Path("readonly").c_str(), 0555);
  const std::string readOnlyFile = Path("locked.vorn");
  WriteAll(readOnlyFile, kOld);
  ::chmod(readOnlyFile.c_str(), 0444);
  ASSERT_TRUE(fs::create_directory(Path("folder.vorn")));

  struct Case {
    std::string path;
    int error;
  };
  const Case cases[] = {
      {inReadOnly, EACCES},          {Path("readonly/new.vorn"), EACCES},   {readOnlyFile, EACCES},
      {Path("folder.vorn"), EISDIR}, {Path("no/such/folder.vorn"), ENOENT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const std::set<std::string> before = Names();
    const std::set<std::string> beforeReadOnly = Names(Path("readonly"));
    platform::SaveResult result;
    {
      Unprivileged user;
      ASSERT_FALSE(user.Failed()) << "cannot drop privileges for the test";
      result = platform::WriteFileSafely(c.path, "new\n");
    }
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(SaveStep::Open, result.step);
    EXPECT_EQ(c.error, result.error);
    EXPECT_EQ(std::strerror(c.error), result.reason);
    EXPECT_EQ(before, Names());
    EXPECT_EQ(beforeReadOnly, Names(Path("readonly")));
  }
  EXPECT_EQ(kOld, ReadAll(inReadOnly));
  EXPECT_EQ(kOld, ReadAll(readOnlyFile));
  EXPECT_EQ(0444u, ModeOf(readOnlyFile));
}

}  // namespace
