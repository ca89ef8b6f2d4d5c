// The font combo box: the families of the screen and/or the printer through the option filter,
// each drawn with its TrueType or device mark, and the name kept across a new list.

#include <iterator>

#include "controls/lib/ExCombos.h"
#include "controls/lib/FlaggedCall.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/FontChange.h"
#include "platform/gui/FontFamilies.h"
#include "platform/gui/Resources.h"

namespace {

// Our own 20 x 12 marks: '.' the see-through ground, '#' black, 'g' grey, 'b' navy.
const char* const kTrueType[] = {"....................", "..#######...........", "..#..#..#...........",
                                 ".....#..............", ".....#.ggggggg......", ".....#.g..g..g......",
                                 ".....#....g.........", "....###...g.........", "..........g.........",
                                 "..........g.........", ".........ggg........", "...................."};
const char* const kDevice[] = {"....................", "......######........", "......#....#........",
                               "......#.bb.#........", "...############.....", "...#..........#.....",
                               "...#.......gg.#.....", "...############.....", "....#........#......",
                               "....##########......", "....................", "...................."};

void DrawMark(TBitmap* b, const char* const* rows, int count)
{
    b->SetSize(20, count);
    for (int y = 0; y < count; ++y)
        for (int x = 0; x < 20; ++x) {
            const char ch = rows[y][x];
            b->Canvas()->SetPixels(x, y, ch == '#' ? clBlack : ch == 'g' ? clGray : ch == 'b' ? clNavy : clOlive);
        }
}

bool RegisterFontMarks()
{
    RegisterBitmapResource("TRUETYPE_FNT", [](TBitmap* b) { DrawMark(b, kTrueType, int(std::size(kTrueType))); });
    RegisterBitmapResource("DEVICE_FNT", [](TBitmap* b) { DrawMark(b, kDevice, int(std::size(kDevice))); });
    return true;
}
const bool kFontMarks = RegisterFontMarks();

}  // namespace

TFontComboBox::TFontComboBox(TComponent* AOwner)
    : TOwnerDrawComboBox(AOwner), FTrueTypeBMP(std::make_unique<TBitmap>()), FDeviceBMP(std::make_unique<TBitmap>())
{
    LoadBitmapResource(FTrueTypeBMP.get(), "TRUETYPE_FNT");
    LoadBitmapResource(FDeviceBMP.get(), "DEVICE_FNT");
    SetSorted(true);
    SetItemHeight(MinItemHeight());
    // A font installed or removed while the box is shown is listed or dropped at once.
    RegisterHandler(WM_FONTCHANGE, [this](TMessage& m) {
        TAliveToken alive = AliveToken();
        Inherited(m);
        if (*alive)
            Reset();
    });
    WatchInstalledFonts();
}

TFontComboBox::~TFontComboBox() = default;

int TFontComboBox::MinItemHeight() { return std::max(TOwnerDrawComboBox::MinItemHeight(), FTrueTypeBMP->Height() - 1); }

void TFontComboBox::WidgetCreated()
{
    const AnsiString remembered = GetFontName();
    TOwnerDrawComboBox::WidgetCreated();
    if (!WhileFlagged(FUpdate, AliveToken(), [&] {
            PopulateList();
            SetFontName(remembered);
        }))
        return;
    if (!SameText(GetFontName(), remembered))
        DoChange();
}

void TFontComboBox::PopulateList()
{
    if (!HandleAllocated())
        return;
    Items()->BeginUpdate();
    Items()->Clear();
    auto add = [this](const std::vector<TFontFamilyInfo>& fonts) {
        for (const TFontFamilyInfo& f : fonts) {
            if (Items()->IndexOf(f.Name) >= 0 || !FontPassesOptions(f.FontType, f.Charset, f.PitchAndFamily, FOptions))
                continue;
            const intptr_t bits = f.FontType | (f.Charset != SYMBOL_CHARSET ? kWritableFont : 0);
            Items()->AddObject(f.Name, reinterpret_cast<TObject*>(bits));
        }
    };
    if (FDevice == fdScreen || FDevice == fdBoth)
        add(ScreenFontFamilies());
    if (FDevice == fdPrinter || FDevice == fdBoth) {
        try {
            add(PrinterFontFamilies());
        } catch (const std::exception&) {
            // No printer: its fonts are simply not listed.
        }
    }
    Items()->EndUpdate();
    // A new list has no selection and no text (the widget selects its first item by itself).
    Perform(CB_SETCURSEL, static_cast<WPARAM>(-1));
}

