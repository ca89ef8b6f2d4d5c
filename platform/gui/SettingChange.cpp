#include "platform/gui/SettingChange.h"

#include <map>
#include <vector>

#include "platform/gui/FormBroadcast.h"

namespace {

bool gUpdateFormatSettings = true;
int gNextId = 0;

std::map<int, std::function<void()>>& Listeners()
{
    static std::map<int, std::function<void()>> listeners;
    return listeners;
}

}  // namespace

bool UpdateFormatSettings() { return gUpdateFormatSettings; }

void SetUpdateFormatSettings(bool Value) { gUpdateFormatSettings = Value; }

void BroadcastSettingChange()
{
    PerformOnEveryForm(WM_SETTINGCHANGE);
    if (!gUpdateFormatSettings)
        return;
    // A listener may remove itself or another one: walk a copy of the numbers.
    std::vector<int> ids;
    for (const auto& entry : Listeners())
        ids.push_back(entry.first);
    for (int id : ids) {
        auto it = Listeners().find(id);
        if (it != Listeners().end()) {
            std::function<void()> call = it->second;
            call();
        }
    }
}

int AddSettingChangeListener(std::function<void()> Listener)
{
    Listeners()[++gNextId] = std::move(Listener);
    return gNextId;
}

void RemoveSettingChangeListener(int Id) { Listeners().erase(Id); }
