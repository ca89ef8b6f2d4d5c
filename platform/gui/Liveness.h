#pragma once
// The liveness token lives with the display-free code, which needs it as much (the grid's data
// moving its current cell); this name stays for the controls that include it from here.
#include "platform/core/Liveness.h"
