// keylatency: the time from a key pressed on the keyboard to the changed
// pixels of its line on the screen, for the real program.
//
// It starts its own virtual X server and the built program in it with fresh
// home and XDG folders, opens a generated source of LINES lines, puts the
// caret in the middle of a line near the middle of the file with real keys,
// and then presses KEYS keys ('a' and BackSpace in turn, 50 ms apart)
// through XTest. After each key it reads the caret's line back from the
// screen (XShmGetImage) until its pixels differ from before the key: the
// time between is the key's latency. The caret's own cells (where it is
// drawn and blinks) are left out of the watched region.
//
//   keylatency PROGRAM [LINES] [KEYS]
//
// KEYLATENCY_DISPLAY=NN runs the X server on display :NN (default: the
// first free number from 90); KEYLATENCY_EACH=1 prints every key's time and
// when it was pressed; KEYLATENCY_SHOTS=folder saves the screens it set up
// by. PROGRAM may be a wrapper that executes the program (under a tracer).
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/SourceGenerator.h"

namespace {

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;
constexpr double kKeyGapMs = 50;
constexpr double kNoChangeMs = 1000;
constexpr int kCaretColumn = 12;   // the caret stands this many columns into its line
constexpr std::size_t kMinLineLength = 40;

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void SleepMs(double ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::microseconds(static_cast<long>(ms * 1000)));
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "keylatency: %s\n", what.c_str());
  std::exit(2);
}

// The processes and the folder this run made; all go when it ends.
struct Run {
  std::string root;
  pid_t server = 0;
  pid_t program = 0;
  ~Run() {
    // The program leads its own process group (with whatever it started).
    for (pid_t pid : {program, server}) {
      if (pid <= 0) continue;
      ::kill(pid == program ? -pid : pid, SIGTERM);
      for (int i = 0; i < 50 && ::waitpid(pid, nullptr, WNOHANG) == 0; ++i) SleepMs(20);
      if (::waitpid(pid, nullptr, WNOHANG) == 0) {
        ::kill(pid == program ? -pid : pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
      }
    }
    if (!root.empty()) {
      std::error_code error;
      std::filesystem::remove_all(root, error);
    }
  }
};

// Static, so that every way out (std::exit included) ends the processes.
Run g_run;

void OnSignal(int) { std::exit(3); }

// The generated source, every line at least kMinLineLength bytes long (a
// short one gets a trailing comment), so that the caret can stand inside
// whatever line it lands on.
void WriteSource(const std::string& path, int lines) {
  std::ofstream out(path, std::ios::binary);
  for (std::string line : GenerateVornSource(lines)) {
    if (line.size() < kMinLineLength) {
      line += line.empty() ? "' " : "  ' ";
      while (line.size() < kMinLineLength) line += "filler text ";
    }
    out << line << "\r\n";
  }
  if (!out) Fail("cannot write " + path);
}

bool DisplayInUse(int display) {
  const std::string n = std::to_string(display);
  return std::filesystem::exists("/tmp/.X" + n + "-lock") || std::filesystem::exists("/tmp/.X11-unix/X" + n);
}

int FreeDisplay() {
  if (const char* given = std::getenv("KEYLATENCY_DISPLAY")) {
    const int display = std::atoi(given[0] == ':' ? given + 1 : given);
    if (DisplayInUse(display)) Fail("display :" + std::to_string(display) + " is in use");
    return display;
  }
  for (int d = 90; d < 200; ++d)
    if (!DisplayInUse(d)) return d;
  Fail("no free display number");
}

pid_t StartServer(int display) {
  const std::string name = ":" + std::to_string(display);
  const std::string screen = std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24";
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 1);
    ::dup2(null, 2);
    ::execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp", nullptr);
    ::_exit(127);
  }
  const std::string socket = "/tmp/.X11-unix/X" + std::to_string(display);
  for (int i = 0; i < 200; ++i) {
    if (std::filesystem::exists(socket)) return pid;
    if (::waitpid(pid, nullptr, WNOHANG) == pid) Fail("Xvfb did not start on " + name);
    SleepMs(25);
  }
  Fail("Xvfb did not open " + socket);
}

