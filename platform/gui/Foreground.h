#pragma once
// Whether the program is the one the user works with: a window of ours is active. Tests and
// tools replace the answer, since an offscreen or unfocused run has no active window.

#include <functional>

bool IsForegroundTask();
// Null restores the window system's answer; returns the previous hook.
std::function<bool()> SetForegroundTaskHook(std::function<bool()> hook);
