#!/usr/bin/env python3
"""The test automation servers driven by independent clients: Wine's script host (cscript) runs
JScript and VBScript programs that create the servers by their ProgIDs, read and write
properties, call methods and provoke errors. The registry is read with Wine's reg tool. The
script host ends silently on an uncaught script error, so every check prints a line and the
scripts end with a marker line; the servers write their start and end into a log file. The
document server's object is the document of its template."""
import os
import re
import subprocess
import sys
import tempfile
import time

import oxtest

# How the scripts report: every check prints "name=value", or "name!code text" for an error, so
# that an error ends no script before its marker line.
JS_CHECK = r"""
var out = [];
function check(name, f) {
    try { out.push(name + "=" + f()); }
    catch (e) { out.push(name + "!" + (e.number >>> 0).toString(16) + " " + e.description); }
}
"""

VB_REPORT = r"""
On Error Resume Next
Sub Report(name)
    ' the check's result, or the error of the statement before
    If Err.Number <> 0 Or Err.Description <> "" Then
        WScript.Echo name & "!" & LCase(Hex(Err.Number)) & " " & Err.Description
    Else
        WScript.Echo name & "=" & result
    End If
    Err.Clear
End Sub
"""

PROGID = "OX.TestServer"
CLSID = "{5B4F1E61-7C2A-4E0B-9E5D-3A1F6C2B8D01}"

JSCRIPT = JS_CHECK + r"""
var o = new ActiveXObject("OX.TestServer");
check("add", function () { return o.Add(40, 2); });
check("addtext", function () { return o.Add("40", "2"); });
check("concat", function () { return o.Concat("Grüße", 7) == "Grüße7"; });
o.Name = "Köln";
check("name", function () { return o.Name == "Köln"; });
check("NAME", function () { return o.NAME == "Köln"; });
o.Flag = 5;
check("flag", function () { return o.Flag; });
o.Count = 3;
o.Count = 4;
check("changes", function () { return o.Changes; });
check("slot", function () { return o.Slot(3); });
check("badslot", function () { return o.Slot(11); });
check("child", function () { return o.NewChild(9).Index; });
check("describe", function () { return o.Describe(7); });
check("unknown", function () { return o.NoSuchMember(); });
check("fewer", function () { return o.Add(1); });
check("more", function () { return o.Add(1, 2, 3); });
check("mismatch", function () { return o.Add("vier", 1); });
check("fail", function () { o.Fail(0); return "none"; });
check("failcode", function () { o.Fail(77); return "none"; });
check("objects", function () { return o.Objects; });
WScript.Echo(out.join("\n"));
WScript.Echo("END-JSCRIPT");
"""

VBSCRIPT = VB_REPORT + r"""
Set o = CreateObject("OX.TestServer")
result = TypeName(o) : Report "create"
o.Name = "Überweg"
result = CInt(o.Name = "Überweg") : Report "name"
result = CInt(o = "Überweg") : Report "default"
o.Slot(3) = 9
result = o.Slot(3) : Report "slotput"
x = 21
o.Twice x
result = x : Report "twice"
o.When = DateSerial(2024, 3, 5) + TimeSerial(14, 37, 0)
result = Year(o.When) & "-" & Month(o.When) & "-" & Day(o.When) & " " & Hour(o.When) & ":" & Minute(o.When)
Report "when"
result = o.Add(2, 3) : Report "add"
result = "none"
x = o.Nirgends
Report "missing"
x = o.Add(1)
Report "argcount"
o.Fail 0
Report "fail"
Set c = o.NewChild(4)
Set o = Nothing
result = c.Index : Report "child"
Set c = Nothing
WScript.Echo "END-VBSCRIPT"
"""


DOC_PROGID = "OX.TestDocServer"
DOC_CLSID = "{6C2D8E41-1A5B-4C7D-8E9F-20A1B2C3D4E5}"

# The document server: the document of its template is the object the client gets.
DOC_JSCRIPT = JS_CHECK + r"""
var d = new ActiveXObject("OX.TestDocServer");
check("visible", function () { return d.Visible; });
check("inframe", function () { return d.InMainFrame; });
check("documents", function () { return d.Documents; });
check("newdocs", function () { return d.NewDocuments; });
check("title", function () { return d.Title; });
d.Text = "Grüße";
check("text", function () { return d.Text == "Grüße"; });
check("updates", function () { return d.ViewUpdates; });
check("unknown", function () { return d.Drucken(); });
WScript.Echo(out.join("\n"));
WScript.Echo("END-DOC-JSCRIPT");
"""

