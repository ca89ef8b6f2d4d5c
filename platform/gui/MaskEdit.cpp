#include "platform/core/FormatSettings.h"
#include "platform/core/TypInfo.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Mask.h"
#include "platform/gui/Sound.h"

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::SetEditMask(const AnsiString& v)
{
    AnsiString value = MaskedText();
    FEditMask = v;
    FMask = TEditMask(v, FormatSettings().TimeSeparator, FormatSettings().DateSeparator);
    SetMaskedText(value);
}

AnsiString TCustomMaskEdit::MaskedText() const { return IsMasked() ? FMask.Value(Text()) : Text(); }

void TCustomMaskEdit::SetMaskedText(const AnsiString& v) { SetText(IsMasked() ? FMask.Format(v) : v); }

void TCustomMaskEdit::InsertTyped(const AnsiString& text, bool pasted)
{
    if (!IsMasked() || ReadOnly()) {
        TCustomEdit::InsertTyped(text, pasted);
        return;
    }
    AnsiString shown = Text();
    size_t pos = static_cast<size_t>(SelStart());
    if (SelLength() > 0)
        FMask.Clear(shown, pos, pos + static_cast<size_t>(SelLength()));
    for (size_t i = 0; i < text.size(); i += static_cast<size_t>(CharLengthAt(text, i))) {
        int next = CharLengthAt(text, i) == 1 ? FMask.Type(shown, pos, text[i]) : -1;
        if (next < 0) {
            MessageBeep(0);
            break;
        }
        pos = static_cast<size_t>(next);
    }
    if (shown != Text())
        SetModified(true);
    SetText(shown);
    SetSelStart(static_cast<int>(pos));
    SetSelLength(pos < FMask.Length() ? 1 : 0);
}

void TCustomMaskEdit::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TCustomEdit::KeyDown(Key, Shift);
    if (!IsMasked() || ReadOnly() || (Key != VK_BACK && Key != VK_DELETE))
        return;
    AnsiString shown = Text();
    size_t start = static_cast<size_t>(SelStart());
    size_t end = start + static_cast<size_t>(SelLength());
    if (start == end && Key == VK_BACK) {
        int prev = start > 0 ? FMask.PrevEditPos(start - 1) : -1;
        if (prev < 0) {
            Key = 0;
            return;
        }
        start = static_cast<size_t>(prev);
        end = start + 1;
    } else if (start == end) {
        end = start + 1;
    }
    FMask.Clear(shown, start, end);
    SetText(shown);
    SetSelStart(static_cast<int>(start));
    Key = 0;
}

void TCustomMaskEdit::ValidateEdit()
{
    if (!IsMasked())
        return;
    int missing = FMask.FirstMissing(Text());
    if (missing < 0)
        return;
    SetSelStart(missing);
    SetSelLength(1);
    throw EDBEditError("Invalid input value.  Use escape key to abandon changes");
}

void TCustomMaskEdit::DoExit()
{
    if (Modified())
        ValidateEdit();
    TCustomEdit::DoExit();
}

void RegisterMaskClasses()
{
    RegisterClass<TCustomMaskEdit>("TCustomMaskEdit", "TCustomEdit")
        .Str("EditMask", &TCustomMaskEdit::EditMask, &TCustomMaskEdit::SetEditMask)
        .Str("EditText", &TCustomMaskEdit::EditText, &TCustomMaskEdit::SetEditText)
        .Str("Text", &TCustomMaskEdit::MaskedText, &TCustomMaskEdit::SetMaskedText);
    RegisterClass<TMaskEdit>("TMaskEdit", "TCustomMaskEdit", MakeComponent<TMaskEdit>);
}
