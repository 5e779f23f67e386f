// The safe save: a failure at any step leaves the old file as it was and no
// new file behind; success replaces the contents and keeps permissions, and
// a symbolic link keeps pointing at the replaced file. Reading takes regular
// files only and never waits; a save in place needs a writable regular file.
#include "platform/SafeFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

#include "support/NonRegularFiles.h"

namespace {

namespace fs = std::filesystem;
using platform::SaveStep;

const std::string kOld = "old contents\nsecond line\n";
const std::size_t kBig = (std::size_t(5) << 20) / 2;  // written in three calls

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
unsigned ModeOf(const std::string& path) { return unsigned(fs::status(path).permissions()); }

class SafeFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qm-safefile-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(pattern));
    dir_ = pattern;
    ::chmod(dir_.c_str(), 0777);  // an unprivileged user may work here too
  }
  void TearDown() override {
    ::chmod(Path("readonly").c_str(), 0777);
    fs::remove_all(dir_);
  }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  // Every name in the folder and below: no new file may stay behind.
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir_)) names.insert(entry.path().lexically_relative(dir_));
    return names;
  }
  std::string dir_;
};

TEST_F(SafeFileTest, AFailureAtAnyStepLeavesTheOriginalAndNoNewFile) {
  const struct {
    SaveStep step;
    int error, failOnCall;  // which call of the step fails: writes come in chunks
    std::size_t size;
  } cases[] = {{SaveStep::Open, EACCES, 1, 100},  {SaveStep::Write, ENOSPC, 1, 100}, {SaveStep::Write, EIO, 2, kBig},
               {SaveStep::Write, EDQUOT, 3, kBig}, {SaveStep::Flush, ENOSPC, 1, 100}, {SaveStep::Sync, EIO, 1, 100},
               {SaveStep::Close, EIO, 1, 100},    {SaveStep::Rename, EXDEV, 1, 100}, {SaveStep::Rename, EBUSY, 1, kBig}};
  const std::string path = Path("source.vorn");
  for (bool original : {true, false}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << platform::SaveStepText(c.step) << " call " << c.failOnCall << " original "
                                      << original);
      fs::remove(path);
      if (original) Write(path, kOld);
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
      EXPECT_EQ(original ? kOld : "", Read(path));
    }
  }
}

