#!/usr/bin/python3
"""A tour of the built program: starts it in a fresh sandbox on its own X server, finds its controls
through the probe and uses each of them with real input (XTest) - tabs, ribbon pages and buttons,
quick-access tools, menus, panes, the application looks, editing after each way of opening a
document, the Section View, closing a modified document and the ways the program ends. After every
step it checks that the process is alive and the main window answers. A failed step is reported with
a screenshot in the output folder and the tour goes on (restarting the program when it died). The
exit status is 1 when any step failed.

    tour.py --program build/release/app/quillmark --out DIR [--display-number N] [--slow FACTOR]
"""

import argparse
import os
import shutil
import signal
import sys
import time
import traceback

sys.dont_write_bytecode = True  # no cache files in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from qmsession import Input, Program, Sandbox, Windows, Xserver, screenshot, wait_until  # noqa: E402
from probe import Probe  # noqa: E402
from free_display import free_display  # noqa: E402

# Command ids as the program's menus, ribbon and probe give them.
ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_CLOSE, ID_FILE_SAVE = 57600, 57601, 57602, 57603
ID_APP_EXIT = 57665
MENU_EXIT = 24897
LOOKS = [205, 206, 207, 208, 209, 210, 215, 216, 217, 218, 219]
CHIP = {32775: "Find Tarn", 32777: "Compile", 32776: "Load RAM", 32778: "Load EEPROM"}
PANES = {"FileAndSectionView": [32772, 32773], "Output": [32774]}


class StepFailed(Exception):
    pass


def check(condition, message):
    if not condition:
        raise StepFailed(message)


class Editor:
    """What the editor should hold after keys: a model of lines, caret and selection anchor."""

    def __init__(self, text):
        # Lines end with a line feed (a carriage return before it goes); a last line without one
        # is a line too.
        text = text.replace("\r\n", "\n")
        self.lines = (text[:-1] if text.endswith("\n") else text).split("\n")
        self.line = self.col = 0
        self.anchor = None
        self.clip = ""
        self.undo = []
        self.redo = []

    def text(self):
        """The file the editor saves: each line and a line feed."""
        return "".join(line + "\n" for line in self.lines)

    def _select(self, shift):
        if shift and self.anchor is None:
            self.anchor = (self.line, self.col)
        elif not shift:
            self.anchor = None

    def _sel(self):
        if self.anchor is None or self.anchor == (self.line, self.col):
            return None
        return tuple(sorted([self.anchor, (self.line, self.col)]))

    def _delete_sel(self):
        (l0, c0), (l1, c1) = self._sel()
        self.lines[l0:l1 + 1] = [self.lines[l0][:c0] + self.lines[l1][c1:]]
        self.line, self.col, self.anchor = l0, c0, None

    def _snapshot(self):
        self.undo.append((list(self.lines), self.line, self.col))
        self.redo = []

    def key(self, k):
        shift = k.startswith("shift+")
        name = k[6:] if shift else k
        if name == "ctrl+z":
            if self.undo:
                self.redo.append((list(self.lines), self.line, self.col))
                self.lines, self.line, self.col = self.undo.pop()
            return
        if name == "ctrl+y":
            if self.redo:
                self.undo.append((list(self.lines), self.line, self.col))
                self.lines, self.line, self.col = self.redo.pop()
            return
        if name in ("ctrl+c", "ctrl+x"):
            sel = self._sel()
            if sel:
                (l0, c0), (l1, c1) = sel
                self.clip = self.lines[l0][c0:c1] if l0 == l1 else None
                if name == "ctrl+x":
                    self._snapshot()
                    self._delete_sel()
            return
        if name == "ctrl+v":
            self._snapshot()
            if self._sel():
                self._delete_sel()
            self._insert(self.clip)
            return
        last = len(self.lines) - 1
        moves = {
            "Home": lambda: (self.line, 0), "End": lambda: (self.line, len(self.lines[self.line])),
            "ctrl+Home": lambda: (0, 0), "ctrl+End": lambda: (last, len(self.lines[last])),
            "Up": lambda: (max(self.line - 1, 0), min(self.col, len(self.lines[max(self.line - 1, 0)]))),
            "Down": lambda: (min(self.line + 1, last), min(self.col, len(self.lines[min(self.line + 1, last)]))),
            "Left": lambda: (self.line, self.col - 1) if self.col else
            ((self.line - 1, len(self.lines[self.line - 1])) if self.line else (0, 0)),
            "Right": lambda: (self.line, self.col + 1) if self.col < len(self.lines[self.line]) else
            ((self.line + 1, 0) if self.line < last else (self.line, self.col)),
            # Page keys of a document shorter than a page go to the first and last line.
            "Prior": lambda: (0, min(self.col, len(self.lines[0]))),
            "Next": lambda: (last, min(self.col, len(self.lines[last]))),
        }
        if name in moves:
            self._select(shift)
            self.line, self.col = moves[name]()
            return
        self._snapshot()
        if self._sel():
            self._delete_sel()
            if name == "BackSpace":
                return
        self.anchor = None
        if name == "BackSpace":
            if self.col:
                s = self.lines[self.line]
                self.lines[self.line] = s[:self.col - 1] + s[self.col:]
                self.col -= 1
            elif self.line:
                self.col = len(self.lines[self.line - 1])
                self.lines[self.line - 1:self.line + 1] = [self.lines[self.line - 1] + self.lines[self.line]]
                self.line -= 1
        elif name == "Return":
            self._insert("\n")
        else:
            self._insert(name)

    def _insert(self, text):
        parts = text.split("\n")
        s = self.lines[self.line]
        head, tail = s[:self.col], s[self.col:]
        if len(parts) == 1:
            self.lines[self.line] = head + text + tail
            self.col += len(text)
        else:
            new = [head + parts[0]] + parts[1:-1] + [parts[-1] + tail]
            self.lines[self.line:self.line + 1] = new
            self.line += len(parts) - 1
            self.col = len(parts[-1])


