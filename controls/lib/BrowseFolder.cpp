#include "controls/lib/BrowseFolder.h"

#include "controls/core/FileUtil.h"
#include "platform/gui/Application.h"
#include "platform/gui/CommonDialogs.h"

bool TBrowseFolderDlg::Execute()
{
    if (OnInitialized)
        OnInitialized(this);
    AnsiString chosen = FolderName;
    bool ok = false;
    if (BrowseKind == bfComputers) {
        ok = InputQuery(DialogText, "Computer", chosen) && !Trim(chosen).empty();
        chosen = Trim(chosen);
    } else {
        ok = SelectDirectory(DialogText, AnsiString(), chosen);
        chosen = RemoveBackSlash(chosen);
    }
    if (!ok)
        return false;
    FolderName = chosen;
    FCurrentSelection = chosen;
    if (OnSelChanged)
        OnSelChanged(this);
    return true;
}

namespace {

bool Browse(TBrowseKind kind, AnsiString& name, const AnsiString& dialogText, int helpContext)
{
    TBrowseFolderDlg dialog(Application);
    dialog.BrowseKind = kind;
    dialog.FolderName = name;
    dialog.DialogText = dialogText;
    dialog.HelpContext = helpContext;
    if (!dialog.Execute())
        return false;
    name = dialog.FolderName;
    return true;
}

}  // namespace

bool BrowseDirectory(AnsiString& folderName, const AnsiString& dialogText, int helpContext)
{
    return Browse(bfFolders, folderName, dialogText, helpContext);
}

bool BrowseComputer(AnsiString& computerName, const AnsiString& dialogText, int helpContext)
{
    return Browse(bfComputers, computerName, dialogText, helpContext);
}
