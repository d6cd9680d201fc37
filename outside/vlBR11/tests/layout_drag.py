"""A column divider of the browse control dragged with the display's pointer (xdotool), the
layout saved to the registry (seen with reg query), loaded by a new control, and a truncated
value refused."""
import re
import subprocess
import sys

import oxtest

KEY = r"Software\velmar\OXTest\vlBR11\XDrag"
VALUE = "ViewTodoList"


def reg(*args):
    done = subprocess.run(oxtest.wine() + ["reg"] + list(args), stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          timeout=60)
    return done.stdout.decode("latin-1")


def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True, timeout=30)


reg("delete", "HKCU\\" + KEY, "/f")
helper = subprocess.Popen(oxtest.command("vlbr11_layout_helper", "drag", KEY, VALUE), stdin=subprocess.PIPE,
                          stdout=subprocess.PIPE)
ready = helper.stdout.readline().decode("latin-1").split()
if len(ready) != 4 or ready[0] != "ready":
    oxtest.fail("the helper did not show its list: %r" % ready)
    helper.kill()
    sys.exit(oxtest.report())
x1, y, x2 = int(ready[1]), int(ready[2]), int(ready[3])
xdotool("mousemove", x1, y)
xdotool("mousedown", 1)
for step in range(1, 5):
    xdotool("mousemove", x1 + (x2 - x1) * step // 4, y)
xdotool("mouseup", 1)
out, _ = helper.communicate(b"done\n", timeout=60)
out = out.decode("latin-1")
width = re.search(r"width (\d+) (\d+)", out)
saved = re.search(r"saved (-?\d+)", out)
oxtest.check("the helper reports the width", True, width is not None)
oxtest.check("saved", "0", saved.group(1) if saved else out)
if width:
    before, after = int(width.group(1)), int(width.group(2))
    oxtest.check("the divider moved by the drag", True, abs(after - (before + 60)) <= 2)

query = reg("query", "HKCU\\" + KEY, "/v", VALUE)
binary = re.search(VALUE + r"\s+REG_BINARY\s+([0-9A-Fa-f]+)", query)
oxtest.check("reg query shows the REG_BINARY value", True, binary is not None)

loaded = oxtest.run("vlbr11_layout_helper", "load", KEY, VALUE)
match = re.search(r"load (-?\d+) width (\d+) default (\d+)", loaded)
oxtest.check("a new control loads the layout", "0", match.group(1) if match else loaded)
if match and width:
    oxtest.check("the loaded width", after, int(match.group(2)))

if binary:
    truncated = binary.group(1)[:40]
    reg("add", "HKCU\\" + KEY, "/v", VALUE, "/t", "REG_BINARY", "/d", truncated, "/f")
    refused = oxtest.run("vlbr11_layout_helper", "load", KEY, VALUE)
    match = re.search(r"load (-?\d+) width (\d+) default (\d+)", refused)
    oxtest.check("a truncated value is refused (BRERR_LAYOUT)", "-7", match.group(1) if match else refused)
    if match:
        oxtest.check("and changes nothing", match.group(3), match.group(2))

reg("delete", "HKCU\\" + KEY, "/f")
sys.exit(oxtest.report())
