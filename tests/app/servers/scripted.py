#!/usr/bin/env python3
r"""A game server that plays a scenario, for the failure runs.

  scripted.py [--timeout SECONDS] [--file SCENARIO] [STEP ...]

Listens on a free port of 127.0.0.1 and prints it as its first line. The steps come from the
file (one a line; blank lines and lines starting with # are skipped) and then from the
arguments, and run in order:

  send TEXT         TEXT, cp949, with \r \n \t \\ \xHH for single bytes (no line end is added)
  split N           later sends go out in writes of N bytes with a pause between (0: whole)
  expect TEXT       wait for a client line holding TEXT (after the line the last expect matched)
  flood MB          MB megabytes of text without a line end
  during MB TEXT    flood text until a client line "TEXT STAMP" arrives (STAMP: the monotonic
                    clock in microseconds when it was typed) and print how late it came; fails
                    when MB megabytes went by without it (the client held the line back)
  garbage MB SEED   MB megabytes of random bytes, the same for the same SEED
  close             close the connection
  sleep MS          pause

A step that needs a connection waits for the next client; after a close, that is a new one.
Every line a client sends is printed as "RECV TIME LINE", TIME being the monotonic clock in
seconds (Python's time.monotonic). Exits 0 when every step is done, 1 when an expect is not met
because the client went, or when the run passes --timeout seconds (HM_SERVER_LIMIT, 120).
"""

import argparse
import random
import sys
import threading
import time

sys.dont_write_bytecode = True  # nothing written beside the sources
from telnetlines import default_limit, LineReader, cp949, listen, shown, stop_after

SPLIT_PAUSE = 0.01  # seconds between the pieces of a split send
FLOOD_TEXT = "한글 flood text, no line end ".encode("cp949")
FLOOD_BLOCK = FLOOD_TEXT * (65536 // len(FLOOD_TEXT))  # whole repeats: no pair is cut


class Connection:
    def __init__(self, sock):
        self.sock = sock
        self.lines = []
        self.stamps = []  # when each line arrived, time.monotonic
        self.matched = 0  # lines before this one were seen by an earlier expect
        self.open = True
        self.changed = threading.Condition()
        threading.Thread(target=self.read, daemon=True).start()

    def read(self):
        reader = LineReader()
        while True:
            try:
                data = self.sock.recv(65536)
            except OSError:
                data = b""
            stamp = time.monotonic()
            with self.changed:
                if not data:
                    self.open = False
                    self.changed.notify_all()
                    return
                for line in reader.feed(data):
                    print(f"RECV {stamp:.6f} {shown(line)}", flush=True)
                    self.lines.append(line)
                    self.stamps.append(stamp)
                self.changed.notify_all()

    def expect(self, text, wait=True):
        """The index of the next line holding text, None when the client went first (or, without
        wait, when no such line has come yet)."""
        with self.changed:
            while True:
                for i in range(self.matched, len(self.lines)):
                    if text in self.lines[i]:
                        self.matched = i + 1
                        return i
                self.matched = len(self.lines)
                if not self.open or not wait:
                    return None
                self.changed.wait()

    def lateness_ms(self, i, prefix):
        """How long after its stamp line i arrived, None when it carries no stamp."""
        stamp = self.lines[i][len(prefix):].strip()
        if not self.lines[i].startswith(prefix) or not stamp.isdigit():
            return None
        return (self.stamps[i] - int(stamp) / 1e6) * 1000

    def close(self):
        try:
            self.sock.shutdown(2)
        except OSError:
            pass
        self.sock.close()


def steps_of(args):
    steps = []
    if args.file:
        with open(args.file, encoding="utf-8") as f:
            steps += [line.rstrip("\n") for line in f if line.strip() and not line.startswith("#")]
    return steps + args.steps


def main():
    parser = argparse.ArgumentParser(description="A game server that plays a scenario.")
    parser.add_argument("--timeout", type=float, default=default_limit())
    parser.add_argument("--file")
    parser.add_argument("steps", nargs="*")
    args = parser.parse_args()
    steps = steps_of(args)

    stop_after(args.timeout)
    server = listen()
    conn = None
    split = 0

    def send(data):
        if not split:
            conn.sock.sendall(data)
            return
        for i in range(0, len(data), split):
            conn.sock.sendall(data[i:i + split])
            time.sleep(SPLIT_PAUSE)

    def send_megabytes(megabytes, piece, until=lambda: False):
        left = int(float(megabytes) * 1024 * 1024)
        while left > 0 and not until():
            data = piece(min(left, 65536))
            send(data)
            left -= len(data)

    for step in steps:
        verb, _, arg = step.partition(" ")
        if verb in ("send", "expect", "during", "flood", "garbage") and conn is None:
            conn = Connection(server.accept()[0])
        if verb == "send":
            send(cp949(arg))
        elif verb == "split":
            split = int(arg)
        elif verb == "expect":
            if conn.expect(cp949(arg)) is None:
                print(f"FAILED {step}: the client went", flush=True)
                return 1
        elif verb == "during":
            # An order, not a time limit: a busy machine slows the flood as much as the line.
            megabytes, _, text = arg.partition(" ")
            prefix = cp949(text) + b" "
            found = [None]

            def arrived():
                found[0] = conn.expect(prefix, wait=False)
                return found[0] is not None

            send_megabytes(megabytes, lambda n: FLOOD_BLOCK[:n], arrived)
            late = None if found[0] is None else conn.lateness_ms(found[0], prefix)
            if late is None:
                print(f"FAILED {step}: no such line while the flood ran", flush=True)
                return 1
            print(f"ARRIVED {text} {late:.1f} ms after it was typed, while the flood ran", flush=True)
        elif verb == "flood":
            send_megabytes(arg, lambda n: FLOOD_BLOCK[:n])
        elif verb == "garbage":
            megabytes, seed = arg.split()
            rng = random.Random(int(seed))
            send_megabytes(megabytes, rng.randbytes)
        elif verb == "close":
            if conn:
                conn.close()
            conn = None
        elif verb == "sleep":
            time.sleep(int(arg) / 1000)
        else:
            print(f"FAILED unknown step: {step}", flush=True)
            return 1
    if conn:
        conn.close()
    print("DONE", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
