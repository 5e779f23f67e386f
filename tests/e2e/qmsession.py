"""Runs the built quillmark executable as a user would meet it: in a sandbox
with a fresh home and XDG folders, on its own X server, driven only by real
input events sent through the XTest extension.

Sandbox  - the folders, fake tools and a copy of the program.
Xserver  - a private Xvfb.
Program  - the running program (stdout and stderr go to files in the sandbox).
Input    - pointer and keyboard events through XTest.
Windows  - the program's mapped toplevel windows and popups, the focus, close boxes.
screenshot(), wait_until() - helpers.
"""

import os
import re
import shutil
import signal
import subprocess
import time

from Xlib import X, XK, display as xdisplay, error as xerror, protocol
from Xlib.ext import xtest

NOBODY = 65534
# Folders every user may write to: an unprivileged program gets its own.
SHARED_FOLDERS = ["/tmp", "/var/tmp", "/dev/shm", "/run/lock"]

_CLONE_NEWNS = 0x00020000
_MS_BIND = 4096
_MS_REC = 16384
_MS_PRIVATE = 1 << 18


def _hide_shared_folders(pairs, root):
    """In a new mount namespace (this process only), bind each (shared, mine) folder of the sandbox
    over the shared one; /tmp/.X11-unix, and the sandbox root itself when it lies in a shared
    folder, are carried over to their places in the covering folder."""
    import ctypes
    libc = ctypes.CDLL(None, use_errno=True)
    libc.mount.argtypes = [ctypes.c_char_p] * 3 + [ctypes.c_ulong, ctypes.c_void_p]

    def check(result, what):
        if result != 0:
            raise OSError(ctypes.get_errno(), what)

    check(libc.unshare(_CLONE_NEWNS), "unshare")
    check(libc.mount(b"none", b"/", None, _MS_REC | _MS_PRIVATE, None), "mount private")
    # A folder that holds the sandbox itself is covered last, while the others are still reachable.
    pairs = sorted(pairs, key=lambda p: p[1].startswith(p[0].rstrip("/") + "/"))
    for shared, mine in pairs:
        if shared == "/tmp" and os.path.isdir("/tmp/.X11-unix"):
            check(libc.mount(b"/tmp/.X11-unix", os.path.join(mine, ".X11-unix").encode(), None, _MS_BIND, None),
                  "bind .X11-unix")
        if root.startswith(shared.rstrip("/") + "/"):
            inner = os.path.join(mine, os.path.relpath(root, shared))
            check(libc.mount(root.encode(), inner.encode(), None, _MS_BIND, None), "bind sandbox")
        check(libc.mount(mine.encode(), shared.encode(), None, _MS_BIND | _MS_REC, None), "bind " + shared)

FAKE_TOOL = """#!/bin/sh
# Stand-in for the real tool: says who it is and what it was given.
echo "fake {name}: $*"
exit 0
"""


def _end_with_parent():
    """In a child before exec: it gets SIGTERM when the driver that started it dies, so no X
    server or program outlives a killed test."""
    import ctypes
    ctypes.CDLL(None).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


def wait_until(predicate, timeout, interval=0.02):
    """Polls predicate until it returns something true or timeout seconds pass."""
    deadline = time.monotonic() + timeout
    while True:
        if predicate():
            return True
        if time.monotonic() >= deadline:
            return False
        time.sleep(interval)


# What a sanitizer or a failed wx assertion writes on standard error.
FAULT_ON_STDERR = re.compile(r'ERROR: AddressSanitizer|runtime error:|assert "[^\n]*" failed')

