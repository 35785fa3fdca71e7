#!/usr/bin/env python3
"""Kelvane in Debian's Thunderbird, headless, end to end.

Two sessions on profiles built from scratch: the first without Kelvane
records the replies as Thunderbird makes them, the second with the built
add-on and host opens the same replies and is checked against the first.
A test-only helper add-on drives both and reports on standard output.

Usage: run-e2e.py --thunderbird TB --xpi XPI --host HOST --work DIR
"""

import argparse
import json
import os
import re
import shutil
import statistics
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tbprofile  # noqa: E402
from tbprofile import IDENTITIES, PRODUCT_ID  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
SESSION_TIMEOUT = 150
SIG1, SIG2 = IDENTITIES[0]["sig"], IDENTITIES[1]["sig"]
CONSOLE = re.compile(r'^console\.(?:log|info|warn|error): (".*")$')
PRODUCT_REPLY = re.compile(r"kelvane: reply (\d+) result (-?\d+) in ([0-9.]+) ms")


def console_text(line):
    """The text of a console line Thunderbird wrote to standard output, or None."""
    m = CONSOLE.match(line)
    if not m:
        return None
    try:
        return json.loads(m.group(1))
    except ValueError:
        return None


def report(line):
    """The helper's record on a console line, or None."""
    text = console_text(line)
    if not text or not text.startswith("kelvane-e2e: "):
        return None
    return json.loads(text[len("kelvane-e2e: "):])


def steps(baseline, product):
    """The replies of one session; with product, waits on the bodies of the baseline."""
    def differs(name):
        return {} if product is None else {"differs": baseline[name]}

    me, work, html = (i["email"] for i in IDENTITIES)
    switched = {"once": [SIG2], "absent": [SIG1]}
    s = [
        {"op": "reply", "name": "plain", "subject": "Lunch on Friday", "identity": me,
         "wait": differs("plain"), "timeoutMs": 40000},
        {"op": "caret", "name": "plain"},
        {"op": "reply", "name": "long", "subject": "Project notes", "identity": me, "wait": differs("long")},
        {"op": "reply", "name": "switch", "subject": "Meeting room", "identity": me, "wait": differs("switch")},
        {"op": "identity", "name": "switch", "identity": work, "wait": switched},
        {"op": "reply", "name": "untouched", "subject": "Lunch on Friday", "identity": me,
         "wait": differs("untouched")},
        {"op": "close", "name": "untouched"},
        {"op": "reply", "name": "html", "subject": "Garden photos", "identity": html},
    ]
    if product is not None:
        s.append({"op": "undo", "name": "plain", "product": product, "wait": {"equals": baseline["plain"]}})
    s += [
        {"op": "reply", "name": "stop", "subject": "Host stops here", "identity": me},
        {"op": "reply", "name": "again", "subject": "Back again", "identity": me, "wait": differs("again")},
        {"op": "read", "name": "stop"},
        {"op": "read", "name": "html"},
    ]
    if product is None:
        # The control for the close check: a reply Thunderbird counts as changed asks.
        s += [{"op": "set", "name": "again", "body": "typed by the user\n"},
              {"op": "close", "name": "again"}]
    return s


def run_session(args, name, product, baseline):
    root = os.path.join(args.work, name)
    shutil.rmtree(root, ignore_errors=True)
    profile = tbprofile.Profile(root)
    scenario = {"folder": tbprofile.FOLDER, "messageCount": len(tbprofile.MESSAGES),
                "steps": steps(baseline, PRODUCT_ID if product else None)}
    helper = os.path.join(root, "helper.xpi")
    tbprofile.zip_folder(os.path.join(HERE, "helper-addon"), helper, {"scenario.json": json.dumps(scenario)})
    profile.add_xpi(tbprofile.HELPER_ID, helper)
    if product:
        profile.add_xpi(PRODUCT_ID, args.xpi)
        relay = os.path.join(root, "kelvane-host-relay")
        with open(relay, "w") as f:
            f.write('#!/bin/sh\nexec python3 %s %s %s "$@"\n' % (
                os.path.join(HERE, "host-relay.py"), tbprofile.HOST_STOP_MARKER, args.host))
        os.chmod(relay, 0o755)
        profile.add_host(relay)
    log = os.path.join(args.work, name + ".log")
    started = time.monotonic()
    session = tbprofile.Session(args.thunderbird, profile, log)
    try:
        lines, finished = session.wait_for_line(lambda l: (report(l) or {}).get("op") == "done", SESSION_TIMEOUT)
    finally:
        session.stop()
    print("%s session: %.1f s%s" % (name, time.monotonic() - started, "" if finished else ", did not finish"))
    records = {}
    for line in lines:
        record = report(line)
        if record:
            records.setdefault((record.get("op"), record.get("name")), []).append(record)
    return lines, records, finished


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--thunderbird", default="thunderbird")
    parser.add_argument("--xpi", required=True)
    parser.add_argument("--host", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--baseline-only", action="store_true")
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    lines, records, finished = run_session(args, "baseline", False, {})
    for k, v in records.items():
        print(k, json.dumps(v)[:3000])


if __name__ == "__main__":
    sys.exit(main())
