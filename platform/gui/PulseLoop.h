#pragma once
// The sound server's client library driven by the program's own event loop: its sockets and
// timers become Qt socket notifiers and timers, so every call into it returns at once and its
// callbacks run on the GUI thread, between other events. No thread of its own.

#include <pulse/mainloop-api.h>

#include <functional>
#include <memory>

struct TPulseLoopState;

class TPulseLoop {
public:
    TPulseLoop();
    // Frees the events the library has not freed, without calling them.
    ~TPulseLoop();
    TPulseLoop(const TPulseLoop&) = delete;
    TPulseLoop& operator=(const TPulseLoop&) = delete;

    pa_mainloop_api* Api();
    // Called after each of the library's events has run: a turn of the library, in which it
    // sends what it was asked for before (a request made inside a callback leaves at a later turn).
    void SetOnTurn(std::function<void()> onTurn);
    // The library holds something it has not sent yet: it sends from a deferred event, or from
    // a socket once it can be written to, so a request has left once neither waits.
    bool Sending() const;
    // Runs, without waiting, the library's events that are due now: deferred ones, and sockets
    // that hold something to read or have room to write. A request the library queued while the
    // program was busy leaves, and an answer that came meanwhile is read, before anything judges
    // the server late.
    void RunWaiting();

private:
    std::unique_ptr<TPulseLoopState> F;
};
