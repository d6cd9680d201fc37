#!/usr/bin/env python3
"""Appointment objects through the root object "Orvex.Application" (JScript under Wine's script
host, which ends silently on an uncaught error, so every check prints a line), and a due
reminder end to end: a script stores an appointment whose reminder is due now, its window
"Erinnerung - Termin" appears at (15, 15) with the subject, ox_reminder_probe closes it, and the
entry's reminder is off afterwards. The timer job polls every second (OX_TEST_TIMER_POLL)."""
import os
import subprocess
import sys
import tempfile
import time

import oxtest

SETTINGS = r"HKCU\Software\velmar\chronivo\Settings"
CAPTION = "Erinnerung - Termin"


def reg(*args):
    return subprocess.run(oxtest.wine() + ["reg"] + list(args), stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          timeout=60).stdout.decode("latin-1")


def set_setting(name, kind, value):
    reg("add", SETTINGS, "/v", name, "/t", kind, "/d", str(value), "/f")


def clear_settings():
    for name in ("MainPath", "CurrentUser", "Visible", "ReminderToFront"):
        reg("delete", SETTINGS, "/v", name, "/f")


def write_script(folder, name, text):
    path = os.path.join(folder, name)
    with open(path, "w", encoding="cp1252", newline="\r\n") as f:
        f.write(text)


def answers_of(out):
    answers = {}
    for line in out.splitlines():
        for sep in ("=", "!"):
            if sep in line:
                key, value = line.split(sep, 1)
                answers[key.strip()] = sep + value.strip()
                break
    return answers


def run_script(folder, name, text):
    write_script(folder, name, text)
    done = subprocess.run(oxtest.wine() + ["cscript", "//nologo", name], cwd=folder, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, timeout=120)
    out = done.stdout.decode("cp1252", "replace")
    if "END" not in out:
        oxtest.fail("%s did not run to its end: %s" % (name, out[-800:]))
    return answers_of(out)


def probe(*args):
    return oxtest.run("ox_reminder_probe", *args, timeout=120).strip()


PROLOGUE = r"""
var out = [];
function check(name, f) {
    try { out.push(name + "=" + f()); }
    catch (e) { out.push(name + "!" + (e.number >>> 0).toString(16)); }
}
// Dates go in as OLE day numbers (local time); they are read back by the VBScript client.
function ole(y, mo, d, h, mi, s) { return Date.UTC(y, mo - 1, d, h, mi, s) / 86400000 + 25569; }
var o = new ActiveXObject("Orvex.Application");
o.CurrentUser = "MEIER";
try {
"""

OBJECTS = PROLOGUE + r"""
var a = o.Appointments.Add();
check("newid", function () { return a.UniqueID; });
check("newstamp", function () { return "[" + a.TimeStamp + "]"; });
check("newremove", function () { return a.Remove(); });
a.Start = ole(2024, 3, 5, 14, 37, 50);
a.ActionDataString = "Parameter";
a.ActionData = 42;
check("numberclears", function () { return "[" + a.ActionDataString + "]"; });
a.ActionData = "Text";
check("textdata", function () { return a.ActionDataString; });
a.Body = "{\\rtf1 \\par}";
check("bodyplain", function () { return "[" + a.BodyPlain + "]"; });
a.Subject = "Quelle";
a.Location = "Raum 3";
a.User = "meier";
check("user", function () { return a.User; });
var image = a.SerializedString;
var b = o.Appointments.Add();
b.SerializedString = image;
check("copysubject", function () { return b.Subject + "/" + b.Location + "/" + (b.SerializedString == image); });
b.Subject = "Bleibt";
var bad = [image.substr(0, image.length - 1), "ZZ" + image.substr(2), image.substr(0, image.length / 2)];
for (var i = 0; i < bad.length; i++) {
    b.SerializedString = bad[i];
    check("badimage" + i, function () { return b.Subject + "/" + b.Location; });
}
var c = o.Appointments.Add();
c.Subject = "Spät";
c.Start = ole(2030, 1, 7, 9, 0, 0);
check("save", function () { return c.Save(); });
check("savedid", function () { return c.UniqueID != "0" && c.UniqueID != ""; });
check("stamp", function () { return /^\d{8}:\d{4}$/.test(c.TimeStamp); });
// (escaped: the script host writes the console code page)
check("byid", function () { return escape(o.Appointments.ItemByUniqueID(c.UniqueID).Subject); });
check("count", function () { return o.Appointments.Count >= 1; });
check("remove", function () { return c.Remove(); });
check("removedgone", function () { return o.Appointments.ItemByUniqueID(c.UniqueID) == null; });
} catch (e) { out.push("fatal!" + (e.number >>> 0).toString(16) + " " + e.description); }
WScript.Echo(out.join("\n"));
WScript.Echo("END");
"""

