#include "controls/lib/RangeListBox.h"

#include "platform/core/ScrollBarModel.h"
#include "platform/gui/Canvas.h"

TRangeListBox::TRangeListBox(TComponent* AOwner) : TCustomListBox(AOwner)
{
    // Every item is measured as it comes: measured (and drawn) as the window system would, no
    // kerning, which costs a fraction of shaping each line.
    Canvas()->SetUnshapedText(true);
    Canvas()->SetFont(Font());
    RegisterRangeHandlers();
}

int TRangeListBox::MeasureText(const AnsiString& Text)
{
    TCanvas* canvas = Canvas();
    const AnsiString text = Text + "x";
    if (TabWidth() <= 0)
        return canvas->TextWidth(text);
    const int stop = ListTabStopPixels(TabWidth(), canvas->TextWidth("0"));
    return TabbedTextWidth(text, stop, [canvas](std::string_view piece) { return canvas->TextWidth(piece); });
}

int TRangeListBox::GetItemWidth(int Index) { return MeasureText(ItemText(Index)); }

AnsiString TRangeListBox::ItemText(int Index)
{
    return Index == FAdding.Index && FAdding.Text ? AnsiString(FAdding.Text) : Items()->Strings(Index);
}

void TRangeListBox::SetHorizontalExtent()
{
    Perform(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(RangeActive() ? MaxWidth() : 0));
}

void TRangeListBox::ResetHorizontalExtent()
{
    std::vector<int> widths;
    const int count = Items()->Count();
    widths.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        widths.push_back(GetItemWidth(i));
    FExtent.Reset(std::move(widths));
    SetHorizontalExtent();
}

void TRangeListBox::RegisterRangeHandlers()
{
    RegisterHandler(CM_FONTCHANGED, [this](TMessage& m) {
        Inherited(m);
        Canvas()->SetFont(Font());
        ResetHorizontalExtent();
    });
    auto added = [this](TMessage& m) {
        Inherited(m);
        if (m.Result < 0)
            return;
        const int index = static_cast<int>(m.Result);
        FAdding = {index, reinterpret_cast<const char*>(m.LParam)};
        const int width = GetItemWidth(index);
        FAdding = {};
        FExtent.Inserted(index, width);
        SetHorizontalExtent();
    };
    RegisterHandler(LB_ADDSTRING, added);
    RegisterHandler(LB_INSERTSTRING, added);
    RegisterHandler(LB_DELETESTRING, [this](TMessage& m) {
        const int index = static_cast<int>(static_cast<intptr_t>(m.WParam));
        const bool widest = index >= 0 && index < FExtent.Count() && FExtent.Width(index) >= FExtent.MaxWidth();
        if (widest)
            Perform(WM_HSCROLL, SB_TOP);
        Inherited(m);
        if (m.Result >= 0)
            FExtent.Deleted(index);
        if (widest)
            SetHorizontalExtent();
    });
    RegisterHandler(LB_RESETCONTENT, [this](TMessage& m) {
        FExtent.Clear();
        SetHorizontalExtent();
        Perform(WM_HSCROLL, SB_TOP);
        Inherited(m);
    });
}
