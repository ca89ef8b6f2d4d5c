// The character window's status bar and status line: the eight panels with the CPU meter over
// panel 2, the status line built from the player's template, the Hangul/English and insert
// indicators, and the system timers that refresh them.

#include <algorithm>
#include <utility>

#include "app/core/StatusBar.h"
#include "app/forms/AnsiTerminal.h"
#include "controls/core/TimerList.h"
#include "controls/lib/ExLabel.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Application.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/InputMethod.h"
#include "platform/gui/KeyState.h"

std::string TAnsiTerminalForm::ProcStatPath = "/proc/stat";

void TAnsiTerminalForm::CreateSystemTimers()
{
    TExTimerEvent** targets[] = {&FConnectTimer, &FStatusEvent, &FCpuTimer, &FConnectedTimer, &FWalkTimer};
    static_assert(std::size(targets) == kSystemTimers.size());
    const TNotifyEvent handlers[] = {
        [this](TObject*) { ConnectHost(); },
        [this](TObject*) { StatusEventTimer(); },
        [this](TObject*) { CpuTimerTimer(); },
        [this](TObject*) { ConnectedTimerTimer(); },
        nullptr,  // the walk engine sets its own handler
    };
    for (size_t i = 0; i < kSystemTimers.size(); ++i) {
        const TSystemTimer& t = kSystemTimers[i];
        TNotifyEvent handler = handlers[i];
        if (handler)
            handler = [this, handler](TObject* sender) {
                if (FClosed)
                    return;
                TBusy busy(*this);
                handler(sender);
            };
        TExTimerEvent* event = FSystemTimerList->ItemByHandle(FSystemTimerList->Add(handler, t.Interval, t.Cycled));
        event->SetName(t.Name);
        event->SetEnabled(t.EnabledAtStart);
        *targets[i] = event;
    }
    FSystemTimerList->SetActive(true);
}

// The status line (white, bold blue text) and the status bar with its eight panels.
void TAnsiTerminalForm::CreateStatusBar()
{
    FStatusLabel = new TExLabel(this);
    FStatusLabel->SetParent(this);
    FStatusLabel->SetAutoSize(false);
    FStatusLabel->SetTransparent(false);
    FStatusLabel->SetColor(clWhite);
    FStatusLabel->Font()->SetColor(clBlue);
    FStatusLabel->Font()->SetStyle(TFontStyles() << fsBold);
    FStatusLabel->SetCaption("");
    // A double click on the status line opens its editor, as the Status action does.
    FStatusLabel->OnDblClick = [this](TObject*) { ActionEditStatusExecute(); };

    FStatusBar = new TStatusBar(this);
    FStatusBar->SetParent(this);
    FStatusBar->SetSizeGrip(false);
    TCanvas* canvas = FStatusBar->Canvas();
    canvas->SetFont(FStatusBar->Font());
    for (const TStatusPanelLayout& layout : kStatusPanels) {
        TStatusPanel* panel = FStatusBar->AddPanel();
        panel->Text = layout.Text;
        // The bar insets a panel's text by 2 on each side.
        const int widest = layout.Widest ? canvas->TextWidth(layout.Widest) + 5 : 0;
        panel->Width = std::max(layout.Width, widest);
        panel->Alignment = layout.RightAligned ? taRightJustify : taLeftJustify;
        panel->Style = layout.OwnerDrawn ? psOwnerDraw : psText;
    }
}

void TAnsiTerminalForm::LayoutStatusBar(int top)
{
    FStatusBar->SetBounds(0, top, ClientWidth(), kStatusBarHeight);
    if (!FCpuBar)
        return;
    // Over panel 2 exactly: the panels before it are apart by the bar's gaps.
    const TRect r = FStatusBar->PanelRect(kPanelCpu);
    FCpuBar->SetBounds(r.Left, 0, r.Width(), FStatusBar->Height());
}

const AnsiString& TAnsiTerminalForm::PanelText(int index) const
{
    if (index < 0 || index >= FStatusBar->PanelCount())
        throw std::out_of_range("no status panel " + std::to_string(index));
    return FStatusBar->Panels(index)->Text;
}

void TAnsiTerminalForm::SetPanelText(int index, const AnsiString& text)
{
    if (index < 0 || index >= FStatusBar->PanelCount())
        return;
    TStatusPanel* panel = FStatusBar->Panels(index);
    if (panel->Text == text)
        return;
    panel->Text = text;
    FStatusBar->PanelsChanged();
}

const AnsiString& TAnsiTerminalForm::StatusLine() const { return FStatusLabel->Caption(); }

int TAnsiTerminalForm::CpuPosition() const { return FCpuBar->Position(); }

void TAnsiTerminalForm::StatusEventTimer()
{
    std::optional<TStatusRefresh> texts = StatusEventTexts(*FScript, Connected());
    if (!texts)
        return;
    FStatusLabel->SetCaption(texts->StatusLine);
    SetPanelText(kPanelTrigger, texts->Trigger);
    SetPanelText(kPanelWalk, WalkStatusText(FScript->WalkRec, FWalkTimer->Enabled()));
}

void TAnsiTerminalForm::ConnectedTimerTimer()
{
    SetPanelText(kPanelConnectedTime, ConnectedTimeText(Connected(), TimeSeconds(), FConnectTime));
}

void TAnsiTerminalForm::CpuTimerTimer()
{
    // Once per run: with several windows, or at every tick, the same failure would be shown again.
    static bool reported = false;
    try {
        FCpu.CollectCPUData();
        FCpuBar->SetPosition(static_cast<int>(FCpu.GetCPUUsage(0) * 100));
    } catch (const std::exception&) {
        if (!std::exchange(reported, true) && Application)
            Application->HandleException(this);
    }
}

void TAnsiTerminalForm::RefreshIndicators()
{
    if (FClosed)
        return;
    SetPanelText(kPanelIme, ImeIndicatorText(ImmGetConversionStatus(this)));
    SetPanelText(kPanelInsert, InsertIndicatorText((GetKeyState(VK_INSERT) & 1) != 0));
}

void TAnsiTerminalForm::Activate()
{
    TForm::Activate();
    if (!FClosed)
        FormActivate();
}

void TAnsiTerminalForm::FormActivate()
{
    if (!FCharBook)
        return;
    SetPanelText(kPanelFile, CmdFilePanelText(FCharBook->TriggerFile));
    FTranslationBtn->SetCaption(TranslateCaption(FCharBook->GetTranslate() != 0));
}