class Sandbox:
    """A private world for one program run under root:
    root/home (HOME), root/home/.config, .local/share, .cache, root/run (XDG_RUNTIME_DIR, 0700),
    root/tools (first on PATH: fake t2asm.exe and loadt2.exe), root/bin (the program's copy beside a
    fake Galvect.exe), root/logs (stdout, stderr and the sanitizers' log_path files).
    With unprivileged=True the program runs as uid/gid 65534 and owns only the sandbox, so it can
    write nowhere else."""

    def __init__(self, root, program, unprivileged=False):
        self.root = os.path.abspath(root)
        self.unprivileged = unprivileged
        self.home = os.path.join(self.root, "home")
        self.config = os.path.join(self.home, ".config")
        self.data = os.path.join(self.home, ".local", "share")
        self.cache = os.path.join(self.home, ".cache")
        self.runtime = os.path.join(self.root, "run")
        self.tools = os.path.join(self.root, "tools")
        self.bin = os.path.join(self.root, "bin")
        self.logs = os.path.join(self.root, "logs")
        for folder in (self.home, self.config, self.data, self.cache, self.runtime, self.tools, self.bin,
                       self.logs):
            os.makedirs(folder, exist_ok=True)
        os.chmod(self.runtime, 0o700)
        for name in ("t2asm.exe", "loadt2.exe"):
            self._write_tool(os.path.join(self.tools, name), name)
        self._write_tool(os.path.join(self.bin, "Galvect.exe"), "Galvect.exe")
        self.exe = os.path.join(self.bin, "quillmark")
        if os.path.lexists(self.exe):
            os.unlink(self.exe)
        shutil.copy2(os.path.realpath(program), self.exe)
        os.chmod(self.exe, 0o755)
        if unprivileged:
            os.chmod(self.root, 0o755)
            for folder, dirs, files in os.walk(self.root):
                os.lchown(folder, NOBODY, NOBODY)
                for name in files:
                    os.lchown(os.path.join(folder, name), NOBODY, NOBODY)
            # The program and its tools stay root's: the user can run them, not change them.
            for path in (self.bin, self.tools, self.exe, os.path.join(self.bin, "Galvect.exe")):
                os.lchown(path, 0, 0)
            for name in os.listdir(self.tools):
                os.lchown(os.path.join(self.tools, name), 0, 0)
        # The folders any user may write to are replaced, for the program alone, by folders in
        # the sandbox (the X server's socket folder stays visible).
        self.private_folders = []
        if unprivileged:
            for shared in SHARED_FOLDERS:
                if os.path.isdir(shared):
                    mine = os.path.join(self.root, "shared", shared.strip("/").replace("/", "_"))
                    os.makedirs(mine, exist_ok=True)
                    os.chmod(mine, 0o1777)
                    self.private_folders.append((shared, mine))
            os.makedirs(os.path.join(self.root, "shared", "tmp", ".X11-unix"), exist_ok=True)
            for shared, mine in self.private_folders:
                if self.root.startswith(shared.rstrip("/") + "/"):
                    os.makedirs(os.path.join(mine, os.path.relpath(self.root, shared)), exist_ok=True)
        self.env = {
            "HOME": self.home,
            "USER": "nobody" if unprivileged else os.environ.get("USER", "root"),
            "LOGNAME": "nobody" if unprivileged else os.environ.get("LOGNAME", "root"),
            "XDG_CONFIG_HOME": self.config,
            "XDG_DATA_HOME": self.data,
            "XDG_CACHE_HOME": self.cache,
            "XDG_RUNTIME_DIR": self.runtime,
            "PATH": os.pathsep.join([self.tools, self.bin, "/usr/bin", "/bin"]),
            "LANG": "C.UTF-8",
            "NO_AT_BRIDGE": "1",
            "GDK_BACKEND": "x11",
            "GTK_A11Y": "none",
            "TMPDIR": self.cache,
            "ASAN_OPTIONS": "detect_leaks=1:abort_on_error=0:halt_on_error=1:log_path="
                            + os.path.join(self.logs, "asan"),
            "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1:log_path=" + os.path.join(self.logs, "ubsan"),
        }
        self.env["LSAN_OPTIONS"] = "suppressions=" + os.path.realpath(
            os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "lsan.supp")) + ":print_suppressions=0"

    @staticmethod
    def _write_tool(path, name):
        with open(path, "w") as f:
            f.write(FAKE_TOOL.format(name=name))
        os.chmod(path, 0o755)

    def sanitizer_reports(self):
        """{path: text} of every non-empty sanitizer log file written so far."""
        reports = {}
        for name in sorted(os.listdir(self.logs)):
            if name.startswith("asan.") or name.startswith("ubsan."):
                path = os.path.join(self.logs, name)
                with open(path, errors="replace") as f:
                    text = f.read()
                if text.strip():
                    reports[path] = text
        return reports

    def faults(self, stderr_text):
        """One line per fault the run left evidence of: a sanitizer report or a failed wx
        assertion on standard error, and each sanitizer log file."""
        found = []
        m = FAULT_ON_STDERR.search(stderr_text)
        if m:
            found.append("stderr: " + stderr_text[m.start():m.start() + 200].splitlines()[0])
        for path, report in self.sanitizer_reports().items():
            found.append("%s:\n%s" % (path, report[:3000]))
        return found

    def chown_for_program(self, path):
        """Lets the program's user own a file the test put into the sandbox."""
        if self.unprivileged:
            os.lchown(path, NOBODY, NOBODY)


