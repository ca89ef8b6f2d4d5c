#include "controls/lib/BrowseFolder.h"

#include "platform/gui/Application.h"
#include "platform/gui/FolderBrowser.h"
#include "platform/gui/ShellIcons.h"

bool TBrowseFolderDlg::Execute()
{
    TFolderBrowser browser;
    browser.Caption = DialogText;
    browser.Folder = FolderName;
    browser.Computers = BrowseKind == bfComputers;
    browser.DesktopRoot = DesktopRoot;
    browser.ScreenCenter = Position == dpScreenCenter;
    browser.HelpButton = HelpContext != 0;
    TAliveToken alive = FLiveness.Token();
    browser.OnHelp = [this, alive] {
        if (*alive && HelpContext != 0 && Application)
            Application->HelpContext(HelpContext);
    };
    browser.OnInitialized = [this, &browser, alive] {
        if (!*alive)
            return;
        FHandle = browser.Window();
        if (OnInitialized)
            OnInitialized(this);
    };
    browser.OnSelChanged = [this, &browser, alive] {
        if (!*alive)
            return;
        FHandle = browser.Window();
        FCurrentSelection = browser.Selection();
        if (OnSelChanged)
            OnSelChanged(this);
    };
    const bool ok = browser.Execute();
    if (!*alive)
        return false;
    FHandle = nullptr;
    if (!ok)
        return false;
    FolderName = browser.Folder;
    FCurrentSelection = FolderName;
    if (!browser.Computers)
        FSelectedImage = ShellIconIndex(FolderName);
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
