#pragma once
// The framework's thread priorities, applied as nice values of the calling thread. Raising a
// priority needs privileges the program usually lacks; a refused change is ignored.

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

void SetCurrentThreadPriority(TThreadPriority priority);
