#!/usr/bin/env python3
"""Checks the layers of the class library: the sources of a layer include (directly or through
other headers) only headers of their own and of lower layers. The core layer is what <afx.h>,
<afxcoll.h>, <afxtempl.h> and <afxmt.h> bring in; the window layer adds what its own umbrella
AfxWindowLayer.h, <afxcmn.h> and the file dialog bring in; the frame layer adds what <afxwin.h>,
<afxdlgs.h>, the in-place frame, the splitter and the form view bring in (the public <afxwin.h> and
<afxdlgs.h> carry the frame layer's classes, as the original's do); the docking layer adds what
<afxext.h>, <afxadv.h> and <afxpriv.h> bring in (the control bars, dock bars, docking context,
floating frames and saved layouts); the OLE layer, above the docking layer, adds what
<afxdisp.h> and <afxole.h> bring in. The window and frame layers reach OLE only through the
interfaces and hooks that their own headers declare."""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SEARCH = [os.path.join(ROOT, d) for d in ("include", "core", "windows", "frames", "docking", "ole")]
INCLUDE_RE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def find(name, here):
    for d in [here] + SEARCH:
        path = os.path.join(d, name)
        if os.path.exists(path):
            return path
    return None


def closure(path):
    """Every library header that path includes, directly or not (names relative to include/)."""
    seen, stack = set(), [path]
    while stack:
        current = stack.pop()
        with open(current, encoding="utf-8", errors="replace") as f:
            text = f.read()
        for name in INCLUDE_RE.findall(text):
            found = find(name, os.path.dirname(current))
            if found is not None and found not in seen:
                seen.add(found)
                stack.append(found)
    return seen


def layer_headers(*umbrellas):
    result = set()
    for name in umbrellas:
        path = os.path.join(ROOT, "include", name)
        result.add(path)
        result |= closure(path)
    return result


def main():
    core = layer_headers("afx.h", "afxcoll.h", "afxtempl.h", "afxmt.h")
    windows = core | layer_headers("AfxWindowLayer.h", "afxcmn.h", "CFileDialog.h")
    frames = windows | layer_headers("afxwin.h", "afxdlgs.h", "COleIPFrameWnd.h", "CFormView.h", "CSplitterWnd.h")
    docking = frames | layer_headers("afxext.h", "afxadv.h", "afxpriv.h")
    ole = docking | layer_headers("afxdisp.h", "afxole.h")
    allowed = {"core": core, "windows": windows, "frames": frames, "docking": docking, "ole": ole}
    # a lower layer's private headers beside its sources may be used by the layers above
    lower = {"core": [], "windows": ["core"], "frames": ["core", "windows"], "docking": ["core", "windows", "frames"],
             "ole": ["core", "windows", "frames", "docking"]}
    errors = []
    for layer, headers in allowed.items():
        folder = os.path.join(ROOT, layer)
        for name in sorted(os.listdir(folder)):
            if not name.endswith((".cpp", ".h")):
                continue
            path = os.path.join(folder, name)
            # headers beside a layer's sources belong to that layer
            bad = sorted(os.path.relpath(h, ROOT) for h in closure(path)
                         if h not in headers and os.path.dirname(h) != folder
                         and os.path.dirname(h) not in [os.path.join(ROOT, d) for d in lower[layer]])
            if bad:
                errors.append(f"{layer}/{name} includes a higher layer's headers: {', '.join(bad)}")
    for e in errors:
        print(e)
    print(f"{len(errors)} layer violations")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
