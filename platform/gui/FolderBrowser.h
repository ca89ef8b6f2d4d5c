#pragma once
// The folder browser: Qt's directory dialog (its own, not the desktop's), telling its owner when
// it has opened and each time the folder it would choose changes, as the user goes into a
// folder, up to its parent or points at one in the list. A computer is browsed for in an input
// box for a host name, each change of the name being a change of the choice.
//
// Tests and drivers act in the open dialog through a driver (SetFolderBrowserDriver), called
// once it has opened, as a person would act. Without one, the dialog hook or the test
// environment answers as for any dialog (cdDirectory, or cdInput for a computer): no window
// opens, and the start and the answer are the choices it reports.

#include <functional>

#include "platform/core/AnsiString.h"

class QWidget;

class TFolderBrowser {
public:
    TFolderBrowser();
    ~TFolderBrowser();
    TFolderBrowser(const TFolderBrowser&) = delete;
    TFolderBrowser& operator=(const TFolderBrowser&) = delete;

    AnsiString Caption;
    // Where the dialog opens (a program path; a folder that is not there: the root) and, after
    // OK, the folder chosen. For a computer, its name.
    AnsiString Folder;
    bool Computers = false;
    // With the user's places (home, desktop) beside the file system; else the file system alone.
    bool DesktopRoot = true;
    bool ScreenCenter = true;
    // The dialog is open and has its first choice (reported just before).
    std::function<void()> OnInitialized;
    // The choice changed (Selection()).
    std::function<void()> OnSelChanged;
    // With a Help button among OK and Cancel, placed as the platform places a dialog's Help:
    // pressing it calls OnHelp and leaves the dialog open.
    bool HelpButton = false;
    std::function<void()> OnHelp;

    // True when the user chose OK with a folder (a computer's name that is not blank).
    bool Execute();

    // While the dialog runs: its window (null when the hook answers), and the folder (program
    // path, no trailing separator) or computer it would choose now.
    QWidget* Window() const { return FWindow; }
    const AnsiString& Selection() const { return FSelection; }
    // Moves the dialog to a folder (or a computer's name), as the user going there does.
    void SetSelection(const AnsiString& Folder);
    // The dialog's parent-folder button, as the user clicks it.
    void GoToParent();
    // The Help button, as the user clicks it; false without one.
    bool ClickHelp();
    // Closes the dialog with OK or Cancel, as the user clicks the button; false when the dialog
    // stays open (OK with no folder chosen).
    bool Close(bool Ok);

private:
    struct TRun;
    // The choice is now Choice: OnSelChanged when it changed.
    void Report(const AnsiString& Choice);
    // Report once the event under way has ended.
    void ReportLater();
    bool RunWindow();
    void AddHelpButton();
    bool RunAnswered();

    QWidget* FWindow = nullptr;
    TRun* FRun = nullptr;
    AnsiString FSelection;
};

// Acts in the open dialog instead of a person; null removes it. Returns the previous one.
using TFolderBrowserDriver = std::function<void(TFolderBrowser&)>;
TFolderBrowserDriver SetFolderBrowserDriver(TFolderBrowserDriver Driver);
