#pragma once
// The walk viewer: the loaded walk's steps in an editor, the caret's line and column in the
// status bar; Save writes them to the walk file and makes them the walk's steps, Save as first
// asks for another file. Modal, owned by the character window.

#include <array>
#include <vector>

#include "platform/gui/Forms.h"

class TAnsiTerminalForm;
class TButton;
class TLabel;
class TRichEdit;
class TSaveDialog;
class TStatusBar;

class TViewWalkForm : public TForm {
public:
    explicit TViewWalkForm(TAnsiTerminalForm* AOwner);

    // The walk file, a program path.
    void SetPath(const AnsiString& path) { FPath = path; }
    const AnsiString& Path() const { return FPath; }
    TRichEdit* WalkEdit() const { return FWalkEdit; }
    TStatusBar* StatusBar() const { return FStatusBar; }
    TLabel* WalkNameLabel() const { return FNameLabel; }

    // The path in the label, whole: the buttons move right of it and the window widens to hold
    // them (as far as the screen lets it).
    void ShowPath(const AnsiString& path);
    // The caret's place into the status bar.
    void WalkEditSelectionChange();
    // Writes and closes; a file that cannot be written is reported and the viewer stays.
    void SaveBtnClick();
    void SaveAsBtnClick();
    void ExitBtnClick() { Close(); }

protected:
    void DoShow() override;

private:
    TAnsiTerminalForm* FWindow;
    AnsiString FPath;
    TLabel* FNameLabel = nullptr;
    std::array<TButton*, 3> FButtons{};
    TRichEdit* FWalkEdit = nullptr;
    TStatusBar* FStatusBar = nullptr;
    TSaveDialog* FSaveDialog = nullptr;
};

// The window's walk view: the viewer on the walk file (a program path) and its steps, shown
// modally and freed.
void ShowViewWalk(TAnsiTerminalForm& window, const AnsiString& path, const std::vector<AnsiString>& steps);
