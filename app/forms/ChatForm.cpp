#include "app/forms/ChatForm.h"

#include <memory>

#include "app/core/WindowTexts.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/FormPlace.h"
#include "controls/lib/TextListBox.h"
#include "controls/lib/ToolEdit.h"
#include "platform/gui/Buttons.h"
#include "terminal/control/Terminal.h"

TChatForm::TChatForm(TAnsiTerminalForm* AOwner) : TForm(AOwner), FWindow(AOwner)
{
    SetName("ChatForm");
    SetCaption("Chat String Form");
    SetBorderStyle(bsDialog);
    SetPosition(poOwnerFormCenter);
    Font()->SetName(WindowText::GulimChe);
    SetKeyPreview(true);
    SetClientWidth(430);
    SetClientHeight(236);
    FList = Place<TTextListBox>(this, this, "TextListBox", 8, 8, 300, 220);
    FList->OnDblClick = [this](TObject*) { BitBtn2Click(); };
    Place<TBitBtn>(this, this, "BitBtn1", "Send To Screen", 316, 8, 106, 28, [this](TObject*) { BitBtn1Click(); });
    Place<TBitBtn>(this, this, "BitBtn2", "Send To Edit", 316, 44, 106, 28, [this](TObject*) { BitBtn2Click(); });
    Place<TBitBtn>(this, this, "BitBtn4", "Sort", 316, 80, 106, 28, [this](TObject*) { BitBtn4Click(); });
    Place<TBitBtn>(this, this, "BitBtn3", WindowText::CloseKo, 316, 200, 106, 28, [this](TObject*) { BitBtn3Click(); });
    OnKeyPress = [this](TObject*, char& key) {
        if (key == 27)
            Close();
    };
}

bool TChatForm::Chosen(AnsiString& line)
{
    const int index = FList->ItemIndex();
    if (index < 0 || index >= FList->Items()->Count())
        return false;
    line = FList->Items()->Strings(index);
    return true;
}

void TChatForm::BitBtn1Click()
{
    AnsiString line;
    if (Chosen(line) && FWindow) {
        FWindow->Terminal()->DecodeText(line);
        FWindow->SendText(line);
        FWindow->History().Enter(line);
    }
    Close();
}

void TChatForm::BitBtn2Click()
{
    AnsiString line;
    if (Chosen(line) && FWindow) {
        FWindow->ComboEdit()->SetText(line);
        FWindow->ComboEdit()->SetSelStart(static_cast<int>(line.size()));
    }
    Close();
}

void TChatForm::BitBtn4Click() { FList->SetSorted(true); }

void ShowChatForm(TAnsiTerminalForm& window)
{
    auto form = std::make_unique<TChatForm>(&window);
    TTypedHistory& history = window.History();
    for (int i = 0; i < history.Count(); ++i)
        form->TextListBox()->Items()->Add(history.Line(i));
    form->ShowModal();
}