DOC_VBSCRIPT = VB_REPORT + r"""
Set d = CreateObject("OX.TestDocServer")
result = TypeName(d) : Report "create"
result = CInt(d.Visible) : Report "visible"
d.Text = "Überweg"
result = CInt(d.Text = "Überweg") : Report "text"
result = d.Documents : Report "documents"
Set d = Nothing
WScript.Echo "END-DOC-VBSCRIPT"
"""


def run_script(folder, name, text, marker):
    path = os.path.join(folder, name)
    with open(path, "w", encoding="cp1252") as f:
        f.write(text)
    # cscript reads "/path" as a switch: the script is named relative to the working folder
    done = subprocess.run(oxtest.wine() + ["cscript", "//nologo", name], cwd=folder, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, timeout=120)
    # the console's code page is not ours to rely on: the scripts print plain ASCII where it matters
    out = done.stdout.decode("latin-1").replace("\r", "")
    if marker not in out:
        oxtest.fail("%s did not run to its end: %s" % (name, out[-800:]))
    results = {}
    for line in out.split("\n"):
        m = re.match(r"^(\w+)([=!])(.*)$", line)
        if m:
            results[m.group(1)] = (m.group(2), m.group(3))
    return results


def reg_value(key):
    done = subprocess.run(oxtest.wine() + ["reg", "query", key, "/ve"], stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, timeout=60)
    if done.returncode != 0:
        return None
    out = done.stdout.decode("latin-1")
    m = re.search(r"REG_SZ\s+(.*)", out)
    return m.group(1).strip() if m else ""


def server_lines(log):
    if not os.path.exists(log):
        return []
    with open(log, encoding="latin-1") as f:
        return [line.strip() for line in f if line.strip()]


def wait_for_exits(log, seconds=20):
    """Every server process that started has ended (or the time is up); answers the pids left."""
    deadline = time.time() + seconds
    while True:
        lines = server_lines(log)
        started = {l.split()[1] for l in lines if l.startswith("start ")}
        ended = {l.split()[1] for l in lines if l.startswith("exit ")}
        if started <= ended or time.time() > deadline:
            return started - ended
        time.sleep(0.2)


def check_answers(prefix, answers, expected):
    """Every expected answer of a script: name -> (kind, value), kind "=" for a value."""
    for name, value in expected.items():
        oxtest.check(prefix + " " + name, value, answers.get(name))


def check_errors(prefix, answers, patterns):
    """Every expected error of a script: name -> the pattern its code and text must start with."""
    for name, pattern in patterns.items():
        kind, value = answers.get(name, ("", ""))
        oxtest.check(prefix + " error " + name, ("!", True), (kind, re.match(pattern, value) is not None))


def check_document_server(folder, classes):
    """The document server registered from its template's strings, and its document driven by
    script clients: each client's server keeps its window hidden and ends with the client."""
    log = os.path.join(folder, "docserver.log")
    os.environ["OX_TEST_SERVER_LOG"] = oxtest.winpath(log)
    oxtest.run("afx_test_docserver", "/UnregServer")
    oxtest.run("afx_test_docserver", "/RegServer")
    oxtest.check("document server registration logged", True, "register 1" in server_lines(log))
    oxtest.check("document type name", "OX Testdokument-Server", reg_value(classes + "\\" + DOC_PROGID))
    oxtest.check("document ProgID's class id", DOC_CLSID, reg_value(classes + "\\" + DOC_PROGID + "\\CLSID"))
    oxtest.check("document class's ProgID", DOC_PROGID, reg_value(classes + "\\CLSID\\" + DOC_CLSID + "\\ProgID"))
    server = reg_value(classes + "\\CLSID\\" + DOC_CLSID + "\\LocalServer32") or ""
    oxtest.check("document server command", True, server.lower().endswith("afx_test_docserver.exe /automation"))

    js = run_script(folder, "document.js", DOC_JSCRIPT, "END-DOC-JSCRIPT")
    expected_js = {
        "visible": ("=", "false"),
        "inframe": ("=", "true"),
        "documents": ("=", "1"),
        "newdocs": ("=", "2"),
        "title": ("=", "Serverdokument"),
        "text": ("=", "true"),
        "updates": ("=", "1"),
    }
    check_answers("document JScript", js, expected_js)
    check_errors("document JScript", js, {"unknown": r"800a01b6"})

    vbs = run_script(folder, "document.vbs", DOC_VBSCRIPT, "END-DOC-VBSCRIPT")
    expected_vbs = {
        "create": ("=", "Object"),
        "visible": ("=", "0"),
        "text": ("=", "-1"),
        "documents": ("=", "1"),
    }
    check_answers("document VBScript", vbs, expected_vbs)

    left = wait_for_exits(log)
    oxtest.check("document servers still running", set(), left)
    starts = [l for l in server_lines(log) if l.startswith("start ")]
    oxtest.check("document server processes (unregister, register, two clients)", 4, len(starts))

    oxtest.run("afx_test_docserver", "/UnregServer")
    oxtest.check("document server unregistration logged", True, "unregister 1" in server_lines(log))
    oxtest.check("document ProgID gone", None, reg_value(classes + "\\" + DOC_PROGID + "\\CLSID"))
    oxtest.check("document class gone", None, reg_value(classes + "\\CLSID\\" + DOC_CLSID))


