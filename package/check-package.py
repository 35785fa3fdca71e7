#!/usr/bin/env python3
"""Reports the sizes of the shipped files and checks what the programs import.

usage: check-package.py --objdump OBJDUMP --report OUT
                        [--limit NAME=BYTES ...] [--package SETUP.EXE]
                        NAME=PATH ...

Each NAME=PATH is a stripped program.  Every DLL it imports must be one that
Windows itself provides; a program over its --limit fails the check too.
The report goes to standard output and to OUT.
"""
import argparse
import os
import subprocess
import sys

# DLLs of Windows itself (msvcrt.dll has shipped with it since Windows 2000).
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "imm32.dll",
    "kernel32.dll", "msvcrt.dll", "ole32.dll", "oleacc.dll", "oleaut32.dll",
    "shell32.dll", "shlwapi.dll", "user32.dll", "uxtheme.dll", "version.dll",
    "winmm.dll", "ws2_32.dll",
}


def imported_dlls(objdump, path):
    out = subprocess.run([objdump, "-p", path], check=True, capture_output=True, text=True).stdout
    return [line.split(":", 1)[1].strip() for line in out.splitlines() if "DLL Name:" in line]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--report", required=True)
    parser.add_argument("--limit", action="append", default=[], help="NAME=BYTES")
    parser.add_argument("--package")
    parser.add_argument("programs", nargs="+", help="NAME=PATH")
    args = parser.parse_args()

    limits = {}
    for item in args.limit:
        name, _, value = item.partition("=")
        limits[name] = int(value)

    lines = []
    failures = []
    for item in args.programs:
        name, _, path = item.partition("=")
        size = os.path.getsize(path)
        dlls = imported_dlls(args.objdump, path)
        limit = limits.get(name)
        note = "" if limit is None else "  (limit %d)" % limit
        lines.append("%-18s %9d bytes %7.1f KB  %s%s" % (name, size, size / 1024, " ".join(dlls), note))
        foreign = [dll for dll in dlls if dll.lower() not in SYSTEM_DLLS]
        if foreign:
            failures.append("%s imports DLLs that Windows does not provide: %s" % (name, ", ".join(foreign)))
        if limit is not None and size > limit:
            failures.append("%s is %d bytes stripped, over its limit of %d" % (name, size, limit))
    if args.package:
        size = os.path.getsize(args.package)
        lines.append("%-18s %9d bytes %7.1f KB  (program, script and archive)" % ("setup.exe", size, size / 1024))

    report = "\n".join(lines) + "\n"
    with open(args.report, "w") as f:
        f.write(report)
    sys.stdout.write(report)
    if failures:
        os.remove(args.report)  # so that the next build checks again
        sys.exit("\n".join(failures))


if __name__ == "__main__":
    main()
