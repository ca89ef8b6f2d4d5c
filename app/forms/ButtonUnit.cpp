#include "app/forms/ButtonUnit.h"

#include <algorithm>
#include <memory>

#include "app/core/ButtonBar.h"
#include "app/core/ItemEditTexts.h"
#include "app/core/ItemEdits.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/ButtonEditUnit.h"
#include "controls/lib/ExMenus.h"
#include "controls/lib/ToolEdit.h"
#include "platform/gui/DockGrip.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Queue.h"
#include "script/Records.h"

namespace {
// Four buttons in a row at first, under the grip.
constexpr int kClientWidth = 258, kClientHeight = 98 + kDockGripSize;
constexpr int kFontHeight = -13;
}  // namespace

// --- TMyButton --------------------------------------------------------------------------------

TMyButton::TMyButton(TComponent* AOwner) : TExSpeedButton(AOwner)
{
    RegisterHandler(WM_LBUTTONDBLCLK, [this](TMessage& m) {
        FDblClicked = false;
        TAliveToken alive = AliveToken();
        Inherited(m);
        if (*alive && !FDblClicked && Enabled())
            DblClick();
    });
}

void TMyButton::DblClick()
{
    FDblClicked = true;
    TExSpeedButton::DblClick();
}

// --- TButtonForm ------------------------------------------------------------------------------

TButtonForm::TButtonForm(TAnsiTerminalForm* owner) : TForm(owner), FWindow(owner)
{
    SetName("ButtonForm");
    SetCaption(ItemText::BarCaption);
    SetBorderIcons(biSystemMenu | biMinimize);
    Font()->SetName(ItemText::Gulim);
    Font()->SetHeight(kFontHeight);
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);

    FButtonMenu = new TExPopupMenu(this);
    FButtonMenu->SetName("ButtonMenu");
    auto add = [this](const char* name, const char* caption, TNotifyEvent onClick) {
        auto* item = new TMenuItem(this);
        item->SetName(name);
        item->SetCaption(caption);
        item->OnClick = std::move(onClick);
        FButtonMenu->Items()->Add(item);
    };
    add("NewButton1", ItemText::NewButton, [this](TObject*) { NewButton1Click(); });
    add("N1", "-", nullptr);
    add("CloseButton", ItemText::CloseBar, [this](TObject*) { CloseButtonClick(); });

    // Dragged by its grip, the bar docks on its character window and floats off it again.
    SetDragKind(dkDock);
    SetUseDockManager(true);
    FGrip = new TDockGrip(this);
    FGrip->SetName("ButtonGrip");
    FGrip->SetParent(this);
    FGrip->SetAlign(alTop);
    FGrip->SetHeight(kDockGripSize);
    FGrip->SetClient(this);

    FButtonPanel = new TPanel(this);
    FButtonPanel->SetName("ButtonPanel");
    FButtonPanel->SetParent(this);
    FButtonPanel->SetCaption("");
    FButtonPanel->SetAlign(alClient);
    FButtonPanel->OnResize = [this](TObject*) { FormShowButtons(); };
    FButtonPanel->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
        if (Button == mbRight) {
            const TPoint at = FButtonPanel->ClientToScreen(TPoint{X, Y});
            FButtonMenu->Popup(at.x, at.y);
        }
    };

    // Beside the character window.
    SetTop(owner->Top());
    SetLeft(owner->Left() + owner->Width());
}

TButtonForm::~TButtonForm()
{
    DropAll();
    if (FWindow)
        FWindow->ButtonFormClosed(this);
}

void TButtonForm::DoShow()
{
    TForm::DoShow();
    FormShowButtons();
}

void TButtonForm::FormShowButtons()
{
    if (!FWindow)
        return;
    for (const auto& record : FWindow->Script().ButtonList) {
        if (!record->Control) {
            auto* button = new TMyButton(this);
            button->SetRecord(record.get());
            record->Control = button;
            FButtons.push_back(button);
        }
        LayoutButton(*record);
    }
    // In list order, for whoever lists them.
    std::vector<TMyButton*> ordered;
    for (const auto& record : FWindow->Script().ButtonList)
        if (record->Control)
            ordered.push_back(record->Control);
    FButtons = std::move(ordered);
}

