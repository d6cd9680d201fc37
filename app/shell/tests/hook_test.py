#!/usr/bin/env python3
"""The registration-free activation of the control libraries: ox_shell_hook_probe runs from a
folder of its own with a stand-in library copied as qzdedit.dll and no other control library.
The date-edit CLSID, registered nowhere, comes from the stand-in; an unknown CLSID and the month
control (whose library is missing) get the real function's answer from the registry; a second
installation patches nothing and keeps the real function."""
import os
import shutil
import subprocess
import sys
import tempfile

import oxtest


def main():
    folder = tempfile.mkdtemp(prefix="ox_shell_hook_")
    shutil.copy(os.path.join(os.environ["OX_BIN"], "ox_shell_hook_probe.exe"), folder)
    shutil.copy(os.path.join(os.environ["OX_BIN"], "ox_shell_hook_server.dll"), os.path.join(folder, "qzdedit.dll"))
    done = subprocess.run(oxtest.wine() + [os.path.join(folder, "ox_shell_hook_probe.exe")], cwd=folder,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
    lines = {}
    for line in done.stdout.decode("latin-1").splitlines():
        key, _, rest = line.partition("=")
        lines[key] = line
    patched = int(lines.get("patched", "patched=0").split("=")[1])
    oxtest.check("the program's import slot is patched", True, patched >= 1)
    oxtest.check("date edit from the stand-in", "dedit=00000000 served=1 requests=1", lines.get("dedit"))
    oxtest.check("unknown CLSID keeps the real answer", "unknown=80040154 real=80040154", lines.get("unknown"))
    oxtest.check("missing library: the registry answers", "month=80040154 real=80040154 loaded=0", lines.get("month"))
    oxtest.check("second installation patches nothing", "second=0 again=80040154", lines.get("second"))
    shutil.rmtree(folder, ignore_errors=True)
    return oxtest.report()


if __name__ == "__main__":
    sys.exit(main())
