#pragma once
// Index helpers of the walk engine: every step read goes through them, so an index that a
// command left negative or past the end reads no step.

#include <climits>
#include <cstdint>

#include "script/Records.h"

inline int32_t WalkStepCount(const cWalk& walk)
{
    return walk.Steps.size() > static_cast<size_t>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(walk.Steps.size());
}

inline bool HasWalkStep(const cWalk& walk, int32_t index) { return index >= 0 && index < WalkStepCount(walk); }

inline bool IsWalkBreakPoint(const cWalk& walk, int32_t index)
{
    return HasWalkStep(walk, index) && !walk.Steps[static_cast<size_t>(index)].empty() &&
        walk.Steps[static_cast<size_t>(index)].front() == 'B';
}
