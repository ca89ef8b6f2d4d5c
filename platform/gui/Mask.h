#pragma once
// The mask edit: an edit whose text follows an edit mask (EditMask.h). Without a mask it is a
// plain edit. Typing overwrites one position at a time and skips literals; Backspace and Delete
// empty positions instead of closing the gap; a paste types its characters one by one.

#include "platform/core/EditMask.h"
#include "platform/gui/StdCtrls.h"

// A mask edit left with a required position empty.
class EDBEditError : public Exception {
    using Exception::Exception;
};

class TCustomMaskEdit : public TCustomEdit {
public:
    explicit TCustomMaskEdit(TComponent* AOwner);
    const AnsiString& EditMask() const { return FEditMask; }
    void SetEditMask(const AnsiString& v);
    bool IsMasked() const { return !FMask.Empty(); }
    // The text shown, blank characters and literals included.
    const AnsiString& EditText() const { return Text(); }
    void SetEditText(const AnsiString& v) { SetText(v); }
    // The value: empty positions as blanks, literals only when the mask keeps them.
    AnsiString MaskedText() const;
    void SetMaskedText(const AnsiString& v);
    // Raises EDBEditError when a required position is empty (the caret goes there).
    virtual void ValidateEdit();

protected:
    void InsertTyped(const AnsiString& text, bool pasted) override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void DoExit() override;

private:
    AnsiString FEditMask;
    TEditMask FMask;
};

class TMaskEdit : public TCustomMaskEdit {
public:
    using TCustomMaskEdit::TCustomMaskEdit;
};

void RegisterMaskClasses();
