#pragma once
// The sound server's client library driven by the program's own event loop: its sockets and
// timers become Qt socket notifiers and timers, so every call into it returns at once and its
// callbacks run on the GUI thread, between other events. No thread of its own.

#include <pulse/mainloop-api.h>

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

private:
    std::unique_ptr<TPulseLoopState> F;
};