void TButtonForm::LayoutButton(cButton& record)
{
    TMyButton* button = record.Control;
    if (!button || !FWindow)
        return;
    const int index = FWindow->Script().ButtonList.IndexOf(&record);
    const TBarButtonPlace place = BarButtonPlace(std::max(index, 0), FButtonPanel->Width(), record);
    button->SetParent(FButtonPanel);
    button->SetBounds(place.Left, place.Top, kBarButtonWidth, kBarButtonHeight);
    button->SetCaption(record.Name);
    button->SetHint(record.Name);
    button->SetShowHint(true);
    button->SetEnabled(true);
    button->SetAllowAllUp(true);
    button->OnClick = [this, button](TObject*) { MyButtonClick(button); };
    button->OnDblClick = [this, button](TObject*) { MyButtonDblClick(button); };
    button->SetGroupIndex(place.GroupIndex);
    button->SetDown(place.Down);
    button->SetVisible(true);
}

void TButtonForm::MyButtonClick(TMyButton* button)
{
    cButton* record = button->Record();
    if (!record || !FWindow)
        return;
    FocusWindow();
    // The record decides, not the speed button's own toggling.
    LayoutButton(*record);
    const TBarClick click = BarButtonClick(*record);
    TAliveToken alive = button->Token();
    FWindow->ExecuteCommand(click.Command);
    // The command may have cleared the list, with this button's record.
    if (!*alive || button->Record() != record)
        return;
    ApplyBarClick(*record, click);
    if (click.Toggle) {
        button->SetDown(click.DownAfter);
        button->Invalidate();
    }
}

void TButtonForm::MyButtonDblClick(TMyButton* button)
{
    cButton* record = button->Record();
    if (!record || !FWindow)
        return;
    cButton copy = *record;
    TAliveToken alive = button->Token();
    // The dialog takes the mouse, and the release of the press that opened it with it.
    button->EndPress();
    const TDialogEnd end = EditButtonRecord(this, copy);
    // The record may have gone while the dialog was open, and the button with it: the dialog's
    // event loop runs the queued frees.
    if (end == TDialogEnd::Saved && *alive && button->Record() == record) {
        ItemEdit::WriteBackButton(*record, copy);
        LayoutButton(*record);
    }
    FocusWindow();
}

// The character window's input line takes the keys again.
void TButtonForm::FocusWindow()
{
    if (FWindow && FWindow->ComboEdit()->CanFocus())
        FWindow->ComboEdit()->SetFocus();
}

void TButtonForm::NewButton1Click()
{
    if (!FWindow)
        return;
    auto record = std::make_unique<cButton>();
    if (EditButtonRecord(this, *record) == TDialogEnd::Saved && FWindow)
        FWindow->Script().ButtonList.Add(std::move(record));
    FormShowButtons();
}

// Hidden and unlinked now, freed once the handler that may be running for it has returned.
void TButtonForm::Drop(TMyButton* button)
{
    if (cButton* record = button->Record(); record && record->Control == button)
        record->Control = nullptr;
    button->SetRecord(nullptr);
    button->OnClick = nullptr;
    button->OnDblClick = nullptr;
    button->SetVisible(false);
    std::erase(FButtons, button);
    QueueCall([alive = button->Token(), button] {
        if (*alive)
            delete button;
    });
}

// The records may be gone: nothing of them is read.
void TButtonForm::DropAll()
{
    for (TMyButton* button : std::vector<TMyButton*>(FButtons)) {
        button->SetRecord(nullptr);
        Drop(button);
    }
}

void TButtonForm::Rebuild()
{
    DropAll();
    // Records that stayed (a reload keeps none) have no button any more.
    if (FWindow)
        for (const auto& record : FWindow->Script().ButtonList)
            record->Control = nullptr;
    FormShowButtons();
}

void TButtonForm::DropButton(cButton& record)
{
    if (TMyButton* button = record.Control)
        Drop(button);
    record.Control = nullptr;
}

void TButtonForm::DoClose(TCloseAction& Action)
{
    TForm::DoClose(Action);
    if (Action == caNone)
        return;
    if (FWindow) {
        FWindow->ButtonFormClosed(this);
        for (const auto& record : FWindow->Script().ButtonList)
            if (record->Control)
                DropButton(*record);
    }
    FWindow = nullptr;
    Action = caFree;
}
