"""Helpers of the Linux-side test drivers (ox_add_script_test): starting the Windows programs
under Wine and collecting checks. The environment gives OX_BIN (the folder of the programs) and
OX_WINE (the emulator command, words separated by ';')."""

import os
import subprocess

failures = []
checks = 0


def check(what, expected, actual):
    global checks
    checks += 1
    if expected != actual:
        failures.append("%s: expected %r, got %r" % (what, expected, actual))


def check_list(what, expected, actual):
    """Long lists: reports the first entry that differs, or the lengths."""
    global checks
    checks += 1
    for i, (e, a) in enumerate(zip(expected, actual)):
        if e != a:
            failures.append("%s: entry %d of %d: expected %r, got %r" % (what, i, len(expected), e, a))
            return
    if len(expected) != len(actual):
        failures.append("%s: expected %d entries, got %d" % (what, len(expected), len(actual)))


def fail(text):
    failures.append(text)


def wine():
    return [w for w in os.environ["OX_WINE"].split(";") if w]


def winpath(path):
    """A Linux path as the Windows programs see it (drive Z: is the root)."""
    return "Z:" + path.replace("/", "\\")


def command(program, *args):
    """The command line that runs a Windows program of the build under Wine."""
    return wine() + [os.path.join(os.environ["OX_BIN"], program + ".exe")] + [str(a) for a in args]


def run(program, *args, stdin=None, timeout=300):
    """Runs a program and returns its output (latin-1); a non-zero exit raises RuntimeError."""
    done = subprocess.run(command(program, *args), input=stdin, stdout=subprocess.PIPE, timeout=timeout)
    out = done.stdout.decode("latin-1")
    if done.returncode != 0:
        raise RuntimeError("%s %s failed (%d): %s" % (program, args[0] if args else "", done.returncode, out[-400:]))
    return out


def report(summary=None):
    """Prints the failures and a closing line; answers the exit code."""
    for f in failures:
        print(f)
    print(summary if summary else "%d checks, %d failures" % (checks, len(failures)))
    return 1 if failures else 0