def main():
    with tempfile.TemporaryDirectory() as folder:
        log = os.path.join(folder, "server.log")
        os.environ["OX_TEST_SERVER_LOG"] = oxtest.winpath(log)
        oxtest.run("afx_test_server", "/UnregServer")
        oxtest.run("afx_test_server", "/RegServer")
        oxtest.check("registration logged", True, "register 1" in server_lines(log))

        # Wine keeps the classes below HKEY_LOCAL_MACHINE\Software\Classes.
        classes = r"HKEY_LOCAL_MACHINE\Software\Classes"
        oxtest.check("ProgID's class id", CLSID, reg_value(classes + "\\" + PROGID + "\\CLSID"))
        oxtest.check("class's ProgID", PROGID, reg_value(classes + "\\CLSID\\" + CLSID + "\\ProgID"))
        server = reg_value(classes + "\\CLSID\\" + CLSID + "\\LocalServer32") or ""
        oxtest.check("local server command", True,
                     server.lower().endswith("afx_test_server.exe /automation") and ":" in server)

        js = run_script(folder, "client.js", JSCRIPT, "END-JSCRIPT")
        expected_js = {
            "add": ("=", "42"),
            "addtext": ("=", "42"),
            "concat": ("=", "true"),
            "name": ("=", "true"),
            "NAME": ("=", "true"),
            "flag": ("=", "true"),
            "changes": ("=", "2"),
            "slot": ("=", "0"),
            "child": ("=", "9"),
            "describe": ("=", "3:7"),
            "objects": ("=", "1"),
        }
        check_answers("JScript", js, expected_js)
        # errors: the member's text (the script engines of Wine 8 turn the application's error
        # code into 80004005, Windows into 800a0000 + code); wrong names and argument counts as
        # COM's errors
        errors_js = {
            "badslot": r"(800a03e9|80004005) Fach au",
            "fail": r"(800a04d2|80004005) Absichtlicher Fehler",
            "failcode": r"(800a004d|80004005) Absichtlicher Fehler",
            "unknown": r"800a01b6",
            "fewer": r"8002000e",
            "more": r"8002000e",
            "mismatch": r"80020005",
        }
        check_errors("JScript", js, errors_js)

        vbs = run_script(folder, "client.vbs", VBSCRIPT, "END-VBSCRIPT")
        expected_vbs = {
            "create": ("=", "Object"),
            "name": ("=", "-1"),
            "default": ("=", "-1"),
            "slotput": ("=", "9"),
            "twice": ("=", "42"),
            "when": ("=", "2024-3-5 14:37"),
            "add": ("=", "5"),
            "child": ("=", "4"),
        }
        check_answers("VBScript", vbs, expected_vbs)
        errors_vbs = {
            "missing": r"1b6 ",
            "argcount": r"1c2 ",
            "fail": r"(4d2|0) Absichtlicher Fehler",
        }
        check_errors("VBScript", vbs, errors_vbs)

        # Each script's server ended with its last object.
        left = wait_for_exits(log)
        oxtest.check("servers still running", set(), left)
        starts = [l for l in server_lines(log) if l.startswith("start ")]
        oxtest.check("server processes (unregister, register, two clients)", 4, len(starts))

        oxtest.run("afx_test_server", "/UnregServer")
        oxtest.check("unregistration logged", True, "unregister 1" in server_lines(log))
        oxtest.check("ProgID gone", None, reg_value(classes + "\\" + PROGID + "\\CLSID"))
        oxtest.check("class gone", None, reg_value(classes + "\\CLSID\\" + CLSID + "\\LocalServer32"))

        check_document_server(folder, classes)
        del os.environ["OX_TEST_SERVER_LOG"]
    return oxtest.report()


if __name__ == "__main__":
    sys.exit(main())
