#!/usr/bin/env python3
"""The kelvane-host executable as Thunderbird starts it: framed requests on
standard input, framed replies on standard output, status 0 when the input
ends (here in the middle of a frame).  Also --help, --version and a bad
option.

usage: host-cli.py [--wine] [--bytes] [--ping-only] HOST

--wine runs a Windows host under wine64 (WINEPREFIX set, the prefix made);
--bytes expects the bytes measure of a build without the UTF-8 one;
--ping-only sends one ping (the Debian package's check)."""
import json
import os
import struct
import subprocess
import sys
import tempfile

args = sys.argv[1:]
flags = {a for a in args if a.startswith("--")}
host = [a for a in args if not a.startswith("--")][0]
command = (["/usr/lib/wine/wine64"] if "--wine" in flags else []) + [host]
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


def run(arguments, data=b""):
    # Files, not pipes: Wine's background processes would inherit a pipe and
    # keep it open for their linger time.
    with tempfile.TemporaryFile() as i, tempfile.TemporaryFile() as o, tempfile.TemporaryFile() as e:
        i.write(data)
        i.seek(0)
        status = subprocess.run(command + arguments, stdin=i, stdout=o, stderr=e, timeout=60).returncode
        o.seek(0)
        e.seek(0)
        return status, o.read(), e.read().decode(errors="replace")


def frame(message):
    data = message if isinstance(message, bytes) else json.dumps(message).encode()
    return struct.pack("=I", len(data)) + data


def replies(data):
    out = []
    while len(data) >= 4:
        (n,) = struct.unpack("=I", data[:4])
        out.append(json.loads(data[4:4 + n].decode()))
        data = data[4 + n:]
    check(not data, "trailing bytes after the replies")
    return out


thunderbird = ["/usr/lib/mozilla/native-messaging-hosts/org.example.kelvane.json", "kelvane@example.org"]
ping = {"version": 1, "id": 1, "type": "ping"}
if "--ping-only" in flags:
    status, out, err = run(thunderbird, frame(ping))
    got = replies(out)
    check(status == 0 and len(got) == 1 and got[0].get("ok") is True, "ping: %d %r %s" % (status, got, err))
else:
    status, out, _ = run(["--version"])
    version = out.decode().strip()
    check(status == 0 and version.startswith("kelvane-host "), "--version: %d %r" % (status, version))
    status, out, _ = run(["--help"])
    check(status == 0 and b"usage: kelvane-host" in out, "--help: %d" % status)
    status, out, err = run(["--bogus"], frame(ping))
    check(status == 2 and not out and "--bogus" in err, "--bogus: %d %r" % (status, out))

    # A quoted line of 46 two-byte letters and 22 blanks: 70 columns with its
    # prefix, 116 bytes.
    line = " ".join(["\u00e4\u00e4"] * 23)
    reply = {"version": 1, "id": 7, "type": "reply", "body": "Ann Lee wrote:\n> " + line + "\n\n-- \nBob",
             "options": {"quoteChar": "|"}}
    data = frame(ping) + frame(b"{\"version\": 1,") + frame(reply) + struct.pack("=I", 50) + b"{\"version\""
    status, out, err = run(thunderbird, data)
    check(status == 0 and not err, "session: status %d, %r" % (status, err))
    got = replies(out)
    check([r.get("ok") for r in got] == [True, False, True], "session replies: %r" % got)
    if len(got) == 3:
        check(got[0].get("program") == version, "ping: %r" % got[0])
        check(got[1]["error"]["code"] == "bad-json" and got[1]["id"] is None, "bad frame: %r" % got[1])
        body = got[2].get("body", "")
        quoted = [l for l in body.split("\n") if l.startswith("|")]
        check(len(quoted) == (2 if "--bytes" in flags else 1), "measure: %r" % body)

for f in failures:
    print("FAIL:", f)
print("kelvane-host: %s" % ("all checks passed" if not failures else "%d failed" % len(failures)))
sys.exit(1 if failures else 0)