DATES = r"""
On Error Resume Next
Function F(d)
    F = Day(d) & "." & Month(d) & " " & Hour(d) & ":" & Minute(d) & ":" & Second(d)
End Function
Set o = CreateObject("Orvex.Application")
o.CurrentUser = "MEIER"
Set a = o.Appointments.Add()
a.Start = DateSerial(2024, 3, 5) + TimeSerial(14, 37, 50)
WScript.Echo "start=" & F(a.Start)
a.End = DateSerial(2024, 3, 6) + TimeSerial(16, 0, 0)
WScript.Echo "end=" & F(a.End)
a.Start = DateSerial(1899, 12, 31) + TimeSerial(10, 0, 0)
WScript.Echo "oldstart=" & F(a.Start)
Err.Clear
a.Start = "gestern"
WScript.Echo "badstart=" & Hex(Err.Number)
Err.Clear
WScript.Echo "startkept=" & F(a.Start)
Set c = o.Appointments.Add()
c.Subject = "Spät"
c.Start = DateSerial(2030, 1, 7) + TimeSerial(23, 50, 0)
If c.Save() Then WScript.Echo "save=true" Else WScript.Echo "save=false"
WScript.Echo "lateend=" & F(c.End)
c.Remove
WScript.Echo "END"
"""

BURST = PROLOGUE + r"""
var fso = new ActiveXObject("Scripting.FileSystemObject");
var subjects = ["Erster", "Zweiter", "Dritter", "Vierter"];
var ids = [];
for (var i = 0; i < subjects.length; i++) {
    var a = o.Appointments.Add();
    a.Subject = subjects[i];
    var n = new Date(new Date().getTime() + 120000);
    a.Start = ole(n.getFullYear(), n.getMonth() + 1, n.getDate(), n.getHours(), n.getMinutes(), n.getSeconds());
    a.ReminderMinutesBeforeStart = 2;
    a.Reminder = true;
    check("saved" + i, function () { return a.Save(); });
    ids.push(a.UniqueID);
}
var started = new Date().getTime();
while (!fso.FileExists("burst.flag") && new Date().getTime() - started < 90000)
    o.GetOptions(1);
var rows = 0;
for (var i = 0; i < ids.length; i++)
    if (o.Appointments.ItemByUniqueID(ids[i]) != null)
        rows++;
check("rows", function () { return rows; });
} catch (e) { out.push("fatal!" + (e.number >>> 0).toString(16) + " " + e.description); }
WScript.Echo(out.join("\n"));
WScript.Echo("END");
"""

DUE = PROLOGUE + r"""
var fso = new ActiveXObject("Scripting.FileSystemObject");
var a = o.Appointments.Add();
a.Subject = "Quartalsbericht besprechen";
a.Location = "Besprechungsraum";
// linked to an outside record, with the program's own mail action run on request
a.ActionID = "OXMAIL";
a.ActionType = 1;
a.HostID = "ADRION";
a.HostDatabase = "C:\\Daten\\kunden.dbf";
a.HostRecordID = 17;
var n = new Date(new Date().getTime() + 120000);
a.Start = ole(n.getFullYear(), n.getMonth() + 1, n.getDate(), n.getHours(), n.getMinutes(), n.getSeconds());
a.ReminderMinutesBeforeStart = 2;
a.Reminder = true;
check("saved", function () { return a.Save(); });
check("stamp", function () { return /^\d{8}:\d{4}$/.test(a.TimeStamp); });
var id = a.UniqueID;
var idFile = fso.CreateTextFile("id.txt", true);
idFile.Write(id);
idFile.Close();
// (the script host of the test has no WScript.Sleep: calls into OX pass the time)
var started = new Date().getTime();
while (!fso.FileExists("closed.flag") && new Date().getTime() - started < 90000)
    o.GetOptions(1);
check("remindafter", function () { return o.Appointments.ItemByUniqueID(id).Reminder; });
} catch (e) { out.push("fatal!" + (e.number >>> 0).toString(16) + " " + e.description); }
WScript.Echo(out.join("\n"));
WScript.Echo("END");
"""


