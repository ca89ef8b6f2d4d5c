#include "controls/core/ExPrgrss.h"

#include <vector>

namespace {

struct TProgressEntry {
    TProgressClass Class;
    AnsiString Max, Min, Value;
};

std::vector<TProgressEntry>& Entries()
{
    static std::vector<TProgressEntry> entries;
    return entries;
}

TProgressPropertyWriter& Writer()
{
    static TProgressPropertyWriter writer;
    return writer;
}

// The last matching registration.
const TProgressEntry* Find(const TObject* control)
{
    if (!control)
        return nullptr;
    const auto& entries = Entries();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (it->Class.Includes && it->Class.Includes(control))
            return &*it;
    return nullptr;
}

bool Write(TObject* control, AnsiString TProgressEntry::*property, int64_t n)
{
    const TProgressEntry* entry = Find(control);
    return entry && Writer() && Writer()(control, entry->*property, n);
}

}  // namespace

void SetProgressPropertyWriter(TProgressPropertyWriter writer) { Writer() = std::move(writer); }

void RegisterProgressControl(const TProgressClass& cls, const AnsiString& maxPropName, const AnsiString& minPropName,
                             const AnsiString& progressPropName)
{
    Entries().push_back({cls, maxPropName, minPropName, progressPropName});
}

void UnRegisterProgressControl(const TProgressClass& cls)
{
    std::erase_if(Entries(), [&](const TProgressEntry& e) { return e.Class.Name == cls.Name; });
}

bool SupportsProgressControl(const TObject* control) { return Find(control) != nullptr; }

bool SetProgressMax(TObject* control, int64_t n) { return Write(control, &TProgressEntry::Max, n); }
bool SetProgressMin(TObject* control, int64_t n) { return Write(control, &TProgressEntry::Min, n); }
bool SetProgressValue(TObject* control, int64_t n) { return Write(control, &TProgressEntry::Value, n); }
