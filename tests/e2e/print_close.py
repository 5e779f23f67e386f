#!/usr/bin/python3
"""Closing a document while it prints: Quick Print runs the print job in its own event loop, in
which the document's tab can still be closed (with no printer, Quick Print says so and returns, and
the tab is closed after that message). The program must live on and its sanitizers stay
silent (the print dialog used to be a child of the closed frame, which then deleted it although it
lived on the stack).

Found by the random-input run (tests/e2e/monkey.py) on a build whose pane tabs kept their page
changes to themselves: --seed 202 --steps 679, --seed 101 --steps 1123, --seed 201 --steps 3749
(each ends with a Quick Print and the document's frame closed while it prints). This is that input
cut down to its core, sent as real input through the X server.

Usage: print_close.py --program PATH --display-number N --out DIR   (exit status 0: passed)
"""

import argparse
import os
import shutil
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import qmsession as qs  # noqa: E402
from probe import Probe  # noqa: E402



def control(probe, prefix, text):
    """The shown control whose name starts with prefix and whose text contains text, or None."""
    rects = probe.rects(10) or {}
    for name, c in sorted(rects.items()):
        if name.startswith(prefix) and text in c.text and c.shown:
            return c
    return None


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
        box = qs.Sandbox(root, a.program, unprivileged=unprivileged)
        probe = Probe(os.path.join(box.runtime, "probe.sock"))
        prog = qs.Program(box, xs, extra_env={"QUILLMARK_PROBE": probe.path}).start()
        wins = qs.Windows(xs.name)
        inp = qs.Input(xs.name, settle=0.05)
        try:
            assert qs.wait_until(lambda: wins.main_window(prog.pid), 120), "no main window"
            assert probe.wait_ready(60), "the probe does not answer"
            for round_ in range(2):
                if round_:  # a second document, printed while the first job still runs
                    new = control(probe, "qat.", "New")
                    assert new, "no New tool"
                    inp.click(*new.center)
                    # With no document open, New asks for the kind of document: the first.
                    if qs.wait_until(lambda: len(wins.toplevels(prog.pid, popups=False)) > 1, 10):
                        inp.key("Return")
                    assert qs.wait_until(lambda: control(probe, "doc.tab.", "Quillmark"), 30), "no new document"
                quick_print = control(probe, "qat.", "Quick Print")
                assert quick_print, "no Quick Print tool"
                before = {t[0] for t in wins.toplevels(prog.pid)}
                inp.click(*quick_print.center)
                # With a printer the print job runs; without one a message says so, which is answered.
                time.sleep(1.5)
                if qs.wait_until(lambda: [t for t in wins.toplevels(prog.pid)
                                          if t[0] not in before and t[5] == "Quillmark"], 10):
                    time.sleep(0.3)
                    inp.key("Return")
                    qs.wait_until(lambda: not [t for t in wins.toplevels(prog.pid)
                                               if t[0] not in before and not t[7]], 10)
                assert prog.alive(), "the program ended on Quick Print"
                close = control(probe, "doc.tab.0.close", "")
                assert close, "no close box on the document's tab"
                inp.click(*close.center)
                # The frame is deleted when the program is next idle, inside the print job's loop.
                qs.wait_until(lambda: not prog.alive() or not control(probe, "doc.tab.0", ""), 20)
                time.sleep(1.0)
                if not prog.alive():
                    failures.append("the program ended (status %s) after its document was closed while printing"
                                    % prog.wait(5))
                    break
                if control(probe, "doc.tab.0", ""):
                    failures.append("the document's tab did not close while printing")
                main = wins.main_window(prog.pid)
                if main is None or not wins.ping(main[0], 30):
                    failures.append("the program does not answer after the close")
                    break
        except AssertionError as e:
            failures.append(str(e))
        qs.screenshot(xs.name, os.path.join(a.out, "print_close.png"))
        prog.kill()
        inp.close()
        wins.close_connection()
    failures += box.faults(prog.stderr_text())
    if failures:
        print("print_close: FAILED\n" + "\n".join(failures))
        return 1
    shutil.rmtree(root, ignore_errors=True)
    print("print_close: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
