#pragma once
// The character-entry dialog: adds, changes, inserts or deletes the connection part of a book
// entry (display name, address, port, service name) in one of four modes. It stays open after an
// add, an edit or an insert so several can be made in a row, walks on to the next entry after a
// delete, refills the book window after each change, and frees itself when it closes.

#include <memory>

#include "platform/gui/Forms.h"

class TButton;
class TCharBooks;
class TEdit;
class TLabel;

class TCharEditForm : public TForm {
public:
    explicit TCharEditForm(TComponent* AOwner);

    // The opener's part: the mode (TCharEditMode), the entry's index in the book and the entry.
    void SetEntry(int mode, int index, std::shared_ptr<TCharBooks> entry);
    int Mode() const { return FMode; }
    int Index() const { return FIndex; }

    TEdit* Edit1() const { return FEdits[0]; }
    TEdit* Edit2() const { return FEdits[1]; }
    TEdit* Edit3() const { return FEdits[2]; }
    TEdit* Edit4() const { return FEdits[3]; }
    TButton* AddButton() const { return FAddButton; }

    // The boxes emptied and refilled for the mode, and the button's caption.
    void FormActivate();
    void AddButtonClick();
    void Button4Click() { Close(); }

protected:
    void DoShow() override;
    void DoClose(TCloseAction& Action) override;

private:
    void RefillBook();

    TEdit* FEdits[4] = {};
    TButton* FAddButton = nullptr;
    int FMode = 0;
    int FIndex = -1;
    std::shared_ptr<TCharBooks> FEntry;
};