# The keys of one editing pass: typing, Return, Backspace, arrows, Home/End, page keys, undo and
# redo, and copy, cut and paste of a selection made with Shift. One entry per key; plain text is
# typed a character at a time.
EDIT_SCRIPT = (["ctrl+Home"] + list("alpha") + ["Return"] + list("beta gamma") + ["BackSpace", "BackSpace",
               "Home", "X", "End", "Y", "Up", "End", "Z", "Down", "Left", "Left", "Right", "-",
               "ctrl+z", "ctrl+y", "ctrl+z", "ctrl+Home", "Next", "Prior", "^", "End", "$",
               "shift+Home", "ctrl+c", "Down", "End", "ctrl+v", "shift+Home", "ctrl+x", "ctrl+v", "."])


class Tour:
    def __init__(self, program, out, display_number, slow):
        self.program_path = program
        self.out = os.path.abspath(out)
        self.slow = slow
        self.display_number = display_number
        self.steps = 0
        self.failures = []
        self.sandbox = None
        self.program = None
        self.probe = None
        self.starts = 0
        self.files = None
        self.new_text = None

    # ---- program ----
    def start(self, args=(), wait_main=True):
        self.starts += 1
        path = os.path.join(self.sandbox.runtime, "probe-%d.sock" % self.starts)
        self.program = Program(self.sandbox, self.xs, args=list(args),
                               extra_env={"QUILLMARK_PROBE": path}).start()
        self.probe = Probe(path)
        if wait_main:
            check(self.probe.wait_ready(30 * self.slow), "the program did not start (no probe answer)")
            check(wait_until(lambda: self.main() is not None, 20 * self.slow), "no main window")
            self.settle()
            self.dismiss_dialogs()
            self.park()

    def main(self):
        return self.wins.main_window(self.program.pid) if self.program else None

    def settle(self):
        """Waits until the program has handled what was sent: a probe round trip through its loop."""
        self.inp.d.sync()
        time.sleep(0.03 * self.slow)
        self.probe.ping(5 * self.slow)

    def alive_and_answering(self):
        if not self.program.alive():
            return "the program died (exit status %s)" % self.program.returncode()
        if not self.probe.ping(10 * self.slow):
            return "the main window does not answer"
        if self.main() is None:
            return "the program runs without its main window"
        return None

    def stop_program(self):
        if self.program and self.program.alive():
            self.program.kill()

    def restart(self, args=()):
        self.stop_program()
        self.start(args)

    # ---- windows ----
    def dialogs(self):
        """Toplevels of the program other than the main window (dialogs, previews, file choosers)."""
        m = self.main()
        return [t for t in self.wins.toplevels(self.program.pid, popups=False)
                if (m is None or t[0] != m[0]) and not t[7]]

    def popups(self):
        return [t for t in self.wins.toplevels(self.program.pid) if t[7] and t[3] > 1 and t[4] > 1]

    def dismiss_dialogs(self, keys=("Escape", "Escape", "Return", "Escape")):
        """Answers every open dialog by keys; closes other windows by their close box. Returns the
        titles seen."""
        seen = []
        for k in keys:
            ds = self.dialogs()
            if not ds:
                break
            seen.extend(d[5] for d in ds)
            top = ds[-1]
            self.inp.move(top[1] + top[3] // 2, top[2] + min(top[4] // 2, 10))
            self.key(k)
            self.settle()
            wait_until(lambda: not self.dialogs(), 1.5 * self.slow)
        for d in self.dialogs():
            self.wins.close(d[0])
            self.settle()
        wait_until(lambda: not self.dialogs(), 2 * self.slow)
        if self.popups():
            self.inp.key("Escape")
            self.settle()
        return seen

    def wait_dialog(self, timeout=5):
        wait_until(lambda: self.dialogs(), timeout * self.slow)
        ds = self.dialogs()
        return ds[-1] if ds else None

    def rects(self):
        r = self.probe.rects(10 * self.slow)
        check(r is not None, "the probe did not answer")
        return r

    def state(self):
        s = self.probe.state(10 * self.slow)
        check(s is not None, "the probe did not answer")
        return s

    def park(self):
        """The pointer rests over the main window's status bar: keys go to the main window."""
        r = self.probe.rects(10 * self.slow) or {}
        bar = r.get("statusbar")
        if bar and bar.shown:
            self.inp.move(bar.x + bar.w // 2, bar.y + bar.h // 2)
        elif self.main():
            m = self.main()
            self.inp.move(m[1] + m[3] // 2, m[2] + m[4] - 5)

    def click(self, name, dx=None, dy=None, count=1, rects=None):
        r = rects or self.rects()
        check(name in r, "no control %s" % name)
        c = r[name]
        check(c.shown and c.w > 0 and c.h > 0, "control %s is not shown" % name)
        x = c.x + (c.w // 2 if dx is None else (dx if dx >= 0 else c.w + dx))
        y = c.y + (c.h // 2 if dy is None else (dy if dy >= 0 else c.h + dy))
        self.inp.click(x, y, count=count)
        self.settle()
        return c

    def key(self, chord):
        """A key or chord as a person presses it: the modifiers stay down until the program has
        handled the key."""
        parts = chord.split("+")
        if len(parts) == 1 or chord == "+":
            self.inp.key(chord)
            return
        from Xlib import X, XK
        from Xlib.ext import xtest
        d = self.inp.d
        mods = [d.keysym_to_keycode(XK.string_to_keysym({"ctrl": "Control_L", "shift": "Shift_L",
                                                         "alt": "Alt_L"}[m])) for m in parts[:-1]]
        for m in mods:
            xtest.fake_input(d, X.KeyPress, m)
        d.sync()
        time.sleep(0.02)
        self.inp.key(parts[-1])
        self.settle()
        for m in reversed(mods):
            xtest.fake_input(d, X.KeyRelease, m)
        d.sync()
        time.sleep(0.01)

    def type_keys(self, keys):
        for k in keys:
            self.key(k) if len(k) > 1 else self.inp.type_text(k)
        self.settle()

    def answer(self, key):
        """Presses key at the dialog on top (the pointer over it, so that it has the keyboard)."""
        ds = self.dialogs()
        if ds:
            top = ds[-1]
            self.inp.move(top[1] + top[3] // 2, top[2] + min(top[4] // 2, 10))
        self.key(key)
        self.settle()

    def active_document(self):
        docs = [d for d in self.state()["documents"] if d[1]]
        return docs[0] if docs else None

    # ---- steps ----
    def step(self, name, action, *args):
        self.steps += 1
        number = self.steps
        error = None
        try:
            if self.program is None or not self.program.alive():
                raise StepFailed("the program was not running before the step")
            action(*args)
        except StepFailed as e:
            error = str(e)
        except Exception as e:  # a broken step is reported, the tour goes on
            error = "%s: %s" % (type(e).__name__, e)
            traceback.print_exc()
        if error is None and self.program is not None:
            problem = self.alive_and_answering()
            if problem:
                error = problem
        if error is not None and self.program is not None and not self.program.alive() \
                and not error.startswith("the program died") and "status" not in error:
            error = "the program died (exit status %s) - %s" % (self.program.returncode(), error)
        status = "ok" if error is None else "FAILED"
        print("%3d %-62s %s%s" % (number, name, status, "" if error is None else ": " + error), flush=True)
        if error is None:
            return True
        shot = os.path.join(self.out, "tour-%03d.png" % number)
        try:
            screenshot(self.xs.name, shot)
        except Exception:
            shot = "(no screenshot)"
        dead = self.program is None or not self.program.alive() or self.main() is None
        if dead and self.program is not None:
            tail = self.program.stderr_text()[-1500:]
            if tail.strip():
                error += "\n      stderr: " + tail.strip().replace("\n", "\n      ")
        self.failures.append((number, name, error, shot))
        try:
            if dead:
                self.restart()
            else:
                self.dismiss_dialogs()
                self.inp.release_all()
                self.park()
        except Exception as e:
            print("    could not restart: %s" % e, flush=True)
        return False

    # ---- the tour's parts ----
    def make_files(self):
        docs = os.path.join(self.sandbox.home, "d")
        os.makedirs(docs, exist_ok=True)
        self.files = {}
        for name, text in (("cmdline.vorn", "CON 'first\r\nx = 1\r\n"), ("opened.vorn", "VAR 'second\r\ny\r\n"),
                           ("recent.vorn2", "PUB 'third\r\nz\r\n"), ("handed.vorn", "DAT 'fourth\r\nw\r\n"),
                           ("close.vorn", "PRI 'fifth\r\nq\r\n"),
                           ("sections.vorn", "CON 'alpha\r\nx\r\nVAR 'beta\r\ny\r\nPUB 'gamma\r\nz\r\n")):
            path = os.path.join(docs, name)
            with open(path, "wb") as f:
                f.write(text.encode())
            self.sandbox.chown_for_program(path)
            self.files[name] = path
        return docs

    def read(self, path):
        with open(path, "rb") as f:
            return f.read().decode("latin-1")

    def edit_and_compare(self, path, before, click_editor=False, save_by_key=False, title=None):
        """Runs the editing keys in the active document, saves it with Ctrl+S (answering a Save As
        chooser with `path`) and compares the file with what the keys should have made."""
        if click_editor:
            e = self.rects().get("editor")
            check(e is not None and e.shown, "no editor shown")
            self.inp.click(e.x + e.w - 40, e.y + e.h - 20)
        else:
            self.park()
        model = Editor(before)
        for k in EDIT_SCRIPT:
            model.key(k)
        modified = {d[3] for d in self.state()["documents"] if d[2]}
        self.type_keys(EDIT_SCRIPT)
        self.check_typed_into(path, title, modified)
        self.save_active(path, save_by_key)
        got = self.read(path)
        check(got == model.text(), "saved text differs from what was typed: expected %r..., got %r..."
              % (model.text()[:80], got[:80]))

    def check_typed_into(self, path, title=None, modified_before=()):
        """The document at path (or titled `title`) must be modified after typing; else the keys went
        elsewhere."""
        st = self.state()
        doc = [d for d in st["documents"] if (d[3] == title if title else d[4] == path)]
        check(doc, "the document %s is gone" % (title or path))
        if not doc[0][2]:
            others = [d[3] for d in st["documents"] if d[2] and d[3] != doc[0][3] and d[3] not in modified_before]
            raise StepFailed("the typed keys went %s: the document is unmodified (keyboard focus: %s)"
                             % ("into " + ", ".join(others) if others else "nowhere", "/".join(st["focus"])))

    def save_active(self, path, by_key=False):
        """Saves the active document by the quick-access Save tool (or Ctrl+S); a Save As chooser is
        answered with path. The file must be written."""
        before = os.stat(path).st_mtime_ns if os.path.exists(path) else None
        time.sleep(0.01)
        if by_key:
            self.park()
            self.key("ctrl+s")
        else:
            r = self.rects()
            tool = [k for k, c in r.items() if k.startswith("qat.") and c.text.endswith(" Save")]
            check(tool, "no Save tool")
            check(r[tool[0]].enabled, "the Save tool is disabled (documents: %s)" % self.state()["documents"])
            self.click(tool[0], rects=r)
        self.settle()
        d = self.wait_dialog(1.5)
        if d:
            self.answer_file_chooser(path)
        self.settle()
        check(wait_until(lambda: not self.dialogs(), 5 * self.slow), "a dialog stayed open after saving")
        check(wait_until(lambda: os.path.exists(path) and os.stat(path).st_mtime_ns != before, 3 * self.slow),
              "%s did not save the document%s" % ("Ctrl+S" if by_key else "the Save tool",
                                                   " (no Save As chooser appeared)" if not d else ""))

    def first_kind_active(self):
        """Makes a document whose menu bar has the File menu active (the second kind's has Help only)."""
        if "File" in [m[2] for m in self.menus()[0]]:
            return
        r = self.rects()
        for name in sorted(k for k in r if k.startswith("doc.tab.") and not k.endswith(".close")):
            self.click(name)
            if "File" in [m[2] for m in self.menus()[0]]:
                return
        self.key("ctrl+n")
        self.settle()
        if self.wait_dialog(2):
            self.answer("Return")
        check("File" in [m[2] for m in self.menus()[0]], "no document of the first kind")

    def answer_file_chooser(self, path):
        """Types a full path into the open file chooser and confirms it."""
        d = self.wait_dialog()
        check(d is not None, "no file chooser appeared")
        self.inp.move(d[1] + d[3] // 2, d[2] + 10)
        self.key("ctrl+l")
        time.sleep(0.2 * self.slow)
        self.key("ctrl+a")
        # Short, from the home folder, and one character at a time: the chooser completes names
        # inline while they are typed.
        home = self.sandbox.home + "/"
        typed = "~/" + path[len(home):] if path.startswith(home) else path
        for ch in typed:
            self.inp.type_text(ch)
            time.sleep(0.08)
        time.sleep(0.3 * self.slow)
        self.inp.key("Return")
        self.settle()
        # A "replace?" question answers yes.
        if wait_until(lambda: [x for x in self.dialogs() if x[0] != d[0]], 0.7 * self.slow):
            self.answer("alt+r")
            self.settle()
        check(wait_until(lambda: not self.dialogs(), 5 * self.slow), "the file chooser did not close")

    # Menus: opened by a click on the menu bar (or F10 / Alt+letter), items reached by arrows.
    def menus(self):
        m = self.probe.menus(10 * self.slow)
        check(m is not None, "the probe did not answer")
        return m

    def menu_index(self, title):
        menus, _, _ = self.menus()
        found = [i for i, m in enumerate(menus) if m[2] == title]
        check(found, "the menu bar has no %s menu (it has %s)" % (title, [m[2] for m in menus]))
        return found[0]

    def click_editor(self):
        e = self.rects().get("editor")
        check(e is not None and e.shown, "no editor shown")
        self.inp.click(e.x + e.w - 40, e.y + e.h - 20)
        self.settle()

    def open_menu(self, title, how):
        """Opens the menu `title`: a click on the menu bar's first title and arrows, or F10 and
        arrows, or Alt and the title's first letter - these two with the keyboard in the editor."""
        if title != "Help":
            self.first_kind_active()
        index = self.menu_index(title)
        r = self.rects()
        bar = r.get("menubar")
        check(bar is not None and bar.shown, "no menu bar")
        if how != "click":
            self.click_editor()
        if how == "click":
            self.inp.click(bar.x + 18, bar.y + bar.h // 2)
            self.settle()
            for _ in range(index):
                self.inp.key("Right")
        elif how == "F10":
            self.inp.key("F10")
            self.settle()
            for _ in range(index):
                self.inp.key("Right")
        else:  # alt: the title's mnemonic
            self.key("alt+" + title[0].lower())
        self.settle()
        check(wait_until(lambda: self.popups(), 2 * self.slow), "the %s menu did not open (%s)" % (title, how))

    def choose(self, path, items):
        """Moves the highlight down to the item with `path` (entering submenus) and presses Return."""
        by_path = {i.path: i for i in items}
        parts = path.split(".")
        for depth in range(2, len(parts) + 1):
            target = by_path[".".join(parts[:depth])]
            siblings = [i for i in items if i.path.count(".") == depth - 1
                        and i.path.startswith(".".join(parts[:depth - 1]) + ".")]
            selectable = [i for i in siblings if i.kind != "separator" and i.enabled]
            found = False
            for _ in range(len(selectable) + 2):
                if self.menus()[2] == target.id:
                    found = True
                    break
                self.inp.key("Down")
                self.settle()
            check(found, "could not reach menu item %s by arrows" % target.label)
            if depth < len(parts):
                self.inp.key("Right")
                self.settle()
        self.inp.key("Return")
        self.settle()

    def menu_command(self, title, item_id, how="click", label=None):
        """Chooses the item with item_id (or, for the recent files, the label ending with `label`) of
        menu `title`. Returns False, with the menu closed again, when the item is disabled."""
        self.open_menu(title, how)
        items = self.menus()[0][self.menu_index(title)][3]
        target = [i for i in items if (i.label.endswith(label) if label else i.id == item_id)]
        check(target, "the %s menu has no item %s" % (title, label or item_id))
        if not target[0].enabled:
            self.inp.key("Escape")
            self.inp.key("Escape")
            self.settle()
            return False
        self.choose(target[0].path, items)
        return True

    def popup_command(self, item_id):
        check(wait_until(lambda: self.popups(), 2 * self.slow), "no popup menu opened")
        _, popup, _ = self.menus()
        check(popup is not None, "the probe saw no popup menu")
        target = [i for i in popup if i.id == item_id]
        check(target, "popup has no item %d" % item_id)
        self.choose(target[0].path, popup)

    def look_is(self, look):
        check(wait_until(lambda: self.state().get("look") == look, 3 * self.slow),
              "the look is %s, not %d" % (self.state().get("look"), look))


def run_tour(t):
    sb = t.sandbox
    docs = t.make_files()

    # ---- first start: a document from the command line, typed into at once ----
    def first_start():
        t.start([t.files["cmdline.vorn"]])
        check(t.active_document() is not None, "no active document after a start with a file")

    t.steps += 1
    try:
        first_start()
        print("  1 start with a file on the command line                       ok", flush=True)
    except Exception as e:
        print("  1 start with a file on the command line                       FAILED: %s" % e, flush=True)
        t.failures.append((1, "start", str(e), ""))
        t.restart()

    t.step("type right after a command-line open, save, compare",
           t.edit_and_compare, t.files["cmdline.vorn"], "CON 'first\r\nx = 1\r\n")

    def click_and_edit():
        before = t.read(t.files["cmdline.vorn"])
        t.edit_and_compare(t.files["cmdline.vorn"], before, click_editor=True, save_by_key=True)
    t.step("click into the editor, type, save by Ctrl+S, compare", click_and_edit)

    # ---- tabs of every notebook ----
    def click_tab(prefix, i, key):
        r = t.rects()
        doc = t.active_document()
        t.click("%s%d" % (prefix, i), rects=r)
        st = t.state()
        if key:
            check(st.get(key) == i, "tab %d of %s is not selected after its click (%s)" % (i, prefix, st.get(key)))
            after = [d for d in st["documents"] if d[1]]
            check(not doc or (after and after[0][3] == doc[3]), "a pane tab switched the active document")
        else:
            now = [d for d in st["documents"] if d[1]]
            check(now and now[0][3] == r["%s%d" % (prefix, i)].text.rstrip("*"),
                  "the clicked document tab is not the active document")

    # A second document of each kind, so the document tabs have something to switch between.
    def new_of_kind(kind_index):
        t.park()
        t.key("ctrl+n")
        t.settle()
        d = t.wait_dialog(2)
        if d:
            for _ in range(kind_index):
                t.inp.key("Down")
            t.inp.key("Return")
            t.settle()
        check(wait_until(lambda: not t.dialogs(), 3 * t.slow), "the New dialog stayed open")
    t.step("File New (Ctrl+N), first kind", new_of_kind, 0)
    t.step("File New (Ctrl+N), second kind", new_of_kind, 1)
    r = t.rects()
    for i in range(len([k for k in r if k.startswith("doc.tab.") and not k.endswith(".close")])):
        t.step("click document tab %d (%s)" % (i, r["doc.tab.%d" % i].text), click_tab, "doc.tab.", i, None)
    for prefix, key, count in (("side.tab.", "sidepage", 2), ("output.tab.", "outputpage", 3)):
        for rep in range(2):
            for i in range(count):
                label = r.get("%s%d" % (prefix, i))
                t.step("click %s%d (%s)%s" % (prefix, i, label.text if label else "?", " again" if rep else ""),
                       click_tab, prefix, i, key)

    # ---- ribbon pages and buttons ----
    def ribbon_page(i):
        t.click("ribbon.page.%d" % i)
        check(t.rects()["ribbon.page.%d" % i].checked, "ribbon page %d did not become active" % i)

    def ribbon_button(name, part):
        r = t.rects()
        c = r[name]
        kind = c.text.split(" ", 1)[0]
        if part == "drop":
            # the arrow: the right end of a small button, the bottom of a large one
            if c.h < 40:
                t.click(name, dx=-6, rects=r)
            else:
                t.click(name, dy=-8, rects=r)
            check(wait_until(lambda: t.popups(), 2 * t.slow), "the drop-down menu did not open")
            _, popup, _ = t.menus()
            check(popup is not None, "the probe saw no popup menu")
            t.inp.key("Escape")
            t.settle()
            return popup
        t.click(name, dx=c.w // 2, dy=min(c.h // 2, 20) if kind == "hybrid" and c.h >= 40 else None, rects=r)
        wait_until(lambda: t.dialogs() or t.popups(), min(0.4 * t.slow, 1.0))
        t.dismiss_dialogs()
        return None

    def ribbon_popup_item(name, item):
        r = t.rects()
        c = r[name]
        t.click(name, dx=-6, rects=r) if c.h < 40 else t.click(name, dy=-8, rects=r)
        t.popup_command(item.id)
        wait_until(lambda: t.dialogs(), min(0.4 * t.slow, 1.0))
        t.dismiss_dialogs()

    r = t.rects()
    pages = sorted(k for k in r if k.startswith("ribbon.page."))
    for page_name in pages:
        i = int(page_name.rsplit(".", 1)[1])
        t.step("ribbon page %d (%s)" % (i, r[page_name].text), ribbon_page, i)
        rr = t.rects()
        buttons = [k for k, c in rr.items() if k.startswith("ribbon.button.") and c.shown]
        for b in buttons:
            c = rr[b]
            cmd = b.rsplit(".", 1)[1]
            if cmd in (str(ID_APP_EXIT),) or cmd in [str(k) for k in CHIP]:
                continue  # Exit ends the program (below); the chip commands get their own steps
            if not c.enabled:
                continue
            kind = c.text.split(" ", 1)[0]
            if kind in ("hybrid", "dropdown"):
                if kind == "hybrid":
                    t.step("ribbon button %s (%s)" % (cmd, c.text), ribbon_button, b, "main")
                popup = []

                def open_drop(b=b):
                    popup.extend(ribbon_button(b, "drop") or [])
                t.step("ribbon drop-down %s (%s)" % (cmd, c.text), open_drop)
                for item in popup:
                    if item.kind != "separator" and item.enabled and item.id != MENU_EXIT:
                        t.step("ribbon drop-down %s item %s" % (cmd, item.label), ribbon_popup_item, b, item)
            else:
                t.step("ribbon button %s (%s)" % (cmd, c.text), ribbon_button, b, "main")
            if not t.rects().get(page_name, None) or not t.rects()[page_name].checked:
                ribbon_page(i) if t.program.alive() else None
        if not t.program.alive():
            t.restart()

    # ---- quick-access tools and the tab bar's tools ----
    def tool(name):
        t.click(name)
        wait_until(lambda: t.dialogs() or t.popups(), min(0.5 * t.slow, 1.0))
        t.dismiss_dialogs()

    r = t.rects()
    for name in sorted(k for k in r if k.startswith("qat.") or k.startswith("tabbar.")):
        if name == "tabbar.0":
            continue  # the Style menu: the looks below
        t.step("tool %s (%s)" % (name, r[name].text), tool, name)

    # ---- the chip commands run the fake tools; the Build list shows what they print ----
    def chip(command):
        t.first_kind_active()
        t.click("ribbon.page.1")
        before = t.probe.output() or []
        printed = t.program.stdout_text()
        t.click("ribbon.button.%d" % command)
        wait_until(lambda: t.dialogs(), 0.5 * t.slow)
        seen = t.dismiss_dialogs(("Return", "Escape", "Escape"))
        if command == 32775:
            # Find Tarn shows nothing in the list: the tool prints to the program's own output.
            ok = wait_until(lambda: "fake Galvect.exe: /ID" in t.program.stdout_text()[len(printed):], 5 * t.slow)
            check(ok, "the tool did not run (dialogs: %s)" % seen)
            return
        ok = wait_until(lambda: (t.probe.output() or before) != before
                        and any("fake" in line for line in t.probe.output() or []), 5 * t.slow)
        check(ok, "the Build list shows no output of the tools (dialogs: %s; last lines: %s)"
              % (seen, (t.probe.output() or [])[-3:]))
    for command, label in CHIP.items():
        t.step("chip command %s" % label, chip, command)

    # ---- panes: their close boxes, then the View commands ----
    def close_pane(pane):
        t.click("pane.%s.close" % pane)
        check(wait_until(lambda: not t.state()["panes"].get(pane, True), 2 * t.slow),
              "the %s pane is still shown after its close box" % pane)

    def view_command(pane, command):
        t.click("ribbon.page.1")
        t.click("ribbon.button.%d" % command)
        check(wait_until(lambda: t.state()["panes"].get(pane), 2 * t.slow),
              "the %s pane is not shown after its View command" % pane)

    for pane, commands in PANES.items():
        for command in commands:
            t.step("close the %s pane by its close box" % pane, close_pane, pane)
            t.step("show the %s pane by View command %d" % (pane, command), view_command, pane, command)

    # ---- the eleven looks, each twice: View menu, Style menu ----
    def look_by_menu(look, how):
        t.menu_command("View", look, how)
        t.look_is(look)

    def look_by_style(look):
        t.click("tabbar.0", dx=-5)
        t.popup_command(look)
        t.look_is(look)

    menus = t.menus()[0]
    menu_looks = [it.id for m in menus for it in m[3] if it.id in LOOKS]
    for rep in range(2):
        for look in LOOKS:
            if look in menu_looks and rep == 0:
                t.step("look %d from the View menu" % look, look_by_menu, look, "click")
            elif look in (215, 216, 217, 218, 219):
                t.step("look %d from the Style menu" % look, look_by_style, look)
            else:
                t.step("look %d from the View menu again" % look, look_by_menu, look, "click")

    # ---- every menu item, menus opened by a click, F10 and Alt+letter ----
    def menu_item(title, item):
        if item.id == 24848 or item.label[:2] in ("1 ", "2 ", "3 ", "4 "):
            chosen = t.menu_command(title, None, label=item.label.split(" ", 1)[1])
        else:
            chosen = t.menu_command(title, item.id)
        wait_until(lambda: t.dialogs(), min(0.4 * t.slow, 1.0))
        t.dismiss_dialogs()
        if not chosen:
            print("      (%s is disabled when its menu opens)" % item.label)

    def menu_opens(title, how):
        t.open_menu(title, how)
        t.inp.key("Escape")
        t.inp.key("Escape")
        t.settle()

    t.step("a document of the first kind is active", t.first_kind_active)
    menus = t.menus()[0]
    for index, (key, _, title, items) in enumerate(menus):
        for how in ("F10", "alt"):
            t.step("open the %s menu by %s from the editor" % (title, how), menu_opens, title, how)
        for item in items:
            if item.kind in ("separator", "submenu") or item.id in LOOKS or item.id == MENU_EXIT:
                continue
            t.step("menu %s > %s" % (title, item.label), menu_item, title, item)

    # ---- File Open, the recent list, File New, a second start handing over a file ----
    def open_by_menu():
        t.menu_command("File", 24833)
        t.answer_file_chooser(t.files["opened.vorn"])
        check(wait_until(lambda: (t.active_document() or (0, 0, 0, "", ""))[4] == t.files["opened.vorn"],
                         3 * t.slow), "the opened file is not the active document")
        t.edit_and_compare(t.files["opened.vorn"], "VAR 'second\r\ny\r\n")
    t.step("File Open by the menu, type at once, save, compare", open_by_menu)

    def open_recent():
        # The recent list learns the file when it is opened and closed.
        t.park()
        t.key("ctrl+o")
        t.answer_file_chooser(t.files["recent.vorn2"])
        # The ribbon's Close and Recent Documents serve both kinds (the second kind has no File menu).
        t.click("ribbon.page.0")
        t.click("ribbon.button.%d" % ID_FILE_CLOSE)
        t.dismiss_dialogs()
        check(not [d for d in t.state()["documents"] if d[4] == t.files["recent.vorn2"]], "the file did not close")
        t.click("ribbon.page.0")
        t.click("ribbon.button.recent")
        check(wait_until(lambda: t.popups(), 2 * t.slow), "the recent list did not open")
        _, popup, _ = t.menus()
        entry = [i for i in popup or [] if i.label.endswith("recent.vorn2")]
        check(entry, "the recent list does not show the closed file: %s" % [i.label for i in popup or []])
        t.popup_command(entry[0].id)
        check(wait_until(lambda: (t.active_document() or (0, 0, 0, "", ""))[4] == t.files["recent.vorn2"],
                         3 * t.slow), "the recent file is not the active document")
        t.edit_and_compare(t.files["recent.vorn2"], "PUB 'third\r\nz\r\n")
    t.step("open from the recent list, type at once, save, compare", open_recent)

    def new_text():
        # The text a new document starts with, as saved untouched.
        if t.new_text is None:
            path = os.path.join(docs, "untouched.vorn")
            new_of_kind(0)
            t.menu_command("File", 24836)  # Save As...
            t.answer_file_chooser(path)
            check(os.path.exists(path), "Save As did not write the new document")
            t.new_text = t.read(path)
        return t.new_text

    def file_new_edit():
        before = new_text()
        new_of_kind(0)
        title = t.active_document()[3]
        t.edit_and_compare(os.path.join(docs, "new.vorn"), before, title=title)
    t.step("File New, type at once, save as, compare", file_new_edit)

    def handed_over():
        second = Program(sb, t.xs, args=[t.files["handed.vorn"]]).start()
        rc = second.wait(20 * t.slow)
        if rc is None:
            second.kill()
        check(rc == 0, "the second start did not end at once with status 0 (status %s)" % rc)
        check(wait_until(lambda: (t.active_document() or (0, 0, 0, "", ""))[4] == t.files["handed.vorn"],
                         5 * t.slow), "the handed-over file is not the active document")
        t.edit_and_compare(t.files["handed.vorn"], "DAT 'fourth\r\nw\r\n")
    t.step("a second start hands over a file, type at once, save, compare", handed_over)

    # ---- Section View: a double-click on a section scrolls the editor to it (the caret stays
    # where it was, the focus in the Section View); a click on the section's line, now the top
    # row, then types there ----
    def section_double_click():
        path = t.files["sections.vorn"]
        t.park()
        t.key("ctrl+o")
        t.answer_file_chooser(path)
        check(wait_until(lambda: (t.active_document() or (0, 0, 0, "", ""))[4] == path, 3 * t.slow),
              "the opened file is not the active document")
        t.click("ribbon.page.1")
        t.click("ribbon.button.32772")  # View: Section View
        r = t.rects()
        items = sorted((k for k in r if k.startswith("section.item.") and k != "section.item.0" and r[k].shown),
                       key=lambda k: int(k.rsplit(".", 1)[1]))
        check(items, "the Section View lists no section")
        target = r[items[-1]]
        t.inp.click(target.x + 10, target.y + target.h // 2, count=2)
        t.settle()
        focus = t.state()["focus"]
        check("section" in "/".join(focus), "the double-click took the focus from the Section View to %s"
              % "/".join(focus))
        # The header line is the editor's top row: a click there, Home, and typing.
        t.click("editor", dx=40, dy=6)
        t.key("Home")
        t.type_keys(list("@@"))
        t.check_typed_into(path)
        t.save_active(path)
        lines = t.read(path).replace("\r\n", "\n").split("\n")
        check(any(line.startswith("@@") and target.text.strip() in line for line in lines),
              "the section's line %r was not the editor's top row after the double-click" % target.text)
    t.step("Section View double-click, then typing", section_double_click)

    # ---- closing a modified document: Yes, No, Cancel ----
    def close_modified(answer):
        path = t.files["close.vorn"]
        with open(path, "wb") as f:
            f.write(b"PRI 'fifth\r\nq\r\n")
        t.park()
        t.key("ctrl+o")
        t.answer_file_chooser(path)
        e = t.rects()["editor"]
        t.inp.click(e.x + e.w // 2, e.y + e.h - 20)
        t.type_keys(["ctrl+End"] + list("mod"))
        check(any(d[2] for d in t.state()["documents"] if d[4] == path), "the document is not modified")
        t.menu_command("File", 24834)
        check(t.wait_dialog(3) is not None, "closing a modified document did not ask")
        t.answer({"yes": "alt+y", "no": "alt+n", "cancel": "Escape"}[answer])
        t.settle()
        check(wait_until(lambda: not t.dialogs(), 3 * t.slow), "the question stayed open")
        open_docs = [d for d in t.state()["documents"] if d[4] == path]
        text = t.read(path)
        if answer == "cancel":
            check(open_docs and open_docs[0][2], "Cancel did not keep the modified document open")
            t.menu_command("File", 24834)
            t.wait_dialog(3)
            t.answer("alt+n")
        else:
            check(not open_docs, "the document is still open after %s" % answer)
            check(("qmod" in text) == (answer == "yes"), "the file holds %r after %s" % (text, answer))
    for answer in ("yes", "no", "cancel"):
        t.step("close a modified document, answer %s" % answer, close_modified, answer)

    # ---- the ways the program ends, each followed by a new start ----
    def end_by(way):
        pid = t.program.pid
        if way == "menu":
            t.menu_command("File", MENU_EXIT)
        elif way == "ribbon":
            t.click("ribbon.page.0")
            t.click("ribbon.button.%d" % ID_APP_EXIT)
        elif way == "close box":
            t.wins.close(t.main()[0])
        else:
            t.program.signal(signal.SIGTERM)
        # unsaved documents: answer No to each question
        deadline = time.monotonic() + 10 * t.slow
        while t.program.alive() and time.monotonic() < deadline:
            if t.dialogs():
                t.answer("alt+n")
            time.sleep(0.1)
        rc = t.program.wait(10 * t.slow)
        check(rc is not None, "the program did not end (%s)" % way)
        # SIGTERM ends it as a signal would, 128 + 15, after keeping the unsaved edits.
        expected = 128 + signal.SIGTERM if way == "SIGTERM" else 0
        check(rc == expected, "the program ended with status %s (%s)" % (rc, way))
        reports = [p for p in t.sandbox.sanitizer_reports() if p.endswith(".%d" % pid)]
        check(not reports, "sanitizer reports: %s" % reports)
        t.program = None
        t.start()
        check(t.program.pid != pid, "no new process")

    def modify_active():
        e = t.rects()["editor"]
        t.inp.click(e.x + e.w // 2, e.y + e.h - 20)
        t.type_keys(list("unsaved"))

    for way in ("menu", "ribbon", "close box", "SIGTERM"):
        t.step("modify the active document", modify_active)
        t.step("end by %s, then start again" % way, end_by, way)

    def sigterm_keeps_edits():
        modify_active()
        t.program.signal(signal.SIGTERM)
        t.program.wait(10 * t.slow)
        t.program = None
        t.start(wait_main=False)
        check(t.probe.wait_ready(30 * t.slow), "no new start")
        check(t.wait_dialog(5) is not None, "the next start offers no recovery of the edits SIGTERM interrupted")
        t.dismiss_dialogs(("Escape",))
    t.step("unsaved edits survive SIGTERM for the next start", sigterm_keeps_edits)

    # ---- closing the last document leaves nothing in the Section View ----
    def close_all_documents():
        for _ in range(20):
            if not t.state()["documents"]:
                break
            t.menu_command("File", 24834)  # Close
            if t.wait_dialog(1) is not None:
                t.answer("alt+n")
            t.settle()
        check(not t.state()["documents"], "documents stay open after File > Close")
        r = t.rects()
        shown = [k for k in r if k.startswith("section.item.") and r[k].shown]
        check(not shown, "the Section View still lists %s after the last document closed"
              % [r[k].text for k in shown])
    t.step("close every document by File > Close; the Section View empties", close_all_documents)


def connect(make):
    """A connection to the new server: the server resets when the check that it answers disconnects,
    and refuses connections while it does."""
    for _ in range(50):
        try:
            return make()
        except Exception:
            time.sleep(0.1)
    return make()




def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--program", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--display-number", type=int, default=0, help="0: the first free number from the base on")
    ap.add_argument("--display-base", type=int, default=90)
    ap.add_argument("--slow", type=float, default=1.0, help="timeouts are multiplied by this (sanitizers: 3)")
    args = ap.parse_args()
    began = time.monotonic()
    os.makedirs(args.out, exist_ok=True)
    root = os.path.join(os.path.abspath(args.out), "tour-sandbox")
    shutil.rmtree(root, ignore_errors=True)
    t = Tour(args.program, args.out, args.display_number or free_display(args.display_base), args.slow)
    t.xs = Xserver(t.display_number)
    try:
        t.inp = connect(lambda: Input(t.xs.name))
        t.wins = connect(lambda: Windows(t.xs.name))
        t.sandbox = Sandbox(root, args.program)
        run_tour(t)
    finally:
        if t.program is not None:
            t.stop_program()
        reports = t.sandbox.sanitizer_reports() if t.sandbox else {}
        t.xs.stop()
    for path, text in reports.items():
        t.failures.append((t.steps, "sanitizer report " + os.path.basename(path), text[:3000], path))
    elapsed = time.monotonic() - began
    print("\n%d steps in %.0f s, %d failed" % (t.steps, elapsed, len(t.failures)))
    for number, name, error, shot in t.failures:
        print("FAILED step %d: %s\n    %s\n    screenshot: %s" % (number, name, error, shot))
    print("%d passed, %d failed" % (t.steps - len(t.failures), len(t.failures)))
    return 1 if t.failures else 0


if __name__ == "__main__":
    sys.exit(main())
