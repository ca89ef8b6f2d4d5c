#include "grid/control/CgInplaceEdit.h"

#include "grid/control/CellGrid.h"
#include "grid/model/Cgutil.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Sound.h"
#include "platform/gui/StdMessages.h"

TCgInplaceEdit::TCgInplaceEdit(TComponent* AOwner) : TInplaceEdit(AOwner), FCellGrid(dynamic_cast<TCellGrid*>(AOwner))
{
    RegisterEditorHandlers();
}

void TCgInplaceEdit::RegisterEditorHandlers()
{
    RegisterHandler(WM_CHAR, [this](TMessage& m) { TypedChar(m); });
    RegisterHandler(WM_PASTE, [this](TMessage& m) {
        // Paste from the keys or the menu goes through the grid's rules; a drop or the
        // selection's middle click as well.
        (void)m;
        Paste();
    });
    for (unsigned msg : {WM_COPY, WM_CUT}) {
        RegisterHandler(msg, [this, msg](TMessage& m) {
            bool allow = true;
            const TClipboardEvent& e = msg == WM_COPY ? FCellGrid->OnClipboardCopy : FCellGrid->OnClipboardCut;
            if (FCellGrid && e) {
                TAliveToken alive = AliveToken();
                e(this, allow);
                if (!*alive)
                    return;
            }
            if (allow)
                Inherited(m);
        });
    }
    RegisterHandler(WM_SETFOCUS, [this](TMessage& m) {
        Inherited(m);
        FocusIn();
    });
    RegisterHandler(WM_KILLFOCUS, [this](TMessage& m) {
        Inherited(m);
        FocusOut();
    });
}

void TCgInplaceEdit::SetLengthLimit(int Value)
{
    FLengthLimit = LengthLimitOf(Value);
    SetMaxLength(FLengthLimit);
}

void TCgInplaceEdit::SetVAlign(bool Value)
{
    FVAlign = Value;
    SetAlignment(Value ? taRightJustify : taLeftJustify);
}

void TCgInplaceEdit::UpdateContents()
{
    TAliveToken alive = AliveToken();
    if (FCellGrid) {
        FCellCol = FCellGrid->Col();
        FCellRow = FCellGrid->Row();
        // The cell's mask first: it decides whether the editor may have lines.
        const AnsiString mask = FCellGrid->GetEditMask(FCellGrid->Col(), FCellGrid->Row());
        if (!*alive)
            return;
        FSettingMask = true;
        SetEditMask(mask);
        FSettingMask = false;
        const bool password = FCellGrid->CurrentEditorType() == edPassword;
        TakeGridWrap();
        SetPasswordChar(password ? FCellGrid->PasswordChar : '\0');
        SetLengthLimit(FCellGrid->MaxEditLength());
        FLookupDone = false;
        FLookupEnabled = true;
        FLeadTyped = false;
    }
    TInplaceEdit::UpdateContents();
    if (!*alive || !IsMasked())
        return;
    // The cell's text laid into the mask is what the editor shows (and compares with on hiding).
    LoadCellText(LoadedText());
    SelectAll();
}

void TCgInplaceEdit::LoadCellText(const AnsiString& Value)
{
    if (!IsMasked()) {
        LoadText(Value);
        return;
    }
    FSettingMask = true;
    SetMaskedText(Value);
    FSettingMask = false;
    LoadText(Text());
    // The cell's own text is no change to validate against the mask.
    SetModified(false);
}

void TCgInplaceEdit::Change()
{
    if (FSettingMask)
        TCustomMaskEdit::Change();
    else
        TInplaceEdit::Change();
}

void TCgInplaceEdit::InsertTyped(const AnsiString& Text, bool Pasted)
{
    TAliveToken alive = AliveToken();
    TInplaceEdit::InsertTyped(Text, Pasted);
    if (!*alive || Pasted || !FCellGrid || !IsMasked() || !FCellGrid->Navigation()->AdvanceAuto)
        return;
    // A filled mask moves on by itself: no blank left and the caret at the end.
    if (MaskedText().find(' ') == AnsiString::npos && SelStart() >= static_cast<int>(this->Text().size())) {
        char enter = '\r';
        FCellGrid->GridKeyPress(enter);
    }
}

void TCgInplaceEdit::TakeGridWrap()
{
    if (!FCellGrid)
        return;
    // Line breaks in the cell, wrapped text or Enter as a line break ask for lines.
    const TNavigation* nav = FCellGrid->Navigation();
    const bool lines = FCellGrid->CurrentEditorType() != edPassword && !IsMasked() &&
        (FCellGrid->Multilinecells || FCellGrid->WordWrap() || nav->LineFeedOnEnter);
    // An editor in use keeps its caret and the focus when it changes to or from lines.
    const bool inUse = lines != MultiLineEdit() && HandleAllocated() && Visible();
    const bool focused = inUse && Focused();
    const int start = SelStart(), length = SelLength();
    SetMultiLineEdit(lines);
    SetWordWrap(FCellGrid->WordWrap());
    if (!inUse)
        return;
    if (focused && CanFocus()) {
        // The form still counts the editor as its active control: it is set anew so that the
        // new window takes the focus.
        if (TCustomForm* form = ParentForm())
            form->SetActiveControl(nullptr);
        SetFocus();
    }
    SetSelStart(start);
    SetSelLength(length);
}