class Xserver:
    """A private Xvfb on display :number. allow_all (-ac) lets other users' clients connect, which an
    unprivileged program needs."""

    def __init__(self, number, width=1920, height=1200, allow_all=False):
        self.number = number
        self.name = ":%d" % number
        command = ["Xvfb", self.name, "-screen", "0", "%dx%dx24" % (width, height), "-nolisten", "tcp"]
        if allow_all:
            command.append("-ac")
        self.log = open(os.devnull, "w")
        self.process = subprocess.Popen(command, stdout=self.log, stderr=subprocess.STDOUT,
                                        start_new_session=True, preexec_fn=_end_with_parent)
        if not wait_until(self._answers, 15, 0.05):
            self.stop()
            raise RuntimeError("Xvfb %s did not start (display number in use?)" % self.name)

    def _answers(self):
        if self.process.poll() is not None:
            raise RuntimeError("Xvfb %s ended at once (display number in use?)" % self.name)
        # Only our own server counts: another one on the same number holds the lock file.
        try:
            with open("/tmp/.X%d-lock" % self.number) as f:
                if int(f.read().strip() or 0) != self.process.pid:
                    return False
        except (OSError, ValueError):
            return False
        try:
            d = xdisplay.Display(self.name)
        except Exception:
            return False
        d.close()
        return True

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.log.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


def _display_name(display):
    return display.name if isinstance(display, Xserver) else display


