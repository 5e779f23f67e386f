#!/usr/bin/python3
"""Printing on a machine without a printer: Quick Print says plainly that there is no printer and
returns; Print and the Print button of Print Preview show the print dialog, which Cancel closes;
and File > Exit then ends the program with status 0. A second run has a CUPS server that takes
connections but never answers: Quick Print gives up after its time limit and says the same.

Quick Print used to wait inside the toolkit's print job for a printer to appear, for ever, so every
later command ran inside that job, and after File > Exit the windows went but the process stayed.

Usage: print_no_printer.py --program PATH --display-number N --out DIR   (exit status 0: passed)
"""

import argparse
import os
import shutil
import socket
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import qmsession as qs  # noqa: E402
from probe import Probe  # noqa: E402



class Failed(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failed(message)


class Run:
    def __init__(self, prog, probe, wins, inp):
        self.prog, self.probe, self.wins, self.inp = prog, probe, wins, inp

    def control(self, prefix, text=""):
        """The shown control whose name starts with prefix and whose text contains text, or None."""
        for name, c in sorted((self.probe.rects(10) or {}).items()):
            if name.startswith(prefix) and text in c.text and c.shown:
                return c
        return None

    def others(self, before):
        """The program's mapped toplevels (and the toolkit's own windows) that were not in before."""
        return [t for t in self.wins.toplevels(self.prog.pid) if t[0] not in before and not t[7]]

    def toplevel_ids(self):
        return {t[0] for t in self.wins.toplevels(self.prog.pid)}

    def menu_command(self, title, label):
        """Opens menu `title` from the menu bar and chooses the item `label` with arrows and Return."""
        menus = self.probe.menus(10)
        check(menus is not None, "the probe does not answer")
        index = [i for i, m in enumerate(menus[0]) if m[2] == title]
        check(index, "the menu bar has no %s menu" % title)
        bar = self.control("menubar")
        check(bar, "no menu bar")
        self.inp.click(bar.x + 18, bar.y + bar.h // 2)
        time.sleep(0.3)
        for _ in range(index[0]):
            self.inp.key("Right")
            time.sleep(0.1)
        items = self.probe.menus(10)[0][index[0]][3]
        found = [i.id for i in items if i.label == label]
        check(found, "the %s menu has no item %s" % (title, label))
        item_id = found[0]
        for _ in range(len(items) + 2):
            if self.probe.menus(10)[2] == item_id:
                break
            self.inp.key("Down")
            time.sleep(0.1)
        check(self.probe.menus(10)[2] == item_id, "could not reach %s in the %s menu" % (label, title))
        self.inp.key("Return")

    def answer_print_dialog(self, before, what):
        """Waits for the print dialog that `what` opens, cancels it and checks the program answers."""
        check(qs.wait_until(lambda: self.others(before), 20), "%s showed no print dialog" % what)
        time.sleep(0.5)
        self.inp.key("Escape")
        check(qs.wait_until(lambda: not self.others(before), 10), "the print dialog of %s did not close" % what)
        main = self.wins.main_window(self.prog.pid)
        check(main is not None and self.wins.ping(main[0], 20), "the program does not answer after %s" % what)


def dialogs_cancel(r):
    """Print and Print Preview's Print show the print dialog; Cancel (Escape) closes it."""
    before = r.toplevel_ids()
    r.menu_command("File", "Print...")
    r.answer_print_dialog(before, "Print")

    before = r.toplevel_ids()
    r.menu_command("File", "Print Preview")
    check(qs.wait_until(lambda: r.others(before), 20), "Print Preview showed no preview")
    preview_windows = r.toplevel_ids()

    def print_button():
        """The preview bar's first button: Print, an icon without a label."""
        st = r.probe.state(10) or {"dialogs": []}
        frames = [c.name for c in st["dialogs"] if c.name.count(".") == 1 and c.text == "Print Preview"]
        found = [c for c in st["dialogs"] if frames and c.name == frames[0] + ".button.0" and c.shown]
        return found[0] if found else None
    check(qs.wait_until(print_button, 10), "the preview has no Print button")
    r.inp.click(*print_button().center)
    r.answer_print_dialog(preview_windows, "the preview's Print")
    # The preview covers the menu bar: its Close button ends it.
    st = r.probe.state(10) or {"dialogs": []}
    close = [c for c in st["dialogs"] if ".button." in c.name and c.text == "Close" and c.shown]
    check(close, "the preview has no Close button")
    r.inp.click(*close[0].center)
    check(qs.wait_until(lambda: not r.others(before), 10), "the preview did not close")


def drive(r, failures, what, dialogs):
    """Quick Print, with dialogs also Print and Print Preview's Print, then File > Exit."""
    quick_print = r.control("qat.", "Quick Print")
    check(quick_print, "no Quick Print tool")
    before = r.toplevel_ids()
    r.inp.click(*quick_print.center)
    # No printer: a message box captioned "Quillmark" says so.
    if not qs.wait_until(lambda: [t for t in r.others(before) if t[5] == "Quillmark"], 20):
        failures.append("%s: Quick Print showed no message that there is no printer" % what)
    else:
        time.sleep(0.5)
        r.inp.key("Return")
        check(qs.wait_until(lambda: not r.others(before), 10), "the message did not close")
        main = r.wins.main_window(r.prog.pid)
        check(main is not None and r.wins.ping(main[0], 20), "the program does not answer after Quick Print")
        if dialogs:
            dialogs_cancel(r)
    # File > Exit ends the program.
    check(r.wins.main_window(r.prog.pid) is not None, "no main window before File > Exit")
    r.menu_command("File", "Exit")
    status = r.prog.wait(10)
    if status is None:
        failures.append("%s: the program still runs 10 s after File > Exit (windows left: %d)"
                        % (what, len(r.wins.toplevels(r.prog.pid, popups=False))))
    elif status != 0:
        failures.append("%s: the program ended with status %s after File > Exit" % (what, status))


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--program", required=True)
    p.add_argument("--display-number", type=int, required=True)
    p.add_argument("--out", required=True)
    a = p.parse_args()
    root = os.path.join(os.path.abspath(a.out), "sandbox")
    shutil.rmtree(root, ignore_errors=True)
    unprivileged = os.geteuid() == 0
    failures = []
    with qs.Xserver(a.display_number, allow_all=unprivileged) as xs:
        # A CUPS server that takes connections and never answers.
        silent = socket.socket()
        silent.bind(("127.0.0.1", 0))
        silent.listen(16)
        runs = [("no CUPS server", {}, True),
                ("a CUPS server that does not answer", {"CUPS_SERVER": "127.0.0.1:%d" % silent.getsockname()[1]},
                 False)]
        wins = qs.Windows(xs.name)
        inp = qs.Input(xs.name, settle=0.05)
        boxes = []
        for number, (what, env, dialogs) in enumerate(runs):
            box = qs.Sandbox(os.path.join(root, str(number)), a.program, unprivileged=unprivileged)
            boxes.append(box)
            source = os.path.join(box.home, "lamp.vorn")
            with open(source, "w") as f:
                f.write("Lamp:\r\n  ld a, 1\r\n  out (2), a\r\n")
            box.chown_for_program(source)
            probe = Probe(os.path.join(box.runtime, "probe.sock"))
            env = dict(env, QUILLMARK_PROBE=probe.path)
            prog = qs.Program(box, xs, args=[source], extra_env=env).start()
            try:
                check(qs.wait_until(lambda: wins.main_window(prog.pid), 120), "no main window")
                check(probe.wait_ready(60), "the probe does not answer")
                r = Run(prog, probe, wins, inp)
                check(qs.wait_until(lambda: r.control("doc.tab.", "lamp"), 30), "the file's document is not shown")
                drive(r, failures, what, dialogs)
            except Failed as e:
                failures.append("%s: %s" % (what, e))
            qs.screenshot(xs.name, os.path.join(a.out, "print_no_printer-%d.png" % number))
            prog.kill()
        silent.close()
        inp.close()
        wins.close_connection()
    for box in boxes:
        with open(os.path.join(box.logs, "stderr.txt"), errors="replace") as f:
            failures += box.faults(f.read())
    if failures:
        print("print_no_printer: FAILED\n" + "\n".join(failures))
        return 1
    shutil.rmtree(root, ignore_errors=True)
    print("print_no_printer: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
