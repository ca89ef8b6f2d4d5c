#pragma once
// Drives any progress indicator without knowing its class: a registry maps control classes (by
// their names in the class registry) to the names of their maximum, minimum and value
// properties, which are then set through the property table. The last registration wins and a
// registered class also serves its descendants. TProgressBar ("Max", "Min", "Position") is
// registered from the start; the application puts its class in the class table.

#include <cstdint>

#include "platform/core/AnsiString.h"
#include "platform/core/Object.h"

void RegisterProgressControl(const AnsiString& className, const AnsiString& maxPropName, const AnsiString& minPropName,
                             const AnsiString& progressPropName);
// Removes every entry of the class and of the classes that derive from it.
void UnRegisterProgressControl(const AnsiString& className);
bool SupportsProgressControl(const TObject* control);
// True when the value was written to an integer, 64-bit, float or variant property; a value
// an integer property's type cannot hold is written as the nearest one it can.
bool SetProgressMax(TObject* control, int64_t n);
bool SetProgressMin(TObject* control, int64_t n);
bool SetProgressValue(TObject* control, int64_t n);
