#include "controls/lib/LibraryClasses.h"

#include "controls/lib/ExCtrls.h"
#include "controls/lib/ExTimer.h"
#include "controls/lib/Placemnt.h"
#include "platform/core/TypInfo.h"

void RegisterLibraryClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterExCtrlsClasses();
    // Window hooks, form placement and storage.
    RegisterPlacementClasses();
    RegisterClass<TExTimer>("TExTimer", "TComponent", MakeComponent<TExTimer>)
        .Bool("Enabled", &TExTimer::Enabled, &TExTimer::SetEnabled, true)
        .Int64(
            "Interval", [](TExTimer* t) { return int64_t(t->Interval()); },
            [](TExTimer* t, int64_t v) { t->SetInterval(static_cast<uint32_t>(v)); }, 1000)
        .Bool("SyncEvent", &TExTimer::SyncEvent, &TExTimer::SetSyncEvent, true)
        .Bool("Threaded", &TExTimer::Threaded, &TExTimer::SetThreaded, true)
        .Enum("ThreadPriority", "TThreadPriority",
              {"tpIdle", "tpLowest", "tpLower", "tpNormal", "tpHigher", "tpHighest", "tpTimeCritical"},
              &TExTimer::ThreadPriority, &TExTimer::SetThreadPriority, tpNormal);
}
