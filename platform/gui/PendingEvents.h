#pragma once
// Lets the window system catch up during a long operation (repaints, timers, sockets) without
// taking keys or mouse clicks, which could start another operation on the same data meanwhile.

void ProcessPendingEventsWithoutInput();
