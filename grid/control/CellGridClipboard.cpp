// The grid's clipboard: copy, cut and paste of cell rectangles as TAB and CR LF text (UTF-8 on
// the system clipboard), a rich-text cell's bytes beside it as "Rich Text Format" (text/rtf),
// the smart fill of a selection, and the clipboard keys. The text rules are display-free
// (grid/model/GridClipboardText.h). A paste writes real columns through RemapCol, so it never
// lands in a hidden column; a cut clears only the range it copied.

#include "grid/control/CellGrid.h"
#include "grid/control/CgRichEdit.h"
#include "grid/model/Cgutil.h"
#include "grid/model/GridClipboardText.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Clipboard.h"

namespace {

constexpr const char* kRtfFormat = "Rich Text Format";

bool HoldsRichText(const AnsiString& Text) { return Text.find("{\\") != AnsiString::npos; }

}  // namespace

void TCellGrid::CopyFunc(const TGridRect& Rect)
{
    FCopyOrigin = TPoint{Rect.Left, Rect.Top};
    const AnsiString text = ClipboardText(Rect, [this](int c, int r) {
        const int real = RemapCol(c);
        AnsiString t = Cells(real, r);
        if (!Navigation()->CopyHTMLTagsToClipboard && t.find("</") != AnsiString::npos) {
            t = GetStrippedCell(real, r);
        } else if (HoldsRichText(t)) {
            TRichDocument rich;
            CellToRich(real, r, &rich);
            t = rich.PlainText();
        }
        if (Multilinecells && t.find('\r') != AnsiString::npos && ClipboardCSVLines)
            t = CSVLinesPiece(t);
        return t;
    });
    const bool rich = Navigation()->AllowRTFClipboard && Rect.Left >= 0 && Rect.Top >= 0 && Rect.Left < ColCount() &&
        Rect.Top < RowCount() && HoldsRichText(Cells(RemapCol(Rect.Left), Rect.Top));
    // The rich text goes on beside the plain text, in one change of the clipboard.
    if (rich)
        Clipboard()->Open();
    Clipboard()->SetAsText(text);
    if (rich) {
        CopyRTFFunc(Rect.Left, Rect.Top);
        Clipboard()->Close();
    }
}

void TCellGrid::CopyRTFFunc(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        return;
    const AnsiString& text = Cells(RemapCol(ACol), ARow);
    if (HoldsRichText(text))
        Clipboard()->SetBytes(RegisterClipboardFormat(kRtfFormat), text);
}

void TCellGrid::CopyToClipBoard()
{
    CopyFunc(TGridRect{GetSaveStartCol(), GetSaveStartRow(), GetSaveEndCol(), GetSaveEndRow()});
    FLastClipOperation = coCopy;
}

void TCellGrid::CopySelectionToClipboard()
{
    CopyFunc(Selection());
    FLastClipOperation = coCopy;
}

void TCellGrid::CutToClipboard()
{
    CopyToClipBoard();
    const bool always = Navigation()->AllowClipboardAlways;
    for (int r = GetSaveStartRow(); r <= GetSaveEndRow(); ++r)
        for (int c = GetSaveStartCol(); c <= GetSaveEndCol(); ++c)
            if (always || IsEditable(c, r))
                SetCells(RemapCol(c), r, AnsiString());
    FLastClipOperation = coCut;
}

void TCellGrid::CutSelectionToClipboard()
{
    CopySelectionToClipboard();
    const TGridRect selection = Selection();
    const bool always = Navigation()->AllowClipboardAlways;
    for (int c = selection.Left; c <= selection.Right; ++c)
        for (int r = selection.Top; r <= selection.Bottom; ++r)
            if (always || IsEditable(c, r))
                SetCells(RemapCol(c), r, AnsiString());
    FLastClipOperation = coCut;
}

int TCellGrid::PasteText(int ACol, int ARow, const AnsiString& Text)
{
    if (ACol < 0 || ARow < 0)
        return 0;
    if (!EditingOn() && !Navigation()->AllowClipboardAlways)
        return 0;
    TPasteSettings settings;
    settings.ClipboardCSVLines = ClipboardCSVLines;
    settings.AllowClipboardAlways = Navigation()->AllowClipboardAlways;
    settings.AllowClipboardColGrow = Navigation()->AllowClipboardColGrow;
    settings.AllowClipboardRowGrow = Navigation()->AllowClipboardRowGrow;
    TGridRect pasted{};
    const int count = ::PasteText(
        *this, ACol, ARow, PasteLineEnds(BeforeNul(Text), ClipboardCSVLines), settings,
        [this](int c, int r) { return IsEditable(c, r); }, pasted);
    PasteNotify(FCopyOrigin, pasted, FLastClipOperation);
    return count;
}

TPoint TCellGrid::PasteSize(const AnsiString& Text) const
{
    return ::PasteSize(PasteLineEnds(BeforeNul(Text), ClipboardCSVLines));
}

int TCellGrid::PasteFunc(int ACol, int ARow)
{
    if (Navigation()->AllowRTFClipboard) {
        const unsigned rtf = RegisterClipboardFormat(kRtfFormat);
        if (Clipboard()->HasFormat(rtf)) {
            const AnsiString bytes = BeforeNul(Clipboard()->GetBytes(rtf));
            if (ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount() && IsEditable(ACol, ARow))
                SetCells(RemapCol(ACol), ARow, bytes);
            return 0;
        }
    }
    if (!Clipboard()->HasText())
        return 0;
    return PasteText(ACol, ARow, Clipboard()->AsText());
}

void TCellGrid::PasteFromClipboard() { PasteFunc(GetSaveStartCol(), GetSaveStartRow()); }

void TCellGrid::PasteSelectionFromClipboard()
{
    const TGridRect selection = Selection();
    const int pieces = PasteFunc(selection.Left, selection.Top);
    if (Navigation()->AllowSmartClipboard)
        SmartFill(*this, selection, pieces, [this](int c, int r) { return IsEditable(c, r); });
}

bool TCellGrid::ClipboardKey(uint16_t Key, TShiftState Shift)
{
    if (!Navigation()->AllowClipboardShortCuts)
        return false;
    enum { kNone, kCopy, kCut, kPaste } action = kNone;
    if (Shift.Contains(ssCtrl)) {
        if (Key == 'X')
            action = kCut;
        else if (Key == 'V')
            action = kPaste;
        else if (Key == 'C' || Key == VK_INSERT)
            action = kCopy;
    } else if (Shift.Contains(ssShift)) {
        if (Key == VK_INSERT)
            action = kPaste;
        else if (Key == VK_DELETE)
            action = kCut;
    }
    if (action == kNone)
        return false;
    std::shared_ptr<bool> alive = AliveToken();
    bool allow = true;
    const TClipboardEvent& event = action == kCopy ? OnClipboardCopy
        : action == kCut                           ? OnClipboardCut
                                                   : OnClipboardPaste;
    if (event)
        event(this, allow);
    if (!*alive || !allow)
        return true;
    if (action == kCopy)
        CopySelectionToClipboard();
    else if (action == kCut)
        CutSelectionToClipboard();
    else
        PasteSelectionFromClipboard();
    return true;
}
