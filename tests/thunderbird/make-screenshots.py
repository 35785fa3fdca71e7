#!/usr/bin/env python3
"""Pictures of Kelvane in Thunderbird for the README, under an Xvfb of its own.

Two short sessions on profiles built as the end-to-end test builds them: one
shows a reply Kelvane rewrote, the other the add-on's options.  A window is
taken once two captures in a row are the same, so that it has been drawn.

Usage: make-screenshots.py --xpi XPI --host HOST --work DIR --out DOCS
"""

import argparse
import json
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tbprofile  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
SCREEN = "1100x760x24"


def report(line):
    prefix = 'console.log: "kelvane-e2e: '
    if not line.startswith(prefix):
        return None
    return json.loads(json.loads(line[len("console.log: "):])[len("kelvane-e2e: "):])


class Xvfb:
    def __init__(self):
        read, write = os.pipe()
        self.proc = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", SCREEN, "-nolisten", "tcp"],
                                     pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            self.display = ":" + f.readline().strip()

    def stop(self):
        self.proc.terminate()
        self.proc.wait()


def window_of(display, name, timeout=20):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name], capture_output=True,
                               text=True, env={**os.environ, "DISPLAY": display}).stdout.split()
        if found:
            return found[-1]
        time.sleep(0.2)
    raise RuntimeError("no window named " + name)


def capture(display, window, target, timeout=20):
    env = {**os.environ, "DISPLAY": display}
    deadline, previous = time.monotonic() + timeout, None
    while time.monotonic() < deadline:
        subprocess.run(["import", "-window", window, target], env=env, check=True)
        with open(target, "rb") as f:
            data = f.read()
        if data == previous:
            return
        previous = data
        time.sleep(0.5)
    raise RuntimeError("the window did not settle: " + target)


def session(args, display, name, steps, window_name, size, target, managed=None):
    root = os.path.join(args.work, name)
    shutil.rmtree(root, ignore_errors=True)
    # A caret that does not blink is in every capture.
    profile = tbprofile.Profile(root, {"ui.caretBlinkTime": 0})
    scenario = {"folder": tbprofile.FOLDER, "messageCount": len(tbprofile.MESSAGES),
                "product": tbprofile.PRODUCT_ID, "steps": steps}
    helper = os.path.join(root, "helper.xpi")
    tbprofile.zip_folder(os.path.join(HERE, "helper-addon"), helper, {"scenario.json": json.dumps(scenario)})
    profile.add_xpi(tbprofile.HELPER_ID, helper)
    profile.add_xpi(tbprofile.PRODUCT_ID, args.xpi)
    if managed:
        profile.add_managed(tbprofile.PRODUCT_ID, managed)
    profile.add_host(args.host)
    tb = tbprofile.Session(args.thunderbird, profile, os.path.join(args.work, name + ".log"), display=display)
    try:
        lines, done = tb.wait_for_line(lambda l: (report(l) or {}).get("op") == "done", 90)
        records = [r for r in map(report, lines) if r and "index" in r]
        if not done or any("error" in r or r.get("timedOut") for r in records):
            raise RuntimeError("%s: %s" % (name, records))
        window = window_of(display, window_name)
        env = {**os.environ, "DISPLAY": display}
        subprocess.run(["xdotool", "windowsize", "--sync", window] + size, env=env, check=True)
        subprocess.run(["xdotool", "windowmove", "--sync", window, "0", "0"], env=env, check=True)
        capture(display, window, target)
        # Screen text needs few colours: a palette keeps the picture small.
        subprocess.run(["convert", target, "-strip", "+dither", "-colors", "64", "PNG8:" + target], check=True)
        print("wrote " + target)
    finally:
        tb.stop()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--thunderbird", default="thunderbird")
    parser.add_argument("--xpi", required=True)
    parser.add_argument("--host", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    xvfb = Xvfb()
    try:
        me = tbprofile.IDENTITIES[0]["email"]
        session(args, xvfb.display, "reply",
                [{"op": "reply", "name": "long", "subject": "Project notes", "identity": me,
                  "wait": {"once": ["Dan Ruiz wrote:"]}, "timeoutMs": 40000}],
                "Re: Project notes", ["820", "600"], os.path.join(args.out, "thunderbird-reply.png"),
                {"moveSignatureToBottom": True, "cursorAtTop": False})
        session(args, xvfb.display, "options",
                [{"op": "options", "name": "options", "addon": tbprofile.PRODUCT_ID}],
                "Add-ons Manager", ["1000", "740"], os.path.join(args.out, "thunderbird-options.png"))
    finally:
        xvfb.stop()
    shutil.rmtree(args.work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
