#pragma once
// The folder and computer browser of the file utilities on the platform's folder browser: Qt's
// directory dialog (folders in and out as program paths) or, for a computer, an input box for a
// host name. OnInitialized fires once the dialog is open (its first choice reported just
// before), OnSelChanged each time the folder it would choose changes as the user moves.

#include "platform/core/Component.h"
#include "platform/core/Liveness.h"

class QWidget;

enum TBrowseKind { bfFolders, bfComputers };
enum TDialogPosition { dpDefault, dpScreenCenter };

class TBrowseFolderDlg : public TComponent {
public:
    explicit TBrowseFolderDlg(TComponent* AOwner) : TComponent(AOwner) {}

    TBrowseKind BrowseKind = bfFolders;
    // The user's places (home, desktop) beside the file system; else the file system alone.
    bool DesktopRoot = true;
    AnsiString DialogText;
    // The folder to start in and, after OK, the one chosen (no trailing backslash); for
    // computers the host name.
    AnsiString FolderName;
    // Not 0: the dialog has a Help button, which asks the application for this help context.
    int HelpContext = 0;
    TDialogPosition Position = dpScreenCenter;
    TNotifyEvent OnInitialized;
    TNotifyEvent OnSelChanged;

    // The folder the dialog would choose while it runs, and the one chosen after it.
    const AnsiString& CurrentSelection() const { return FCurrentSelection; }
    // The chosen folder's index in the desktop's list of type icons (ShellIconIndex); -1 before.
    int SelectedImage() const { return FSelectedImage; }
    // The dialog window while it runs, else null.
    QWidget* Handle() const { return FHandle; }

    // True when a folder (or a computer) was chosen.
    virtual bool Execute();

private:
    AnsiString FCurrentSelection;
    int FSelectedImage = -1;
    QWidget* FHandle = nullptr;
    TLiveness FLiveness;  // a handler may free the component while its dialog runs
};

bool BrowseDirectory(AnsiString& folderName, const AnsiString& dialogText, int helpContext);
bool BrowseComputer(AnsiString& computerName, const AnsiString& dialogText, int helpContext);
