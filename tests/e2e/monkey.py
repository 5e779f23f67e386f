"""Random-input run: starts the real program in a sandbox on a private X server and sends it a long
seeded stream of real input events (clicks, double-clicks, drags, wheel turns, keys, chords, text)
through XTest, only ever into the program's own mapped windows. After every step the program must
still live; a clean exit (e.g. a random Exit) restarts it; at the end the sanitizers must have
reported nothing.

The events of step n depend only on the seed, n and the geometry of the program's windows at that
step, so --seed S --steps N replays a failing run.

Exit status: 0 clean, 1 a finding (details and replay line on stdout, evidence in --out).
"""

import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import qmsession as qs  # noqa: E402
from probe import Probe  # noqa: E402

# The editor's keys, with and without Shift and Ctrl.
NAV_KEYS = ["Left", "Right", "Up", "Down", "Home", "End", "Prior", "Next"]
EDIT_KEYS = ["BackSpace", "Delete", "Return", "KP_Enter", "Tab", "shift+Tab", "Insert", "Escape", "space",
             "KP_Left", "KP_Right", "KP_Up", "KP_Down", "KP_Home", "KP_End", "KP_Prior", "KP_Next",
             "KP_Delete", "ctrl+BackSpace", "ctrl+Delete", "shift+BackSpace", "shift+Return"]
# The accelerators of the main window and the editor, and the menus' mnemonics.
CHORDS = ["ctrl+n", "ctrl+o", "ctrl+s", "ctrl+p", "ctrl+z", "alt+BackSpace", "ctrl+x", "shift+Delete",
          "ctrl+c", "ctrl+Insert", "ctrl+v", "shift+Insert", "ctrl+y", "F6", "shift+F6", "ctrl+a",
          "ctrl+f", "ctrl+h", "ctrl+g", "F3", "shift+F3", "ctrl+shift+z", "ctrl+shift+v", "ctrl+shift+c",
          "alt+f", "alt+e", "alt+v", "alt+w", "alt+h", "F10", "shift+F10", "Menu", "F1", "F2", "F4",
          "F5", "F7", "F8", "F9", "F11", "F12", "ctrl+Tab", "ctrl+shift+Tab", "ctrl+F6", "ctrl+Prior",
          "ctrl+Next", "alt+Left", "alt+Right", "ctrl+plus", "ctrl+minus", "ctrl+0", "ctrl+space"]
# Chords that close a window or the program: rarer, so a run spends its time in the program.
CLOSING = ["alt+F4", "ctrl+F4", "ctrl+w", "ctrl+q"]
WORDS = ["CON ", "VAR ", "OBJ ", "PUB ", "PRI ", "DAT ", "'comment ", "{", "}", "\"text\"", ":=", "byte ",
         "long ", "word ", "repeat", "if ", "else", "return ", "_TICKMODE = XTLOW + MUL16", "\n    ",
         "\t", "  "]
CHARS = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~"
UNICODE = ["\u00e9", "\u00df", "\u20ac", "\u00fc", "\u4e2d"]

SANITIZER_MARKS = re.compile(r"ERROR: AddressSanitizer|ERROR: LeakSanitizer|runtime error:|"
                             r"SUMMARY: (Address|Undefined|Leak)|AddressSanitizer:DEADLYSIGNAL")
# A failed wxWidgets assertion: the program did something its library forbids.
ASSERT_MARK = re.compile(r'assert "[^\n]*" failed')


class Finding(Exception):
    pass


def random_text(r):
    n = r.randint(1, 12)
    parts = []
    for _ in range(n):
        u = r.random()
        if u < 0.45:
            parts.append(r.choice(WORDS))
        elif u < 0.97:
            parts.append(r.choice(CHARS))
        else:
            parts.append(r.choice(UNICODE))
    return "".join(parts)[:40]


def point_in(r, win, margin=2):
    _, x, y, w, h = win[:5]
    return (x + margin + int(r.random() * max(1, w - 2 * margin)),
            y + margin + int(r.random() * max(1, h - 2 * margin)))


