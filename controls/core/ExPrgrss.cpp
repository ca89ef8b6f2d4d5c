#include "controls/core/ExPrgrss.h"

#include <algorithm>
#include <vector>

#include "platform/core/TypInfo.h"

namespace {

struct TProgressEntry {
    AnsiString Class, Max, Min, Value;
};

std::vector<TProgressEntry>& Entries()
{
    static std::vector<TProgressEntry> entries{{"TProgressBar", "Max", "Min", "Position"}};
    return entries;
}

// Whether the object's class is `className` or derives from it.
bool IsOfClass(const TObject* object, const AnsiString& className)
{
    const TClassInfo* info = ClassInfoOf(object);
    return info && info->InheritsFrom(className);
}

// The last matching registration.
const TProgressEntry* Find(const TObject* control)
{
    if (!control)
        return nullptr;
    const auto& entries = Entries();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (IsOfClass(control, it->Class))
            return &*it;
    return nullptr;
}

bool Write(TObject* control, AnsiString TProgressEntry::*property, int64_t n)
{
    const TProgressEntry* entry = Find(control);
    if (!entry)
        return false;
    const TPropInfo* p = GetPropInfo(control, entry->*property);
    if (!p)
        return false;
    switch (p->Kind) {
    case tkInteger:
    case tkInt64:
        if (!p->SetOrd)
            return false;
        // A value past what the property's type holds (a file size on a 32-bit bar) is written
        // as the nearest value it holds, never wrapped.
        p->SetOrd(control, std::clamp(n, p->LowestValue(), p->HighestValue()));
        return true;
    case tkFloat:
        if (!p->SetFloat)
            return false;
        p->SetFloat(control, static_cast<double>(n));
        return true;
    case tkVariant:
        if (!p->SetAny)
            return false;
        p->SetAny(control, std::any(Variant(n)));
        return true;
    default: return false;
    }
}

}  // namespace

void RegisterProgressControl(const AnsiString& className, const AnsiString& maxPropName, const AnsiString& minPropName,
                             const AnsiString& progressPropName)
{
    Entries().push_back({className, maxPropName, minPropName, progressPropName});
}

void UnRegisterProgressControl(const AnsiString& className)
{
    std::erase_if(Entries(), [&](const TProgressEntry& e) {
        if (SameText(e.Class, className))
            return true;
        const TClassInfo* info = GetClass(e.Class);
        return info && info->InheritsFrom(className);
    });
}

bool SupportsProgressControl(const TObject* control) { return Find(control) != nullptr; }

bool SetProgressMax(TObject* control, int64_t n) { return Write(control, &TProgressEntry::Max, n); }
bool SetProgressMin(TObject* control, int64_t n) { return Write(control, &TProgressEntry::Min, n); }
bool SetProgressValue(TObject* control, int64_t n) { return Write(control, &TProgressEntry::Value, n); }
