// Window helpers: centring, embedding, showing, activation, the previous instance, the posted
// message queue, waiting, the wait cursor and message boxes.

#include <chrono>
#include <thread>

#include "controls/lib/CtrlUtils.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Foreground.h"
#include "platform/gui/Instance.h"
#include "platform/gui/Queue.h"
#include "platform/gui/Sound.h"

namespace {

TCustomForm* AsForm(TWinControl* Wnd) { return dynamic_cast<TCustomForm*>(Wnd); }

void BringForward(TWinControl* Wnd)
{
    if (TCustomForm* form = AsForm(Wnd) ? AsForm(Wnd) : Wnd->ParentForm())
        form->BringToFront();
}

int CenteredStart(int area, int size) { return std::max(0, (area - size) / 2); }

}  // namespace

void CenterControl(TControl* Control)
{
    if (!Control)
        return;
    TSize area;
    if (auto* form = dynamic_cast<TCustomForm*>(Control)) {
        TCustomForm* main = Application ? Application->MainForm() : nullptr;
        if (form->FormStyle() == fsMDIChild && main)
            area = TSize{main->ClientWidth(), main->ClientHeight()};
        else
            area = TSize{Screen->Width(), Screen->Height()};
    } else if (TWinControl* parent = Control->Parent()) {
        parent->HandleNeeded();
        area = TSize{parent->ClientWidth(), parent->ClientHeight()};
    } else {
        return;
    }
    Control->SetBounds(CenteredStart(area.cx, Control->Width()), CenteredStart(area.cy, Control->Height()),
                       Control->Width(), Control->Height());
}

void CenterWindow(TWinControl* Wnd)
{
    if (!Wnd)
        return;
    const TRect r = CenteredOnScreen(TSize{Wnd->Width(), Wnd->Height()}, TSize{Screen->Width(), Screen->Height()});
    Wnd->SetBounds(r.Left, r.Top, Wnd->Width(), Wnd->Height());
}

void MergeForm(TWinControl* Control, TForm* Form, TAlign Align, bool Show)
{
    if (!Control || !Form)
        return;
    Form->Hide();
    Form->SetBorderStyle(bsNone);
    Form->SetBorderIcons(0);
    Form->SetParent(Control);
    Control->DisableAlign();
    if (Align == alNone) {
        const TRect client = Control->ClientRect();
        Form->SetBounds(Form->Left() + client.Left, Form->Top() + client.Top, Form->Width(), Form->Height());
    } else {
        Form->SetAlign(Align);
    }
    Form->SetVisible(Show);
    Control->EnableAlign();
}

AnsiString WindowClassName(TWinControl* Wnd) { return Wnd ? Wnd->ClassName() : AnsiString(); }

void ShowWinNoAnimate(TWinControl* Wnd, int CmdShow)
{
    if (!Wnd)
        return;
    TCustomForm* form = AsForm(Wnd);
    switch (CmdShow) {
    case SW_HIDE: Wnd->Hide(); return;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        if (form)
            form->SetWindowState(wsMinimized);
        break;
    case SW_SHOWMAXIMIZED:
        if (form)
            form->SetWindowState(wsMaximized);
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        if (form)
            form->SetWindowState(wsNormal);
        break;
    default: break;
    }
    Wnd->Show();
}

void SwitchToWindow(TWinControl* Wnd, bool Restore)
{
    if (!Wnd || !Wnd->Enabled())
        return;
    BringForward(Wnd);
    TCustomForm* form = AsForm(Wnd);
    if (Restore && Wnd->Visible() && form && form->WindowState() == wsMinimized)
        form->SetWindowState(wsNormal);
    if (Wnd->CanFocus())
        Wnd->SetFocus();
}

void ActivateWindow(TWinControl* Wnd)
{
    if (!Wnd)
        return;
    ShowWinNoAnimate(Wnd, SW_SHOW);
    BringForward(Wnd);
}

bool FindPrevInstance(const AnsiString& MainFormClass, const AnsiString& ATitle)
{
    return FindInstance(MainFormClass, ATitle);
}

bool ActivatePrevInstance(const AnsiString& MainFormClass, const AnsiString& ATitle)
{
    if (MainFormClass.empty() && ATitle.empty())
        return false;
    if (ActivateInstance(MainFormClass, ATitle))
        return true;
    ListenAsInstance(MainFormClass, ATitle);
    return false;
}

void KillMessage(TWinControl* Wnd, unsigned Msg) { RemovePostedMessage(Wnd, Msg); }

bool MouseOverControl(TControl* Control)
{
    return Control->Enabled() && FindDragTarget(GetCursorPos(), true) == Control && IsForegroundTask();
}

void Delay(int32_t MSecs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(MSecs, 0));
    while (std::chrono::steady_clock::now() < end) {
        if (Application)
            Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

TCursor WaitCursor = crHourGlass;

namespace {

int32_t gWaitCount = 0;
TCursor gSavedCursor = crDefault;

}  // namespace

void StartWait()
{
    if (gWaitCount == 0 && Screen) {
        gSavedCursor = Screen->Cursor();
        Screen->SetCursor(WaitCursor);
    }
    ++gWaitCount;
}

void StopWait()
{
    if (gWaitCount <= 0)
        return;
    if (--gWaitCount == 0 && Screen)
        Screen->SetCursor(gSavedCursor);
}

int MsgBox(const AnsiString& Caption, const AnsiString& Text, unsigned Flags)
{
    return MessageBox(Text, Caption, Flags);
}

void Beep() { MessageBeep(0xFFFFFFFF); }
