#include "controls/lib/FileOperatorWindows.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"

namespace {

constexpr int kMargin = 12;
constexpr int kButtonWidth = 81;
constexpr int kButtonHeight = 25;
constexpr int kGap = 8;

TButton* MakeButton(TForm* form, const char* caption, int left, int top)
{
    auto* button = new TButton(form);
    button->SetCaption(caption);
    button->SetBounds(left, top, kButtonWidth, kButtonHeight);
    button->SetParent(form);
    return button;
}

// True when a test or driver watches modal forms and can press the box's buttons.
bool ModalFormsAnswered()
{
    TModalFormHook hook = SetModalFormHook(nullptr);
    const bool answered = static_cast<bool>(hook);
    SetModalFormHook(std::move(hook));
    return answered;
}

// One run's windows; the run counts as a dialog open, so work that waits for dialogs (a trigger
// pass fed by the network) waits for it, and the window active before is active again after it.
class TWindowedFileDialogs : public IFileOperatorDialogs {
public:
    TQuestionAnswer Ask(const TFileQuestionText& question) override
    {
        TFileQuestionBox box(nullptr);
        box.SetQuestion(question);
        return box.Ask();
    }
    void OpenProgress(const AnsiString& title, int total) override
    {
        FProgress = std::make_unique<TFileProgressForm>(nullptr);
        FProgress->Start(title, total);
    }
    bool StepProgress(const AnsiString& name, int done) override { return !FProgress || FProgress->Step(name, done); }
    bool PollProgress() override { return !FProgress || FProgress->Poll(); }
    void CloseProgress() override { FProgress.reset(); }
    void ShowError(const AnsiString& caption, const AnsiString& text) override
    {
        MessageBox(text, caption, MB_OK | MB_ICONERROR);
    }

private:
    TModalScope FModal;
    std::unique_ptr<TFileProgressForm> FProgress;
};

}  // namespace

// --- TFileQuestionBox ---------------------------------------------------------------------------

TFileQuestionBox::TFileQuestionBox(TComponent* AOwner) : TForm(AOwner)
{
    const int width = 4 * kButtonWidth + 3 * kGap + 2 * kMargin;
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientWidth(width);
    SetClientHeight(118);
    FText = new TLabel(this);
    FText->SetAutoSize(false);
    FText->SetWordWrap(true);
    FText->SetShowAccelChar(false);
    FText->SetBounds(kMargin, kMargin, width - 2 * kMargin, 60);
    FText->SetParent(this);
    static const char* const kCaptions[] = {"&Yes", "Yes to &All", "&No", "Cancel"};
    static const TModalResult kResults[] = {mrYes, mrYesToAll, mrNo, mrCancel};
    for (int i = 0; i < 4; ++i) {
        FButtons[i] =
            MakeButton(this, kCaptions[i], kMargin + i * (kButtonWidth + kGap), 118 - kMargin - kButtonHeight);
        FButtons[i]->SetModalResult(kResults[i]);
    }
    FButtons[qaYes]->SetDefault(true);
    FButtons[qaCancel]->SetCancel(true);
    SetActiveControl(FButtons[qaYes]);
}

void TFileQuestionBox::SetQuestion(const TFileQuestionText& question)
{
    SetCaption(question.Caption);
    FText->SetCaption(question.Text);
}

TQuestionAnswer TFileQuestionBox::Ask()
{
    if (std::getenv("HM_TEST") && !ModalFormsAnswered()) {
        std::fprintf(stderr, "FileQuestion [%s] %s\n", Caption().c_str(), FText->Caption().c_str());
        return qaNo;
    }
    switch (ShowModal()) {
    case mrYes: return qaYes;
    case mrYesToAll: return qaYesToAll;
    case mrNo: return qaNo;
    default: return qaCancel;
    }
}

// --- TFileProgressForm --------------------------------------------------------------------------

TFileProgressForm::TFileProgressForm(TComponent* AOwner) : TForm(AOwner)
{
    const int width = 360;
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientWidth(width);
    SetClientHeight(100);
    FName = new TLabel(this);
    FName->SetAutoSize(false);
    FName->SetShowAccelChar(false);
    FName->SetBounds(kMargin, kMargin, width - 2 * kMargin, 16);
    FName->SetParent(this);
    FBar = new TProgressBar(this);
    FBar->SetBounds(kMargin, 36, width - 2 * kMargin, 16);
    FBar->SetParent(this);
    FCancel = MakeButton(this, "Cancel", width - kMargin - kButtonWidth, 100 - kMargin - kButtonHeight);
    FCancel->SetCancel(true);
    FCancel->OnClick = [this](TObject*) { FCancelled = true; };
    // Closing the window asks to cancel; the operation closes it when it stops.
    OnCloseQuery = [this](TObject*, bool& canClose) {
        FCancelled = true;
        canClose = false;
    };
}

TFileProgressForm::~TFileProgressForm()
{
    for (TCustomForm* form : FDisabled)
        if (Screen && Screen->HasForm(form))
            form->SetEnabled(true);
}

void TFileProgressForm::Start(const AnsiString& title, int total)
{
    SetCaption(title);
    FBar->SetMin(0);
    FBar->SetMax(total > 0 ? total : 1);
    FBar->SetPosition(0);
    for (int i = 0; Screen && i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (form != this && form->Visible() && form->Enabled()) {
            form->SetEnabled(false);
            FDisabled.push_back(form);
        }
    }
    Show();
}

bool TFileProgressForm::Step(const AnsiString& name, int done)
{
    FName->SetCaption(name);
    FBar->SetPosition(done);
    return Poll();
}

bool TFileProgressForm::Poll()
{
    if (Application)
        Application->ProcessMessages();
    return !FCancelled;
}

// --- Installation -------------------------------------------------------------------------------

void InstallFileOperatorDialogs()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    SetFileOperatorDialogs([]() -> std::unique_ptr<IFileOperatorDialogs> {
        if (!Application)
            return nullptr;
        return std::make_unique<TWindowedFileDialogs>();
    });
}
