#!/usr/bin/env python3
"""An access violation in OX.exe (forced by its test switch once the exception filter is in place)
is reported on the debug channel by the filter, with the x64 registers, and ends the program
without a dialog. ox_shell_probe owns the channel and runs the program."""
import sys

import oxtest


def main():
    out = oxtest.run("ox_shell_probe", "crash", oxtest.winpath(oxtest.command("OX")[-1]), timeout=120)
    lines = out.splitlines()
    oxtest.check("ended by the access violation", "exit=C0000005", lines[0] if lines else None)
    text = "\n".join(lines[1:])
    for expected in (">>MyExceptionHandler", "ExceptionFlags = = 0x", "Module where Exception occured = \"OX.exe\"",
                     " Code : 0xC0000005", "RAX:", "R15:", "CS:RIP:", "SS:RSP:", "<<MyExceptionHandler"):
        oxtest.check("channel holds " + expected, True, expected in text)
    oxtest.check("the report comes in order", True,
                 text.find(">>MyExceptionHandler") < text.find("CS:RIP:") < text.find("<<MyExceptionHandler"))
    return oxtest.report()


if __name__ == "__main__":
    sys.exit(main())
