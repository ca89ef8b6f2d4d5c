#!/usr/bin/env python3
"""The client benchmark: the same game text, served on loopback by tests/app/servers/replay.py,
read by our character window and by TinTin++ with 0, 100 and 1,000 triggers that answer "hit".
The server times each run from its first byte to the client's BENCH-DONE and counts the hits; a
line is typed every 100 ms meanwhile and timed to its arrival at the server. Prints METRIC lines
(run by hand; not a test).

  bench_client.py [--bin DIR] [--lines N] [--triggers 0,100,1000]

DIR holds bench_client_corpus and apprun (build/bin): our character window runs in apprun,
offscreen and in real time, reading the corpus-tN command file's triggers. Without tt++ or tmux
the peer's lines are left out and the reason goes to standard error.
"""

import argparse
import math
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
REPLAY = ROOT / "tests/app/servers/replay.py"
TINTIN = "/usr/games/tt++"
TYPING_PERIOD = 0.1  # seconds between typed lines
RUN_TIMEOUT = 600  # seconds one run may take


def now_us():
    return time.monotonic_ns() // 1000


class Run:
    """What the server measured of one client's run."""

    def __init__(self):
        self.lines = self.hits = 0
        self.seconds = 0.0
        self.typing_ms = []
        self.peak_rss_mb = 0.0
        self.bytes_per_scrollback_line = None  # ours only
        self.idle_rss_mb = None  # ours only: the window open, before the corpus


class Server:
    """replay.py serving one corpus; its port, then its findings once the client is done."""

    def __init__(self, corpus):
        self.proc = subprocess.Popen([sys.executable, str(REPLAY), "--corpus", str(corpus),
                                      "--timeout", str(RUN_TIMEOUT)], stdout=subprocess.PIPE, text=True)
        self.port = int(self.proc.stdout.readline())

    def result(self):
        run = Run()
        for line in self.proc.stdout:
            word, _, rest = line.strip().partition(" ")
            if word == "TYPED":
                run.typing_ms.append(float(rest))
            elif word == "RESULT":
                fields = dict(f.split("=") for f in rest.split())
                run.lines, run.hits = int(fields["lines"]), int(fields["hits"])
                run.seconds = float(fields["seconds"])
        if self.proc.wait() != 0 or not run.seconds:
            raise RuntimeError("the server saw no BENCH-DONE")
        return run

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


def typing(send, done):
    """Types "type STAMP" every TYPING_PERIOD until done is set."""
    while not done.wait(TYPING_PERIOD):
        send(f"type {now_us()}")


def proc_status_mb(pid, key):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1]) / 1024
    return 0.0


def peak_rss_mb(pid):
    return proc_status_mb(pid, "VmHWM")


def tintin_missing():
    if not os.access(TINTIN, os.X_OK):
        return f"TinTin++ is not installed ({TINTIN})"
    if not shutil.which("tmux"):
        return "tmux is not installed"
    return None


def run_tintin(work, triggers, corpus, patterns):
    """TinTin++ in a detached 80 x 29 tmux pane, typed into through a tmux control client."""
    script = work / f"tintin-t{triggers}.tin"
    server = Server(corpus)
    with open(script, "wb") as tin:
        tin.write(b"#config {charset} {CP949}\n#config {buffer size} {10000}\n")
        for pattern in patterns.read_bytes().splitlines():
            tin.write(b"#action {" + pattern + b"} {hit}\n")
        tin.write(b"#action {BENCH-END} {BENCH-DONE}\n")
        tin.write(f"#session bench 127.0.0.1 {server.port}\n".encode())
    # The tmux server's socket in the run's folder, not in tmux's own folder under /tmp.
    tmux = ["tmux", "-S", str(work / "tmux.sock")]
    control = None
    done = threading.Event()
    try:
        subprocess.run(tmux + ["new-session", "-d", "-s", "bench", "-x", "80", "-y", "29",
                               f"exec {TINTIN} -G {script}"], check=True)
        pid = int(subprocess.run(tmux + ["display", "-p", "-t", "bench", "#{pane_pid}"], check=True,
                                 capture_output=True, text=True).stdout)
        # One control client for all typing, so each line costs a write, not a tmux start.
        control = subprocess.Popen(tmux + ["-C", "attach", "-t", "bench"], stdin=subprocess.PIPE,
                                   stdout=subprocess.DEVNULL, text=True)

        def send(text):
            control.stdin.write(f"send-keys -t bench '{text}' Enter\n")
            control.stdin.flush()

        typist = threading.Thread(target=typing, args=(send, done))
        typist.start()
        try:
            run = server.result()
        finally:
            done.set()
            typist.join()
        run.peak_rss_mb = peak_rss_mb(pid)
        return run
    finally:
        server.stop()
        if control:
            control.stdin.close()
            control.wait()
        subprocess.run(tmux + ["kill-server"], stderr=subprocess.DEVNULL)


class AppRun:
    """apprun in real time on the offscreen platform, fed directives through a pipe."""

    def __init__(self, bin_dir, folder):
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        self.proc = subprocess.Popen([str(Path(bin_dir) / "apprun"), "--real-time", "--folder", str(folder)],
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                     env=env, text=True, encoding="utf-8", errors="replace")

    def send(self, *lines):
        for line in lines:
            self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()

    def until(self, prefix):
        """The next output line starting with prefix; earlier ones go to standard error when they
        report a problem."""
        for line in self.proc.stdout:
            if line.startswith(prefix):
                return line.strip()
            if line.startswith(("ERROR", "TIMEOUT", "EXCEPTION", "BOX")):
                print(f"bench_client: apprun: {line.strip()}", file=sys.stderr)
        raise RuntimeError(f"apprun ended before {prefix}")

    def close(self):
        self.proc.stdin.close()
        self.proc.wait()


