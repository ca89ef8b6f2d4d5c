#include "platform/gui/HintShow.h"

#include <QGuiApplication>

#include "platform/gui/Application.h"
#include "platform/gui/HintWindow.h"

namespace {

THintWindow* gHint = nullptr;
TControl* gHintControl = nullptr;

// The application owns the window, so it goes before Qt does; then there is none.
class TAppHintWindow : public THintWindow {
public:
    using THintWindow::THintWindow;
    ~TAppHintWindow() override
    {
        gHint = nullptr;
        gHintControl = nullptr;
    }
};

THintWindow* HintWindow()
{
    if (!gHint)
        gHint = new TAppHintWindow(Application);
    return gHint;
}

}  // namespace

void ShowHintInfo(const THintInfo& Info)
{
    if (Info.HintStr.empty()) {
        CancelHint();
        return;
    }
    THintWindow* w = HintWindow();
    w->SetColor(Info.HintColor);
    TRect r = w->CalcHintRect(400, Info.HintStr);
    OffsetRect(r, Info.HintPos.x, Info.HintPos.y);
    w->ActivateHint(r, Info.HintStr);
    gHintControl = Info.HintControl;
}

void CancelHint()
{
    if (gHint)
        gHint->ReleaseHandle();
    gHintControl = nullptr;
}

AnsiString ShownHint() { return gHint && gHint->Visible() ? gHint->Caption() : AnsiString(); }

TRect ShownHintRect() { return gHint && gHint->Visible() ? gHint->BoundsRect() : TRect{}; }

TControl* ShownHintControl() { return gHint && gHint->Visible() ? gHintControl : nullptr; }
