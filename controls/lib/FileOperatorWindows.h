#pragma once
// The file operator's windows: the question box (Yes, Yes to all, No, Cancel), the progress
// window (the title, the name of the part being done, a bar and Cancel) and the error box, made
// the operator's dialogs by InstallFileOperatorDialogs. What is asked and what an answer does is
// decided in controls/core/FileOperatorSession.h; these windows only show and answer.

#include <vector>

#include "controls/core/FileOperatorDialogs.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"

class TFileQuestionBox : public TForm {
public:
    explicit TFileQuestionBox(TComponent* AOwner);

    void SetQuestion(const TFileQuestionText& question);
    TLabel* TextLabel() const { return FText; }
    TButton* Button(TQuestionAnswer answer) const { return FButtons[answer]; }
    // Shows the box modally and gives the button pressed; closing the box is Cancel. Under the
    // test environment with no modal-form hook to press a button, nobody can answer: No, and
    // the question goes to the standard error stream.
    TQuestionAnswer Ask();

private:
    TLabel* FText;
    TButton* FButtons[4];
};

// Shown while the operation runs, with the program's other windows disabled; every step lets
// the window paint and hear its Cancel button.
class TFileProgressForm : public TForm {
public:
    explicit TFileProgressForm(TComponent* AOwner);
    // Enables again the windows it disabled.
    ~TFileProgressForm() override;

    // Shows the window with the title and a bar of total steps.
    void Start(const AnsiString& title, int total);
    // The part about to be done; false once the user pressed Cancel or closed the window.
    bool Step(const AnsiString& name, int done);
    // Lets the window paint and hear Cancel while a part is done; false once it was pressed.
    bool Poll();
    bool Cancelled() const { return FCancelled; }
    TLabel* NameLabel() const { return FName; }
    TProgressBar* Bar() const { return FBar; }
    TButton* CancelButton() const { return FCancel; }

private:
    TLabel* FName;
    TProgressBar* FBar;
    TButton* FCancel;
    bool FCancelled = false;
    std::vector<TCustomForm*> FDisabled;
};

// The question box, the progress window and the error box become the file operator's dialogs
// (once; a program made without a screen keeps the unattended answers).
void InstallFileOperatorDialogs();
// TExFileOperator in the class registry with its published properties; installs its dialogs.
void RegisterFileOperatorClasses();
