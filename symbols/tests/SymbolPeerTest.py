"""Lookups of the symbol library against independent readers.

For the 32-bit legacy fixture, our probe DLL's .sym file and the release vlDB07.sym, the
addresses are: the first, second and last byte of every function of the units we read
(DWARF 2 to 4) and every row of their line tables (every 8th row for vlDB07). For each address:
- function and line of our readers (symlookup under Wine, "file" mode) agree with addr2line
  (binutils) and, on a sample, with llvm-dwarfdump --lookup (function start and line);
- the module form (the stripped image mapped in the process, its .sym beside it) gives exactly
  the answers of the file form;
- for our x64 modules the platform's debug-help library (Wine's dbghelp, in the same process, on
  the unstripped image) names the same function and line.
Function names are compared without the parameter list and return type that the demanglers
add; where a template's arguments are spelt differently by the compiler's DWARF name and the
demangler, the name without template arguments must agree (such differences are counted)."""

import os
import re
import struct
import subprocess
import sys
import time
from concurrent.futures import ThreadPoolExecutor

import oxtest

FIXTURES = os.environ["OX_SYM_FIXTURES"]
RELEASE = os.environ["OX_RELEASE_DIR"]
BIN = os.environ["OX_BIN"]
DWARFDUMP = "llvm-dwarfdump-14"


def functions_and_rows(elf, row_step=1):
    """(functions [(low, high)], rows [address]) of the units of versions 2 to 4. In 64-bit files
    code that the linker dropped keeps address 0 in the debug data; it is left out."""
    with open(elf, "rb") as f:
        minimum = 0x10000 if f.read(5)[4] == 2 else 0
    funcs = []
    version = 0
    tag = None
    low = high = None

    def flush():
        if tag == "DW_TAG_subprogram" and low is not None and high is not None and 2 <= version <= 4 \
                and low >= minimum:
            funcs.append((low, high if high > low else low + high))

    out = subprocess.run([DWARFDUMP, "--debug-info", elf], stdout=subprocess.PIPE, text=True, errors="replace").stdout
    for line in out.splitlines():
        m = re.match(r"^0x[0-9a-f]+: Compile Unit: .*version = 0x([0-9a-f]+)", line)
        if m:
            flush()
            tag, low, high = None, None, None
            version = int(m.group(1), 16)
            continue
        m = re.match(r"^0x[0-9a-f]+:\s+(DW_TAG_\w+|NULL)", line)
        if m:
            flush()
            tag, low, high = m.group(1), None, None
            continue
        m = re.match(r"^\s+DW_AT_(low_pc|high_pc)\s+\((0x[0-9a-f]+)\)", line)
        if m:
            if m.group(1) == "low_pc":
                low = int(m.group(2), 16)
            else:
                high = int(m.group(2), 16)
    flush()

    rows = []
    out = subprocess.run([DWARFDUMP, "--debug-line", elf], stdout=subprocess.PIPE, text=True, errors="replace").stdout
    version = 0
    n = 0
    for line in out.splitlines():
        m = re.match(r"^\s+version: (\d+)", line)
        if m:
            version = int(m.group(1))
            continue
        m = re.match(r"^0x([0-9a-f]{16})\s+\d+\s+\d+\s+\d+\s+\d+\s+\d+\s*(.*)$", line)
        if m and 2 <= version <= 4 and "end_sequence" not in m.group(2) and int(m.group(1), 16) >= minimum:
            if n % row_step == 0:
                rows.append(int(m.group(1), 16))
            n += 1
    return sorted(set(funcs)), rows


def strip_signature(name):
    """"int ns::f<int>(int) const" -> "int ns::f<int>" (the parameter list and qualifiers off)."""
    name = re.sub(r"( \[clone [^\]]*\])+$", "", name)
    name = re.sub(r"\[abi:[^\]]*\]", "", name)
    name = re.sub(r"\s*(const|volatile|&|&&)*\s*$", "", name)
    if name.endswith(")"):
        depth = 0
        for i in range(len(name) - 1, -1, -1):
            if name[i] == ")":
                depth += 1
            elif name[i] == "(":
                depth -= 1
                if depth == 0:
                    return name[:i]
    return name


def base_identifier(name):
    """The last name component without template arguments: "ns::A<int>::f<char>" -> "f"."""
    out, depth = "", 0
    for ch in name:
        if ch == "<":
            depth += 1
        elif ch == ">":
            depth -= 1
        elif depth == 0:
            out += ch
    return re.split(r"::| ", out.strip())[-1] if out.strip() else ""


def addr2line(elf, addresses):
    text = "\n".join("%x" % a for a in addresses) + "\n"
    out = subprocess.run(["addr2line", "-a", "-f", "-C", "-i", "-e", elf], input=text, stdout=subprocess.PIPE,
                         text=True, errors="replace").stdout.splitlines()
    result, i = {}, 0
    while i < len(out):
        addr = int(out[i], 16)
        i += 1
        pairs = []
        while i + 1 < len(out) and not re.match(r"^0x[0-9a-f]+$", out[i]):
            pairs.append((out[i], out[i + 1]))
            i += 2
        file, _, line = pairs[0][1].partition(" ")[0].rpartition(":")
        result[addr] = (pairs[-1][0], os.path.basename(file), int(line) if line.isdigit() else 0)
    return result


