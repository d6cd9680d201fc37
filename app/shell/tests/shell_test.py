#!/usr/bin/env python3
"""OX.exe started as a user, as COM and as the administrator would start it: the command lines
/regserver and /noregserver (checked with Wine's reg tool), the start lock, a missing data
directory, the root object "Orvex.Application" read and written by JScript and VBScript clients
through Wine's script host (which ends silently on an uncaught error, so every check prints a
line), and the ways the program ends. The main window is driven by ox_shell_probe; the controls
library runs unattended and logs its boxes; the sound events go to a log file."""
import os
import subprocess
import sys
import tempfile
import time

import oxtest

SETTINGS = r"HKCU\Software\velmar\chronivo\Settings"
CLSID = "{AC47253D-62EA-11D4-9CE1-0060086FEFC0}"


def reg(*args):
    return subprocess.run(oxtest.wine() + ["reg"] + list(args), stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          timeout=60).stdout.decode("latin-1")


def reg_default(key):
    out = reg("query", key, "/ve")
    for line in out.splitlines():
        if "REG_SZ" in line:
            return line.split("REG_SZ", 1)[1].strip()
    return None


def set_setting(name, kind, value):
    reg("add", SETTINGS, "/v", name, "/t", kind, "/d", str(value), "/f")


def clear_settings():
    for name in ("MainPath", "NOS", "NOSMessage", "Visible", "CurrentUser"):
        reg("delete", SETTINGS, "/v", name, "/f")


def start_ox(folder, *args):
    return subprocess.Popen(oxtest.command("OX", *args), cwd=folder, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)


def probe(*args):
    return oxtest.run("ox_shell_probe", *args, timeout=120).strip()


def run_script(folder, name, text):
    path = os.path.join(folder, name)
    with open(path, "w", encoding="cp1252", newline="\r\n") as f:
        f.write(text)
    done = subprocess.run(oxtest.wine() + ["cscript", "//nologo", name], cwd=folder, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, timeout=120)
    out = done.stdout.decode("cp1252", "replace")
    if "END" not in out:
        oxtest.fail("%s did not run to its end: %s" % (name, out[-800:]))
    answers = {}
    for line in out.splitlines():
        for sep in ("=", "!"):
            if sep in line:
                key, value = line.split(sep, 1)
                answers[key.strip()] = sep + value.strip()
                break
    return answers


def wait_exit(process, seconds=30):
    try:
        return process.wait(timeout=seconds)
    except subprocess.TimeoutExpired:
        process.kill()
        oxtest.fail("OX did not end in %d s" % seconds)
        return None


def log_lines(path):
    if not os.path.exists(path):
        return []
    with open(path, encoding="cp1252", errors="replace") as f:
        return [line.rstrip("\n") for line in f]


JSCRIPT = r"""
var out = [];
function check(name, f) {
    try { out.push(name + "=" + f()); }
    catch (e) { out.push(name + "!" + (e.number >>> 0).toString(16)); }
}
var o = new ActiveXObject("Orvex.Application");
check("user0", function () { return o.CurrentUser; });
check("setuser", function () { o.CurrentUser = "MEIER"; return "ok"; });
check("user", function () { return o.CurrentUser; });
check("userlower", function () { return o.currentuser; });
check("baddate", function () { o.ViewDate = "kein Datum"; return "none"; });
check("opt7", function () { return o.GetOptions(7); });
check("so1", function () { o.SetOptions(0, 1); return "ok"; });
check("opt0on", function () { return o.GetOptions(0); });
check("so2", function () { o.SetOptions(0, 2); return "ok"; });
check("opt0off", function () { return o.GetOptions(0); });
check("so5", function () { o.SetOptions(5, 1); return "ok"; });
check("opt5", function () { return o.GetOptions(5); });
check("eut", function () { o.EnableUpdateThread(0); o.EnableUpdateThread(0); o.EnableUpdateThread(1); return "ok"; });
check("rights", function () { return "[" + o.CurrentUserRights + "]"; });
check("optstr", function () { return "[" + o.GetOptionStrings(3) + "]"; });
check("argcount", function () { return o.GetOptions(1, 2); });
check("alive", function () { return o.GetOptions(1); });
var dir = o.DatabaseDirectory;
check("setdir", function () { o.DatabaseDirectory = "Z:\\nirgends\\gibt\\es\\nicht"; return "ok"; });
check("dirkept", function () { return o.DatabaseDirectory == dir; });
check("sethost", function () { o.HostID = "H1"; return "ok"; });
check("host", function () { return o.HostID; });
check("setview", function () { o.ActiveView = 7; return "ok"; });
check("view", function () { return o.ActiveView; });
check("reminder", function () { return o.ShowReminder; });
check("visible", function () { return o.Visible; });
WScript.Echo(out.join("\n"));
WScript.Echo("END");
"""

