#pragma once
// Runs a call later, from the event loop, after the current handler has returned: for work that
// Qt would otherwise run re-entrantly (a menu item's handler inside QMenu::exec, freeing a form
// from its own handler). Calls run in the order they were queued; an exception goes to the
// application's exception handling.

#include <functional>

void QueueCall(std::function<void()> call);
// Runs every call queued so far (and those they queue), as the event loop would.
void RunQueuedCalls();

// Runs a call on the GUI thread's event loop; callable from any thread. False when there is no
// event loop to run it (the call is dropped).
bool PostToMainThread(std::function<void()> call);
// Whether the caller runs on the GUI thread.
bool IsMainThread();