TEST_F(SafeFileTest, TheStepsRunInOrderAndTheNewContentsReplaceTheOldWithItsPermissions) {
  const std::string path = Path("source.vorn"), longName(255, 'n');
  Write(path, kOld);
  std::string bytes(kBig, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
  std::vector<SaveStep> steps;
  {
    platform::ScopedSaveFailurePoint record([&](SaveStep step) { return steps.push_back(step), 0; });
    ASSERT_TRUE(platform::WriteFileSafely(path, bytes).ok);
  }
  EXPECT_EQ(steps, (std::vector<SaveStep>{SaveStep::Open, SaveStep::Write, SaveStep::Write, SaveStep::Write,
                                          SaveStep::Flush, SaveStep::Sync, SaveStep::Close, SaveStep::Rename}));
  EXPECT_EQ(bytes, Read(path));
  ASSERT_TRUE(platform::WriteFileSafely(path, "").ok);
  EXPECT_EQ("", Read(path));
  // A name at the system's length limit still leaves room for the new file's.
  Write(Path(longName), kOld);
  ASSERT_TRUE(platform::WriteFileSafely(Path(longName), "long\n").ok);
  EXPECT_EQ("long\n", Read(Path(longName)));
  EXPECT_EQ((std::set<std::string>{"source.vorn", longName}), Names());
  // An existing file keeps its permission bits, also those the umask would
  // take from a new file; a new file gets 0666 less the umask.
  const mode_t oldMask = ::umask(027);
  for (unsigned mode : {0600u, 0666u, 0755u}) {
    Write(path, kOld);
    ::chmod(path.c_str(), mode);
    ASSERT_TRUE(platform::WriteFileSafely(path, "new\n").ok);
    EXPECT_EQ(mode, ModeOf(path));
  }
  ASSERT_TRUE(platform::WriteFileSafely(Path("fresh.vorn"), "a\n").ok);
  EXPECT_EQ(0640u, ModeOf(Path("fresh.vorn")));
  ::umask(oldMask);
}

// A link is followed to the file it points to, which is replaced; the link
// stays. A dangling link gets its target made; links in a circle are refused.
TEST_F(SafeFileTest, SymbolicLinksAreFollowedToTheirTarget) {
  fs::create_directory(Path("real"));
  const std::string target = Path("real/target.vorn");
  Write(target, kOld);
  ::chmod(target.c_str(), 0664);
  const std::pair<std::string, std::string> links[] = {
      {"absolute.vorn", target}, {"relative.vorn", "real/target.vorn"}, {"chain.vorn", "relative.vorn"},
      {"dangling.vorn", "real/missing.vorn"}, {"loop-a", "loop-b"}, {"loop-b", "loop-a"}};
  for (const auto& [name, pointsTo] : links) fs::create_symlink(pointsTo, Path(name));
  std::set<std::string> names = Names();
  for (const auto& [name, pointsTo] : links) {
    SCOPED_TRACE(name);
    const platform::SaveResult result = platform::WriteFileSafely(Path(name), name);
    EXPECT_EQ(pointsTo, fs::read_symlink(Path(name)).string());
    if (name.rfind("loop", 0) == 0) {
      EXPECT_EQ(ELOOP, result.error);
      EXPECT_EQ(SaveStep::Open, result.step);
    } else {
      EXPECT_TRUE(result.ok);
      EXPECT_EQ(name, Read(name == "dangling.vorn" ? Path("real/missing.vorn") : target));
    }
  }
  EXPECT_EQ(0664u, ModeOf(target));
  names.insert("real/missing.vorn");
  EXPECT_EQ(names, Names());
}

// What the system refuses, as an unprivileged user: a read-only folder, a
// read-only file, a folder in the file's place, a missing folder. Each fails
// at opening and changes nothing.
TEST_F(SafeFileTest, RefusedPlacesFailAtOpeningAndChangeNothing) {
  fs::create_directory(Path("readonly"));
  Write(Path("readonly/source.vorn"), kOld);
  ::chmod(Path("readonly/source.vorn").c_str(), 0666);
  ::chmod(Path("readonly").c_str(), 0555);
  Write(Path("locked.vorn"), kOld);
  ::chmod(Path("locked.vorn").c_str(), 0444);
  fs::create_directory(Path("folder.vorn"));
  const std::pair<std::string, int> cases[] = {{"readonly/source.vorn", EACCES}, {"readonly/new.vorn", EACCES},
                                               {"locked.vorn", EACCES},          {"folder.vorn", EISDIR},
                                               {"no/such/folder.vorn", ENOENT}};
  for (const auto& [name, error] : cases) {
    SCOPED_TRACE(name);
    const std::set<std::string> before = Names();
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(!root || (::setegid(65534) == 0 && ::seteuid(65534) == 0)) << "cannot drop privileges";
    const platform::SaveResult result = platform::WriteFileSafely(Path(name), "new\n");
    ASSERT_TRUE(!root || (::seteuid(0) == 0 && ::setegid(0) == 0));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(SaveStep::Open, result.step);
    EXPECT_EQ(error, result.error);
    EXPECT_EQ(before, Names());
  }
  EXPECT_EQ(kOld, Read(Path("readonly/source.vorn")));
  EXPECT_EQ(kOld, Read(Path("locked.vorn")));
  EXPECT_EQ(0444u, ModeOf(Path("locked.vorn")));
}

// Regular files are read whole, through links too; everything else is
// refused at once: a pipe without a writer (directly or through a link), a
// socket, a device, a folder. The pipe's watchdog ends a read that waits.
TEST_F(SafeFileTest, OnlyRegularFilesAreReadAndNothingWaits) {
  std::string big(3 << 20, 'x');
  for (std::size_t i = 0; i < big.size(); i += 4099) big[i] = static_cast<char>(i);
  Write(Path("big.vorn"), big);
  Write(Path("empty.vorn"), "");
  fs::create_symlink("big.vorn", Path("link.vorn"));
  ASSERT_EQ(0, ::mkfifo(Path("pipe.vorn").c_str(), 0644));
  fs::create_symlink("pipe.vorn", Path("pipelink.vorn"));
  const int socket = testsupport::BindSocket(Path("socket.vorn"));
  ASSERT_GE(socket, 0);
  fs::create_directory(Path("folder.vorn"));
  Write(Path("secret.vorn"), kOld);
  ::chmod(Path("secret.vorn").c_str(), 0600);

  const struct {
    std::string path;
    int error;  // 0: read
    const std::string* bytes;
    bool unprivileged;
  } cases[] = {{Path("big.vorn"), 0, &big, false},          {Path("empty.vorn"), 0, nullptr, false},
               {Path("link.vorn"), 0, &big, false},         {Path("pipe.vorn"), ENODEV, nullptr, false},
               {Path("pipelink.vorn"), ENODEV, nullptr, false}, {Path("socket.vorn"), ENODEV, nullptr, false},
               {"/dev/null", ENODEV, nullptr, false},       {"/dev/zero", ENODEV, nullptr, false},
               {Path("folder.vorn"), EISDIR, nullptr, false}, {Path("missing.vorn"), ENOENT, nullptr, false},
               {Path("secret.vorn"), EACCES, nullptr, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    std::string bytes = "left over";
    int error = -1;
    bool read;
    const auto start = std::chrono::steady_clock::now();
    {
      testsupport::FifoWatchdog watchdog(Path("pipe.vorn"), std::chrono::seconds(3));
      const bool drop = c.unprivileged && ::geteuid() == 0;
      ASSERT_TRUE(!drop || (::setegid(65534) == 0 && ::seteuid(65534) == 0)) << "cannot drop privileges";
      read = platform::ReadRegularFile(c.path, bytes, error);
      ASSERT_TRUE(!drop || (::seteuid(0) == 0 && ::setegid(0) == 0));
      EXPECT_FALSE(watchdog.Fired()) << "the read waited for a writer";
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(c.error == 0, read);
    EXPECT_EQ(c.error, error);
    EXPECT_EQ(c.bytes ? *c.bytes : std::string(), bytes);
  }
  ::close(socket);
}

// A save in place needs an existing regular file that is not read-only: a
// file without write bits is read-only also for the superuser.
TEST_F(SafeFileTest, ASaveInPlaceNeedsAWritableRegularFile) {
  Write(Path("plain.vorn"), kOld);
  ::chmod(Path("plain.vorn").c_str(), 0644);
  Write(Path("locked.vorn"), kOld);
  ::chmod(Path("locked.vorn").c_str(), 0444);
  Write(Path("theirs.vorn"), kOld);
  ::chmod(Path("theirs.vorn").c_str(), 0644);  // writable by its owner only
  fs::create_symlink("plain.vorn", Path("link.vorn"));
  fs::create_symlink("gone.vorn", Path("dangling.vorn"));
  ASSERT_EQ(0, ::mkfifo(Path("pipe.vorn").c_str(), 0666));
  fs::create_directory(Path("folder.vorn"));
  const struct {
    std::string name;
    bool writable, unprivileged;
  } cases[] = {{"plain.vorn", true, false},  {"link.vorn", true, false},    {"locked.vorn", false, false},
               {"missing.vorn", false, false}, {"dangling.vorn", false, false}, {"pipe.vorn", false, false},
               {"folder.vorn", false, false}, {"theirs.vorn", false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const bool drop = c.unprivileged && ::geteuid() == 0;
    ASSERT_TRUE(!drop || (::setegid(65534) == 0 && ::seteuid(65534) == 0)) << "cannot drop privileges";
    const bool writable = platform::IsWritableRegularFile(Path(c.name));
    ASSERT_TRUE(!drop || (::seteuid(0) == 0 && ::setegid(0) == 0));
    EXPECT_EQ(c.writable, writable);
  }
}

}  // namespace
