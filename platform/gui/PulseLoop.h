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
    // Called as each of the library's events is about to run: what the library was asked for
    // before, it sends now (a request made inside a callback leaves at a later turn).
    void SetOnTurn(std::function<void()> onTurn);
    // Runs the library's handlers for what its sockets hold now, without waiting: an answer that
    // came while the program was busy is read before anything judges it late.
    void ReadWaiting();

private:
    std::unique_ptr<TPulseLoopState> F;
};
