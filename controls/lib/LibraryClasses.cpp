#include "controls/lib/LibraryClasses.h"

#include "controls/lib/BrowseFolder.h"
#include "controls/lib/DateEdit.h"
#include "controls/lib/ExCheckListBox.h"
#include "controls/lib/ExCombos.h"
#include "controls/lib/ExCtrls.h"
#include "controls/lib/ExMenus.h"
#include "controls/lib/ExSpin.h"
#include "controls/lib/ExTimer.h"
#include "controls/lib/FileDirEdit.h"
#include "controls/lib/FileOperatorWindows.h"
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
    RegisterFileOperatorClasses();
    using B = TBrowseFolderDlg;
    RegisterClass<B>("TBrowseFolderDlg", "TComponent", MakeComponent<B>)
        .Enum(
            "BrowseKind", "TBrowseKind", {"bfFolders", "bfComputers"}, [](B* b) { return b->BrowseKind; },
            [](B* b, TBrowseKind v) { b->BrowseKind = v; }, bfFolders)
        .Bool(
            "DesktopRoot", [](B* b) { return b->DesktopRoot; }, [](B* b, bool v) { b->DesktopRoot = v; }, true)
        .Str(
            "DialogText", [](B* b) { return b->DialogText; }, [](B* b, const AnsiString& v) { b->DialogText = v; })
        .Str(
            "FolderName", [](B* b) { return b->FolderName; }, [](B* b, const AnsiString& v) { b->FolderName = v; })
        .Int(
            "HelpContext", [](B* b) { return b->HelpContext; }, [](B* b, int v) { b->HelpContext = v; }, 0)
        .Enum(
            "Position", "TDialogPosition", {"dpDefault", "dpScreenCenter"}, [](B* b) { return b->Position; },
            [](B* b, TDialogPosition v) { b->Position = v; }, dpScreenCenter)
        .Str("CurrentSelection", &B::CurrentSelection, nullptr)
        .Int("SelectedImage", &B::SelectedImage, nullptr);
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