def dwarfdump_lookup(elf, address):
    """(function start, function name, (file, line)) of llvm-dwarfdump --lookup."""
    out = subprocess.run([DWARFDUMP, "--lookup=0x%x" % address, elf], stdout=subprocess.PIPE, text=True,
                         errors="replace").stdout
    low, name = None, None
    m = re.search(r"DW_TAG_subprogram\n((?:\s+DW_AT_.*\n)*)", out)
    if m:
        block = m.group(1)
        lm = re.search(r"DW_AT_low_pc\s+\((0x[0-9a-f]+)\)", block)
        low = int(lm.group(1), 16) if lm else None
        nm = re.search(r"DW_AT_name\s+\(\"([^\"]*)\"\)", block) or \
            re.search(r"DW_AT_(?:specification|abstract_origin)\s+\(0x[0-9a-f]+ \"([^\"]*)\"\)", block)
        name = nm.group(1) if nm else None
    m = re.search(r"Line info: file '([^']*)', line (\d+)", out)
    line = (os.path.basename(m.group(1)), int(m.group(2))) if m else None
    return low, name, line


def ours(mode, path, addresses):
    started = time.time()
    text = "".join("%x\n" % a for a in addresses)
    out = oxtest.run("symlookup", mode, oxtest.winpath(path), stdin=text.encode(), timeout=1200)
    result = {}
    for line in out.splitlines():
        f = line.split("\t")
        if len(f) == 5:
            result[int(f[0], 16)] = (f[1], f[2], f[3], f[4])
    print("  symlookup %s %s: %d addresses in %.1fs" % (mode, os.path.basename(path), len(addresses), time.time() - started))
    return result


def image_base(dll):
    with open(dll, "rb") as f:
        data = f.read(4096)
    nt = struct.unpack_from("<I", data, 0x3C)[0]
    magic = struct.unpack_from("<H", data, nt + 24)[0]
    return struct.unpack_from("<Q" if magic == 0x20B else "<I", data, nt + 24 + (24 if magic == 0x20B else 28))[0]


