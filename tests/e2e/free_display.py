#!/usr/bin/python3
"""Runs a command with @DISPLAY@ in its arguments replaced by the first display number from BASE on
that no X server uses: free_display.py BASE COMMAND ARGS...
QM_E2E_DISPLAYS="16,17" limits the choice to those numbers."""

import os
import sys


def free_display(base):
    """The first free number from base on, or from the list in QM_E2E_DISPLAYS ("16,17") when set."""
    listed = os.environ.get("QM_E2E_DISPLAYS")
    numbers = [int(n) for n in listed.split(",") if n.strip()] if listed else range(base, base + 100)
    for n in numbers:
        if not os.path.exists("/tmp/.X11-unix/X%d" % n) and not os.path.exists("/tmp/.X%d-lock" % n):
            return n
    raise SystemExit("no free display number among %s" % (listed or "%d and on" % base))


if __name__ == "__main__":
    number = str(free_display(int(sys.argv[1])))
    command = [arg.replace("@DISPLAY@", number) for arg in sys.argv[2:]]
    os.execv(command[0], command)
