#!/usr/bin/env python3
"""make-xpi.py OUT.xpi MANIFEST SRCDIR FILE...: the add-on package, byte for byte
the same from the same inputs (fixed times and modes, sorted names)."""
import sys
import zipfile


def add(archive, name, data):
    info = zipfile.ZipInfo(name, date_time=(1980, 1, 1, 0, 0, 0))
    info.external_attr = 0o644 << 16
    info.compress_type = zipfile.ZIP_DEFLATED
    archive.writestr(info, data)


def main(out, manifest, srcdir, files):
    with zipfile.ZipFile(out, "w") as archive:
        with open(manifest, "rb") as f:
            add(archive, "manifest.json", f.read())
        for name in sorted(files):
            with open(srcdir + "/" + name, "rb") as f:
                add(archive, name, f.read())


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
