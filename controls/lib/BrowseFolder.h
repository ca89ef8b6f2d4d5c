#pragma once
// The folder and computer browser of the file utilities: the folder dialog is the platform's
// directory dialog (folders in and out as program paths), the computer browser an input box
// for a host name. Both go through the platform's dialog hook, so tests and drivers answer them.

#include "platform/core/Component.h"

enum TBrowseKind { bfFolders, bfComputers };
enum TDialogPosition { dpDefault, dpScreenCenter };

class TBrowseFolderDlg : public TComponent {
public:
    explicit TBrowseFolderDlg(TComponent* AOwner) : TComponent(AOwner) {}

    TBrowseKind BrowseKind = bfFolders;
    bool DesktopRoot = true;
    AnsiString DialogText;
    // The folder to start in and, after OK, the one chosen (no trailing backslash); for
    // computers the host name.
    AnsiString FolderName;
    int HelpContext = 0;
    TDialogPosition Position = dpScreenCenter;
    // Fires before the dialog shows.
    TNotifyEvent OnInitialized;
    TNotifyEvent OnSelChanged;

    // The choice while the dialog runs, and after it.
    const AnsiString& CurrentSelection() const { return FCurrentSelection; }
    // No system image list here: -1.
    int SelectedImage() const { return -1; }

    // True when a folder (or a computer) was chosen.
    virtual bool Execute();

private:
    AnsiString FCurrentSelection;
};

bool BrowseDirectory(AnsiString& folderName, const AnsiString& dialogText, int helpContext);
bool BrowseComputer(AnsiString& computerName, const AnsiString& dialogText, int helpContext);
