"""A Thunderbird profile written from scratch, and a session of Thunderbird on it.

Everything lives under one scratch folder: HOME, the XDG folders, the profile
with an offline account, Local Folders with a folder of the test's own
messages, the identities, the add-ons and the native host manifest.
"""

import json
import os
import signal
import subprocess
import time
import zipfile

PRODUCT_ID = "kelvane@example.org"
HELPER_ID = "kelvane-e2e-helper@example.org"
HOST_NAME = "org.example.kelvane"
FOLDER = "Kelvane"

# Identities: two plain-text ones with signatures of their own, which
# Thunderbird puts with the typing line above the quote, and one HTML one.
IDENTITIES = [
    {"key": "id1", "name": "Bob Smith", "email": "bob@example.org", "html": False, "sigBottom": False,
     "sig": "Bob Smith\nExample Org, Lisbon"},
    {"key": "id2", "name": "Bob Smith", "email": "bob.work@example.org", "html": False, "sigBottom": False,
     "sig": "Bob Smith, Office 4\nCall 555-0100"},
    {"key": "id3", "name": "Bob Smith", "email": "bob.html@example.org", "html": True, "sigBottom": True,
     "sig": "Bob in HTML"},
]

LONG_TEXT = (
    "The review of the second draft took longer than we had planned, because\n"
    "every chapter had comments from three people who did not always agree with\n"
    "one another about the order of the sections or about the examples we chose.\n"
    "I have merged what I could and left the rest as notes in the margin so that\n"
    "we can settle them together on Thursday, when everybody is back at the desk.\n"
)

# subject -> (author, recipient, content type, body)
MESSAGES = [
    ("Lunch on Friday", "Ann Lee <ann.lee@example.com>", "Bob Smith <bob@example.org>", "text/plain",
     "Hi Bob,\n\nShall we have lunch on Friday? The new place near the station\nopens at noon.\n\n"
     "Bob Smith wrote:\n> Do you know a good place for lunch?\n\n-- \nAnn Lee\nExample Corp\n"),
    ("Project notes", "Dan Ruiz <dan.ruiz@example.net>", "Bob Smith <bob@example.org>", "text/plain",
     LONG_TEXT + "\nAs far as I know, the printer wants the files by the end of the month.\n\n"
     "-- \nDan Ruiz\n"),
    ("Meeting room", "Ann Lee <ann.lee@example.com>", "Bob Smith <bob.work@example.org>", "text/plain",
     "Bob,\n\nthe meeting room on the third floor is free on Tuesday.\n\n-- \nAnn Lee\nExample Corp\n"),
    ("Garden photos", "Carol King <carol.king@example.com>", "Bob Smith <bob.html@example.org>", "text/html",
     "<html><body><p>Hello Bob,</p><p>here are the <b>garden</b> photos from Sunday.</p>"
     "<div class=\"moz-signature\">-- <br>Carol</div></body></html>\n"),
    ("Host stops here", "Eve Marsh <eve.marsh@example.com>", "Bob Smith <bob@example.org>", "text/plain",
     "Bob,\n\nKELVANE-E2E-HOST-STOPS is the word that stops the host.\n\n-- \nEve\n"),
    ("Back again", "Frank Oda <frank.oda@example.com>", "Bob Smith <bob@example.org>", "text/plain",
     "Hello Bob,\n\nare you back from the trip?\n\n-- \nFrank Oda\n"),
]

HOST_STOP_MARKER = "KELVANE-E2E-HOST-STOPS"


def _pref(name, value):
    return "user_pref(%s, %s);\n" % (json.dumps(name), json.dumps(value))


