#pragma once
// Typing while the host floods the window: a key bound to a key macro is pressed every 50 ms (from
// a thread of the benchmark's, as a player's keys arrive from the window system) while a shown,
// connected window takes in the host's text, and each press is timed from the moment its key
// event is queued to the window's write of the macro's text. The same presses on a window that
// receives nothing are the peer.

#include <cstddef>
#include <string>

class TAnsiTerminalForm;

// A character window for the benchmark's host ("bench", port 4000), not yet shown or connected.
TAnsiTerminalForm* NewBenchWindow();

struct TTypingLatency {
    double P50 = 0;  // ms
    double P99 = 0;  // ms
    size_t Presses = 0;
};

// stream: the host's text, whole (the socket hands it to the window in reads of at most 64 KiB);
// empty: nothing arrives, and presses are made for idleMs.
TTypingLatency TypingLatency(const std::string& stream, int idleMs);