class Program:
    """The sandbox's copy of the program on display (an Xserver or a name such as ":18")."""

    def __init__(self, sandbox, display, args=(), extra_env=None):
        self.sandbox = sandbox
        self.display = _display_name(display)
        self.args = list(args)
        self.extra_env = dict(extra_env or {})
        self.process = None
        self.pid = None
        self.stdout_path = os.path.join(sandbox.logs, "stdout.txt")
        self.stderr_path = os.path.join(sandbox.logs, "stderr.txt")

    def start(self):
        env = dict(self.sandbox.env)
        env["DISPLAY"] = self.display
        env.update(self.extra_env)
        # Appends, so the output of every run of one sandbox is kept.
        out = open(self.stdout_path, "ab")
        err = open(self.stderr_path, "ab")
        preexec = _end_with_parent
        if self.sandbox.unprivileged:
            private = self.sandbox.private_folders
            root = self.sandbox.root

            def preexec():
                _hide_shared_folders(private, root)
                os.setgroups([])
                os.setresgid(NOBODY, NOBODY, NOBODY)
                os.setresuid(NOBODY, NOBODY, NOBODY)
                _end_with_parent()  # after the change of user, which clears it
        try:
            self.process = subprocess.Popen([self.sandbox.exe] + self.args, env=env, cwd=self.sandbox.home,
                                            stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                            preexec_fn=preexec, start_new_session=True)
        finally:
            out.close()
            err.close()
        self.pid = self.process.pid
        return self

    def alive(self):
        """True while the process runs; False once it has ended (a zombie counts as ended)."""
        if self.process is None or self.process.poll() is not None:
            return False
        try:
            with open("/proc/%d/stat" % self.pid) as f:
                state = f.read().rsplit(")", 1)[1].split()[0]
        except OSError:
            return False
        return state not in ("Z", "X")

    def returncode(self):
        return None if self.process is None else self.process.poll()

    def wait(self, timeout=None):
        """The exit status (negative: the signal that ended it), or None if it still runs."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def signal(self, sig):
        if self.process is not None and self.process.poll() is None:
            os.kill(self.pid, sig)

    def kill(self):
        """Ends the program and anything it started (its own process group)."""
        if self.process is None:
            return None
        if self.process.poll() is None:
            try:
                os.killpg(self.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        return self.process.wait()

    @staticmethod
    def _read(path):
        try:
            with open(path, errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    def stderr_text(self):
        return self._read(self.stderr_path)

    def stdout_text(self):
        return self._read(self.stdout_path)


# xdotool-like names that X spells differently.
_KEY_ALIASES = {
    "ctrl": "Control_L", "control": "Control_L", "shift": "Shift_L", "alt": "Alt_L", "super": "Super_L",
    "meta": "Meta_L", "enter": "Return", "esc": "Escape", "backspace": "BackSpace", "del": "Delete",
    "ins": "Insert", "pgup": "Prior", "pageup": "Prior", "page_up": "Prior", "pgdn": "Next",
    "pagedown": "Next", "page_down": "Next", "space": "space", "tab": "Tab", "plus": "plus",
    "minus": "minus", "menu": "Menu", "left": "Left", "right": "Right", "up": "Up", "down": "Down",
    "home": "Home", "end": "End", "delete": "Delete", "insert": "Insert", "return": "Return",
    "escape": "Escape",
}
_CHAR_KEYSYMS = {"\n": "Return", "\t": "Tab", " ": "space"}


class Input:
    """Real input through XTest on display_name. Every call syncs with the server and then waits
    settle seconds, so the program sees the events in order and at a human-like pace."""

    def __init__(self, display_name, settle=0.01):
        self.d = xdisplay.Display(display_name)
        if not self.d.query_extension("XTEST"):
            raise RuntimeError("no XTEST extension on " + display_name)
        self.root = self.d.screen().root
        self.settle = settle
        self._spare = None

    def close(self):
        self.d.close()

    def _flush(self, settle=None):
        self.d.sync()
        time.sleep(self.settle if settle is None else settle)

    def move(self, x, y):
        xtest.fake_input(self.d, X.MotionNotify, x=int(x), y=int(y))
        self._flush()

    def button(self, button, press):
        xtest.fake_input(self.d, X.ButtonPress if press else X.ButtonRelease, button)
        self._flush()

    def click(self, x, y, button=1, count=1):
        self.move(x, y)
        for _ in range(count):
            xtest.fake_input(self.d, X.ButtonPress, button)
            self.d.sync()
            xtest.fake_input(self.d, X.ButtonRelease, button)
            self._flush()

    def drag(self, x0, y0, x1, y1, steps=8, button=1):
        self.move(x0, y0)
        xtest.fake_input(self.d, X.ButtonPress, button)
        self._flush()
        for i in range(1, steps + 1):
            xtest.fake_input(self.d, X.MotionNotify, x=int(x0 + (x1 - x0) * i / steps),
                             y=int(y0 + (y1 - y0) * i / steps))
            self._flush()
        xtest.fake_input(self.d, X.ButtonRelease, button)
        self._flush()

    def wheel(self, x, y, clicks):
        """Turns the wheel: positive clicks scroll down, negative up."""
        self.move(x, y)
        button = 5 if clicks > 0 else 4
        for _ in range(abs(int(clicks))):
            xtest.fake_input(self.d, X.ButtonPress, button)
            xtest.fake_input(self.d, X.ButtonRelease, button)
            self._flush()

    def _keysym(self, name):
        keysym = XK.string_to_keysym(_KEY_ALIASES.get(name.lower(), name) if len(name) > 1 else name)
        if keysym == X.NoSymbol and len(name) > 1:
            keysym = XK.string_to_keysym(name)
        if keysym == X.NoSymbol and len(name) == 1:
            keysym = ord(name) if ord(name) < 0x100 else 0x01000000 | ord(name)
        if keysym == X.NoSymbol:
            raise ValueError("unknown key name: %r" % name)
        return keysym

    def _keycode(self, keysym):
        """(keycode, needs_shift) for keysym; maps a spare keycode when the keymap lacks it."""
        for code, index in self.d.keysym_to_keycodes(keysym):
            if index in (0, 1):
                return code, index == 1
        if self._spare is None:
            first = self.d.display.info.min_keycode
            count = self.d.display.info.max_keycode - first + 1
            mapping = self.d.get_keyboard_mapping(first, count)
            empty = [first + i for i, syms in enumerate(mapping) if not any(syms)]
            if not empty:
                raise ValueError("no spare keycode for keysym %#x" % keysym)
            self._spare = empty[-1]
        self.d.change_keyboard_mapping(self._spare, [(keysym, keysym)])
        self.d.sync()
        time.sleep(0.05)  # the clients must see MappingNotify before the key arrives
        return self._spare, False

    def _press(self, code, press):
        xtest.fake_input(self.d, X.KeyPress if press else X.KeyRelease, code)

    def key(self, chord):
        """Presses and releases a chord such as 'ctrl+s', 'shift+Tab', 'alt+F4', 'Return', 'a'.
        The last part is the key; the others are modifiers held down around it."""
        if chord.endswith("+") and len(chord) > 1:  # 'ctrl++'
            parts = chord[:-2].split("+") + ["+"] if chord[:-1].endswith("+") else [chord]
        else:
            parts = chord.split("+") if chord != "+" else ["+"]
        modifiers = [self._keycode(self._keysym(p))[0] for p in parts[:-1]]
        code, shift = self._keycode(self._keysym(parts[-1]))
        shift_code = self.d.keysym_to_keycode(XK.XK_Shift_L)
        if shift and shift_code in modifiers:
            shift = False
        held = modifiers + ([shift_code] if shift else [])
        for m in held:
            self._press(m, True)
        self._press(code, True)
        self.d.sync()
        self._press(code, False)
        for m in reversed(held):
            self._press(m, False)
        self._flush()

    def type_text(self, text):
        for ch in text:
            self.key(_CHAR_KEYSYMS.get(ch, ch))

    def release_all(self):
        """Lets go of every modifier and button (after an interrupted chord or drag)."""
        for name in ("Shift_L", "Shift_R", "Control_L", "Control_R", "Alt_L", "Alt_R", "Super_L", "Meta_L"):
            code = self.d.keysym_to_keycode(XK.string_to_keysym(name))
            if code:
                self._press(code, False)
        for b in (1, 2, 3):
            xtest.fake_input(self.d, X.ButtonRelease, b)
        self._flush()


class Windows:
    """Queries the windows on display_name. There is no window manager: toplevels are the root's
    children, and their position is their place on the screen."""

    def __init__(self, display_name):
        self.d = xdisplay.Display(display_name)
        self.root = self.d.screen().root
        self.a = {n: self.d.intern_atom(n) for n in (
            "_NET_WM_PID", "_NET_WM_NAME", "UTF8_STRING", "WM_PROTOCOLS", "WM_DELETE_WINDOW",
            "WM_TRANSIENT_FOR", "WM_CLIENT_LEADER", "_NET_WM_PING")}
        self._ping_serial = 0
        self._watching = False

    def close_connection(self):
        self.d.close()

    def _prop(self, w, name, type_=X.AnyPropertyType):
        try:
            p = w.get_full_property(self.a[name] if name in self.a else self.d.intern_atom(name), type_)
        except xerror.XError:
            return None
        return p.value if p is not None else None

    def _title(self, w):
        v = self._prop(w, "_NET_WM_NAME")
        if v is None:
            try:
                v = w.get_wm_name()
            except xerror.XError:
                v = None
        if isinstance(v, bytes):
            v = v.decode("utf-8", "replace")
        return v or ""

    def toplevels(self, pid, popups=True):
        """(xid, x, y, w, h, title, transient_for, override_redirect) of each mapped toplevel of process
        pid, bottom to top. popups: also the mapped windows that carry no process id - override-redirect
        menus, tooltips and drop-downs, and dialogs the toolkit makes on its own such as the print
        dialog; on a private server only the program makes windows."""
        result = []
        try:
            children = self.root.query_tree().children
        except xerror.XError:
            return result
        for w in children:
            try:
                attrs = w.get_attributes()
                if attrs.map_state != X.IsViewable:
                    continue
                owner = self._prop(w, "_NET_WM_PID")
                override = bool(attrs.override_redirect)
                if owner is not None and len(owner) and int(owner[0]) != pid:
                    continue
                if owner is None and not popups:
                    continue
                g = w.get_geometry()
                pos = w.translate_coords(self.root, 0, 0)
                transient = self._prop(w, "WM_TRANSIENT_FOR")
                transient = int(transient[0]) if transient is not None and len(transient) else None
                result.append((w.id, -pos.x, -pos.y, g.width, g.height, self._title(w), transient, override))
            except xerror.XError:
                continue  # the window went away meanwhile
        return result

    def window_type(self, xid):
        """The window's _NET_WM_WINDOW_TYPE names (e.g. ['_NET_WM_WINDOW_TYPE_TOOLTIP']), or []."""
        w = self.d.create_resource_object("window", xid)
        v = self._prop(w, "_NET_WM_WINDOW_TYPE")
        if v is None:
            return []
        names = []
        for atom in v:
            try:
                names.append(self.d.get_atom_name(int(atom)))
            except xerror.XError:
                pass
        return names

    def main_window(self, pid):
        """The program's largest ordinary toplevel that is transient for nothing, or None."""
        tops = [t for t in self.toplevels(pid, popups=False) if t[6] is None and not t[7]]
        return max(tops, key=lambda t: t[3] * t[4]) if tops else None

    def toplevel_of(self, xid):
        """The root's child that holds window xid (xid itself for a toplevel), or None."""
        try:
            w = self.d.create_resource_object("window", xid)
            while True:
                tree = w.query_tree()
                if tree.parent == 0 or tree.parent.id == self.root.id:
                    return w.id
                w = tree.parent
        except xerror.XError:
            return None

    def focus(self):
        """The toplevel that receives the keyboard's events, or None (none, or the root itself).
        With the focus at PointerRoot that is the toplevel under the pointer."""
        f = self.d.get_input_focus().focus
        on_root = not isinstance(f, int) and f is not None and f.id == self.root.id
        if on_root or (isinstance(f, int) and f == X.PointerRoot):
            child = self.root.query_pointer().child
            return None if isinstance(child, int) or child is None else child.id
        if isinstance(f, int) or f is None:
            return None
        return self.toplevel_of(f.id)

    def pointer(self):
        p = self.root.query_pointer()
        return p.root_x, p.root_y

    def close(self, xid):
        """Asks window xid to close, as its close box does (WM_DELETE_WINDOW)."""
        w = self.d.create_resource_object("window", xid)
        event = protocol.event.ClientMessage(window=w, client_type=self.a["WM_PROTOCOLS"],
                                             data=(32, [self.a["WM_DELETE_WINDOW"], X.CurrentTime, 0, 0, 0]))
        w.send_event(event, event_mask=0)
        self.d.sync()


    def ping(self, xid, timeout):
        """Sends window xid a _NET_WM_PING and waits for the answer: True once the program's event
        loop has read everything sent to it before; False after timeout seconds (a hang)."""
        if not self._watching:
            self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
            self._watching = True
        self._ping_serial += 1
        serial = self._ping_serial
        try:
            w = self.d.create_resource_object("window", xid)
            event = protocol.event.ClientMessage(window=w, client_type=self.a["WM_PROTOCOLS"],
                                                 data=(32, [self.a["_NET_WM_PING"], serial, xid, 0, 0]))
            w.send_event(event, event_mask=0)
            self.d.sync()
        except xerror.XError:
            return True  # the window is gone: nothing to wait for
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            while self.d.pending_events():
                e = self.d.next_event()
                if (e.type == X.ClientMessage and e.client_type == self.a["WM_PROTOCOLS"]
                        and e.data[1][0] == self.a["_NET_WM_PING"] and e.data[1][1] == serial):
                    return True
            time.sleep(0.002)
        return False


