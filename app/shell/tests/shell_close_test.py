#!/usr/bin/env python3
"""The ways OX.exe refuses or does its close, and settings of the wrong type. The program runs
from a folder of links to the build's programs, so that the administrator's marker OX.SHT beside
it and data made in the program directory stay in that folder. A counted dialog (the test dialog
reached through the About box) refuses the close once with 40072; a connected automation client makes
the close ask 40061, and No keeps OX; the marker ends OX past the open dialogs and starts
MSGBOX.EXE, whose box the controls library logs. The controls library runs unattended and keeps
the program's dialogs open (KEEP)."""
import os
import subprocess
import sys
import tempfile
import time

import oxtest

SETTINGS = r"HKCU\Software\velmar\chronivo\Settings"
DIALOGS_OPEN = "Ein oder mehrere Dialoge wurden noch nicht beendet."
OLE_SERVER = "Der chronivo arbeitet im Moment als OLE-Server"
ADMIN_TEXT = "Der chronivo wurde vom Systemverwalter beendet."


def reg(*args):
    return subprocess.run(oxtest.wine() + ["reg"] + list(args), stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          timeout=60).stdout.decode("latin-1")


def clear_settings():
    for name in ("MainPath", "NOS", "NOSMessage", "Visible", "CurrentUser"):
        reg("delete", SETTINGS, "/v", name, "/f")


def probe(*args):
    return oxtest.run("ox_shell_probe", *args, timeout=120).strip()


def log_lines(path):
    if not os.path.exists(path):
        return []
    with open(path, encoding="cp1252", errors="replace") as f:
        return [line.rstrip("\n") for line in f]


def count(path, text):
    return len([line for line in log_lines(path) if text in line])


def wait_exit(process, seconds=30):
    try:
        return process.wait(timeout=seconds)
    except subprocess.TimeoutExpired:
        process.kill()
        oxtest.fail("OX did not end in %d s" % seconds)
        return None


def main():
    folder = tempfile.mkdtemp(prefix="ox_shell_close_")
    program = os.path.join(folder, "bin")
    os.mkdir(program)
    for name in os.listdir(os.environ["OX_BIN"]):
        os.symlink(os.path.join(os.environ["OX_BIN"], name), os.path.join(program, name))
    data = os.path.join(folder, "data")
    os.mkdir(data)
    ctl_log = os.path.join(folder, "ctl.log")
    marker = os.path.join(program, "OX.SHT")
    os.environ["VLCT11_UNATTENDED"] = "1"
    os.environ["VLCT11_DIALOGS"] = "KEEP|KEEP|KEEP|KEEP"
    os.environ["VLCT11_LOG"] = oxtest.winpath(ctl_log)
    os.environ["OX_TEST_MARKER_INTERVAL"] = "200"
    ox = oxtest.wine() + [os.path.join(program, "OX.exe")]

    def start(*args):
        return subprocess.Popen(ox + list(args), cwd=folder, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    try:
        clear_settings()
        # The drop-downs' templates and texts are in the program.
        oxtest.check("program resources", "6054=Das Steuerelement %s konnte nicht geladen werden. "
                     "Bitte pr\xfcfen Sie die Installation. 149=1 152=1",
                     probe("resources", oxtest.winpath(os.path.join(program, "OX.exe"))))

        # "MainPath" as a number: the default, the program directory, which gets the tables.
        reg("add", SETTINGS, "/v", "MainPath", "/t", "REG_DWORD", "/d", "1", "/f")
        p = start()
        oxtest.check("MainPath as a number: window", "window 1", probe("wait"))
        oxtest.check("MainPath as a number: tables in the program directory", True,
                     os.path.exists(os.path.join(program, "OX4.DBE")))

        # A counted dialog refuses the close once; closed, the program may end.
        oxtest.check("test dialog open", "dialog 1", probe("testdialog"))
        oxtest.check("close refused under a dialog", "ended 0", probe("sendclose"))
        oxtest.check("40072 shown once", 1, count(ctl_log, DIALOGS_OPEN))
        oxtest.check("dialogs cancelled", "dialogs 0", probe("canceldialogs"))
        oxtest.check("close after the dialogs", "ended 1", probe("close"))
        wait_exit(p)

        # "/regserver" with more arguments starts the program. An automation client holds it: the
        # close asks 40061, No keeps it, and after the client it stays (it was not started by COM).
        reg("add", SETTINGS, "/v", "MainPath", "/t", "REG_SZ", "/d", oxtest.winpath(data), "/f")
        p = start("/regserver", "/x")
        oxtest.check("/regserver /x starts", "window 1", probe("wait"))
        oxtest.check("client: close refused, OX answers", "user=MEIER ended 0", probe("clientclose", "MEIER"))
        oxtest.check("40061 asked once", 1, count(ctl_log, OLE_SERVER))
        oxtest.check("normal OX stays after its client; pane 1 shows the user", "pane=MEIER", probe("pane", "1"))
        # A start by COM for another client stays hidden and leaves this one in the foreground.
        oxtest.check("automation start hidden, foreground kept", "foreground=1 hidden=1", probe("embedded"))
        oxtest.check("exit after the client", "ended 1", probe("exit"))
        wait_exit(p)

        # The end of the session ends OX past an open dialog.
        p = start()
        oxtest.check("session end: test dialog open", "dialog 1", probe("testdialog"))
        oxtest.check("session end past the dialog", "ended 1", probe("endsession"))
        wait_exit(p)

        # The administrator's marker ends OX past an open dialog and starts MSGBOX.EXE.
        before = count(ctl_log, DIALOGS_OPEN)
        p = start()
        oxtest.check("marker: window", "window 1", probe("wait"))
        oxtest.check("marker: test dialog open", "dialog 1", probe("testdialog"))
        open(marker, "w").close()
        oxtest.check("marker ends OX past the dialogs", True, probe("gone") in ("ended 1", "nowindow"))
        wait_exit(p)
        oxtest.check("marker close refuses nothing", before, count(ctl_log, DIALOGS_OPEN))
        deadline = time.time() + 20
        while count(ctl_log, ADMIN_TEXT) == 0 and time.time() < deadline:
            time.sleep(0.2)  # MSGBOX.EXE is a process of its own
        boxes = [line for line in log_lines(ctl_log) if ADMIN_TEXT in line]
        oxtest.check("MSGBOX box once", 1, len(boxes))
        oxtest.check("MSGBOX caption", True, len(boxes) == 1 and "\tvelmar chronivo\t" in boxes[0])
    finally:
        if os.path.exists(marker):
            os.remove(marker)
        clear_settings()
    return oxtest.report()


if __name__ == "__main__":
    sys.exit(main())