def main():
    folder = tempfile.mkdtemp(prefix="ox_reminders_")
    data = os.path.join(folder, "data")
    os.mkdir(data)
    os.environ["VLCT11_UNATTENDED"] = "1"
    os.environ["VLCT11_DIALOGS"] = "|".join(["KEEP"] * 8)
    os.environ["VLCT11_LOG"] = oxtest.winpath(os.path.join(folder, "ctl.log"))
    os.environ["OX_TEST_TIMER_POLL"] = "1"
    sound_log = os.path.join(folder, "sound.log")
    os.environ["OX_TEST_SOUND_LOG"] = oxtest.winpath(sound_log)
    try:
        clear_settings()
        set_setting("MainPath", "REG_SZ", oxtest.winpath(data))
        set_setting("CurrentUser", "REG_SZ", "MEIER")
        # COM finds the program by its registration.
        registration = subprocess.run(oxtest.command("OX", "/regserver"), cwd=folder, stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL, timeout=60)
        oxtest.check("registered", 0, registration.returncode)

        answers = run_script(folder, "objects.js", OBJECTS)
        expected = {
            "newid": "=0", "newstamp": "=[]", "newremove": "=false",
            "numberclears": "=[]", "textdata": "=Text", "bodyplain": "=[]", "user": "=MEIER",
            "copysubject": "=Quelle/Raum 3/true",
            "badimage0": "=Bleibt/Raum 3", "badimage1": "=Bleibt/Raum 3", "badimage2": "=Bleibt/Raum 3",
            "save": "=true", "savedid": "=true", "stamp": "=true",
            "byid": "=Sp%E4t", "count": "=true", "remove": "=true", "removedgone": "=true",
        }
        for name, value in expected.items():
            oxtest.check("objects " + name, value, answers.get(name))

        # Byte arrays (a C++ client): 5 bytes come back as they were and empty the text; a 2-D
        # and an empty array leave the action as it was.
        oxtest.check("byte arrays", "bytes 007F80FF42 []\nafter2d 007F80FF42\nafterempty 007F80FF42",
                     "\n".join(line.strip() for line in probe("bytes", "-").splitlines()))

        # Start: seconds dropped; End: the start's day; dates up to 1900-01-01 and texts refused;
        # an end after the day's last minute ends at 23:59.
        answers = run_script(folder, "dates.vbs", DATES)
        for name, value in {"start": "=5.3 14:37:0", "end": "=5.3 16:0:0", "oldstart": "=5.3 14:37:0",
                            "badstart": "=D", "startkept": "=5.3 14:37:0", "save": "=true",
                            "lateend": "=7.1 23:59:0"}.items():
            oxtest.check("dates " + name, value, answers.get(name))

        write_script(folder, "due.js", DUE)
        client = subprocess.Popen(oxtest.wine() + ["cscript", "//nologo", "due.js"], cwd=folder,
                                  stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        try:
            oxtest.check("due window at (15, 15)", "window 15 15", probe("wait", CAPTION, "40"))
            panel = probe("text", CAPTION, "1005")
            oxtest.check("panel names the subject", True, "Betreff:~.f,2~.tf(Arial,8):Quartalsbericht besprechen" in panel)
            oxtest.check("panel names the place", True, "Ort:~.f,2~.tf(Arial,8):Besprechungsraum" in panel)
            oxtest.check("action row", "text Senden einer eMail Benachrichtigung", probe("text", CAPTION, "1070"))
            oxtest.check("screenshot", "shot ok", probe("shot", CAPTION, "due_linked_action"))
            oxtest.check("brought to the front", "front 1", probe("front", CAPTION))
            # two more due messages for the same id: still one window and one sound
            with open(os.path.join(folder, "id.txt")) as f:
                record_id = f.read().strip()
            oxtest.check("due queued twice", "queued 1", probe("due", "velmar chronivo", record_id))
            oxtest.check("still one window", "count 1", probe("count", CAPTION))
            sounds = [line for line in open(sound_log, encoding="cp1252") if line.startswith("OX_Erinnerung")]
            oxtest.check("one reminder sound", 1, len(sounds))
            # the timer's finished signal follows the due one; closing acknowledges the entry
            time.sleep(2)
            oxtest.check("one window only", "count 1", probe("count", CAPTION))
            oxtest.check("close clicked", "clicked", probe("click", CAPTION, "1"))
            oxtest.check("window closed", "gone 1", probe("gone", CAPTION, "10"))
            oxtest.check("no second window after the close", "none", probe("wait", CAPTION, "4"))
        finally:
            open(os.path.join(folder, "closed.flag"), "w").close()
            out = client.communicate(timeout=120)[0].decode("cp1252", "replace")
        answers = answers_of(out)
        if "END" not in out:
            oxtest.fail("due.js did not run to its end: " + out[-800:])
        oxtest.check("due saved", "=true", answers.get("saved"))
        oxtest.check("due stamp", "=true", answers.get("stamp"))
        oxtest.check("reminder off after close", "=false", answers.get("remindafter"))

        # Four reminders at once cascade from (15, 15); a span of 0 is refused with 40071 and
        # the window stays; a postponement by 2 minutes removes its window.
        # "ReminderToFront" off: the windows open behind the others without being activated.
        set_setting("ReminderToFront", "REG_DWORD", 0)
        os.environ["VLCT11_ANSWERS"] = "IDOK,IDYES"
        write_script(folder, "burst.js", BURST)
        client = subprocess.Popen(oxtest.wine() + ["cscript", "//nologo", "burst.js"], cwd=folder,
                                  stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        ctl_log = os.path.join(folder, "ctl.log")
        try:
            oxtest.check("four windows cascade", "at 15 15\nat 20 20\nat 25 25\nat 30 30",
                         "\n".join(line.strip() for line in probe("list", CAPTION, "4", "40").splitlines()))
            oxtest.check("not activated", "front 0", probe("front", CAPTION))
            oxtest.check("screenshot of the cascade", "shot ok", probe("shot", CAPTION, "four_cascaded", "all"))
            open(ctl_log, "w").close()
            oxtest.check("count emptied", "set", probe("settext", CAPTION, "1039", "0"))
            oxtest.check("postpone clicked", "clicked", probe("click", CAPTION, "1065"))
            with open(ctl_log, encoding="cp1252", errors="replace") as f:
                boxes = [line for line in f if line.startswith("MessageBox")]
            oxtest.check("40071 shown once", 1, len(boxes))
            oxtest.check("40071 text", True, bool(boxes) and "Der vorn Ihnen eingegebene Zeitraum ist fehlerhaft." in boxes[0])
            oxtest.check("window stays after 40071", "count 4", probe("count", CAPTION))
            oxtest.check("count two", "set", probe("settext", CAPTION, "1039", "2"))
            oxtest.check("postponed", "clicked", probe("click", CAPTION, "1065"))
            oxtest.check("postponed window gone", "count 3", probe("count", CAPTION))
            # edit: the window goes before the editor is asked (the program has none yet)
            oxtest.check("edit clicked", "clicked", probe("click", CAPTION, "1067"))
            oxtest.check("edited window gone", "count 2", probe("count", CAPTION))
            # moved by 2 days: the window goes (the entry falls due again only then)
            oxtest.check("unit days", "set", probe("select", CAPTION, "1068", "2"))
            oxtest.check("moved", "clicked", probe("click", CAPTION, "1071"))
            oxtest.check("moved window gone", "count 1", probe("count", CAPTION))
            open(ctl_log, "w").close()
            oxtest.check("deleted", "clicked", probe("click", CAPTION, "161"))
            with open(ctl_log, encoding="cp1252", errors="replace") as f:
                boxes = [line for line in f if line.startswith("MessageBox")]
            oxtest.check("delete asks 41003", True,
                         len(boxes) == 1 and "Wollen Sie diesen Eintrag wirklich löschen?" in boxes[0])
            oxtest.check("all gone", "gone 1", probe("gone", CAPTION, "10"))
        finally:
            open(os.path.join(folder, "burst.flag"), "w").close()
            out = client.communicate(timeout=120)[0].decode("cp1252", "replace")
        answers = answers_of(out)
        for i in range(4):
            oxtest.check("burst saved %d" % i, "=true", answers.get("saved%d" % i))
        oxtest.check("burst rows after postpone, edit, move and delete", "=3", answers.get("rows"))
    finally:
        clear_settings()
    return oxtest.report()


if __name__ == "__main__":
    sys.exit(main())
