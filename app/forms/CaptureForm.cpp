#include "app/forms/CaptureForm.h"

#include <algorithm>

#include "app/core/CharBooks.h"
#include "app/core/WindowTexts.h"
#include "app/forms/TerminalColumns.h"
#include "controls/lib/ExMenus.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/ExtCtrls.h"
#include "terminal/control/Terminal.h"

namespace {
// The fonts of a new character entry ("뻗음꼴.han", "영문정형체.eng", "smooth.spc", "산.ksg").
constexpr const char* kEngFont = "Fonts\\\xBF\xB5\xB9\xAE\xC1\xA4\xC7\xFC\xC3\xBC.eng";
constexpr const char* kSpcFont = "Fonts\\smooth.spc";
constexpr const char* kKsgFont = "Fonts\\\xBB\xEA.ksg";
// Lines the wheel moves per notch.
constexpr int kWheelLines = 4;

TMenuItem* AddItem(TExPopupMenu* menu, TComponent* owner, const char* name, const char* caption, TNotifyEvent onClick)
{
    auto* item = new TMenuItem(owner);
    item->SetName(name);
    item->SetCaption(caption);
    item->OnClick = std::move(onClick);
    menu->Items()->Add(item);
    return item;
}
}  // namespace

TCaptureForm::TCaptureForm(TComponent* AOwner) : TForm(AOwner)
{
    SetCaption("CaptureForm");
    SetBounds(0, 0, kWidth, kHeight);
    FPanel = new TPanel(this);
    FPanel->SetName("Panel1");
    FPanel->SetParent(this);
    FPanel->SetBevelOuter(bvNone);
    FPanel->SetAlign(alClient);
    FTerminal = new TTerminal(this);
    FTerminal->SetName("CapTerminal");
    FTerminal->SetParent(FPanel);
    FTerminal->SetBackColor(clBlack);
    FTerminal->SetFontColor(clWhite);
    FTerminal->Font()->SetName("MS Sans Serif");
    FTerminal->Font()->SetHeight(-16);
    FTerminal->Font()->SetColor(clWhite);
    FPopup = new TExPopupMenu(this);
    FPopup->SetName("ExPopupMenu1");
    FCopy1 = AddItem(FPopup, this, "Copy1", WindowText::CopyBlock, [this](TObject*) { Copy1Click(); });
    AddItem(FPopup, this, "N1", "-", nullptr);
    AddItem(FPopup, this, "ScreenCopy", WindowText::CopyScreen, [this](TObject*) { ScreenCopyClick(); });
    AddItem(FPopup, this, "AllCopy", WindowText::CopyAll, [this](TObject*) { AllCopyClick(); });
    FTerminal->OnKeyDown = [this](TObject*, uint16_t& key, TShiftState) { CapTerminalKeyDown(key); };
    FTerminal->OnBlock = [this](TObject*, const AnsiString& text) { FBlockText = text; };
    FTerminal->OnBlockLine = [this](TObject*, const AnsiString& text, bool) { FBlockText = text; };
    FTerminal->OnPopupBlock = [this](int x, int y) { ShowPopup(true, x, y); };
    FTerminal->OnPopupNormal = [this](int x, int y) { ShowPopup(false, x, y); };
    OnMouseWheelUp = [this](TObject*, TShiftState, TPoint, bool& handled) {
        for (int i = 0; i < kWheelLines; ++i)
            FTerminal->CursorUp();
        handled = true;
    };
    OnMouseWheelDown = [this](TObject*, TShiftState, TPoint, bool& handled) {
        for (int i = 0; i < kWheelLines; ++i)
            FTerminal->CursorDown();
        handled = true;
    };
    FPanel->OnResize = [this](TObject*) { Panel1Resize(); };
    FormCreate();
}

void TCaptureForm::FormCreate()
{
    const AnsiString folder = ProgramPath();
    FTerminal->SetHanFont(folder + kDefaultHanFont);
    FTerminal->SetEngFont(folder + kEngFont);
    FTerminal->SetSpcFont(folder + kSpcFont);
    FTerminal->SetKsgFont(folder + kKsgFont);
    FTerminal->SetHanMode(true);
    FTerminal->SetAlphaUse(true);
    Panel1Resize();
}

void TCaptureForm::Panel1Resize()
{
    FTerminal->SetBounds(0, 0, std::max(FPanel->Width() - 1, 0), FPanel->Height());
    FitTerminalColumns(*FTerminal);
}

void TCaptureForm::CapTerminalKeyDown(uint16_t& Key)
{
    switch (Key) {
    case VK_PRIOR: FTerminal->PageUp(); break;
    case VK_NEXT: FTerminal->PageDown(); break;
    case VK_UP: FTerminal->CursorUp(); break;
    case VK_DOWN: FTerminal->CursorDown(); break;
    default: break;
    }
    // The window sends nothing: no key reaches the terminal's own handling.
    Key = 0;
}

void TCaptureForm::ShowPopup(bool withBlock, int X, int Y)
{
    FCopy1->SetEnabled(withBlock);
    FPopup->Popup(X, Y);
}

void TCaptureForm::Copy1Click()
{
    Clipboard()->SetAsText(FBlockText);
    FTerminal->CancelBlockMode();
}

void TCaptureForm::ScreenCopyClick() { FTerminal->CopyScreenToClipBoard(); }

void TCaptureForm::AllCopyClick() { FTerminal->CopyAllToClipBoard(); }

void TCaptureForm::DoClose(TCloseAction& Action)
{
    TForm::DoClose(Action);
    if (Action != caNone)
        Action = caFree;
}