def user_js(extra=None):
    prefs = {
        # Quiet start: no questions, pages, updates, telemetry or network.
        "mail.shell.checkDefaultClient": False,
        "mail.shell.checkDefaultMail": False,
        "mailnews.start_page.enabled": False,
        "mail.rights.version": 1,
        "mail.provider.enabled": False,
        "app.update.enabled": False,
        "app.update.auto": False,
        "datareporting.policy.dataSubmissionEnabled": False,
        "datareporting.healthreport.uploadEnabled": False,
        "toolkit.telemetry.enabled": False,
        "toolkit.telemetry.unified": False,
        "toolkit.telemetry.archive.enabled": False,
        "mailnews.auto_config.fetchFromISP.enabled": False,
        "mailnews.auto_config.guess.enabled": False,
        "mailnews.auto_config_url": "",
        "services.settings.server": "data:,#remote-settings-off",
        "network.connectivity-service.enabled": False,
        "network.captive-portal-service.enabled": False,
        "mailnews.database.global.indexer.enabled": False,
        "mail.chat.enabled": False,
        "mail.biff.show_alert": False,
        "mail.compose.autosave": False,
        "mail.spellcheck.inline": False,
        "toolkit.startup.max_resumed_crashes": -1,
        "browser.dom.window.dump.enabled": True,
        "devtools.console.stdout.chrome": True,
        "devtools.console.stdout.content": True,
        # Unsigned add-ons from the profile, enabled without asking.
        "xpinstall.signatures.required": False,
        "extensions.autoDisableScopes": 0,
        "extensions.enabledScopes": 15,
        "extensions.webextensions.uuids": json.dumps({
            PRODUCT_ID: "0b7f2a3c-0d7e-4b55-9a51-6d1a8e000001",
            HELPER_ID: "0b7f2a3c-0d7e-4b55-9a51-6d1a8e000002"}),
        # Replies: "On DATE, NAME wrote:", the sender's signature kept in the quote.
        "mailnews.reply_header_type": 2,
        "mailnews.wraplength": 72,
        "mail.strip_sig_on_reply": False,
        # An account that never connects, and Local Folders.
        "mail.accountmanager.accounts": "account1,account2",
        "mail.accountmanager.defaultaccount": "account1",
        "mail.accountmanager.localfoldersserver": "server2",
        "mail.account.account1.server": "server1",
        "mail.account.account1.identities": ",".join(i["key"] for i in IDENTITIES),
        "mail.account.account2.server": "server2",
        "mail.server.server1.type": "pop3",
        "mail.server.server1.hostname": "127.0.0.1",
        "mail.server.server1.port": 9,
        "mail.server.server1.userName": "bob",
        "mail.server.server1.name": "Bob",
        "mail.server.server1.directory-rel": "[ProfD]Mail/127.0.0.1",
        "mail.server.server1.login_at_startup": False,
        "mail.server.server1.check_new_mail": False,
        "mail.server.server1.download_on_biff": False,
        "mail.server.server2.type": "none",
        "mail.server.server2.hostname": "Local Folders",
        "mail.server.server2.userName": "nobody",
        "mail.server.server2.name": "Local Folders",
        "mail.server.server2.directory-rel": "[ProfD]Mail/Local Folders",
        "mail.smtpservers": "smtp1",
        "mail.smtp.defaultserver": "smtp1",
        "mail.smtpserver.smtp1.hostname": "127.0.0.1",
        "mail.smtpserver.smtp1.port": 9,
    }
    for identity in IDENTITIES:
        p = "mail.identity.%s." % identity["key"]
        prefs.update({
            p + "fullName": identity["name"],
            p + "useremail": identity["email"],
            p + "valid": True,
            p + "smtpServer": "smtp1",
            p + "compose_html": identity["html"],
            p + "reply_on_top": 1,
            p + "sig_bottom": identity["sigBottom"],
            p + "htmlSigText": identity["sig"],
            p + "htmlSigFormat": False,
            p + "sig_on_reply": True,
            p + "attach_signature": False,
            p + "fcc": False,
        })
    prefs.update(extra or {})
    return "".join(_pref(k, v) for k, v in prefs.items())


def mbox():
    out = []
    for n, (subject, author, to, ctype, body) in enumerate(MESSAGES):
        out.append("From - Mon Dec  7 10:%02d:00 2026\n" % n)
        out.append("Date: Mon, 07 Dec 2026 10:%02d:00 +0000\n" % n)
        out.append("From: %s\nTo: %s\nSubject: %s\n" % (author, to, subject))
        out.append("Message-ID: <e2e-%d@example.com>\nMIME-Version: 1.0\n" % n)
        out.append("Content-Type: %s; charset=UTF-8\nContent-Transfer-Encoding: 8bit\n\n" % ctype)
        for line in body.splitlines():
            out.append((">" + line if line.startswith("From ") else line) + "\n")
        out.append("\n")
    return "".join(out)


