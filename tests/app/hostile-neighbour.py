#!/usr/bin/env python3
"""Plays another local user who lies in wait for the desktop program.

Run as that user. Creates each named path as a listening socket (mode 0777)
and each path ending in ".lock" as a locked file (mode 0600), writes "ready" to
the ready file, then logs every connection it accepts to the log file until
it is killed.

usage: hostile-neighbour.py READY_FILE LOG_FILE PATH...
"""
import fcntl
import os
import selectors
import socket
import sys

ready_file, log_file, paths = sys.argv[1], sys.argv[2], sys.argv[3:]
selector = selectors.DefaultSelector()
held = []
for path in paths:
    if path.endswith(".lock"):
        descriptor = os.open(path, os.O_RDWR | os.O_CREAT, 0o600)
        os.write(descriptor, b"1\nzintello\nhost\n")
        fcntl.flock(descriptor, fcntl.LOCK_EX)
        held.append(descriptor)
        continue
    listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    listener.bind(path)
    os.chmod(path, 0o777)
    listener.listen(16)
    selector.register(listener, selectors.EVENT_READ, path)
with open(ready_file, "w") as ready:
    ready.write("ready\n")
while True:
    for key, _ in selector.select():
        connection, _ = key.fileobj.accept()
        connection.settimeout(1)
        try:
            received = connection.recv(4096)
        except OSError:
            received = b""
        with open(log_file, "a") as log:
            log.write(f"{key.data}: {received!r}\n")
        connection.close()
