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
import shlex
import shutil
import statistics
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import tbprofile  # noqa: E402
from tbprofile import IDENTITIES, PRODUCT_ID  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
SESSION_TIMEOUT = 120
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


def steps(baseline, product, stopped=None):
    """The replies of one session; with product, waits on the bodies of the baseline."""
    def rewritten(name):
        """Waits for the body to change and for the product to say it is done."""
        return {} if product is None else {"wait": {"differs": baseline[name]}, "product": product}

    me, work, html = (i["email"] for i in IDENTITIES)
    switched = {"once": [SIG2], "absent": [SIG1]}
    s = [
        {"op": "reply", "name": "plain", "subject": "Lunch on Friday", "identity": me,
         "timeoutMs": 30000, **rewritten("plain")},
        {"op": "caret", "name": "plain"},
        {"op": "reply", "name": "long", "subject": "Project notes", "identity": me, **rewritten("long")},
        {"op": "reply", "name": "switch", "subject": "Meeting room", "identity": me, **rewritten("switch")},
        {"op": "identity", "name": "switch", "identity": work, "wait": switched},
        {"op": "reply", "name": "untouched", "subject": "Lunch on Friday", "identity": me, **rewritten("untouched")},
        {"op": "close", "name": "untouched"},
        {"op": "reply", "name": "html", "subject": "Garden photos", "identity": html},
    ]
    if product is not None:
        s.append({"op": "undo", "name": "plain", "product": product, "wait": {"equals": baseline["plain"]}})
    s += [
        # The next reply opens once the host is gone.
        {"op": "reply", "name": "stop", "subject": "Host stops here", "identity": me,
         **({} if stopped is None else {"afterFile": stopped})},
        {"op": "reply", "name": "again", "subject": "Back again", "identity": me, **rewritten("again")},
        {"op": "read", "name": "stop"},
        {"op": "read", "name": "html"},
    ]
    if product is None:
        # The control for the close check: a reply Thunderbird counts as changed asks.
        s += [{"op": "set", "name": "again", "body": "typed by the user\n"},
              {"op": "close", "name": "again"}]
    return s


# What the product session presets, as an administrator would: the reply
# written below the quote, the caret on the line for typing.
MANAGED_OPTIONS = {"moveSignatureToBottom": True, "cursorAtTop": False}
WRAP = 72


def run_session(args, name, product, baseline):
    root = os.path.join(args.work, name)
    shutil.rmtree(root, ignore_errors=True)
    profile = tbprofile.Profile(root)
    scenario = {"folder": tbprofile.FOLDER, "messageCount": len(tbprofile.MESSAGES),
                "product": PRODUCT_ID if product else None,
                "steps": steps(baseline, PRODUCT_ID if product else None,
                               os.path.join(root, "host-stopped") if product else None)}
    helper = os.path.join(root, "helper.xpi")
    tbprofile.zip_folder(os.path.join(HERE, "helper-addon"), helper, {"scenario.json": json.dumps(scenario)})
    profile.add_xpi(tbprofile.HELPER_ID, helper)
    if product:
        profile.add_xpi(PRODUCT_ID, args.xpi)
        profile.add_managed(PRODUCT_ID, MANAGED_OPTIONS)
        # The manifest names a program without arguments: a script passes them on.
        relay = os.path.join(root, "kelvane-host-relay")
        command = [sys.executable, os.path.join(HERE, "host-relay.py"), tbprofile.HOST_STOP_MARKER,
                   os.path.join(root, "host-stopped"), args.host]
        with open(relay, "w") as f:
            f.write('#!/bin/sh\nexec %s "$@"\n' % " ".join(map(shlex.quote, command)))
        os.chmod(relay, 0o755)
        profile.add_host(relay)
    log = os.path.join(args.work, name + ".log")
    started = time.monotonic()
    session = tbprofile.Session(args.thunderbird, profile, log)
    try:
        _, finished = session.wait_for_line(lambda l: (report(l) or {}).get("op") == "done", SESSION_TIMEOUT)
    finally:
        session.stop()
    with open(log, encoding="utf-8", errors="replace") as f:
        lines = f.read().split("\n")
    print("%s session: %.1f s%s" % (name, time.monotonic() - started, "" if finished else ", did not finish"))
    records = {}
    for line in lines:
        record = report(line)
        if record and "index" in record:
            records[(record["op"], record["name"])] = record
    return lines, records, finished


