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
  during MS TEXT    flood text until a client line "TEXT STAMP" arrives (STAMP: the monotonic
                    clock in microseconds when it was typed) and print how late it came; fails
                    when it came more than MS milliseconds after it was typed, when the client
                    went before it, or when none came within LINE_WAIT seconds of flood
  garbage MB SEED   MB megabytes of random bytes, the same for the same SEED
  close             close the connection
  sleep MS          pause

A step that needs a connection waits for the next client; after a close, that is a new one.
Every line a client sends is printed as "RECV TIME LINE", TIME being the monotonic clock in
seconds (Python's time.monotonic). Exits 0 when every step is done; 1 at once, with a line
"FAILED step: why", when a step fails (the client went, a line came late or not at all), or when
the run passes --timeout seconds (HM_SERVER_LIMIT, 120).
"""

import argparse
import random
import select
import socket
import sys
import threading
import time

sys.dont_write_bytecode = True  # nothing written beside the sources
from telnetlines import default_limit, LineReader, cp949, listen, shown, stop_after

SPLIT_PAUSE = 0.01  # seconds between the pieces of a split send
# A client sees a flood within moments of its start and types at once; a line not come by then
# was held back, and the run says so well before the test's own time limit.
LINE_WAIT = 30
FLOOD_TEXT = "한글 flood text, no line end ".encode("cp949")
FLOOD_BLOCK = FLOOD_TEXT * (65536 // len(FLOOD_TEXT))  # whole repeats: no pair is cut


class StepFailed(Exception):
    """A step that cannot be done; its text says why."""


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


class Scenario:
    """The steps played on the connections of one listener."""

    def __init__(self, server):
        self.server = server
        self.conn = None
        self.split = 0

    def send(self, data):
        if not self.split:
            self.conn.sock.sendall(data)
            return
        for i in range(0, len(data), self.split):
            self.conn.sock.sendall(data[i:i + self.split])
            time.sleep(SPLIT_PAUSE)

    def send_megabytes(self, megabytes, piece):
        left = int(float(megabytes) * 1024 * 1024)
        while left > 0:
            data = piece(min(left, 65536))
            self.send(data)
            left -= len(data)

    def flood_until_line(self, limit_ms, text):
        """Floods until the line comes, however long the client takes to see the flood and type:
        only the time from typing to arrival counts. Writes never wait, so a client that stops
        reading is given up on at LINE_WAIT too."""
        prefix = cp949(text) + b" "
        give_up = time.monotonic() + LINE_WAIT
        sock, at = self.conn.sock, 0  # at: where the stream stands in FLOOD_BLOCK
        while (found := self.conn.expect(prefix, wait=False)) is None:
            if not self.conn.open:
                raise StepFailed("the client went before the line came")
            if time.monotonic() > give_up:
                raise StepFailed(f"no line in {LINE_WAIT} s of flood")
            if not select.select([], [sock], [], 0.1)[1]:
                continue
            try:
                at = (at + sock.send(FLOOD_BLOCK[at:], socket.MSG_DONTWAIT)) % len(FLOOD_BLOCK)
            except BlockingIOError:
                pass
        late = self.conn.lateness_ms(found, prefix)
        if late is None:
            raise StepFailed(f"the line carries no time stamp: {shown(self.conn.lines[found])}")
        if late > float(limit_ms):
            raise StepFailed(f"the line came {late:.1f} ms after it was typed, more than {limit_ms} ms")
        print(f"ARRIVED {text} {late:.1f} ms after it was typed, while the flood ran", flush=True)

    def play(self, step):
        verb, _, arg = step.partition(" ")
        if verb in ("send", "expect", "during", "flood", "garbage") and self.conn is None:
            self.conn = Connection(self.server.accept()[0])
        if verb == "send":
            self.send(cp949(arg))
        elif verb == "split":
            self.split = int(arg)
        elif verb == "expect":
            if self.conn.expect(cp949(arg)) is None:
                raise StepFailed("the client went")
        elif verb == "during":
            limit_ms, _, text = arg.partition(" ")
            self.flood_until_line(limit_ms, text)
        elif verb == "flood":
            self.send_megabytes(arg, lambda n: FLOOD_BLOCK[:n])
        elif verb == "garbage":
            megabytes, seed = arg.split()
            rng = random.Random(int(seed))
            self.send_megabytes(megabytes, rng.randbytes)
        elif verb == "close":
            if self.conn:
                self.conn.close()
            self.conn = None
        elif verb == "sleep":
            time.sleep(int(arg) / 1000)
        else:
            raise StepFailed("unknown step")


def main():
    parser = argparse.ArgumentParser(description="A game server that plays a scenario.")
    parser.add_argument("--timeout", type=float, default=default_limit())
    parser.add_argument("--file")
    parser.add_argument("steps", nargs="*")
    args = parser.parse_args()
    steps = steps_of(args)

    stop_after(args.timeout)
    scenario = Scenario(listen())
    for step in steps:
        try:
            scenario.play(step)
        except StepFailed as e:
            print(f"FAILED {step}: {e}", flush=True)
            return 1
        except OSError as e:  # a write to a client that went
            print(f"FAILED {step}: the client went ({e.strerror or e})", flush=True)
            return 1
    if scenario.conn:
        scenario.conn.close()
    print("DONE", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