void TCgInplaceEdit::TypedChar(TMessage& m)
{
    if (!FCellGrid) {
        Inherited(m);
        return;
    }
    const char key = static_cast<char>(m.WParam);
    const bool trail = FLeadTyped;
    FLeadTyped = !trail && IsLeadByte(static_cast<unsigned char>(key));
    const TNavigation* nav = FCellGrid->Navigation();
    TEditState state{Text(), SelStart(), SelLength(), FLengthLimit, nav->LineFeedOnEnter, nav->AdvanceOnEnter};
    const TEditorType type = FCellGrid->CurrentEditorType();
    const TTypedChar typed = FilterTypedChar(type, key, trail, state);
    switch (typed.Verdict) {
    case cvRefuseBeep: MessageBeep(0); [[fallthrough]];
    case cvRefuse: m.WParam = 0; return;
    case cvLineBreak:
        // Enter types a line break and nothing else happens.
        if (!MultiLineEdit()) {
            m.WParam = 0;
            ReplaceSelection("\r\n");
        }
        return;
    case cvAccept: break;
    }
    m.WParam = static_cast<unsigned char>(typed.Char);
    TAliveToken alive = AliveToken();
    Inherited(m);
    if (!*alive || m.WParam == 0 || type != edMixedCase || trail || FLeadTyped)
        return;
    // The character goes in, the whole text is written again by the mixed-case rule, and the
    // caret stands after the character.
    const int caret = SelStart();
    AnsiString text = Text();
    text.replace(static_cast<size_t>(caret), static_cast<size_t>(SelLength()), 1, static_cast<char>(m.WParam));
    m.WParam = 0;
    SetText(MixedCase(text));
    SetSelStart(caret + 1);
}

void TCgInplaceEdit::KeyDown(uint16_t& Key, TShiftState Shift)
{
    if (!FCellGrid) {
        TInplaceEdit::KeyDown(Key, Shift);
        return;
    }
    TNavigation* nav = FCellGrid->Navigation();
    const bool noShift = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
    const int textEnd = static_cast<int>(Text().size());
    if ((Key == VK_RIGHT || Key == VK_LEFT) && noShift && SelLength() == 0 && nav->CursorWalkEditor) {
        const bool right = Key == VK_RIGHT;
        if ((right && SelStart() >= textEnd) || (!right && SelStart() == 0)) {
            // Walking off the text's end goes on to the next cell, across.
            const TAdvanceDirection direction = nav->AdvanceDirection;
            nav->AdvanceDirection = adLeftRight;
            TAliveToken alive = AliveToken();
            FCellGrid->AdvanceEdit(FCellGrid->Col(), FCellGrid->Row(), right, true, true);
            if (!*alive)
                return;
            nav->AdvanceDirection = direction;
            Key = 0;
            return;
        }
    }
    if (Key == VK_RETURN && Shift.Contains(ssCtrl)) {
        if (nav->LineFeedOnEnter) {
            // Ctrl+Enter types the line break Enter would have.
            ReplaceSelection("\r\n");
            Key = 0;
            return;
        }
        FCellGrid->TypingNewLine(Text());
    }
    if (Key == VK_BACK || Key == VK_DELETE)
        FLookupEnabled = false;
    else if (Key < VK_LEFT || Key > VK_DOWN)
        FLookupEnabled = Key != VK_RETURN;
    TInplaceEdit::KeyDown(Key, Shift);
}

bool TCgInplaceEdit::KeepsKey(uint16_t Key, TShiftState)
{
    if (!MultiLineEdit())
        return false;
    // Up and Down stay in the editor while there is a line to go to.
    if (Key == VK_DOWN)
        return LineFromChar(-1) < LineFromChar(static_cast<int>(Text().size()));
    if (Key == VK_UP)
        return LineFromChar(-1) > 0;
    return false;
}

void TCgInplaceEdit::KeyUp(uint16_t& Key, TShiftState Shift)
{
    TAliveToken alive = AliveToken();
    TInplaceEdit::KeyUp(Key, Shift);
    if (!*alive || !FCellGrid)
        return;
    if (Key != VK_LEFT && Key != VK_RIGHT) {
        DoChange();
        if (!*alive)
            return;
    }
    FCellGrid->TypingSized();
}