class Checks:
    def __init__(self):
        self.failed = []

    def check(self, name, ok, detail=""):
        print("%s %s%s" % ("PASS" if ok else "FAIL", name, "" if ok or not detail else ": " + detail))
        if not ok:
            self.failed.append(name)


def lines_of(body):
    lines = body.split("\n")
    return lines[:-1] if lines and lines[-1] == "" else lines


def is_quoted(line):
    return line.startswith(">")


def unquoted(line):
    return line.lstrip("> ")


def depth(line):
    return re.match(r"[> ]*", line).group(0).count(">")


def words(lines):
    return " ".join(lines).split()


def sender_sig(lines):
    """The quoted lines from the sender's signature separator on."""
    for i, line in enumerate(lines):
        if is_quoted(line) and unquoted(line).rstrip() == "--":
            return i
    return len(lines)


def rewritten_problems(body, baseline, author, own_sig):
    """What is wrong with a rewritten plain-text reply, compared with Thunderbird's."""
    got, was = lines_of(body), lines_of(baseline)
    problems = []
    quoted = [i for i, l in enumerate(got) if is_quoted(l)]
    if not quoted:
        return ["no quote"]
    first, last = quoted[0], quoted[-1]
    if got[:first] != [author + " wrote:"]:
        problems.append("attribution %r" % got[:first])
    if any(not is_quoted(l) for l in got[first:last + 1]):
        problems.append("the quote is not one block")
    long_lines = [l for l in got[first:last + 1] if len(l) > WRAP]
    if long_lines:
        problems.append("quoted lines over %d columns: %r" % (WRAP, long_lines))
    was_quote = [l for l in was if is_quoted(l)]
    was_quote = was_quote[:sender_sig(was_quote)]
    if words(map(unquoted, got[first:last + 1])) != words(map(unquoted, was_quote)):
        problems.append("the quoted words changed (or the quoted signature stayed)")
    kept = {(unquoted(l), depth(l)) for l in got[first:last + 1]}
    for line in was_quote:
        if depth(line) > 1 and (unquoted(line), depth(line)) not in kept:
            problems.append("nested quote %r lost its depth" % line)
    # Moved below the quote, the signature has its separator, and nothing follows
    # it, as when Thunderbird puts it there.
    own, sig = got[last + 1:], own_sig.split("\n")
    if own[-len(sig) - 1:] != ["-- "] + sig or any(got.count(l) != 1 for l in sig) or got.count("-- ") > 1:
        problems.append("own signature not once at the end below the quote after \"-- \": %r" % own)
    if body.endswith("\n"):
        problems.append("an empty line after the signature")
    return problems


def product_timings(lines):
    return [(int(m.group(1)), int(m.group(2)), float(m.group(3)))
            for m in (PRODUCT_REPLY.search(console_text(l) or "") for l in lines) if m]


