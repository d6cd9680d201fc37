"""MSGBOX.EXE attended: the real box appears on the display, is photographed for review
(build/shots/vlct11/msgbox.png) and closed with Return; the program then ends with 0 and the
controls library's log holds the box with the caption of the command line and the answer OK.

The test prefix runs Wine's windows unmanaged, and those carry no X window name: the box is found
by the X class Wine gives the program's windows (its name), its caption is checked in the log."""

import os
import subprocess
import sys
import tempfile

import oxtest

CAPTION = "velmar chronivo"
TEXT = "Der chronivo wurde vom Systemverwalter beendet."


def main():
    bin_dir = os.environ["OX_BIN"]
    shots = os.path.join(os.path.dirname(bin_dir), "shots", "vlct11")
    os.makedirs(shots, exist_ok=True)
    log = tempfile.NamedTemporaryFile(prefix="msgbox_", suffix=".log", delete=False)
    log.close()
    env = dict(os.environ)
    env["VLCT11_UNATTENDED"] = ""
    env["VLCT11_LOG"] = oxtest.winpath(log.name)
    program = subprocess.Popen(oxtest.command("MSGBOX", "/f:0", "/c:" + CAPTION, "/t:" + TEXT), cwd=bin_dir,
                               env=env)
    try:
        found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--class", "msgbox"],
                               stdout=subprocess.PIPE, timeout=60, check=True)
        window = found.stdout.decode().split()[0]
        shot = os.path.join(shots, "msgbox.png")
        subprocess.run(["import", "-window", window, shot], timeout=30, check=True)
        oxtest.check("screenshot written", True, os.path.getsize(shot) > 0)
        # Windows of tests running beside this one may take the keyboard focus between focusing the
        # box and the key: focus and press again until the program ends.
        for attempt in range(10):
            subprocess.run(["xdotool", "windowfocus", "--sync", window], timeout=10)
            subprocess.run(["xdotool", "key", "Return"], timeout=10, check=True)
            try:
                program.wait(timeout=3)
                break
            except subprocess.TimeoutExpired:
                pass
        oxtest.check("exit code", 0, program.wait(timeout=10))
    except subprocess.TimeoutExpired as error:
        oxtest.fail("timed out: %s" % error)
    except subprocess.CalledProcessError as error:
        oxtest.fail("failed: %s" % error)
    finally:
        if program.poll() is None:
            program.kill()
            program.wait()
    with open(log.name, "rb") as f:
        lines = f.read().decode("cp1252").splitlines()
    os.unlink(log.name)
    oxtest.check("log", ["MessageBox\t%s\t%s\t0x40\t1" % (CAPTION, TEXT)], lines)
    return oxtest.report()


if __name__ == "__main__":
    sys.exit(main())
