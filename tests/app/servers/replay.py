#!/usr/bin/env python3
"""The client benchmark's game server.

  replay.py --corpus FILE [--timeout SECONDS]

Listens on a free port of 127.0.0.1 and prints it as its first line. Serves one client: WILL
ECHO, WILL SGA, DO TTYPE and DO NAWS, then every line of FILE (cp949, LF ends; sent with CR LF)
as fast as the client reads, then a last line BENCH-END. Meanwhile it counts the client's "hit"
lines, and for each line "type STAMP" (STAMP: the monotonic clock in microseconds when the line
was typed) prints "TYPED MS", the milliseconds the line took to arrive. At the client's
BENCH-DONE it prints

  RESULT lines=N hits=H seconds=S

(S from the first byte sent to BENCH-DONE), times the typed lines that still come until the client
has been quiet for half a second, closes and exits 0; after --timeout seconds
(HM_SERVER_LIMIT, 120) it exits 1.
"""

import argparse
import sys
import threading
import time

sys.dont_write_bytecode = True  # nothing written beside the sources
from telnetlines import default_limit, IAC, LineReader, listen, now_us, shown, stop_after

WILL, DO = 251, 253
QUIET = 0.5  # seconds without a byte after BENCH-DONE that end the run
GREETING = bytes([IAC, WILL, 1, IAC, WILL, 3, IAC, DO, 24, IAC, DO, 31])


def late_typed_lines(sock, reader, done_us):
    """Lines typed during the run that a client only sends once it has read everything arrive
    after BENCH-DONE: they are timed too, until a line typed after BENCH-DONE shows that the
    client has caught up, or the client has been quiet for QUIET seconds."""
    sock.settimeout(QUIET)
    try:
        while data := sock.recv(65536):
            for line in reader.feed(data):
                if line.startswith(b"type ") and line[5:].isdigit():
                    if int(line[5:]) > done_us:
                        return
                    print(f"TYPED {(now_us() - int(line[5:])) / 1000:.3f}", flush=True)
    except OSError:  # the quiet time passed, or the client went
        pass


def main():
    parser = argparse.ArgumentParser(description="The client benchmark's game server.")
    parser.add_argument("--corpus", required=True)
    parser.add_argument("--timeout", type=float, default=default_limit())
    args = parser.parse_args()

    with open(args.corpus, "rb") as f:
        corpus = f.read()
    lines = corpus.count(b"\n")
    stream = GREETING + corpus.replace(b"\n", b"\r\n") + b"BENCH-END\r\n"

    stop_after(args.timeout)
    server = listen()
    sock = server.accept()[0]
    start = time.monotonic()
    threading.Thread(target=lambda: sock.sendall(stream), daemon=True).start()

    reader = LineReader()
    hits = 0
    while True:
        data = sock.recv(65536)
        if not data:
            print("FAILED the client went before BENCH-DONE", flush=True)
            return 1
        for line in reader.feed(data):
            if line == b"hit":
                hits += 1
            elif line.startswith(b"type ") and line[5:].isdigit():
                print(f"TYPED {(now_us() - int(line[5:])) / 1000:.3f}", flush=True)
            elif line == b"BENCH-DONE":
                seconds = time.monotonic() - start
                print(f"RESULT lines={lines} hits={hits} seconds={seconds:.6f}", flush=True)
                late_typed_lines(sock, reader, now_us())
                sock.close()
                return 0
            else:
                print(f"RECV {shown(line)}", flush=True)


if __name__ == "__main__":
    sys.exit(main())
