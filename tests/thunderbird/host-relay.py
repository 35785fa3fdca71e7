#!/usr/bin/env python3
"""Stands between Thunderbird and kelvane-host, passing frames both ways.

A request whose body holds the stop marker is never delivered: the host is
killed and the relay exits with it, as if the host had died mid-request.
Usage: host-relay.py MARKER STOPPED HOST [ARGS...]: STOPPED is a file made
when the host is stopped; Thunderbird adds its own two arguments.
"""

import os
import signal
import struct
import subprocess
import sys
import threading


def read_exact(fd, n):
    data = b""
    while len(data) < n:
        chunk = os.read(fd, n - len(data))
        if not chunk:
            return None
        data += chunk
    return data


def pump(src, dst):
    while True:
        chunk = os.read(src, 65536)
        if not chunk:
            break
        os.write(dst, chunk)
    os._exit(0)


def main():
    marker = sys.argv[1].encode()
    stopped = sys.argv[2]
    host = subprocess.Popen(sys.argv[3:], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    threading.Thread(target=pump, args=(host.stdout.fileno(), 1), daemon=True).start()
    to_host = host.stdin.fileno()
    while True:
        head = read_exact(0, 4)
        if head is None:
            break
        body = read_exact(0, struct.unpack("=I", head)[0])
        if body is None:
            break
        if marker in body:
            open(stopped, "w").close()
            host.send_signal(signal.SIGKILL)
            host.wait()
            os._exit(1)
        os.write(to_host, head + body)
    host.stdin.close()
    host.wait()
    os._exit(0)


if __name__ == "__main__":
    main()
