#pragma once
// The editor of the status-line template. Save (or Enter in the box) gives the box's text as the
// result; Cancel and the close box give an empty result, which leaves the template as it was.

#include "platform/gui/Forms.h"

class TAnsiTerminalForm;
class TEdit;

class TStatusEditForm : public TForm {
public:
    explicit TStatusEditForm(TComponent* AOwner);

    TEdit* Edit1() const { return FEdit; }
    // The template shown on opening, and the answer once closed.
    const AnsiString& Result() const { return FResult; }
    void SetResult(const AnsiString& text) { FResult = text; }

    void SaveBtnClick();
    void ExSpeedButton2Click();

protected:
    void DoShow() override;
    void DoClose(TCloseAction& Action) override;

private:
    TEdit* FEdit = nullptr;
    AnsiString FResult;
    bool FAnswered = false;
};

// The window's status-line action: the editor on the window's template, shown modally and freed;
// its answer (empty to keep the template).
AnsiString EditStatusLine(TAnsiTerminalForm& window, const AnsiString& statusLine);