void TCgInplaceEdit::KeyPress(char& Key)
{
    if (!FCellGrid) {
        TInplaceEdit::KeyPress(Key);
        return;
    }
    TAliveToken alive = AliveToken();
    if (Key == '\r' && !FCellGrid->Navigation()->LineFeedOnEnter) {
        if (!FCellGrid->ValidateCell(Text())) {
            if (!*alive)
                return;
            // Refused: the cell's text comes back and the key goes no further.
            LoadCellText(FCellGrid->Cells(FCellGrid->GetRealCol(), FCellGrid->Row()));
            SetSelStart(static_cast<int>(Text().size()));
            Key = 0;
            return;
        }
        if (!*alive)
            return;
        // The handler may have put a value of its own into the cell.
        const AnsiString cell = FCellGrid->Cells(FCellGrid->GetRealCol(), FCellGrid->Row());
        if (cell != CellValue())
            LoadCellText(cell);
    }
    TInplaceEdit::KeyPress(Key);
}

void TCgInplaceEdit::DoChange()
{
    if (!FLookupEnabled || SelLength() != 0 || !FCellGrid || !FCellGrid->Lookup)
        return;
    TStringList* items = FCellGrid->LookupItems();
    if (items->Count() == 0)
        return;
    const AnsiString typed = Text().substr(0, static_cast<size_t>(SelStart()));
    const int index = LookupIndex(*items, typed, FCellGrid->LookupCaseSensitive);
    if (index < 0)
        return;
    const AnsiString completed = LookupCompletion(typed, items->Strings(index));
    if (completed == Text() && SelStart() == static_cast<int>(completed.size()))
        return;
    SetText(completed);
    SetSelStart(static_cast<int>(typed.size()));
    SetSelLength(static_cast<int>(completed.size() - typed.size()));
    FLookupDone = false;
}

void TCgInplaceEdit::Paste()
{
    if (!FCellGrid || ReadOnly())
        return;
    if (!Clipboard()->HasText())
        return;
    AnsiString clip = Clipboard()->AsText();
    if (!MultiLineEdit()) {
        const size_t end = clip.find_first_of("\r\n");
        if (end != AnsiString::npos)
            clip.erase(end);
    }
    if (FLengthLimit > 0 && static_cast<int>(clip.size()) > FLengthLimit)
        return;
    bool allow = true;
    if (FCellGrid->OnClipboardPaste) {
        TAliveToken alive = AliveToken();
        FCellGrid->OnClipboardPaste(this, allow);
        if (!*alive || !allow)
            return;
    }
    // A mask takes a paste as its characters typed one by one.
    if (IsMasked()) {
        InsertTyped(clip, true);
        return;
    }
    const TNavigation* nav = FCellGrid->Navigation();
    const TEditState state{Text(), SelStart(), SelLength(), FLengthLimit, nav->LineFeedOnEnter, nav->AdvanceOnEnter};
    const std::optional<AnsiString> text = PastedText(FCellGrid->CurrentEditorType(), state, clip);
    if (!text) {
        MessageBeep(0);
        return;
    }
    const bool replaced = state.SelLength > 0;
    SetText(*text);
    SetModified(true);
    SetSelStart(state.SelStart);
    if (replaced)
        SetSelLength(static_cast<int>(clip.size()));
    else
        SetSelStart(state.SelStart + static_cast<int>(clip.size()));
}

void TCgInplaceEdit::FocusIn()
{
    if (!FCellGrid)
        return;
    TBrush brush;
    brush.SetColor(FCellGrid->Color());
    TFont font;
    FCellGrid->GetCellColor(FCellGrid->Col(), FCellGrid->Row(), {}, &brush, &font);
    SetColor(brush.Color());
    if (IsMasked() && !FCellGrid->MouseStarted() && FCellGrid->Navigation()->ImproveMaskSel) {
        SetSelStart(0);
        SetSelLength(1);
    }
    if (FCellGrid->MouseStarted()) {
        FCellGrid->SetMouseStarted(false);
        const TPoint p{FCellGrid->PressPoint().x - Left(), FCellGrid->PressPoint().y - Top()};
        if (p.x >= 0 && p.y >= 0 && p.x < Width() && p.y < Height())
            SetSelStart(CharFromPos(p));
    }
}

void TCgInplaceEdit::FocusOut()
{
    if (!FCellGrid)
        return;
    if (FCellGrid->LookupHistory && !Text().empty() && FCellGrid->LookupItems()->IndexOf(Text()) < 0)
        FCellGrid->LookupItems()->Add(Text());
    TAliveToken alive = AliveToken();
    FCellGrid->ValidateOnFocusLoss(Text());
    if (!*alive || !FCellGrid || FCellGrid->Col() >= FCellGrid->ColCount() || FCellGrid->Row() >= FCellGrid->RowCount())
        return;
    // Reloaded from its own cell only: when the focus leaves because the current cell moved,
    // the editor is on its way out and the new cell's text is none of its business.
    if (FCellGrid->Col() != FCellCol || FCellGrid->Row() != FCellRow)
        return;
    const AnsiString cell = FCellGrid->Cells(FCellGrid->GetRealCol(), FCellGrid->Row());
    if (Visible() && cell != CellValue())
        LoadCellText(cell);
}