def zip_folder(folder, target, extra=None):
    with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as z:
        for name in sorted(os.listdir(folder)):
            z.write(os.path.join(folder, name), name)
        for name, text in (extra or {}).items():
            z.writestr(name, text)


class Profile:
    """HOME, XDG folders and a Thunderbird profile under root."""

    def __init__(self, root, prefs=None):
        self.root = root
        self.home = os.path.join(root, "home")
        self.dir = os.path.join(root, "profile")
        for sub in ("home", "home/.config", "home/.cache", "home/.local/share", "tmp",
                    "profile/extensions", "profile/Mail/Local Folders"):
            os.makedirs(os.path.join(root, sub), exist_ok=True)
        with open(os.path.join(self.dir, "user.js"), "w") as f:
            f.write(user_js(prefs))
        with open(os.path.join(self.dir, "Mail", "Local Folders", FOLDER), "w") as f:
            f.write(mbox())

    def add_xpi(self, addon_id, xpi):
        target = os.path.join(self.dir, "extensions", addon_id + ".xpi")
        with open(xpi, "rb") as src, open(target, "wb") as dst:
            dst.write(src.read())

    def add_host(self, program):
        folder = os.path.join(self.home, ".mozilla", "native-messaging-hosts")
        os.makedirs(folder, exist_ok=True)
        manifest = {"name": HOST_NAME, "description": "Kelvane reply engine (test build)",
                    "path": program, "type": "stdio", "allowed_extensions": [PRODUCT_ID]}
        with open(os.path.join(folder, HOST_NAME + ".json"), "w") as f:
            json.dump(manifest, f, indent=2)

    def add_managed(self, addon_id, data):
        """Options an administrator presets for an add-on (storage.managed)."""
        folder = os.path.join(self.home, ".mozilla", "managed-storage")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, addon_id + ".json"), "w") as f:
            json.dump({"name": addon_id, "description": "test preset", "type": "storage", "data": data}, f)

    def environment(self, display=None):
        env = {k: v for k, v in os.environ.items()
               if not k.startswith("MOZ_") and k not in
               ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XAUTHORITY")}
        env.update({
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
            "XDG_DATA_HOME": os.path.join(self.home, ".local", "share"),
            "XDG_RUNTIME_DIR": os.path.join(self.root, "tmp"),
            "TMPDIR": os.path.join(self.root, "tmp"),
            "TZ": "UTC",
            "LC_ALL": "C.UTF-8",
            "LANG": "C.UTF-8",
            "MOZ_CRASHREPORTER_DISABLE": "1",
            "MOZ_DISABLE_AUTO_SAFE_MODE": "1",
        })
        if display:
            env["DISPLAY"] = display
        else:
            env["MOZ_HEADLESS"] = "1"
        return env


class Session:
    """Thunderbird in a session of its own; its output goes to log_path."""

    def __init__(self, thunderbird, profile, log_path, display=None):
        self.log_path = log_path
        self.log = open(log_path, "wb")
        args = [thunderbird, "--profile", profile.dir, "--no-remote"]
        if not display:
            args.append("--headless")
        self.proc = subprocess.Popen(args, env=profile.environment(display), stdin=subprocess.DEVNULL,
                                     stdout=self.log, stderr=subprocess.STDOUT, start_new_session=True)

    def wait_for_line(self, accept, timeout):
        """Reads the log as it grows until accept(line) holds; returns the lines read so far."""
        deadline = time.monotonic() + timeout
        lines, pending = [], b""
        with open(self.log_path, "rb") as f:
            while True:
                chunk = f.read()
                if chunk:
                    pending += chunk
                    *complete, pending = pending.split(b"\n")
                    for raw in complete:
                        line = raw.decode("utf-8", "replace")
                        lines.append(line)
                        if accept(line):
                            return lines, True
                    continue
                if self.proc.poll() is not None or time.monotonic() >= deadline:
                    return lines, False
                time.sleep(0.05)

    def stop(self):
        if self.proc.poll() is None:
            try:
                os.killpg(self.proc.pid, signal.SIGTERM)
                self.proc.wait(timeout=10)
            except (ProcessLookupError, subprocess.TimeoutExpired):
                pass
        try:
            os.killpg(self.proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        self.proc.wait()
        self.log.close()