def run_client(bin_dir, work, triggers, corpus):
    """Our character window (apprun, offscreen, real time) with the same triggers from a
    generated command file; a line typed every TYPING_PERIOD as key events."""
    folder = work / f"client-t{triggers}"
    (folder / "Cmd").mkdir(parents=True)
    shutil.copy(work / f"client-t{triggers}.Cmd", folder / "Cmd" / "bench.Cmd")
    server = Server(corpus)
    app = AppRun(bin_dir, folder)
    try:
        # The window connects 2 s after it opens: its idle memory is taken before.
        app.send("quiet on", f"book add bench|bench|127.0.0.1|{server.port}", "book set 0 TriggerFile Cmd\\\\bench.Cmd",
                 "open 0", "+ 1000", "var idle")
        app.until("VAR idle")
        idle = proc_status_mb(app.proc.pid, "VmRSS")
        app.send(f"typing {int(TYPING_PERIOD * 1000)} type", f"wait disconnected {RUN_TIMEOUT * 1000}",
                 "typing off", "var done")
        run = server.result()
        app.until("VAR done")
        run.peak_rss_mb = peak_rss_mb(app.proc.pid)
        run.idle_rss_mb = idle
        app.send("scrollback")
        run.bytes_per_scrollback_line = float(app.until("SCROLLBACK").split()[1])
        return run
    finally:
        server.stop()
        app.close()


def metric(name, value):
    print(f"METRIC {name} {value:.6g}", flush=True)


def p50(values):
    ordered = sorted(values)
    return ordered[len(ordered) // 2] if ordered else 0.0


def p99(values):
    ordered = sorted(values)
    return ordered[max(0, math.ceil(0.99 * len(ordered)) - 1)] if ordered else 0.0


def main():
    parser = argparse.ArgumentParser(description="Our client against TinTin++ on the same game text.")
    parser.add_argument("--bin", default=str(ROOT / "build/bin"))
    parser.add_argument("--lines", type=int, default=100000)
    parser.add_argument("--triggers", default="0,100,1000")
    args = parser.parse_args()
    counts = [int(n) for n in args.triggers.split(",")]

    work = Path(tempfile.mkdtemp(prefix="hm-bench-client-"))
    try:
        subprocess.run([str(Path(args.bin) / "bench_client_corpus"), "--out", str(work), "--lines",
                        str(args.lines)] + [str(n) for n in counts], check=True)
        missing = tintin_missing()
        if missing:
            print(f"bench_client: TinTin++ not measured: {missing}", file=sys.stderr)
        ours, theirs = [], []
        for n in counts:
            corpus, patterns = work / f"corpus-t{n}.txt", work / f"tintin-t{n}.txt"
            client = run_client(args.bin, work, n, corpus)
            peer = None if missing else run_tintin(work, n, corpus, patterns)
            for name, run in (("ours", client), ("TinTin++", peer)):
                if run and run.typing_ms:
                    print(f"bench_client: typing with {n} triggers, {name}: p50 {p50(run.typing_ms):.1f} ms, "
                          f"p99 {p99(run.typing_ms):.1f} ms, most {max(run.typing_ms):.1f} ms", file=sys.stderr)
            if client:
                ours.append(client)
                metric(f"client_lines_per_s_t{n}", client.lines / client.seconds)
            if peer:
                theirs.append(peer)
                metric(f"tintin_lines_per_s_t{n}", peer.lines / peer.seconds)
            if client and peer:
                metric(f"client_vs_tintin_t{n}", peer.seconds / client.seconds)
                same = "same" if client.hits == peer.hits else "DIFFERENT"
                print(f"CHECK hits with {n} triggers: ours {client.hits}, TinTin++ {peer.hits}: {same}")
            elif client or peer:
                print(f"NOTE hits with {n} triggers: {(client or peer).hits}")
        for name, runs in (("client", ours), ("tintin", theirs)):
            if runs:
                metric(f"{name}_typing_ms_p99", p99([ms for run in runs for ms in run.typing_ms]))
                metric(f"{name}_peak_rss_mb", max(run.peak_rss_mb for run in runs))
        scrollback = [run.bytes_per_scrollback_line for run in ours if run.bytes_per_scrollback_line]
        if scrollback:
            metric("client_bytes_per_scrollback_line", max(scrollback))
        if ours:
            metric("client_idle_rss_mb", max(run.idle_rss_mb for run in ours))
        if ours and theirs:
            # A Qt program's floor is not a text client's: what our window adds to its idle memory
            # is what compares with TinTin++'s whole footprint.
            grown = max(run.peak_rss_mb - run.idle_rss_mb for run in ours)
            peer_peak = max(run.peak_rss_mb for run in theirs)
            below = "below" if grown < peer_peak else "NOT below"
            print(f"CHECK memory grown from idle to peak: ours {grown:.1f} MB, {below} TinTin++'s peak {peer_peak:.1f} MB")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