// Starts the program on `file`; returns its pid and the read end of its
// standard output.
pid_t StartProgram(const std::string& exe, const std::string& root, const std::string& file, int display,
                   int* output) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) Fail("pipe");
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setpgid(0, 0);
    ::setenv("HOME", (root + "/home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root + "/home/.config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root + "/home/.local/share").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (root + "/home/.cache").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (root + "/run").c_str(), 1);
    ::setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
    ::setenv("NO_AT_BRIDGE", "1", 1);
    ::setenv("QUILLMARK_FIRST_PAINT", "1", 1);
    ::dup2(pipeFds[1], 1);
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 2);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    ::execl(exe.c_str(), exe.c_str(), file.c_str(), nullptr);
    ::_exit(127);
  }
  ::setpgid(pid, pid);  // as the child does, whichever comes first
  ::close(pipeFds[1]);
  *output = pipeFds[0];
  return pid;
}

// Waits for the program's report of its first paint.
void AwaitFirstPaint(int output) {
  std::string seen;
  const auto start = Clock::now();
  while (MsSince(start) < 30000) {
    pollfd p{output, POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    char buffer[256];
    const ssize_t n = ::read(output, buffer, sizeof buffer);
    if (n <= 0) Fail("the program ended before its first paint");
    seen.append(buffer, static_cast<std::size_t>(n));
    if (seen.find("quillmark: first paint") != std::string::npos) return;
  }
  Fail("no first paint within 30 s");
}

// The largest shown window of process `pid` below `window`, and its area.
long FindWindow(Display* d, Window window, pid_t pid, Window* found, long best) {
  XWindowAttributes a;
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  static const Atom pidAtom = XInternAtom(d, "_NET_WM_PID", False);
  if (XGetWindowAttributes(d, window, &a) && a.map_state == IsViewable &&
      XGetWindowProperty(d, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data) ==
          Success &&
      data) {
    // The display is this run's own: any process id will do when `pid` is
    // 0 (the program may run under a wrapper, a tracer for example).
    if (count == 1 && (pid == 0 || static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid) &&
        static_cast<long>(a.width) * a.height > best) {
      best = static_cast<long>(a.width) * a.height;
      *found = window;
    }
    XFree(data);
  }
  Window root, parent, *children = nullptr;
  unsigned int n = 0;
  if (XQueryTree(d, window, &root, &parent, &children, &n)) {
    for (unsigned int i = 0; i < n; ++i) best = FindWindow(d, children[i], pid, found, best);
    if (children) XFree(children);
  }
  return best;
}

// A picture of part of the screen, read through shared memory.
class Grabber {
 public:
  Grabber(Display* d, int width, int height) : d_(d) {
    image_ = XShmCreateImage(d, DefaultVisual(d, DefaultScreen(d)), DefaultDepth(d, DefaultScreen(d)), ZPixmap,
                             nullptr, &shm_, width, height);
    if (!image_) Fail("XShmCreateImage");
    shm_.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(image_->bytes_per_line) * height, IPC_CREAT | 0600);
    if (shm_.shmid < 0) Fail("shmget");
    shm_.shmaddr = image_->data = static_cast<char*>(shmat(shm_.shmid, nullptr, 0));
    shm_.readOnly = False;
    if (!XShmAttach(d, &shm_)) Fail("XShmAttach");
    XSync(d, False);
    shmctl(shm_.shmid, IPC_RMID, nullptr);
  }
  ~Grabber() {
    XShmDetach(d_, &shm_);
    XSync(d_, False);
    XDestroyImage(image_);
    shmdt(shm_.shmaddr);
  }
  // Reads the picture at (x, y) of the screen.
  void Grab(int x, int y) {
    if (!XShmGetImage(d_, DefaultRootWindow(d_), image_, x, y, AllPlanes)) Fail("XShmGetImage");
  }
  const std::uint32_t* Row(int y) const {
    return reinterpret_cast<const std::uint32_t*>(image_->data + static_cast<std::size_t>(y) * image_->bytes_per_line);
  }
  std::size_t Bytes() const { return static_cast<std::size_t>(image_->bytes_per_line) * image_->height; }
  const char* Data() const { return image_->data; }
  int Width() const { return image_->width; }
  int Height() const { return image_->height; }

 private:
  Display* d_;
  XShmSegmentInfo shm_{};
  XImage* image_ = nullptr;
};

using Picture = std::vector<std::uint32_t>;

