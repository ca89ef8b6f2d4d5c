#include "controls/lib/LibraryClasses.h"

#include "controls/lib/DateEdit.h"
#include "controls/lib/ExCheckListBox.h"
#include "controls/lib/ExCombos.h"
#include "controls/lib/ExCtrls.h"
#include "controls/lib/ExMenus.h"
#include "controls/lib/ExSpin.h"
#include "controls/lib/ExTimer.h"
#include "controls/lib/FileDirEdit.h"
#include "controls/lib/Placemnt.h"
#include "controls/lib/SpeedBar.h"
#include "controls/lib/TextListBox.h"
#include "controls/lib/ToolEdit.h"
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
    // List boxes, owner-drawn menus and the speed bar.
    RegisterTextListBoxClasses();
    RegisterExCheckListBoxClasses();
    RegisterExMenusClasses();
    RegisterSpeedBarClasses();
    // The edits with a button, combo boxes, calendars and spin edits.
    RegisterToolEditClasses();
    RegisterExSpinClasses();
    RegisterExCombosClasses();
    RegisterDateEditClasses();
    RegisterFileDirEditClasses();
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