void TFontComboBox::SetFontName(const AnsiString& Value)
{
    if (GetFontName() == Value)
        return;
    if (InState(csLoading)) {
        SetText(Value);
        return;
    }
    HandleNeeded();
    TAliveToken alive = AliveToken();
    for (int i = 0; i < Items()->Count(); ++i) {
        if (SameText(Items()->Strings(i), Value)) {
            SetItemIndex(i);
            DoChange();
            return;
        }
    }
    if (Style() == csDropDownList)
        SetItemIndex(-1);
    else
        SetText(Value);
    if (*alive)
        DoChange();
}

void TFontComboBox::Reset()
{
    if (!HandleAllocated())
        return;
    const AnsiString saved = GetFontName();
    if (!WhileFlagged(FUpdate, AliveToken(), [&] {
            PopulateList();
            SetFontName(saved);
        }))
        return;
    if (GetFontName() != saved)
        DoChange();
}

void TFontComboBox::SetDevice(TFontDevice Value)
{
    if (Value == FDevice)
        return;
    FDevice = Value;
    Reset();
}

void TFontComboBox::SetOptions(TFontListOptions Value)
{
    if (Value == FOptions)
        return;
    FOptions = Value;
    Reset();
}

void TFontComboBox::SetTrueTypeOnly(bool Value)
{
    SetOptions(Value ? FOptions | (1u << foTrueTypeOnly) : FOptions & ~(1u << foTrueTypeOnly));
}

void TFontComboBox::SetUseFonts(bool Value)
{
    if (Value == FUseFonts)
        return;
    FUseFonts = Value;
    Invalidate();
}

void TFontComboBox::Change()
{
    TAliveToken alive = AliveToken();
    TOwnerDrawComboBox::Change();
    if (!*alive || Style() == csDropDownList)
        return;
    const int found = Items()->IndexOf(Text());
    if (found >= 0 && found != ItemIndex()) {
        SetItemIndex(found);
        DoChange();
    }
}

void TFontComboBox::Click()
{
    TAliveToken alive = AliveToken();
    TOwnerDrawComboBox::Click();
    if (*alive)
        DoChange();
}

void TFontComboBox::DoChange()
{
    if (!InState(csReading) && !FUpdate && OnChange)
        OnChange(this);
}

void TFontComboBox::DrawItem(int Index, TRect ARect, TOwnerDrawState)
{
    TCanvas* c = Canvas();
    c->FillRect(ARect);
    const auto bits = static_cast<unsigned>(reinterpret_cast<intptr_t>(Items()->Objects(Index)));
    TBitmap* glyph = (bits & 4) ? FTrueTypeBMP.get() : (bits & 2) ? FDeviceBMP.get() : nullptr;
    const int glyphWidth = glyph ? glyph->Width() : 20;
    if (glyph) {
        const TRect dest =
            Bounds(ARect.Left + 2, (ARect.Top + ARect.Bottom - glyph->Height()) / 2, glyph->Width(), glyph->Height());
        c->BrushCopy(dest, glyph, Rect(0, 0, glyph->Width(), glyph->Height()), glyph->TransparentColor());
    }
    TRect text = ARect;
    text.Left += glyphWidth + 6;
    if (FUseFonts && (bits & kWritableFont))
        c->Font()->SetName(Items()->Strings(Index));
    c->Brush()->SetStyle(bsClear);
    DrawText(c, Items()->Strings(Index), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    c->Brush()->SetStyle(bsSolid);
}
