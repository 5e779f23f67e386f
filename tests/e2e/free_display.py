#!/usr/bin/python3
"""Runs a command with @DISPLAY@ in its arguments replaced by the first display number from BASE on
that no X server uses: free_display.py BASE COMMAND ARGS..."""

import os
import sys


def free_display(base):
    for n in range(base, base + 100):
        if not os.path.exists("/tmp/.X11-unix/X%d" % n) and not os.path.exists("/tmp/.X%d-lock" % n):
            return n
    raise SystemExit("no free display number from %d on" % base)


if __name__ == "__main__":
    number = str(free_display(int(sys.argv[1])))
    command = [arg.replace("@DISPLAY@", number) for arg in sys.argv[2:]]
    os.execv(command[0], command)
