#pragma once
// Drives any progress indicator without knowing its class: a registry maps control classes to
// the names of their maximum, minimum and value properties. The last registration wins and a
// registered class also serves its descendants.

#include <cstdint>
#include <functional>

#include "platform/core/AnsiString.h"
#include "platform/core/Object.h"

// A control class as the registry matches it: its name and a test that an object is of the
// class or one of its descendants.
struct TProgressClass {
    AnsiString Name;
    std::function<bool(const TObject*)> Includes;
};
template <class T>
TProgressClass ProgressClassOf(AnsiString name)
{
    return {std::move(name), [](const TObject* object) { return dynamic_cast<const T*>(object) != nullptr; }};
}

// Writes an integer to a property named in the registry; false when the object has no such
// numeric property. Set by the run-time property table.
using TProgressPropertyWriter = std::function<bool(TObject* control, const AnsiString& property, int64_t value)>;
void SetProgressPropertyWriter(TProgressPropertyWriter writer);

void RegisterProgressControl(const TProgressClass& cls, const AnsiString& maxPropName, const AnsiString& minPropName,
                             const AnsiString& progressPropName);
// Removes every entry registered under the class's name.
void UnRegisterProgressControl(const TProgressClass& cls);
bool SupportsProgressControl(const TObject* control);
// True when the value was written.
bool SetProgressMax(TObject* control, int64_t n);
bool SetProgressMin(TObject* control, int64_t n);
bool SetProgressValue(TObject* control, int64_t n);