def check_file(label, elf, row_step=1, lookup_sample=None):
    funcs, rows = functions_and_rows(elf, row_step)
    if not funcs or not rows:
        oxtest.fail("%s: no functions or rows found by llvm-dwarfdump" % label)
        return None
    # The first, second and last byte of each function (a one-byte function has only the first).
    func_addrs = sorted({a for lo, hi in funcs for a in (lo, lo + 1, hi - 1) if lo <= a < hi})
    addresses = sorted(set(func_addrs) | set(rows))
    mine = ours("file", elf, addresses)
    peer = addr2line(elf, addresses)
    oxtest.check("%s: every address answered" % label, len(addresses), len(mine))

    exact = spelled = 0
    name_bad, line_bad = [], []
    in_function = set(func_addrs)
    for a in addresses:
        fn, disp, file, line = mine.get(a, ("-", "-", "-", "-"))
        pfn, pfile, pline = peer[a]
        if a in in_function:
            want = strip_signature(pfn)
            if want == fn or want.endswith(" " + fn):
                exact += 1
            elif base_identifier(want) == base_identifier(fn) and fn != "-":
                spelled += 1
            else:
                name_bad.append(a)
        got_line = (file, int(line)) if line != "-" else None
        if pline == 0:
            if got_line not in (None,) and got_line[1] != 0:
                line_bad.append("%x: ours %r, addr2line no line" % (a, got_line))
        elif got_line != (pfile, pline):
            line_bad.append("%x: ours %r, addr2line %r" % (a, got_line, (pfile, pline)))
    # Where addr2line names another function (a section name for some functions of the export
    # table, an inlined callee's name for a few function starts), llvm-dwarfdump decides.
    with ThreadPoolExecutor(3) as pool:
        second = list(pool.map(lambda a: dwarfdump_lookup(elf, a), name_bad))
    both, unnamed = [], 0
    for a, (low, name, _) in zip(name_bad, second):
        fn = mine[a][0]
        if name is None and (peer[a][0].startswith(".") or peer[a][0] == "??"):
            unnamed += 1 # neither peer names a function there (code the debug data does not describe)
        elif name is None or base_identifier(name) != base_identifier(fn):
            both.append("%x: ours %r, addr2line %r, llvm-dwarfdump %r" % (a, fn, peer[a][0], name))
    oxtest.check("%s: function names differing from addr2line and llvm-dwarfdump (first: %s)" % (label, both[:5]),
                 0, len(both))
    oxtest.check("%s: lines differing from addr2line (first: %s)" % (label, line_bad[:5]), 0, len(line_bad))
    print("%s: %d functions, %d rows, %d addresses; names equal %d, template spelling differs %d, "
          "addr2line alone %d, no peer names one %d" % (label, len(funcs), len(rows), len(addresses), exact,
                                                       spelled, len(name_bad) - len(both) - unnamed, unnamed))

    # llvm-dwarfdump --lookup: function start (displacement) and line, on all or a sample.
    sample = func_addrs if lookup_sample is None else func_addrs[:: max(1, len(func_addrs) // lookup_sample)]
    with ThreadPoolExecutor(3) as pool:
        answers = list(pool.map(lambda a: dwarfdump_lookup(elf, a), sample))
    bad = []
    for a, (low, _, line) in zip(sample, answers):
        fn, disp, file, mline = mine[a]
        if low is not None and (disp == "-" or int(disp, 16) != a - low):
            bad.append("%x: displacement %s, llvm-dwarfdump start %x" % (a, disp, low))
        if line is not None and line[1] != 0 and (file, mline) != (line[0], str(line[1])):
            bad.append("%x: line %s:%s, llvm-dwarfdump %s:%d" % (a, file, mline, line[0], line[1]))
    oxtest.check("%s: differences from llvm-dwarfdump --lookup on %d addresses (first: %s)"
                 % (label, len(sample), bad[:5]), 0, len(bad))
    return addresses, mine


def check_module(label, image, unstripped, unstripped_elf, file_results, module_step=1):
    """The module form (every module_step-th address) and dbghelp on the same addresses (relative
    to the preferred base)."""
    addresses, mine = file_results
    base = image_base(unstripped)
    rvas = [a - base for a in addresses]
    module = ours("module", image, rvas[::module_step])
    diff = ["%x: module %r, file %r" % (r + base, module.get(r), mine[r + base])
            for r in rvas[::module_step] if module.get(r) != mine[r + base]]
    oxtest.check("%s: module form differs from the file form (first: %s)" % (label, diff[:5]), 0, len(diff))

    # dbghelp: where its answer differs from ours it must differ from addr2line's as well (our
    # answers equal addr2line's, checked above). Known differences of Wine's dbghelp: where several
    # rows share an address it answers the first row (addr2line, llvm-dwarfdump and our readers the
    # last), and it names a few functions after a neighbouring symbol.
    help_ = ours("dbghelp", unstripped, rvas)
    peer = addr2line(unstripped_elf, addresses)
    name_bad, line_bad, compared, lines_equal, lines_other, names_other = [], [], 0, 0, 0, 0
    for r in rvas:
        a = r + base
        fn, disp, file, line = mine[a]
        hfn, hdisp, hfile, hline = help_.get(r, ("-",) * 4)
        if hfn != "-" and fn != "-":
            compared += 1
            peer_base = base_identifier(strip_signature(peer[a][0]))
            help_base = base_identifier(hfn)
            if base_identifier(fn) not in (help_base, base_identifier(strip_signature(hfn))):
                if help_base == peer_base:
                    name_bad.append("%x: ours %r, dbghelp and addr2line %r" % (a, fn, hfn))
                else:
                    names_other += 1
            elif hdisp != disp:
                name_bad.append("%x: displacement ours %s, dbghelp %s" % (a, disp, hdisp))
        if hline in ("-", "0"):
            continue
        if (hfile, hline) == (file, line):
            lines_equal += 1
        elif (peer[a][1], str(peer[a][2])) == (hfile, hline):
            line_bad.append("%x: ours %s:%s, dbghelp and addr2line %s:%s" % (a, file, line, hfile, hline))
        else:
            lines_other += 1
    oxtest.check("%s: dbghelp named functions" % label, True, compared > 0)
    oxtest.check("%s: function differences from dbghelp (first: %s)" % (label, name_bad[:5]), 0, len(name_bad))
    oxtest.check("%s: lines where dbghelp agrees with addr2line but not with ours (first: %s)"
                 % (label, line_bad[:5]), 0, len(line_bad))
    print("%s: dbghelp compared on %d functions (%d named otherwise by dbghelp alone); lines equal %d, "
          "dbghelp alone with another row's line %d" % (label, compared, names_other, lines_equal, lines_other))


def main():
    check_file("legacy.elf", os.path.join(FIXTURES, "legacy.elf"))
    probe = check_file("probe.sym", os.path.join(FIXTURES, "probe.sym"))
    if probe:
        check_module("probe.dll", os.path.join(FIXTURES, "probe.dll"), os.path.join(FIXTURES, "probe.dll"),
                     os.path.join(FIXTURES, "probe.sym"), probe)
    db = check_file("vlDB07.sym", os.path.join(RELEASE, "vlDB07.sym"), row_step=48, lookup_sample=60)
    if db:
        check_module("vlDB07.dll", os.path.join(RELEASE, "vlDB07.dll"), os.path.join(BIN, "vlDB07.dll"),
                     os.path.join(RELEASE, "vlDB07.sym"), db)
    return oxtest.report()


if __name__ == "__main__":
    sys.exit(main())
