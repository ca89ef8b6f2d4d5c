#pragma once
// The framework's point, size and rectangle, shared with the display-free code.

#include "platform/core/Geometry.h"