def screenshot(display_name, path_png, box=None):
    """Saves the screen (or box = (x, y, w, h) of it) as a PNG."""
    from PIL import Image
    d = xdisplay.Display(display_name)
    try:
        root = d.screen().root
        g = root.get_geometry()
        x, y, w, h = box if box else (0, 0, g.width, g.height)
        raw = root.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF)
        image = Image.frombytes("RGB", (w, h), raw.data, "raw", "BGRX")
    finally:
        d.close()
    image.save(path_png)
    return image


if __name__ == "__main__":
    # Self-test: python3 qmsession.py PROGRAM DISPLAY_NUMBER [OUT]
    import sys
    import tempfile
    program, number = sys.argv[1], int(sys.argv[2])
    out = sys.argv[3] if len(sys.argv) > 3 else tempfile.mkdtemp(prefix="qmsession-")
    unprivileged = os.geteuid() == 0
    with Xserver(number, allow_all=unprivileged) as xs:
        box = Sandbox(os.path.join(out, "sandbox"), program, unprivileged=unprivileged)
        prog = Program(box, xs).start()
        wins = Windows(xs.name)
        assert wait_until(lambda: wins.main_window(prog.pid) is not None, 60), "no main window"
        main = wins.main_window(prog.pid)
        print("main window", main)
        time.sleep(1.0)
        inp = Input(xs.name)
        inp.key("ctrl+n")
        time.sleep(0.5)
        inp.click(main[1] + main[3] // 2, main[2] + main[4] // 2)
        inp.type_text("Hello, World!\n\tx = 1;\n")
        time.sleep(0.5)
        print("windows", wins.toplevels(prog.pid), "focus", wins.focus())
        screenshot(xs.name, os.path.join(out, "selftest.png"))
        assert prog.alive()
        prog.kill()
        print("stderr:", prog.stderr_text()[-2000:])
        print("reports:", box.sanitizer_reports())
        print("out:", out)