def point_in_main(r, win):
    """A point in the main window, a third of the time in its top band (menus, ribbon, tabs) or its
    bottom band (pane tabs, status bar), where most controls are."""
    _, x, y, w, h = win[:5]
    u = r.random()
    fx = r.random()
    if u < 0.2:
        fy = r.random() * 0.2
    elif u < 0.33:
        fy = 0.6 + r.random() * 0.4
    else:
        fy = r.random()
    return x + 2 + int(fx * (w - 4)), y + 2 + int(fy * (h - 4))


class Monkey:
    def __init__(self, args):
        self.args = args
        self.out = os.path.abspath(args.out)
        os.makedirs(self.out, exist_ok=True)
        self.unprivileged = os.geteuid() == 0
        self.events = 0
        self.steps = 0
        self.restarts = 0
        self.dialog_age = {}
        self.log = open(os.path.join(self.out, "events.log"), "w")
        self.stderr_seen = 0
        self.gdb = None
        self.windowless_since = None

    # -- the program ---------------------------------------------------------------------------
    def start_program(self):
        env = {"QUILLMARK_PROBE": self.probe.path} if self.probe else {}
        self.prog = qs.Program(self.box, self.xs, extra_env=env).start()
        timeout = 120
        if not qs.wait_until(lambda: not self.prog.alive() or self.wins.main_window(self.prog.pid), timeout, 0.05):
            raise Finding("no main window %d s after start" % timeout)
        if not self.prog.alive():
            raise Finding("the program ended at start-up with status %s" % self.prog.returncode())
        main = self.wins.main_window(self.prog.pid)
        if not self.wins.ping(main[0], 60):
            raise Finding("the program does not answer after start-up")
        if self.args.gdb:
            # A debugger waits in the background and writes the backtrace of a crash.
            path = os.path.join(self.out, "gdb-%d.txt" % self.prog.pid)
            with open(path, "w") as f:
                self.gdb = subprocess.Popen(
                    ["gdb", "-p", str(self.prog.pid), "-batch", "-ex", "handle SIGPIPE nostop noprint",
                     "-ex", "continue", "-ex", "thread apply all bt"],
                    stdout=f, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
            time.sleep(3)
        time.sleep(0.3)

    def check_reports(self, when):
        reports = self.box.sanitizer_reports()
        stderr = self.prog.stderr_text() if self.prog else ""
        if reports or SANITIZER_MARKS.search(stderr):
            raise Finding("sanitizer report " + when)

    def check_stderr(self):
        """Reads what the program wrote to stderr since the last look: a failed assertion or a
        sanitizer report is a finding at once (an assertion's dialog would otherwise be dismissed
        as any dialog is)."""
        try:
            with open(self.prog.stderr_path, "rb") as f:
                f.seek(self.stderr_seen)
                data = f.read()
        except OSError:
            return
        data = data[:data.rfind(b"\n") + 1]  # only whole lines: the rest is read next time
        self.stderr_seen += len(data)
        new = data.decode("utf-8", "replace")
        m = ASSERT_MARK.search(new) or SANITIZER_MARKS.search(new)
        if m:
            line = new[new.rfind("\n", 0, m.start()) + 1:new.find("\n", m.end())]
            if m.re is ASSERT_MARK and self.prog.alive():
                self.backtrace("assert-backtrace.txt")  # it waits in the assertion's dialog
            raise Finding("stderr: " + line.strip())

    def check_alive(self):
        if self.prog.alive():
            return
        if self.args.gdb and self.gdb is not None:
            # Under the debugger a crash stops the process until the backtrace is written.
            try:
                self.gdb.wait(60)
            except subprocess.TimeoutExpired:
                pass
        code = self.prog.wait(5)
        self.note("program ended with status %s" % code)
        if code == 0:
            self.check_reports("after a clean exit")
            self.restarts += 1
            self.start_program()
            return
        raise Finding("the program ended with status %s%s" % (
            code, " (signal %s)" % signal.Signals(-code).name if code is not None and code < 0 else ""))

    # -- input ---------------------------------------------------------------------------------
    def note(self, text):
        self.log.write("%d: %s\n" % (self.steps, text))

    def send(self, kind, *a):
        self.events += 1
        self.note("%s %s" % (kind, " ".join(map(repr, a))))
        getattr(self.inp, kind)(*a)

    def ensure_keys_land(self, target):
        """Keys go to the focus window: if that is not one of the program's windows (the focus
        follows the pointer when nothing holds it), first move the pointer into target."""
        tops = {t[0] for t in self.wins.toplevels(self.prog.pid)}
        focus = self.wins.focus()
        if focus not in tops:
            x, y = target[1] + target[3] // 2, target[2] + target[4] // 2
            self.send("move", x, y)
            return self.wins.focus() in tops
        return True

    def visible(self, t):
        """Window t cut to the screen (a window may lie partly off it), or None when none shows."""
        x0, y0 = max(t[1], 0), max(t[2], 0)
        x1, y1 = min(t[1] + t[3], self.screen[0]), min(t[2] + t[4], self.screen[1])
        if x1 - x0 < 4 or y1 - y0 < 4:
            return None
        return (t[0], x0, y0, x1 - x0, y1 - y0) + tuple(t[5:])

    def step(self, n):
        r = random.Random("%d:%d" % (self.args.seed, n))
        tops = [v for v in map(self.visible, self.wins.toplevels(self.prog.pid)) if v is not None]
        # The main window: of those that belong to no other, the one with most on the screen
        # (New Frame makes more; one may lie mostly off the screen).
        frames = [t for t in tops if not t[7] and t[6] is None]
        main = max(frames, key=lambda t: t[3] * t[4]) if frames else None
        if main is None:
            # Between windows (e.g. the program is closing), or its window is off the screen:
            # nothing to aim at.
            self.note("no main window on the screen")
            if self.windowless_since is None:
                self.windowless_since = time.monotonic()
            elif time.monotonic() - self.windowless_since > self.args.hang_seconds:
                self.backtrace("windowless-backtrace.txt")
                raise Finding("the program has shown no window for %d s but does not end" % self.args.hang_seconds)
            time.sleep(0.05)
            return
        self.windowless_since = None
        # Tooltips come and go with time: they are no place to aim at.
        popups = [t for t in tops if t[7] and t[3] > 4 and t[4] > 4
                  and "_NET_WM_WINDOW_TYPE_TOOLTIP" not in self.wins.window_type(t[0])]
        dialogs = [t for t in tops if not t[7] and t[0] != main[0]]
        focus = self.wins.focus()
        if popups:
            self.note("popup %r" % (popups[-1][:5],))
            self.popup_step(r, popups[-1], main)
        elif dialogs or (focus is not None and focus != main[0] and focus in {t[0] for t in tops}):
            dialog = next((t for t in dialogs if t[0] == focus), dialogs[-1] if dialogs else main)
            if self.dialog_age.get(dialog[0], 0) > 12 and len(dialogs) > 1:
                # It stays (e.g. a frame behind a modal dialog of its own): try another one.
                dialog = r.choice(dialogs)
            self.note("dialog %r" % (dialog[:6],))
            self.dialog_step(r, dialog)
        else:
            self.dialog_age.clear()
            self.main_step(r, main)

    def popup_step(self, r, popup, main):
        u = r.random()
        if u < 0.55:
            self.send("click", *point_in(r, popup))
        elif u < 0.7:
            self.send("key", "Escape")
        else:
            for _ in range(r.randint(1, 4)):
                self.send("key", r.choice(["Down", "Up", "Left", "Right"]))
            self.send("key", "Return")

    def dialog_step(self, r, dialog):
        age = self.dialog_age.get(dialog[0], 0) + 1
        self.dialog_age[dialog[0]] = age
        u = r.random()
        if age > 12 and u < 0.3:
            # It does not go away by keys or clicks (e.g. a floating pane): its close box.
            self.events += 1
            self.note("close box %r" % (dialog[:6],))
            self.wins.close(dialog[0])
        elif u < 0.35:
            if self.ensure_keys_land(dialog):
                self.send("key", "Escape")
        elif u < 0.55:
            if self.ensure_keys_land(dialog):
                self.send("key", "Return")
        elif u < 0.88:
            self.send("click", *point_in(r, dialog))
        else:
            if self.ensure_keys_land(dialog):
                self.send("type_text", random_text(r))

    def control_point(self, r, main):
        """A point in a random shown control the program reports, or None without the probe."""
        if self.probe is None or not os.path.exists(self.probe.path):
            return None
        rects = self.probe.rects(10)
        if not rects:
            return None
        _, mx, my, mw, mh = main[:5]
        controls = [c for name, c in sorted(rects.items()) if c.shown and c.w > 0 and c.h > 0
                    and name not in ("frame", "client")]
        if not controls:
            return None
        c = r.choice(controls)
        x = c.x + int(r.random() * c.w)
        y = c.y + int(r.random() * c.h)
        if not (mx <= x < mx + mw and my <= y < my + mh):
            return None
        return x, y

    def main_step(self, r, main):
        u = r.random()
        aim = r.random() < 0.4 and self.control_point(r, main)
        if u < 0.26:
            x, y = aim or point_in_main(r, main)
            b = r.random()
            button = 1 if b < 0.8 else (3 if b < 0.97 else 2)
            m = r.random()
            if m < 0.1:
                self.send("key_down", "shift")
                self.send("click", x, y, button)
                self.send("key_up", "shift")
            elif m < 0.15:
                self.send("key_down", "ctrl")
                self.send("click", x, y, button)
                self.send("key_up", "ctrl")
            else:
                self.send("click", x, y, button)
        elif u < 0.32:
            self.send("click", *(aim or point_in_main(r, main)), 1, 2)
        elif u < 0.38:
            x0, y0 = aim or point_in_main(r, main)
            if r.random() < 0.5:
                x1, y1 = point_in_main(r, main)
            else:  # a short drag: selections, sashes, tabs moved a little
                x1 = min(max(main[1] + 1, x0 + r.randint(-80, 80)), main[1] + main[3] - 2)
                y1 = min(max(main[2] + 1, y0 + r.randint(-60, 60)), main[2] + main[4] - 2)
            self.send("drag", x0, y0, x1, y1)
        elif u < 0.45:
            clicks = r.choice([-5, -3, -2, -1, 1, 2, 3, 5, 10])
            self.send("wheel", *point_in_main(r, main), clicks)
        else:
            v = r.random()
            if v < 0.35:
                key = r.choice(NAV_KEYS)
                key = r.choice(["", "", "shift+", "ctrl+", "ctrl+shift+"]) + key
            elif v < 0.55:
                key = r.choice(EDIT_KEYS)
            elif v < 0.77:
                key = r.choice(CHORDS)
            elif v < 0.785:
                key = r.choice(CLOSING)
            else:
                key = None
            if not self.ensure_keys_land(main):
                return
            if key is None:
                self.send("type_text", random_text(r))
            else:
                self.send("key", key)

    # -- the run -------------------------------------------------------------------------------
    def run(self):
        a = self.args
        started = time.monotonic()
        self.box_root = os.path.join(self.out, "sandbox")
        if os.path.exists(self.box_root):
            shutil.rmtree(self.box_root)
        self.prog = None
        failure = None
        with qs.Xserver(a.display_number, allow_all=self.unprivileged) as xs:
            self.xs = xs
            self.box = qs.Sandbox(self.box_root, a.program, unprivileged=self.unprivileged)
            # The program's own report of where its controls are, when it has the probe: a share of
            # the clicks aims at them (tabs, ribbon buttons, close boxes, tree items).
            self.probe = None if a.no_probe else Probe(os.path.join(self.box.runtime, "probe.sock"))
            self.wins = qs.Windows(xs.name)
            g = self.wins.root.get_geometry()
            self.screen = (g.width, g.height)
            self.inp = qs.Input(xs.name, settle=a.settle)
            self.inp.key_down = lambda k: self._modifier(k, True)
            self.inp.key_up = lambda k: self._modifier(k, False)
            try:
                self.start_program()
                n = 0
                while True:
                    if a.steps is not None:
                        if n >= a.steps:
                            break
                    elif time.monotonic() - started >= a.seconds:
                        break
                    self.steps = n + 1
                    self.step(n)
                    n += 1
                    self.check_alive()
                    self.check_stderr()
                    self.settle()
                    if a.shots_from is not None and n >= a.shots_from:
                        qs.screenshot(self.xs.name, os.path.join(self.out, "step-%05d.png" % n))
                    self.check_alive()
                    self.check_stderr()
                self.inp.release_all()
                self.check_reports("during the run")
            except Finding as f:
                failure = str(f)
            except KeyboardInterrupt:
                failure = "interrupted"
            except Exception as e:  # a driver fault: say so, keep the evidence
                failure = "driver error: %r" % e
                import traceback
                traceback.print_exc()
            self.log.flush()
            try:
                qs.screenshot(xs.name, os.path.join(self.out, "screen.png"))
            except Exception:
                pass
            if self.prog is not None:
                self.prog.kill()
            if not failure:
                try:
                    self.check_reports("at the end")
                except Finding as f:
                    failure = str(f)
            self.inp.close()
            self.wins.close_connection()
        seconds = time.monotonic() - started
        print("monkey: seed %d, %d steps, %d events sent, %.1f s, %d restarts"
              % (a.seed, self.steps, self.events, seconds, self.restarts))
        if failure:
            self.report(failure)
            return 1
        shutil.rmtree(self.box_root, ignore_errors=True)
        return 0

    def settle(self):
        """Waits until the program has handled this step's events: it answers a ping when its event
        queue is empty, so the second of two pings is answered only after every event sent before
        the first has been dispatched. The next step then sees the windows this one opened."""
        for _ in range(2):
            main = self.wins.main_window(self.prog.pid)
            if main is None:
                return
            if not self.wins.ping(main[0], self.args.hang_seconds):
                if not self.prog.alive():
                    return
                self.backtrace()
                raise Finding("the program has not answered for %d s (hang)" % self.args.hang_seconds)

    def _modifier(self, name, press):
        code = self.inp._keycode(self.inp._keysym(name))[0]
        self.inp._press(code, press)
        self.inp._flush()

    def backtrace(self, name="hang-backtrace.txt"):
        try:
            text = subprocess.run(["gdb", "-p", str(self.prog.pid), "-batch", "-ex", "thread apply all bt"],
                                  capture_output=True, text=True, timeout=120).stdout
        except Exception as e:
            text = "gdb failed: %r" % e
        with open(os.path.join(self.out, name), "w") as f:
            f.write(text)

    def report(self, failure):
        a = self.args
        print("monkey: FAILED at step %d: %s" % (self.steps, failure))
        print("monkey: replay: /usr/bin/python3 %s --program %s --seed %d --steps %d --display-number N --out DIR"
              % (os.path.abspath(__file__), os.path.abspath(a.program), a.seed, self.steps))
        print("monkey: evidence in %s (sandbox/, screen.png, events.log, sandbox/logs/)" % self.out)
        reports = self.box.sanitizer_reports()
        for path, text in reports.items():
            print("---- %s" % path)
            print(text[:6000])
        stderr = self.prog.stderr_text() if self.prog else ""
        m = SANITIZER_MARKS.search(stderr)
        if m:
            print("---- stderr")
            print(stderr[max(0, m.start() - 200):m.start() + 6000])
        with open(os.path.join(self.out, "events.log")) as f:
            tail = f.readlines()[-15:]
        print("---- last events")
        print("".join(tail), end="")


def _terminate(signum, frame):
    raise KeyboardInterrupt("signal %d" % signum)


def main():
    signal.signal(signal.SIGTERM, _terminate)  # ends the program and the X server on the way out
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--program", required=True)
    p.add_argument("--seconds", type=float, default=60)
    p.add_argument("--steps", type=int, default=None, help="run exactly this many steps (replay)")
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--display-number", type=int, default=19)
    p.add_argument("--out", default="monkey-out")
    p.add_argument("--settle", type=float, default=0.005, help="seconds after each event")
    p.add_argument("--hang-seconds", type=float, default=60)
    p.add_argument("--gdb", action="store_true", help="write a crash's backtrace with gdb (for builds "
                   "without sanitizers)")
    p.add_argument("--shots-from", type=int, default=None, help="a screenshot after each step from this one on")
    p.add_argument("--no-probe", action="store_true", help="aim without the program's report of its controls")
    a = p.parse_args()
    sys.exit(Monkey(a).run())


if __name__ == "__main__":
    main()