VBSCRIPT = r"""
On Error Resume Next
Set o = CreateObject("Orvex.Application")
o.CurrentUser = "MEIER"
WScript.Echo "vbuser=" & o.CurrentUser
WScript.Echo "vbopt7=" & o.GetOptions(7)
o.SetOptions 0, 1
WScript.Echo "vbopt0=" & o.GetOptions(0)
o.ViewDate = DateSerial(2024, 3, 5) + TimeSerial(14, 37, 0)
d = o.ViewDate
WScript.Echo "vbdate=" & Year(d) & "-" & Month(d) & "-" & Day(d) & " " & Hour(d) & ":" & Minute(d)
o.ViewDate = "kein Datum"
WScript.Echo "vbbaddate=" & Hex(Err.Number)
Err.Clear
WScript.Echo "vbdatekept=" & Day(o.ViewDate)
WScript.Echo "END"
"""


def main():
    folder = tempfile.mkdtemp(prefix="ox_shell_")
    data = os.path.join(folder, "data")
    os.mkdir(data)
    ctl_log = os.path.join(folder, "ctl.log")
    sound_log = os.path.join(folder, "sound.log")
    busy_log = os.path.join(folder, "busy.log")
    os.environ["VLCT11_UNATTENDED"] = "1"
    os.environ["VLCT11_LOG"] = oxtest.winpath(ctl_log)
    os.environ["OX_TEST_SOUND_LOG"] = oxtest.winpath(sound_log)
    os.environ["OX_TEST_BUSY_LOG"] = oxtest.winpath(busy_log)
    try:
        clear_settings()
        set_setting("MainPath", "REG_SZ", oxtest.winpath(data))

        # /regserver in any letter case registers and ends without a window.
        reg("delete", r"HKCR\Orvex.Application", "/f")
        reg("delete", "HKCR\\CLSID\\" + CLSID, "/f")
        p = start_ox(folder, "/noregserver")
        oxtest.check("noregserver window", "window 1", probe("wait"))
        oxtest.check("noregserver leaves HKCR", None, reg_default(r"HKCR\Orvex.Application\CLSID"))
        oxtest.check("exit command ends OX", "ended 1", probe("exit"))
        wait_exit(p)
        p = start_ox(folder, "/REGSERVER")
        oxtest.check("regserver exit code", 0, wait_exit(p))
        oxtest.check("regserver ProgID", CLSID, reg_default(r"HKCR\Orvex.Application\CLSID"))
        oxtest.check("regserver CLSID ProgID", "Orvex.Application", reg_default("HKCR\\CLSID\\" + CLSID + "\\ProgID"))
        server = reg_default("HKCR\\CLSID\\" + CLSID + "\\LocalServer32") or ""
        oxtest.check("regserver LocalServer32", True, server.upper().find("OX.EXE") >= 0)
        oxtest.check("sounds of a start and an exit", ["OX_Starten", "OX_Beenden", "OX_Starten", "OX_Beenden"],
                     [line.split("\t")[0] for line in log_lines(sound_log)])

        # Clients: COM starts OX hidden (-Embedding) for each; it ends when the client lets go.
        answers = run_script(folder, "root.js", JSCRIPT)
        expected = {
            "setuser": "=ok", "so1": "=ok", "so2": "=ok", "so5": "=ok", "eut": "=ok",
            "setdir": "=ok", "sethost": "=ok", "setview": "=ok",
            "user0": "=", "user": "=MEIER", "userlower": "=MEIER", 
            "baddate": "!80020005", "opt7": "=0", "opt0on": "=1", "opt0off": "=0", "opt5": "=0",
            "rights": "=[]", "optstr": "=[]", "argcount": "!8002000e", "alive": "=0", "dirkept": "=true",
            "host": "=H1", "view": "=0", "reminder": "=true", "visible": "=true",
        }
        for name, value in expected.items():
            oxtest.check("jscript " + name, value, answers.get(name))
        # EnableUpdateThread 0, 0, 1: the second 0 changes nothing, and 1 lowers both counters.
        oxtest.check("busy counters of EnableUpdateThread", ["0: 0 0 -> 1 1", "0: 1 1 -> 1 1", "1: 1 1 -> 0 0"],
                     log_lines(busy_log))
        answers = run_script(folder, "root.vbs", VBSCRIPT)
        for name, value in {"vbuser": "=MEIER", "vbopt7": "=0", "vbopt0": "=1", "vbdate": "=2024-3-5 0:0",
                            "vbbaddate": "=D", "vbdatekept": "=5"}.items():
            oxtest.check("vbscript " + name, value, answers.get(name))
        oxtest.check("the embedded OX ended with its client", "nowindow", probe("gone"))

        # The close box hides; a tray click shows; WM_ENDSESSION ends.
        p = start_ox(folder)
        oxtest.check("start window", "window 1", probe("wait"))
        shots = os.path.join(os.environ["OX_BIN"], "..", "shots", "main-window")
        os.makedirs(shots, exist_ok=True)
        shot = os.path.join(os.path.abspath(shots), "main-window-1024x768.png")
        oxtest.check("screenshot of the main window", "shot 1", probe("shot", oxtest.winpath(shot)))
        # The four bars show; the toolbar greys what has no handler yet (edit) and enables the rest.
        oxtest.check("bars and toolbar buttons", "59480=1 59392=1 59397=1 59393=1 32775=0 32812=0 32780=1 32784=1",
                     probe("bars"))
        oxtest.check("pane of the appointments", "pane=Termine: 0", probe("pane", 2))
        oxtest.check("pane of the to-dos", "pane=Aufgaben: 0", probe("pane", 3))
        oxtest.check("close box hides", "window 0", probe("syscmdclose"))
        oxtest.check("tray click shows", "window 1", probe("tray"))
        oxtest.check("end of session ends OX", "ended 1", probe("endsession"))
        wait_exit(p)

        # Wrong value types start with the defaults: "Visible" as text shows the window.
        set_setting("Visible", "REG_SZ", "0")
        p = start_ox(folder)
        oxtest.check("Visible as text: default shown", "window 1", probe("wait"))
        oxtest.check("exit after Visible as text", "ended 1", probe("exit"))
        wait_exit(p)
        reg("delete", SETTINGS, "/v", "Visible", "/f")

        # The start lock shows its message and ends without the exit sound.
        open(sound_log, "w").close()
        set_setting("NOS", "REG_DWORD", 1)
        set_setting("NOSMessage", "REG_SZ", "Wartung bis 12 Uhr")
        p = start_ox(folder)
        oxtest.check("start lock ends", True, wait_exit(p) is not None)
        boxes = [line for line in log_lines(ctl_log) if "Wartung bis 12 Uhr" in line]
        oxtest.check("start lock message shown once", 1, len(boxes))
        oxtest.check("start lock plays nothing", [], log_lines(sound_log))
        reg("delete", SETTINGS, "/v", "NOS", "/f")
        reg("delete", SETTINGS, "/v", "NOSMessage", "/f")

        # A missing data directory: one box naming it, nothing made there.
        missing = os.path.join(folder, "fehlt")
        set_setting("MainPath", "REG_SZ", oxtest.winpath(missing))
        p = start_ox(folder)
        wait_exit(p)
        boxes = [line for line in log_lines(ctl_log) if "fehlt" in line and "Datenverzeichnis" in line]
        oxtest.check("missing data directory named once", 1, len(boxes))
        oxtest.check("missing data directory not made", False, os.path.exists(missing))
    finally:
        clear_settings()
    return oxtest.report()


if __name__ == "__main__":
    sys.exit(main())
