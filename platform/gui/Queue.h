#pragma once
// Runs a call later, from the event loop, after the current handler has returned: for work that
// Qt would otherwise run re-entrantly (a menu item's handler inside QMenu::exec, freeing a form
// from its own handler). Calls run in the order they were queued; an exception goes to the
// application's exception handling.

#include <functional>

#include "platform/gui/Messages.h"

class TControl;

void QueueCall(std::function<void()> call);
// Runs every call queued so far (and those they queue), as the event loop would.
void RunQueuedCalls();

// Runs a call on the GUI thread's event loop; callable from any thread. False when there is no
// event loop to run it (the call is dropped).
bool PostToMainThread(std::function<void()> call);
// Whether the caller runs on the GUI thread.
bool IsMainThread();

// Posts a message to a control: it arrives through the application's message hook and the
// control's Perform, from the event loop, in posting order. A control freed meanwhile gets
// nothing.
void PostMessage(TControl* control, unsigned Msg, WPARAM WParam = 0, LPARAM LParam = 0);
// Takes the first message Msg still waiting for the control out of the queue; false when none.
bool RemovePostedMessage(TControl* control, unsigned Msg, TMsg* removed = nullptr);
// Drops every message waiting for a control that is being freed.
void ForgetPostedMessages(TControl* control);
