// The book window's speed bar and its eight buttons, and the entry dialog that New, Edit, Insert
// and Delete open on the grid's current row. With the header row current (or an empty book),
// Edit, Delete and Connect do nothing and Insert inserts at the front.

#include <memory>

#include "app/core/BookWindow.h"
#include "app/core/CharBooks.h"
#include "app/core/CharEdit.h"
#include "app/forms/AboutBox.h"
#include "app/forms/BooksForm.h"
#include "app/forms/CharEditForm.h"
#include "controls/lib/SpeedBar.h"
#include "grid/control/CellGrid.h"
#include "platform/gui/ActnList.h"

namespace {
struct TButtonSpec {
    const char* Name;
    const char* Caption;
};
constexpr TButtonSpec kButtons[TBooksForm::kButtonCount] = {
    {"NewCharButton", "New"}, {"EditButton", "Edit"},     {"InsertButton", "Insert"},   {"ExSpeedButton1", "Delete"},
    {"SaveButton", "Save"},   {"ReLoadButton", "ReLoad"}, {"ConnectButton", "Connect"}, {"AboutButton", "About"}};
constexpr int kBarHeight = 37;
constexpr int kButtonWidth = 60, kButtonHeight = 25, kButtonStep = 64, kButtonLeft = 4, kButtonTop = 4;
}  // namespace

void TBooksForm::CreateSpeedBar()
{
    FSpeedBar = new TSpeedBar(this);
    FSpeedBar->SetName("SpeedBar2");
    FSpeedBar->SetParent(this);
    FSpeedBar->SetAlign(alTop);
    FSpeedBar->SetHeight(kBarHeight);
    FSpeedBar->SetBtnOffsetHorz(3);
    FSpeedBar->SetBtnOffsetVert(3);
    const int section = FSpeedBar->AddSection("New");
    FSpeedBar->NewItem(this, section, "SpeedItem1");
    FSpeedBar->NewItem(this, section, "SpeedItem2");
    void (TBooksForm::*handlers[kButtonCount])() = {&TBooksForm::NewCharButtonClick,
                                                    &TBooksForm::EditButtonClick,
                                                    &TBooksForm::InsertButtonClick,
                                                    &TBooksForm::ExSpeedButton1Click,
                                                    &TBooksForm::SaveButtonClick,
                                                    &TBooksForm::ReLoadButtonClick,
                                                    nullptr,
                                                    &TBooksForm::AboutButtonClick};
    for (int i = 0; i < kButtonCount; ++i) {
        auto* button = new TExSpeedButton(this);
        button->SetName(kButtons[i].Name);
        button->SetCaption(kButtons[i].Caption);
        button->SetBounds(kButtonLeft + i * kButtonStep, kButtonTop, kButtonWidth, kButtonHeight);
        button->SetParent(FSpeedBar);
        if (handlers[i])
            button->OnClick = [this, handler = handlers[i]](TObject*) { (this->*handler)(); };
        else
            button->SetAction(FAction1);
        FButtons[i] = button;
    }
}

void TBooksForm::OpenCharEdit(int mode)
{
    const auto& list = TCharBooks::CharBookList;
    const int count = static_cast<int>(list.size());
    const int row = FGrid->Row();
    int index = -1;
    std::shared_ptr<TCharBooks> entry;
    if (mode == cemInsert) {
        index = BookWindow::InsertIndex(row, count);
        if (index < count)
            entry = list[static_cast<size_t>(index)];
    } else if (mode != cemAdd) {
        index = BookWindow::EntryIndex(row, count);
        if (index < 0)
            return;
        entry = list[static_cast<size_t>(index)];
    }
    // The dialog frees itself when it closes.
    auto* dialog = new TCharEditForm(this);
    dialog->SetEntry(mode, index, entry);
    dialog->ShowModal();
}

void TBooksForm::NewCharButtonClick() { OpenCharEdit(cemAdd); }
void TBooksForm::EditButtonClick() { OpenCharEdit(cemEdit); }
void TBooksForm::InsertButtonClick() { OpenCharEdit(cemInsert); }
void TBooksForm::ExSpeedButton1Click() { OpenCharEdit(cemDelete); }
void TBooksForm::SaveButtonClick() { TCharBooks::Save(); }

void TBooksForm::ReLoadButtonClick()
{
    TCharBooks::Load();
    FillGrid();
}

void TBooksForm::AboutButtonClick()
{
    auto about = std::make_unique<TAboutBox>(this);
    about->ShowModal();
}