Picture Snap(Grabber& full) {
  full.Grab(0, 0);
  Picture p(static_cast<std::size_t>(full.Width()) * full.Height());
  for (int y = 0; y < full.Height(); ++y)
    std::memcpy(&p[static_cast<std::size_t>(y) * full.Width()], full.Row(y), full.Width() * 4u);
  return p;
}

// Debugging aid: KEYLATENCY_SHOTS=folder saves the screen at each stage.
void Save(const Picture& p, int width, int height, const std::string& name) {
  const char* folder = std::getenv("KEYLATENCY_SHOTS");
  if (!folder) return;
  std::ofstream out(std::string(folder) + "/" + name + ".ppm", std::ios::binary);
  out << "P6\n" << width << " " << height << "\n255\n";
  for (std::uint32_t v : p) {
    const char rgb[3] = {static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
    out.write(rgb, 3);
  }
}

long Differences(const Picture& a, const Picture& b) {
  long n = 0;
  for (std::size_t i = 0; i < a.size(); ++i) n += (a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF);
  return n;
}

class Keys {
 public:
  explicit Keys(Display* d) : d_(d) {}
  void Press(KeySym sym, KeySym modifier = NoSymbol) {
    const KeyCode code = XKeysymToKeycode(d_, sym);
    const KeyCode mod = modifier == NoSymbol ? 0 : XKeysymToKeycode(d_, modifier);
    if (mod) XTestFakeKeyEvent(d_, mod, True, CurrentTime);
    XTestFakeKeyEvent(d_, code, True, CurrentTime);
    XTestFakeKeyEvent(d_, code, False, CurrentTime);
    if (mod) {
      // The program reads the modifier's state when it handles the key:
      // it stays down until then.
      XSync(d_, False);
      SleepMs(200);
      XTestFakeKeyEvent(d_, mod, False, CurrentTime);
    }
    XFlush(d_);
  }

 private:
  Display* d_;
};

// Waits until the screen stops changing (the caret's blink aside): two
// looks in a row, 150 ms apart, that differ in fewer pixels than a caret has.
void Settle(Grabber& full, double timeoutMs = 60000) {
  const auto start = Clock::now();
  Picture last = Snap(full);
  int quiet = 0;
  while (quiet < 2 && MsSince(start) < timeoutMs) {
    SleepMs(150);
    Picture now = Snap(full);
    quiet = Differences(last, now) < 400 ? quiet + 1 : 0;
    last = std::move(now);
  }
}

// Where one key changed the screen: the band of rows with the most changed
// pixels, and the changed columns in it.
struct Change {
  int top = 0, bottom = -1, left = 0, right = -1;
};

Change ChangeBetween(const Picture& a, const Picture& b, int width, int height) {
  std::vector<int> perRow(height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * width + x;
      perRow[y] += (a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF);
    }
  const int peak = static_cast<int>(std::max_element(perRow.begin(), perRow.end()) - perRow.begin());
  Change c;
  if (perRow[peak] == 0) return c;
  c.top = c.bottom = peak;
  while (c.top > 0 && perRow[c.top - 1] > 0) --c.top;
  while (c.bottom + 1 < height && perRow[c.bottom + 1] > 0) ++c.bottom;
  c.left = width;
  for (int y = c.top; y <= c.bottom; ++y)
    for (int x = 0; x < width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * width + x;
      if ((a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF)) {
        c.left = std::min(c.left, x);
        c.right = std::max(c.right, x);
      }
    }
  return c;
}

// The left edge of the blinking caret: the leftmost of the narrow band of
// pixels of rows [top, bottom] left of `maxX` that change while nothing else
// does (the scroll bars fade at the window's right edge), looked at for a
// little over two blinks; -1 when none blink.
int CaretLeft(Grabber& full, int top, int bottom, int maxX) {
  const Picture first = Snap(full);
  int left = full.Width(), right = -1;
  for (int look = 0; look < 24; ++look) {
    SleepMs(50);
    const Picture now = Snap(full);
    for (int y = top; y <= bottom; ++y)
      for (int x = 0; x < maxX; ++x) {
        const std::size_t i = static_cast<std::size_t>(y) * full.Width() + x;
        if ((now[i] & 0xFFFFFF) == (first[i] & 0xFFFFFF)) continue;
        left = std::min(left, x);
        right = std::max(right, x);
      }
  }
  return right >= 0 && right - left < 8 ? left : -1;
}

// Presses a key and waits until the whole screen shows its effect.
Change KeyChange(Grabber& full, Keys& keys, KeySym sym) {
  const Picture before = Snap(full);
  keys.Press(sym);
  // A busy program may show the key only after a quiet moment: wait for
  // the first change before waiting for the screen to settle.
  const auto pressed = Clock::now();
  while (Differences(before, Snap(full)) == 0 && MsSince(pressed) < 5000) SleepMs(20);
  Settle(full, 5000);
  const Picture after = Snap(full);
  Save(before, full.Width(), full.Height(), std::to_string(sym) + "-before");
  Save(after, full.Width(), full.Height(), std::to_string(sym) + "-after");
  return ChangeBetween(before, after, full.Width(), full.Height());
}

double Percentile(const std::vector<double>& sorted, double p) {
  const std::size_t rank = static_cast<std::size_t>(std::ceil(p * sorted.size()));
  return sorted[std::min(sorted.size() - 1, rank > 0 ? rank - 1 : 0)];
}

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one;
  in >> one;
  return one.empty() ? "?" : one;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: keylatency PROGRAM [LINES] [KEYS]\n");
    return 2;
  }
  const std::string exe = std::filesystem::absolute(argv[1]).string();
  const int lines = argc > 2 ? std::atoi(argv[2]) : 1000;
  const int count = argc > 3 ? std::atoi(argv[3]) : 200;
  if (lines < 10 || count < 1) Fail("LINES must be at least 10 and KEYS at least 1");
  const bool each = std::getenv("KEYLATENCY_EACH") != nullptr;

  Run& run = g_run;
  ::signal(SIGINT, OnSignal);
  ::signal(SIGTERM, OnSignal);
  char root[] = "/tmp/keylatencyXXXXXX";
  if (!::mkdtemp(root)) Fail("mkdtemp");
  run.root = root;
  for (const char* sub : {"/home", "/home/.config", "/home/.local", "/home/.local/share", "/home/.cache", "/run"})
    ::mkdir((run.root + sub).c_str(), 0700);
  const std::string file = run.root + "/home/latency.vorn";
  WriteSource(file, lines);

  const int display = FreeDisplay();
  run.server = StartServer(display);
  int output = -1;
  run.program = StartProgram(exe, run.root, file, display, &output);
  Display* d = XOpenDisplay((":" + std::to_string(display)).c_str());
  if (!d) Fail("cannot open the display");
  int event, error, major, minor;
  if (!XTestQueryExtension(d, &event, &error, &major, &minor)) Fail("no XTest extension");
  if (!XShmQueryExtension(d)) Fail("no MIT-SHM extension");
  AwaitFirstPaint(output);

  // The program's main window gets the keyboard (there is no window manager
  // to give it); the pointer waits in a corner, away from tooltips.
  Window window = 0;
  const auto start = Clock::now();
  while (FindWindow(d, DefaultRootWindow(d), 0, &window, 0) == 0 && MsSince(start) < 10000) SleepMs(50);
  if (!window) Fail("the program shows no window");
  XRaiseWindow(d, window);
  XSetInputFocus(d, window, RevertToParent, CurrentTime);
  XTestFakeMotionEvent(d, -1, kScreenWidth - 1, kScreenHeight - 1, CurrentTime);
  XSync(d, False);

  Grabber full(d, kScreenWidth, kScreenHeight);
  Keys keys(d);
  Settle(full);

  // To the top, then down line by line until the view scrolls: that many
  // lines fit the window, and a page key moves the caret by about as many.
  keys.Press(XK_Home, XK_Control_L);
  Settle(full, 5000);
  int rows = 0;
  Picture last = Snap(full);
  for (int i = 1; i <= 300 && rows == 0; ++i) {
    keys.Press(XK_Down);
    XSync(d, False);
    SleepMs(40);
    Picture now = Snap(full);
    if (Differences(last, now) > 20000) {
      rows = i;
      Save(last, full.Width(), full.Height(), "down-before");
      Save(now, full.Width(), full.Height(), "down-after");
    }
    last = std::move(now);
  }
  if (rows == 0) Fail("the view did not scroll on moving down");
  Settle(full, 5000);
  const int pages = std::max(0, (lines / 2 - rows) / rows);
  for (int i = 0; i < pages; ++i) {
    keys.Press(XK_Next);
    if (i % 20 == 19) XSync(d, False);
  }
  XSync(d, False);
  Settle(full);
  for (int i = 0; i < kCaretColumn; ++i) keys.Press(XK_Right);
  XSync(d, False);
  Settle(full, 5000);

  // Where a typed character changes the screen: the caret's row; the
  // watched part of it starts two line heights right of the caret, past its
  // cell before and after the key (a cell is narrower than a line is high).
  // A first pair of keys marks the document changed (its tab and title
  // change once).
  KeyChange(full, keys, XK_a);
  KeyChange(full, keys, XK_BackSpace);
  const Change typed = KeyChange(full, keys, XK_a);
  const Change erased = KeyChange(full, keys, XK_BackSpace);
  if (typed.bottom < 0 || erased.bottom < 0) Fail("typing changes nothing on the screen");
  const int top = std::max(typed.top, erased.top);
  const int rowHeight = std::min(typed.bottom, erased.bottom) - top + 1;
  const int caret = CaretLeft(full, top, top + rowHeight - 1, std::max(typed.right, erased.right) - 16);
  if (rowHeight < 6)
    Fail("typing and erasing change different rows (" + std::to_string(typed.top) + "-" +
         std::to_string(typed.bottom) + ", " + std::to_string(erased.top) + "-" + std::to_string(erased.bottom) + ")");
  // Where the caret blinks, else where the change starts: the caret stands
  // at the first changed cell unless the whole line changed colour.
  const int left = (caret >= 0 ? caret : std::min(typed.left, erased.left)) + 2 * rowHeight;
  const int right = std::max(typed.right, erased.right);
  if (right - left < rowHeight) Fail("too little of the line changes right of the caret");
  Grabber watched(d, right - left + 1, rowHeight);

  std::vector<double> times;
  int unchanged = 0;
  std::vector<char> before(watched.Bytes());
  auto next = Clock::now();
  for (int k = 0; k < count; ++k) {
    std::this_thread::sleep_until(next);
    watched.Grab(left, top);
    std::memcpy(before.data(), watched.Data(), before.size());
    const auto pressed = Clock::now();
    timespec wall{};
    clock_gettime(CLOCK_REALTIME, &wall);
    next = pressed + std::chrono::microseconds(static_cast<long>(kKeyGapMs * 1000));
    keys.Press(k % 2 == 0 ? XK_a : XK_BackSpace);
    double ms = -1;
    while (MsSince(pressed) < kNoChangeMs) {
      watched.Grab(left, top);
      if (std::memcmp(before.data(), watched.Data(), before.size()) != 0) {
        ms = MsSince(pressed);
        break;
      }
    }
    if (ms < 0) {
      ++unchanged;
      // Whatever the key still does must not count for the next one.
      Settle(full, 5000);
      next = Clock::now();
    } else {
      times.push_back(ms);
    }
    if (each) {
      const std::time_t seconds = wall.tv_sec;
      std::tm local{};
      localtime_r(&seconds, &local);
      std::printf("key %d (%s) at %02d:%02d:%02d.%06ld: %.3f ms\n", k, k % 2 == 0 ? "a" : "BackSpace", local.tm_hour,
                  local.tm_min, local.tm_sec, wall.tv_nsec / 1000, ms);
    }
  }

  std::sort(times.begin(), times.end());
  std::printf("keylatency: %d lines, %d keys, caret row at y %d (%d px), caret at x %d, watched x %d-%d, load %s\n",
              lines, count, top, rowHeight, caret, left, right, LoadAverage().c_str());
  if (!times.empty()) {
    const long slow = std::count_if(times.begin(), times.end(), [](double t) { return t > 6.0; });
    std::printf("min %.2f ms, median %.2f ms, p95 %.2f ms, max %.2f ms; %ld keys over 6 ms\n", times.front(),
                Percentile(times, 0.5), Percentile(times, 0.95), times.back(), slow);
  }
  std::printf("keys that changed nothing within 1 s: %d\n", unchanged);
  std::fflush(stdout);
  return unchanged == 0 ? 0 : 1;
}
