#!/usr/bin/env python3
"""Assembles the shipped setup package: the setup program, "-overlay1-", the
setup script, "-overlay2-" and a deflated ZIP archive of the files to
install, in that order.  The archive's offsets count from its own first
byte, so it reads like a stand-alone .zip file.

usage: make-package.py --program setup.exe --script setup-script.txt
                       --output setup.exe --zip-output files.zip
                       [--version X.Y.Z] NAME=PATH ...

With --version the script gets a "#DisplayVersion" section in front of its
closing "#end", so that the version setup registers is the build's own.
"""
import argparse
import io
import sys
import time
import zipfile


def build_archive(entries):
    buffer = io.BytesIO()
    # A fixed time keeps the package byte-identical from build to build.
    stamp = (2026, 1, 1, 12, 0, 0)
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for name, path in entries:
            with open(path, "rb") as source:
                data = source.read()
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS: the low byte holds the attributes
            info.external_attr = 0x20  # archive bit
            archive.writestr(info, data)
    return buffer.getvalue()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--script", required=True)
    parser.add_argument("--output", required=True)
    parser.add_argument("--zip-output")
    parser.add_argument("--version")
    parser.add_argument("entries", nargs="+", help="NAME=PATH")
    args = parser.parse_args()

    entries = []
    for item in args.entries:
        name, sep, path = item.partition("=")
        if not sep or not name:
            parser.error("entry %r is not NAME=PATH" % item)
        entries.append((name, path))

    with open(args.program, "rb") as f:
        program = f.read()
    with open(args.script, "rb") as f:
        script = f.read()
    if args.version:
        if not script.endswith(b"#end") or b"#DisplayVersion" in script:
            sys.exit("the script must end with #end and carry no #DisplayVersion of its own")
        script = script[:-4] + b"#DisplayVersion\r\n" + args.version.encode("ascii") + b"\r\n#end"
    for marker in (b"-overlay1-", b"-overlay2-"):
        if marker in program:
            sys.exit("the setup program itself contains %s" % marker.decode())
        if marker in script:
            sys.exit("the script contains %s" % marker.decode())

    archive = build_archive(entries)
    if args.zip_output:
        with open(args.zip_output, "wb") as f:
            f.write(archive)
    with open(args.output, "wb") as f:
        f.write(program + b"-overlay1-" + script + b"-overlay2-" + archive)


if __name__ == "__main__":
    main()
