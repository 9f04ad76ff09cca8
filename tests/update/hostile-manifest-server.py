#!/usr/bin/env python3
"""A hostile answer to the update check, as an HTTP proxy on 127.0.0.1.

Prints its port, then answers every request, one at a time, with
  chunked    1 GiB of blanks in 64 KiB chunks, made while sending;
  gzip-bomb  1 GiB of blanks, gzip-compressed (about 1 MiB on the wire), sent
             whole with its length.
The client may hang up at any time.

usage: hostile-manifest-server.py chunked|gzip-bomb
"""
import socket
import sys
import zlib

GIBIBYTE = 1 << 30
BLOCK = b" " * (64 << 10)


def chunk(data):
    return b"%x\r\n" % len(data) + data + b"\r\n"


def chunked_blanks():
    for _ in range(GIBIBYTE // len(BLOCK)):
        yield chunk(BLOCK)


def compressed_blanks():
    # Made once: the same bytes go to every client.
    compressor = zlib.compressobj(9, zlib.DEFLATED, 31)
    parts = [compressor.compress(b" " * (1 << 20)) for _ in range(GIBIBYTE >> 20)]
    parts.append(compressor.flush())
    return b"".join(parts)


def main():
    mode = sys.argv[1]
    bomb = compressed_blanks() if mode == "gzip-bomb" else b""
    server = socket.socket()
    server.bind(("127.0.0.1", 0))
    server.listen(8)
    print(server.getsockname()[1], flush=True)
    while True:
        client, _ = server.accept()
        request = b""
        while b"\r\n\r\n" not in request:
            received = client.recv(4096)
            if not received:
                break
            request += received
        header = b"HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nTransfer-Encoding: chunked\r\n"
        try:
            if mode == "gzip-bomb":
                # All of it at once, with its length.
                client.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: application/json\r\n"
                               b"Content-Encoding: gzip\r\nContent-Length: %d\r\n\r\n" % len(bomb) + bomb)
                client.close()
                continue
            else:
                client.sendall(header + b"\r\n")
                for data in chunked_blanks():
                    client.sendall(data)
            client.sendall(b"0\r\n\r\n")
        except OSError:
            pass
        client.close()


if __name__ == "__main__":
    main()
