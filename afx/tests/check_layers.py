#!/usr/bin/env python3
"""Checks the layers of the class library and its place below the program's own code.

Every header of the library has a layer: the headers beside a layer's sources (core/, windows/,
frames/, docking/, ole/) belong to that layer, and each public header in include/ belongs to the
layer that the table "afx layers" in docs/ARCHITECTURE.md names for it. A source or header may
include (with "..." or <...>, also through relative paths) only headers of its own and of lower
layers, never a header of the toolkit or of the program (toolkit/, app/). Headers of include/
that the table does not name, or names twice, and includes whose name is a macro (they cannot be
followed) are errors too. Before the library is checked, a small tree with one fault of each kind
must be caught (so a checker that lets faults through fails itself)."""
import os
import re
import sys
import tempfile

LAYERS = ["core", "windows", "frames", "docking", "ole"]
HIGHER_PROGRAM_DIRS = ["toolkit", "app"]
INCLUDE_RE = re.compile(r'^[ \t]*#[ \t]*include[ \t]*(?:"([^"]+)"|<([^>]+)>|(\S+))', re.M)
TABLE_BEGIN = "<!-- afx layers: begin -->"
TABLE_END = "<!-- afx layers: end -->"


def read_table(arch_md):
    """{header name: layer} from the table, and the errors of the table itself."""
    errors, table = [], {}
    with open(arch_md, encoding="utf-8") as f:
        text = f.read()
    begin, end = text.find(TABLE_BEGIN), text.find(TABLE_END)
    if begin < 0 or end < begin:
        return {}, [f"{arch_md}: no table between '{TABLE_BEGIN}' and '{TABLE_END}'"]
    for line in text[begin:end].splitlines():
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if len(cells) != 2 or cells[0].strip("`") not in LAYERS:
            continue
        layer = cells[0].strip("`")
        for name in re.findall(r"[A-Za-z0-9_]+\.h\b", cells[1]):
            if name in table:
                errors.append(f"the table names {name} twice ({table[name]}, {layer})")
            table[name] = layer
    return table, errors


def program_headers(repo_root):
    """Base names of the headers of the layers above the library."""
    names = set()
    for d in HIGHER_PROGRAM_DIRS:
        for dirpath, _, files in os.walk(os.path.join(repo_root, d)):
            names.update(f for f in files if f.endswith(".h"))
    return names


def check(afx_root, repo_root, arch_md):
    table, errors = read_table(arch_md)
    include_dir = os.path.join(afx_root, "include")
    public = sorted(f for f in os.listdir(include_dir) if f.endswith(".h"))
    for name in public:
        if name not in table:
            errors.append(f"include/{name} has no layer in the table of {os.path.relpath(arch_md, repo_root)}")
    for name in sorted(set(table) - set(public)):
        errors.append(f"the table names {name}, which include/ does not have")

    def layer_of(path):
        folder = os.path.dirname(path)
        if folder == include_dir:
            return table.get(os.path.basename(path))
        base = os.path.basename(folder)
        return base if os.path.dirname(folder) == afx_root and base in LAYERS else None

    higher = program_headers(repo_root)
    search = [include_dir] + [os.path.join(afx_root, d) for d in LAYERS]

    def resolve(name, here):
        for d in [here] + search:
            path = os.path.normpath(os.path.join(d, name))
            if os.path.isfile(path):
                return path
        return None

    files = [os.path.join(include_dir, f) for f in public]
    for layer in LAYERS:
        folder = os.path.join(afx_root, layer)
        files += [os.path.join(folder, f) for f in sorted(os.listdir(folder)) if f.endswith((".cpp", ".h"))]
    rank = {layer: i for i, layer in enumerate(LAYERS)}
    for path in files:
        own = layer_of(path)
        rel = os.path.relpath(path, afx_root)
        if own is None:
            continue  # reported above
        with open(path, encoding="utf-8", errors="replace") as f:
            text = f.read()
        for quoted, angled, other in INCLUDE_RE.findall(text):
            name = quoted or angled
            if not name:
                errors.append(f"{rel} includes {other}, which cannot be followed")
                continue
            found = resolve(name, os.path.dirname(path))
            if found is None:
                if os.path.basename(name) in higher:
                    errors.append(f"{rel} includes {name}, a header of the program above the library")
                continue  # a header of the system or the compiler
            if not found.startswith(afx_root + os.sep):
                errors.append(f"{rel} includes {name} from outside the library")
                continue
            theirs = layer_of(found)
            if theirs is None:
                if os.path.dirname(found) != os.path.dirname(path):
                    errors.append(f"{rel} includes {os.path.relpath(found, afx_root)}, which belongs to no layer")
                continue
            if rank[theirs] > rank[own]:
                errors.append(f"{rel} ({own}) includes {os.path.relpath(found, afx_root)} ({theirs})")
    return errors


