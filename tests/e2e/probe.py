"""Client of the program's probe: the Unix socket the program serves when QUILLMARK_PROBE names a
path. Each request is one line; the answer is tab-separated lines ending with "end"."""

import socket
import time
from collections import namedtuple

Control = namedtuple("Control", "name x y w h shown enabled checked text")
Control.center = property(lambda c: (c.x + c.w // 2, c.y + c.h // 2))
MenuItem = namedtuple("MenuItem", "path id kind enabled checked label")


class Probe:
    def __init__(self, path):
        self.path = path

    def request(self, what, timeout=5.0):
        """The answer's lines, or None when the program does not answer within timeout seconds."""
        deadline = time.monotonic() + timeout
        try:
            with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as s:
                s.settimeout(timeout)
                s.connect(self.path)
                s.sendall(what.encode() + b"\n")
                data = b""
                while not data.endswith(b"end\n"):
                    s.settimeout(max(0.01, deadline - time.monotonic()))
                    chunk = s.recv(65536)
                    if not chunk:
                        break
                    data += chunk
        except OSError:
            return None
        if not data.endswith(b"end\n"):
            return None
        return data.decode("utf-8", "replace").split("\n")[:-2]

    def wait_ready(self, timeout=30.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.ping(1.0):
                return True
            time.sleep(0.05)
        return False

    def ping(self, timeout=5.0):
        return self.request("ping", timeout) == ["pong"]

    def rects(self, timeout=5.0):
        """{name: Control}, or None without an answer."""
        lines = self.request("rects", timeout)
        if lines is None:
            return None
        result = {}
        for line in lines:
            f = line.split("\t")
            if len(f) >= 9:
                result[f[0]] = Control(f[0], int(f[1]), int(f[2]), int(f[3]), int(f[4]), f[5] == "1",
                                       f[6] == "1", f[7] == "1", f[8])
        return result

    def state(self, timeout=5.0):
        """{'focus': (part, class), 'documents': [(index, active, modified, title, path)], 'look': id,
        'panes': {name: shown}, 'sidepage': n, 'outputpage': n, 'dialogs': [Control]} or None."""
        lines = self.request("state", timeout)
        if lines is None:
            return None
        st = {"documents": [], "panes": {}, "dialogs": [], "focus": ("none", "")}
        for line in lines:
            f = line.split("\t")
            if f[0] == "focus":
                st["focus"] = (f[1], f[2] if len(f) > 2 else "")
            elif f[0] == "document":
                st["documents"].append((int(f[1]), f[2] == "active", f[3] == "1", f[4], f[5]))
            elif f[0] == "look":
                st["look"] = int(f[1])
            elif f[0] == "pane":
                st["panes"][f[1]] = f[2] == "1"
            elif f[0] in ("sidepage", "outputpage"):
                st[f[0]] = int(f[1])
            elif f[0] in ("statusbar", "editor"):
                st[f[0]] = f[1] == "1"
            elif f[0].startswith("dialog.") and len(f) >= 9:
                st["dialogs"].append(Control(f[0], int(f[1]), int(f[2]), int(f[3]), int(f[4]), f[5] == "1",
                                             f[6] == "1", f[7] == "1", f[8]))
        return st

    def menus(self, timeout=5.0):
        """([(key, open, title, [MenuItem])], popup items or None, highlighted item id) or None."""
        lines = self.request("menus", timeout)
        if lines is None:
            return None
        menus, popup, highlight = [], None, -1
        for line in lines:
            f = line.split("\t")
            if f[0] == "menu":
                entry = (f[1], f[2] == "open", f[3], [])
                if f[1] == "popup":
                    popup = entry[3]
                else:
                    menus.append(entry)
            elif f[0] == "highlight":
                highlight = int(f[1])
            elif f[0] == "item":
                item = MenuItem(f[1], int(f[2]), f[3], f[4] == "1", f[5] == "1", f[6])
                target = popup if f[1].startswith("popup") else menus[-1][3]
                target.append(item)
        return menus, popup, highlight

    def output(self, timeout=5.0):
        """The Build list's lines, or None."""
        lines = self.request("output", timeout)
        if lines is None:
            return None
        return [line.split("\t", 2)[2] for line in lines if line.startswith("build\t")]
