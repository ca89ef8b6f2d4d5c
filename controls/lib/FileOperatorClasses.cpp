// The file operator's published properties, with their stored defaults.

#include "controls/lib/FileOperatorWindows.h"
#include "platform/core/TypInfo.h"
#include "platform/gui/StandardClasses.h"

void RegisterFileOperatorClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterStandardClasses();
    InstallFileOperatorDialogs();
    using O = TExFileOperator;
    RegisterClass<O>("TExFileOperator", "TComponent", MakeComponent<O>)
        .Enum(
            "Operation", "TFileOperation", {"foCopy", "foDelete", "foMove", "foRename"},
            [](O* o) { return o->Operation; }, [](O* o, TFileOperation v) { o->Operation = v; }, foCopy)
        .Set(
            "Options", "TFileOperFlags",
            {"flAllowUndo", "flConfirmMouse", "flFilesOnly", "flMultiDest", "flNoConfirmation", "flNoConfirmMkDir",
             "flRenameOnCollision", "flSilent", "flSimpleProgress", "flNoErrorUI"},
            [](O* o) { return o->Options; }, [](O* o, TFileOperFlags v) { o->Options = v; },
            FileOperFlag(flAllowUndo) | FileOperFlag(flNoConfirmMkDir))
        .Str(
            "ProgressTitle", [](O* o) { return o->ProgressTitle; },
            [](O* o, const AnsiString& v) { o->ProgressTitle = v; })
        .Str(
            "Source", [](O* o) { return o->Source; }, [](O* o, const AnsiString& v) { o->Source = v; })
        .Str(
            "Destination", [](O* o) { return o->Destination; }, [](O* o, const AnsiString& v) { o->Destination = v; });
}
