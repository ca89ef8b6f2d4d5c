"""What the Python test servers share: a loopback listener that announces its port, the text
escapes of their arguments, and the client's lines with its telnet commands taken out."""

import os
import signal
import socket
import time

IAC, SB, SE = 255, 250, 240


def listen():
    """A listener on a free port of 127.0.0.1; its port is the first line of standard output."""
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.bind(("127.0.0.1", 0))
    server.listen(4)
    print(server.getsockname()[1], flush=True)
    return server


def default_limit():
    """How long a server may run unless told otherwise: HM_SERVER_LIMIT seconds, 120."""
    return float(os.environ.get("HM_SERVER_LIMIT", 120))


def stop_after(seconds):
    """Ends the process with status 1 when it is still running after seconds."""
    def expired(*_):
        print("TIMEOUT", flush=True)
        # Not sys.exit: a thread blocked in a socket call would keep the process alive.
        os._exit(1)
    signal.signal(signal.SIGALRM, expired)
    signal.alarm(max(1, int(seconds)))


def cp949(text):
    r"""TEXT (a UTF-8 argument) as cp949 bytes, with \r, \n, \t, \\ and \xHH read as single bytes."""
    out = bytearray()
    i = 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            e = text[i + 1]
            if e == "x" and i + 4 <= len(text):
                out.append(int(text[i + 2:i + 4], 16))
                i += 4
                continue
            out += {"r": b"\r", "n": b"\n", "t": b"\t"}.get(e, e.encode("cp949"))
            i += 2
            continue
        out += c.encode("cp949", errors="replace")
        i += 1
    return bytes(out)


def shown(line):
    """A client line for a log: cp949 decoded, anything else escaped."""
    return line.decode("cp949", errors="backslashreplace")


class LineReader:
    """Splits what a client sends into lines (LF ends one, CR is dropped) and drops its telnet
    commands and subnegotiations, also when they are cut between two reads."""

    def __init__(self):
        self.state = "data"
        self.line = bytearray()

    def feed(self, data):
        lines = []
        for b in data:
            if self.state == "data":
                if b == IAC:
                    self.state = "command"
                elif b == 10:
                    lines.append(bytes(self.line))
                    self.line.clear()
                elif b != 13:
                    self.line.append(b)
            elif self.state == "command":
                if b == SB:
                    self.state = "sub"
                elif 251 <= b <= 254:
                    self.state = "option"
                else:
                    if b == IAC:
                        self.line.append(b)
                    self.state = "data"
            elif self.state == "option":
                self.state = "data"
            elif self.state == "sub":
                if b == IAC:
                    self.state = "subcommand"
            else:  # after IAC inside a subnegotiation
                self.state = "data" if b == SE else "sub"
        return lines


def now_us():
    """The monotonic clock in microseconds: the clock that timestamps in client lines use."""
    return time.monotonic_ns() // 1000