def check_sessions(base, prod, prod_lines, work, checks):
    def body(records, op, name):
        r = records.get((op, name))
        if r is None or "error" in r:
            return None
        return None if r.get("timedOut") else r["body"]

    def check_rewritten(label, name, author, sig=SIG1):
        got, was = body(prod, "reply", name), body(base, "reply", name)
        if got is None or was is None:
            checks.check(label, False, "no rewritten body: %r" % prod.get(("reply", name)))
            return None
        problems = rewritten_problems(got, was, author, sig)
        checks.check(label, not problems, "; ".join(problems) + "\n" + got)
        return got

    plain = check_rewritten("rewritten reply: attribution, quote, quoted signature, own signature",
                            "plain", "Ann Lee")
    if plain is not None:
        got = lines_of(plain)
        typing = max(i for i, l in enumerate(got) if is_quoted(l)) + 1
        caret = prod.get(("caret", "plain"), {})
        checks.check("caret on the line below the quote", caret.get("line") == typing,
                     "caret %r, expected line %d" % (caret, typing))
    long_was = body(base, "reply", "long") or ""
    checks.check("the long message needs re-wrapping",
                 any(len(l) > WRAP for l in lines_of(long_was) if is_quoted(l)))
    check_rewritten("long quote re-wrapped", "long", "Dan Ruiz")

    # Undo and the switch of identity mean something only on a rewritten reply.
    def rewritten(name):
        return body(prod, "reply", name) not in (None, body(base, "reply", name))

    undo = prod.get(("undo", "plain"), {})
    button = undo.get("button", {})
    checks.check("Undo Kelvane restores Thunderbird's body",
                 rewritten("plain") and button.get("found") and not button.get("disabled")
                 and body(prod, "undo", "plain") == body(base, "reply", "plain"), json.dumps(undo))

    html_base, html_prod = body(base, "read", "html"), body(prod, "read", "html")
    checks.check("HTML reply left alone", html_prod is not None and html_prod == html_base,
                 "\n%s\n-- Thunderbird alone:\n%s" % (html_prod, html_base))

    control = base.get(("close", "again"), {})
    checks.check("closing a changed reply asks (control, without Kelvane)", control.get("asked") is True,
                 json.dumps(control))
    closing = prod.get(("close", "untouched"), {})
    checks.check("untouched rewritten reply closes without a question",
                 body(prod, "reply", "untouched") is not None and closing.get("asked") is False
                 and closing.get("closed") is True, json.dumps(closing))

    # The helper waits for the new signature once and the old one gone.
    switched = body(prod, "identity", "switch")
    checks.check("switching identity replaces the signature", rewritten("switch") and switched is not None,
                 json.dumps(prod.get(("identity", "switch"))))
    if switched is not None:
        problems = rewritten_problems(switched, body(base, "reply", "switch"), "Ann Lee", SIG2)
        if problems:
            print("NOTE after switching identity the reply is no longer laid out as Kelvane left it: "
                  + "; ".join(problems))

    died = os.path.exists(os.path.join(work, "kelvane", "host-stopped"))
    # The add-on says why it left a reply alone; its other lines are "ready" and the timings.
    why = [t for t in map(console_text, prod_lines) if t and t.startswith("kelvane:")
           and t != "kelvane: ready" and not PRODUCT_REPLY.search(t)]
    checks.check("host stopped mid-request leaves the body untouched, and the add-on says why",
                 died and why and body(prod, "read", "stop") == body(base, "read", "stop"),
                 "host stopped: %s, add-on said: %r\n%s" % (died, why, body(prod, "read", "stop")))
    check_rewritten("the next reply after the host's death is rewritten", "again", "Frank Oda")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--thunderbird", default="thunderbird")
    parser.add_argument("--xpi", required=True)
    parser.add_argument("--host", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    for path in (args.xpi, args.host):
        if not os.path.exists(path):
            print("missing: " + path)
            return 1
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    checks = Checks()
    _, base, finished = run_session(args, "baseline", False, {})
    checks.check("Thunderbird alone ran every step", finished and len(base) == len(steps({}, None)),
                 "see " + os.path.join(args.work, "baseline.log"))
    if finished:
        baseline = {name: r["body"] for (op, name), r in base.items() if op == "reply"}
        lines, prod, finished = run_session(args, "kelvane", True, baseline)
        checks.check("Thunderbird with Kelvane ran every step", finished,
                     "see " + os.path.join(args.work, "kelvane.log"))
        check_sessions(base, prod, lines, args.work, checks)
        timings = product_timings(lines)
        for tab, result, ms in timings:
            print("kelvane reply tab %d result %d in %.1f ms" % (tab, result, ms))
        if timings:
            print("median time from editor ready to body set: %.1f ms over %d replies (goal: at most 100 ms)"
                  % (statistics.median(ms for _, _, ms in timings), len(timings)))
        for line in lines:
            text = console_text(line) or ""
            if text.startswith("kelvane:") and not PRODUCT_REPLY.search(text):
                print("add-on said: " + text)
    if checks.failed:
        print("%d checks failed; logs kept in %s" % (len(checks.failed), args.work))
        return 1
    shutil.rmtree(args.work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
