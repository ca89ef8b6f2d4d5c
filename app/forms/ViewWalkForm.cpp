#include "app/forms/ViewWalkForm.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "app/core/WalkView.h"
#include "app/core/WindowTexts.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/FormPlace.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/StoredPath.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/CommonDialogs.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "script/ScriptText.h"
#include "script/WalkText.h"

namespace {
constexpr const char* kWalkFilter = "Walk files (*.Wlk)|*.Wlk|Text files (*.Txt)|*.Txt|All files (*.*)|*.*";
constexpr int kPanelWidths[3] = {100, 50, 50};
constexpr const char* kPanelTexts[3] = {"LIne", "Column", ""};
// The steps at the size the terminal shows the game's text: at the form's 8 points (and at 9,
// which the face's hinting draws alike) 굴림체's small letters are 7 pixels tall.
constexpr int kStepsFontHeight = -16;
// The path label's place and least width; the three buttons follow it, one step apart.
constexpr int kLabelLeft = 8, kLabelWidth = 270;
constexpr int kButtonGap = 6, kButtonStep = 76, kRightMargin = 12;
constexpr int kClientWidth = 520;
}  // namespace

TViewWalkForm::TViewWalkForm(TAnsiTerminalForm* AOwner) : TForm(AOwner), FWindow(AOwner)
{
    SetName("ViewWalkForm");
    SetCaption("ViewWalkForm");
    Font()->SetName(WindowText::GulimChe);
    SetPosition(poOwnerFormCenter);
    SetKeyPreview(true);
    SetClientWidth(kClientWidth);
    SetClientHeight(400);
    auto* top = Place<TPanel>(this, this, "Panel1", 0, 0, kClientWidth, 36);
    top->SetAlign(alTop);
    FNameLabel = Place<TLabel>(this, top, "WalkNameLabel", AnsiString(), kLabelLeft, 10, kLabelWidth, 16);
    FNameLabel->Font()->SetName("Courier");
    FNameLabel->Font()->SetHeight(-16);
    FNameLabel->Font()->SetColor(clBlue);
    FNameLabel->Font()->SetStyle(TFontStyles() << fsBold);
    FButtons[0] = Place<TButton>(this, top, "SaveBtn", "Save", 0, 6, 72, 24, [this](TObject*) { SaveBtnClick(); });
    FButtons[1] =
        Place<TButton>(this, top, "SaveAsBtn", "Save as", 0, 6, 72, 24, [this](TObject*) { SaveAsBtnClick(); });
    FButtons[2] = Place<TButton>(this, top, "ExitBtn", "Exit", 0, 6, 72, 24, [this](TObject*) { ExitBtnClick(); });
    ShowPath(AnsiString());
    FStatusBar = Place<TStatusBar>(this, this, "StatusBar", 0, 380, 520, 20);
    FStatusBar->SetAlign(alBottom);
    for (int i = 0; i < 3; ++i) {
        TStatusPanel* panel = FStatusBar->AddPanel();
        panel->Text = kPanelTexts[i];
        panel->Width = kPanelWidths[i];
    }
    FWalkEdit = Place<TRichEdit>(this, this, "WalkEdit", 0, 36, 520, 344);
    FWalkEdit->SetAlign(alClient);
    FWalkEdit->Font()->SetHeight(kStepsFontHeight);
    FWalkEdit->SetScrollBars(ssBoth);
    FWalkEdit->SetWordWrap(false);
    FWalkEdit->OnSelectionChange = [this](TObject*) { WalkEditSelectionChange(); };
    FSaveDialog = new TSaveDialog(this);
    FSaveDialog->SetName("SaveDialog");
    OnKeyPress = [this](TObject*, char& key) {
        if (key == 27)
            ExitBtnClick();
    };
}

void TViewWalkForm::DoShow()
{
    ShowPath(FPath);
    TForm::DoShow();
}

void TViewWalkForm::ShowPath(const AnsiString& path)
{
    // The label measures the path; only a screen too narrow for it and the buttons cuts it.
    FNameLabel->SetAutoSize(true);
    FNameLabel->SetCaption(ShownPath(path));
    FNameLabel->SetAutoSize(false);
    const int buttons = kButtonGap + 2 * kButtonStep + FButtons[2]->Width() + kRightMargin;
    int labelWidth = std::max(FNameLabel->Width(), kLabelWidth);
    if (Screen)
        labelWidth = std::max(std::min(labelWidth, Screen->WorkAreaRect().Width() - kLabelLeft - buttons), kLabelWidth);
    FNameLabel->SetWidth(labelWidth);
    int left = kLabelLeft + labelWidth + kButtonGap;
    for (TButton* button : FButtons) {
        button->SetLeft(left);
        left += kButtonStep;
    }
    SetClientWidth(std::max(kLabelLeft + labelWidth + buttons, kClientWidth));
}

void TViewWalkForm::WalkEditSelectionChange()
{
    const TPoint caret = FWalkEdit->CaretPos();
    FStatusBar->Panels(0)->Text = WalkView::LinePanel(caret.y, FWalkEdit->Lines()->Count());
    FStatusBar->Panels(1)->Text = WalkView::ColumnPanel(caret.x);
    FStatusBar->PanelsChanged();
}

void TViewWalkForm::SaveBtnClick()
{
    if (!FWindow)
        return;
    std::vector<AnsiString> lines;
    for (int i = 0; i < FWalkEdit->Lines()->Count(); ++i)
        lines.push_back(FWalkEdit->Lines()->Strings(i));
    const TWriteResult written = WalkView::Save(FWindow->Script().WalkRec, lines, NativePath(FPath));
    if (!written) {
        // The old file stays, and so do the walk and the text here.
        MessageBox(WalkText::SaveFailed + ShownPath(FPath) + "\r\n" + written.Message, ScriptText::ErrorCaption, MB_OK);
        return;
    }
    ShowPath(FPath);
    ExitBtnClick();
}

void TViewWalkForm::SaveAsBtnClick()
{
    FSaveDialog->DefaultExt = "Wlk";
    FSaveDialog->Filter = kWalkFilter;
    FSaveDialog->InitialDir = ProgramPath() + "Cmd";
    FSaveDialog->Title = WindowText::WalkSaveAsTitle;
    FSaveDialog->Options = ofOverwritePrompt | ofHideReadOnly | ofNoChangeDir | ofEnableSizing;
    if (!FSaveDialog->Execute())
        return;
    FPath = FSaveDialog->FileName;
    SaveBtnClick();
}

void ShowViewWalk(TAnsiTerminalForm& window, const AnsiString& path, const std::vector<AnsiString>& steps)
{
    auto viewer = std::make_unique<TViewWalkForm>(&window);
    viewer->SetPath(path);
    for (const AnsiString& step : steps)
        viewer->WalkEdit()->Lines()->Add(step);
    viewer->ShowModal();
}
