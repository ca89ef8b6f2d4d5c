#include "app/forms/CharEditForm.h"

#include <algorithm>

#include "app/core/CharBooks.h"
#include "app/core/CharEdit.h"
#include "app/core/WindowTexts.h"
#include "app/forms/BooksForm.h"
#include "app/forms/FormPlace.h"
#include "grid/control/CellGrid.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/StdCtrls.h"

namespace {
constexpr const char* kEditNames[4] = {"Edit1", "Edit2", "Edit3", "Edit4"};
constexpr const char* kLabelNames[4] = {"Label1", "Label2", "Label3", "Label4"};
constexpr const char* kLabels[4] = {WindowText::LabelHostName, WindowText::LabelHost, WindowText::LabelPort,
                                    WindowText::LabelCharName};
constexpr int kRowHeight = 28, kLabelWidth = 80, kEditWidth = 180;
}  // namespace

TCharEditForm::TCharEditForm(TComponent* AOwner) : TForm(AOwner)
{
    SetName("CharEditForm");
    SetCaption(WindowText::EditCaption);
    Font()->SetName(WindowText::Dotum);
    SetBorderStyle(bsSingle);
    SetPosition(poOwnerFormCenter);
    SetClientWidth(16 + kLabelWidth + kEditWidth + 16);
    SetClientHeight(16 + 4 * kRowHeight + 40);
    for (int i = 0; i < 4; ++i) {
        const int top = 16 + i * kRowHeight;
        Place<TLabel>(this, this, kLabelNames[i], kLabels[i], 16, top + 4, kLabelWidth, 16);
        FEdits[i] = Place<TEdit>(this, this, kEditNames[i], 16 + kLabelWidth, top, kEditWidth, 22);
        FEdits[i]->SetTabOrder(i);
    }
    FEdits[2]->SetMaxLength(CharEdit::kPortMaxLength);
    const int buttonsTop = 16 + 4 * kRowHeight + 8;
    FAddButton = Place<TButton>(this, this, "AddButton", AnsiString(), 16 + kLabelWidth, buttonsTop, 85, 25,
                                [this](TObject*) { AddButtonClick(); });
    FAddButton->SetDefault(true);
    Place<TButton>(this, this, "Button4", WindowText::CloseButton, 16 + kLabelWidth + 95, buttonsTop, 85, 25,
                   [this](TObject*) { Button4Click(); });
}

void TCharEditForm::SetEntry(int mode, int index, std::shared_ptr<TCharBooks> entry)
{
    FMode = mode;
    FIndex = index;
    FEntry = std::move(entry);
}

// Run when the dialog is shown and again for each entry of a delete walk (not at every
// activation, so that text typed before an error box stays).
void TCharEditForm::FormActivate()
{
    for (TEdit* edit : FEdits)
        edit->Clear();
    if ((FMode == cemEdit || FMode == cemDelete) && FEntry) {
        const CharEdit::TFields fields = CharEdit::FieldsOf(*FEntry);
        FEdits[0]->SetText(fields.HostName);
        FEdits[1]->SetText(fields.Host);
        FEdits[2]->SetText(fields.Port);
        FEdits[3]->SetText(fields.CharName);
    }
    FAddButton->SetCaption(CharEdit::ButtonCaption(FMode));
}

void TCharEditForm::DoShow()
{
    FormActivate();
    TForm::DoShow();
}

void TCharEditForm::AddButtonClick()
{
    const CharEdit::TFields fields{FEdits[0]->Text(), FEdits[1]->Text(), FEdits[2]->Text(), FEdits[3]->Text()};
    if (!CharEdit::Accepts(fields)) {
        MessageBox(WindowText::BadEntry, WindowText::ErrorCaption, MB_OK);
        return;
    }
    auto& list = TCharBooks::CharBookList;
    switch (FMode) {
    case cemAdd: CharEdit::Add(fields); break;
    case cemInsert: CharEdit::Insert(FIndex, fields); break;
    case cemEdit:
        if (FEntry)
            CharEdit::Edit(*FEntry, fields);
        break;
    case cemDelete: {
        // The entry shown, wherever the book now holds it.
        const int deleted = static_cast<int>(std::find(list.begin(), list.end(), FEntry) - list.begin());
        if (!CharEdit::Delete(deleted))
            return;
        const int gridRow = BooksForm ? BooksForm->CharBooksGrid()->Row() : deleted + 1;
        const int next = CharEdit::NextDeleteIndex(deleted, gridRow, static_cast<int>(list.size()));
        RefillBook();
        if (next < 0) {
            Close();
            return;
        }
        FIndex = next;
        FEntry = list[static_cast<size_t>(next)];
        FormActivate();
        return;
    }
    default: return;
    }
    RefillBook();
}

void TCharEditForm::RefillBook()
{
    if (BooksForm)
        BooksForm->FillGrid();
}

void TCharEditForm::DoClose(TCloseAction& Action)
{
    TForm::DoClose(Action);
    if (Action != caNone)
        Action = caFree;
}