def self_test():
    """A tree with one fault of each kind; answers the faults the checker missed."""
    with tempfile.TemporaryDirectory() as root:
        afx = os.path.join(root, "afx")
        for d in ["include", "toolkit"] + LAYERS:
            os.makedirs(os.path.join(afx if d != "toolkit" else root, d), exist_ok=True)
        files = {
            "afx/include/CLow.h": "#pragma once\n#include <windows.h>\n",
            "afx/include/CHigh.h": "#pragma once\n#include \"CLow.h\"\n",
            "afx/include/CUnlisted.h": "#pragma once\n",
            "afx/include/CBadHeader.h": "#pragma once\n#  include   <CHigh.h>\n",
            "afx/core/Fine.cpp": "#include <CLow.h>\n#include \"Private.h\"\n",
            "afx/core/Private.h": "#pragma once\n",
            "afx/core/Angled.cpp": "#include <CHigh.h>\n",
            "afx/core/Relative.cpp": "#include \"../frames/FramePrivate.h\"\n",
            "afx/frames/FramePrivate.h": "#pragma once\n",
            "afx/frames/Fine.cpp": "#include \"../core/Private.h\"\n#include <CHigh.h>\n",
            "afx/core/Toolkit.cpp": "#include <TkThing.h>\n",
            "afx/core/Macro.cpp": "#define HDR <CHigh.h>\n#include HDR\n",
            "toolkit/TkThing.h": "#pragma once\n",
            "ARCH.md": f"{TABLE_BEGIN}\n| Layer | Headers |\n|---|---|\n| core | `CLow.h`, `CBadHeader.h` |\n"
                       f"| frames | `CHigh.h`, `CGone.h` |\n{TABLE_END}\n",
        }
        for name, text in files.items():
            with open(os.path.join(root, name), "w", encoding="utf-8") as f:
                f.write(text)
        errors = check(afx, root, os.path.join(root, "ARCH.md"))
        expected = ["include/CUnlisted.h has no layer", "names CGone.h", "include/CBadHeader.h (core) includes include/CHigh.h",
                    "core/Angled.cpp (core) includes include/CHigh.h", "core/Relative.cpp (core) includes frames/FramePrivate.h",
                    "core/Toolkit.cpp includes TkThing.h", "core/Macro.cpp includes HDR"]
        missed = [e for e in expected if not any(e in err for err in errors)]
        unexpected = [err for err in errors if not any(e in err for e in expected)]
        return missed, unexpected


def main():
    missed, unexpected = self_test()
    if missed or unexpected:
        for e in missed:
            print(f"self-test: the fault '{e}' was not found")
        for e in unexpected:
            print(f"self-test: a sound file was reported: {e}")
        return 1
    afx_root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    repo_root = os.path.dirname(afx_root)
    errors = check(afx_root, repo_root, os.path.join(repo_root, "docs", "ARCHITECTURE.md"))
    for e in errors:
        print(e)
    print(f"{len(errors)} layer violations")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
