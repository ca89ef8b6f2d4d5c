// The speed bar itself: properties, sections and items, orientation and alignment, the button
// grid, painting.

#include "controls/lib/SpeedBar.h"

#include <algorithm>

#include "controls/core/CtrlGeometry.h"
#include "controls/lib/CtrlUtils.h"
#include "controls/lib/SbSetup.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"

namespace {

constexpr const char* kBpAutoError = "Cannot set this property value while Position is bpAuto";

// ScaleFlags bits.
enum : unsigned { kScaleBtnWidth = 1, kScaleBtnHeight = 2, kScaleOffsetHorz = 4, kScaleOffsetVert = 8 };

bool IsEdge(TAlign Align) { return Align == alTop || Align == alBottom || Align == alLeft || Align == alRight; }

bool IsVerticalEdge(TAlign Align) { return Align == alLeft || Align == alRight; }

}  // namespace

TSpeedBar::TSpeedBar(TComponent* AOwner) : TCustomPanel(AOwner), FWallpaper(std::make_unique<TPicture>())
{
    FWallpaper->OnChange = [this](TObject*) { Invalidate(); };
    FImageChangeLink.OnChange = [this](TObject*) { ImagesChanged(); };
    FIniLink.BindSection(
        this, [this](TObject* ini, const AnsiString& section) { InternalSaveLayout(ini, section); },
        [this](TObject* ini, const AnsiString& section) { InternalRestoreLayout(ini, section); });
    const int offset = MinButtonsOffset();
    FOffset = TPoint{offset, offset};
    SetHeight(2 * offset + FButtonSize.y);
    FControlStyle &= ~(csSetCaption | csReplicatable);
    SetParentShowHint(false);
    SetShowHint(true);
    SetFontDefault();
    TCustomPanel::SetAlign(alTop);
    FPrevAlign = alTop;
    UpdateGridSize();
}

TSpeedBar::~TSpeedBar()
{
    OnApplyAlign = nullptr;
    OnPosChanged = nullptr;
    OnVisibleChanged = nullptr;
    FIniLink.SetStorage(nullptr);
    if (FDrag.FrameShown)
        DrawInvertFrame(FDrag.Frame, 3);
    // The customise window forgets the bar before it closes; it never calls back.
    if (TWinControl* win = std::exchange(FEditWin, nullptr))
        win->Perform(CM_SPEEDBARCHANGED, SBR_DESTROYED, reinterpret_cast<LPARAM>(this));
    ClearSections();
    if (FImages)
        FImages->RemoveFreeNotification(this);
}

void TSpeedBar::SetFontDefault()
{
    SetParentFont(false);
    Font()->SetName("MS Sans Serif");
    Font()->SetSize(8);
    Font()->SetStyle(TFontStyles());
    Font()->SetColor(clBtnText);
}

// --- Sections and items

TSpeedbarSection* TSpeedBar::Sections(int Index) const
{
    if (Index < 0 || Index >= SectionCount())
        throw EListError(Format("List index out of bounds (%d)", Index));
    return FSections[static_cast<size_t>(Index)];
}

int TSpeedBar::ItemsCount(int Section) const
{
    return Section >= 0 && Section < SectionCount() ? FSections[static_cast<size_t>(Section)]->Count() : 0;
}

TSpeedItem* TSpeedBar::Items(int Section, int Index) const
{
    if (Section < 0 || Section >= SectionCount())
        return nullptr;
    TSpeedbarSection* s = FSections[static_cast<size_t>(Section)];
    return Index >= 0 && Index < s->Count() ? s->FList[static_cast<size_t>(Index)] : nullptr;
}

int TSpeedBar::AddSection(const AnsiString& Title)
{
    auto* section = new TSpeedbarSection(Owner() ? Owner() : this);
    section->FTitle = Title;
    return AppendSection(section);
}

int TSpeedBar::AppendSection(TSpeedbarSection* Section)
{
    Section->FTitle = UniqueSectionTitle(Section->FTitle, [this, Section](const AnsiString& title) {
        return std::any_of(FSections.begin(), FSections.end(),
                           [&](TSpeedbarSection* s) { return s != Section && s->FTitle == title; });
    });
    FSections.push_back(Section);
    Section->FSpeedbar = this;
    const int index = SectionCount() - 1;
    for (TSpeedItem* item : Section->FList) {
        item->FSection = index;
        SetItemParams(item, !InState(csLoading));
    }
    return index;
}

void TSpeedBar::RemoveSection(int Index)
{
    TSpeedbarSection* section = Sections(Index);
    section->Clear();
    delete section;  // leaves the list itself
}

void TSpeedBar::DeleteSection(int Index)
{
    TSpeedbarSection* section = Sections(Index);
    for (TSpeedItem* item : section->FList) {
        item->FButton->SetParent(nullptr);
        item->FSpeedbar = nullptr;
    }
    section->FSpeedbar = nullptr;
    FSections.erase(FSections.begin() + Index);
}

void TSpeedBar::ClearSections()
{
    while (!FSections.empty())
        RemoveSection(SectionCount() - 1);
}

int TSpeedBar::SearchSection(const AnsiString& Title) const
{
    for (int i = 0; i < SectionCount(); ++i)
        if (FSections[static_cast<size_t>(i)]->FTitle == Title)
            return i;
    return -1;
}

TSpeedItem* TSpeedBar::NewItem(TComponent* AOwner, int Section, const AnsiString& AName)
{
    if (Section < 0 || Section >= SectionCount())
        return nullptr;
    auto* item = new TSpeedItem(AOwner);
    try {
        FSections[static_cast<size_t>(Section)]->Append(item);
        SetItemParams(item, true);
        if (!AName.empty()) {
            item->SetName(AName);
            item->SetCaption(AName);
            item->FButton->SetVisible(false);
            item->FButton->SetParent(this);
        }
    } catch (...) {
        delete item;
        throw;
    }
    return item;
}

void TSpeedBar::AddItem(int Section, TSpeedItem* Item)
{
    if (!Item)
        return;
    int current = -1, index = -1;
    if (FindItem(Item, current, index)) {
        // Already on the bar: it moves to the section (the last one at most).
        Section = std::clamp(Section, 0, SectionCount() - 1);
        if (Section == current)
            return;
        FSections[static_cast<size_t>(current)]->Erase(Item);
        FSections[static_cast<size_t>(Section)]->Append(Item);
        return;
    }
    if (Section < 0)
        return;
    if (Item->FSpeedbar && Item->FSpeedbar != this)
        Item->FSpeedbar->RemoveItem(Item);
    if (OnAddItem) {
        Item->FSection = Section;
        OnAddItem(Item);
        Section = std::max(Item->FSection, 0);
    }
    if (FSections.empty())
        AddSection(AnsiString());
    Section = std::min(Section, SectionCount() - 1);
    if (Item->FHolder)
        Item->FHolder->Erase(Item);
    FSections[static_cast<size_t>(Section)]->Append(Item);
    SetItemParams(Item, !InState(csLoading));
    Item->FButton->SetVisible(false);
    Item->FButton->SetParent(this);
}

void TSpeedBar::RemoveItem(TSpeedItem* Item)
{
    int section = -1, index = -1;
    Item->FButton->SetParent(nullptr);
    Item->FSpeedbar = nullptr;
    Item->FSection = -1;
    if (FindItem(Item, section, index))
        FSections[static_cast<size_t>(section)]->Erase(Item);
}

bool TSpeedBar::FindItem(TSpeedItem* Item, int& Section, int& Index) const
{
    for (int s = 0; s < SectionCount(); ++s) {
        const auto& list = FSections[static_cast<size_t>(s)]->FList;
        auto it = std::find(list.begin(), list.end(), Item);
        if (it != list.end()) {
            Section = s;
            Index = static_cast<int>(it - list.begin());
            return true;
        }
    }
    Section = -1;
    Index = -1;
    return false;
}

TSpeedItem* TSpeedBar::SearchItem(const AnsiString& ItemName) const
{
    for (TSpeedbarSection* s : FSections)
        for (TSpeedItem* item : s->FList)
            if (SameText(item->Name(), ItemName))
                return item;
    return nullptr;
}

void TSpeedBar::ForEachItem(const TForEachItem& Proc, intptr_t Data)
{
    // A copy: the procedure may move items between sections.
    std::vector<TSpeedItem*> items;
    for (TSpeedbarSection* s : FSections)
        items.insert(items.end(), s->FList.begin(), s->FList.end());
    for (TSpeedItem* item : items)
        Proc(item, Data);
}

void TSpeedBar::SetItemParams(TSpeedItem* Item, bool InitBounds)
{
    Item->FSpeedbar = this;
    TSpeedbarButton* button = Item->FButton.get();
    if (InitBounds)
        button->SetBounds(0, 0, BtnWidth(), BtnHeight());
    button->SetStyle(FButtonStyle);
    button->SetFlat(HasOption(sbFlatBtns));
    button->SetTransparent(HasOption(sbTransparentBtns));
    button->SetInactiveGrayed(HasOption(sbGrayedBtns));
    if (FEditWin)
        Item->SetEditing(true);
}

// --- Editing

void TSpeedBar::Customize(int HelpCtx) { ShowSpeedbarSetupWindow(this, HelpCtx); }

void TSpeedBar::SetEditing(TWinControl* Win)
{
    FEditWin = Win;
    const bool editing = Win != nullptr;
    ForEachItem([editing](TSpeedItem* item, intptr_t) { item->SetEditing(editing); }, 0);
    if (!editing && !InState(csDesigning))
        AfterCustomize();
}

void TSpeedBar::NotifyEditWindow(unsigned Code, LPARAM LParam)
{
    if (FEditWin)
        FEditWin->Perform(CM_SPEEDBARCHANGED, Code, LParam ? LParam : reinterpret_cast<LPARAM>(this));
}

void TSpeedBar::AfterCustomize()
{
    if (OnCustomize)
        OnCustomize(this);
}

void TSpeedBar::PosChanged()
{
    if (OnPosChanged)
        OnPosChanged(this);
}

// --- Orientation and alignment

TBarOrientation TSpeedBar::Orientation() const
{
    if (FPosition == bpCustom)
        return FOrientation;
    switch (Align()) {
    case alTop:
    case alBottom: return boHorizontal;
    case alLeft:
    case alRight: return boVertical;
    default: return FOrientation;
    }
}

void TSpeedBar::SetOrientation(TBarOrientation Value)
{
    if (FPosition == bpAuto)
        throw ESpeedbarError(kBpAutoError);
    ApplyOrientation(Value);
}

void TSpeedBar::SetPosition(TBarPosition Value)
{
    if (Value == FPosition)
        return;
    FPosition = Value;
    if (Value == bpAuto && IsEdge(Align()))
        ApplyOrientation(IsVerticalEdge(Align()) ? boVertical : boHorizontal);
}

void TSpeedBar::ApplyOrientation(TBarOrientation Value)
{
    if (Value == FOrientation || InState(csLoading))
        return;
    FLockPaint = true;
    FOrientation = Value;
    std::swap(FButtonSize.x, FButtonSize.y);
    std::swap(FGridSize.x, FGridSize.y);
    std::swap(FOffset.x, FOffset.y);
    ForEachItem(
        [this](TSpeedItem* item, intptr_t) {
            TSpeedbarButton* b = item->FButton.get();
            b->SetBounds(b->Top(), b->Left(), BtnWidth(), BtnHeight());
        },
        0);
    FLockPaint = false;
    Invalidate();
    NotifyEditWindow(SBR_BTNSIZECHANGED);
}

void TSpeedBar::SetAlign(TAlign Value)
{
    const bool loading = InState(csLoading);
    if (loading && Value == alNone && FPosition == bpAuto)
        FLoadedNone = true;
    if (Value == Align())
        return;
    if (FPosition == bpAuto && (Value == alNone || Value == alClient) && !loading)
        throw ESpeedbarError(kBpAutoError);
    const TAlign old = Align();
    // Moving between a horizontal and a vertical edge keeps the bar's thickness.
    const bool turn = !loading && IsEdge(old) && IsEdge(Value) && IsVerticalEdge(old) != IsVerticalEdge(Value);
    const int thickness = IsVerticalEdge(old) ? Width() : Height();
    TCustomPanel::SetAlign(Value);
    if (turn && IsVerticalEdge(Value))
        SetWidth(thickness);
    else if (turn)
        SetHeight(thickness);
    if (FPosition == bpAuto && IsEdge(Value))
        ApplyOrientation(IsVerticalEdge(Value) ? boVertical : boHorizontal);
    FPrevAlign = Value;
}

// --- Options, images, margins, button size

void TSpeedBar::SetOptions(TSpeedbarOptions Value)
{
    if (Value == FOptions)
        return;
    const bool flatChanged = ((Value ^ FOptions) & OptionBit(sbFlatBtns)) != 0;
    FOptions = Value;
    ForEachItem(
        [this](TSpeedItem* item, intptr_t) {
            item->FButton->SetFlat(HasOption(sbFlatBtns) && !item->FEditing);
            item->FButton->SetTransparent(HasOption(sbTransparentBtns));
            item->FButton->SetInactiveGrayed(HasOption(sbGrayedBtns));
        },
        0);
    UpdateGridSize();
    if (flatChanged)
        Realign();
    Invalidate();
}

void TSpeedBar::SetBoundLines(TBoundLines Value)
{
    if (Value == FBoundLines)
        return;
    FBoundLines = Value;
    Realign();
    Invalidate();
}

void TSpeedBar::SetImages(TImageList* Value)
{
    if (FImages)
        FImages->UnRegisterChanges(&FImageChangeLink);
    if (!LinkComponent(this, FImages, Value))
        return;
    if (Value)
        Value->RegisterChanges(&FImageChangeLink);
    ImagesChanged();
}

void TSpeedBar::ImagesChanged()
{
    ForEachItem(
        [](TSpeedItem* item, intptr_t) {
            item->FButton->ButtonGlyph()->Invalidate();
            if (item->FImageIndex >= 0)
                item->FButton->Invalidate();
        },
        0);
}

void TSpeedBar::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomPanel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) {
        FImages = nullptr;
        ImagesChanged();
    }
}

int TSpeedBar::MinButtonsOffset() const
{
    return SpeedBarMinButtonsOffset(HasOption(sbFlatBtns), BorderWidth(), BevelWidth(), BevelOuter() != bvNone,
                                    BevelInner() != bvNone);
}

void TSpeedBar::OffsetItem(TSpeedItem* Item, int DX, int DY)
{
    TSpeedbarButton* b = Item->FButton.get();
    b->SetBounds(b->Left() + DX, b->Top() + DY, BtnWidth(), BtnHeight());
}

void TSpeedBar::SetButtonsOffset(int Index, int Value)
{
    const int v = std::max(Value, MinButtonsOffset());
    int& field = Index == 0 ? FOffset.x : FOffset.y;
    const int delta = v - field;
    field = v;
    FScaleFlags |= Index == 0 ? kScaleOffsetHorz : kScaleOffsetVert;
    if (delta == 0)
        return;
    ForEachItem([this, Index, delta](TSpeedItem* item,
                                     intptr_t) { OffsetItem(item, Index == 0 ? delta : 0, Index == 0 ? 0 : delta); },
                0);
}

void TSpeedBar::UpdateGridSize()
{
    if (Orientation() == boHorizontal)
        FGridSize = TPoint{SpeedBarGridStep(BtnWidth()), std::max(BtnHeight(), 1)};
    else
        FGridSize = TPoint{std::max(BtnWidth(), 1), SpeedBarGridStep(BtnHeight())};
}

void TSpeedBar::SetButtonSize(int Index, int Value)
{
    (Index == 0 ? FButtonSize.x : FButtonSize.y) = std::max(Value, 1);
    FScaleFlags |= Index == 0 ? kScaleBtnWidth : kScaleBtnHeight;
    UpdateGridSize();
    if (InState(csLoading))
        return;
    if (Orientation() == boHorizontal)
        SetClientHeight(std::max(ClientHeight(), 2 * BtnOffsetVert() + BtnHeight()));
    else
        SetClientWidth(std::max(ClientWidth(), 2 * BtnOffsetHorz() + BtnWidth()));
    ApplyButtonSize();
}

void TSpeedBar::ApplyButtonSize()
{
    ForEachItem(
        [this](TSpeedItem* item, intptr_t) {
            TSpeedbarButton* b = item->FButton.get();
            b->SetBounds(b->Left(), b->Top(), BtnWidth(), BtnHeight());
        },
        0);
    NotifyEditWindow(SBR_BTNSIZECHANGED);
}

TPoint TSpeedBar::SnapPoint(int X, int Y) const
{
    return SnapToSpeedGrid(TPoint{X, Y}, Orientation() == boHorizontal, FGridSize, BtnOffsetHorz(), BtnOffsetVert());
}

void TSpeedBar::AlignItemToGrid(TSpeedItem* Item)
{
    if (!Item->Visible())
        return;
    TSpeedbarButton* b = Item->FButton.get();
    const TPoint p = SnapPoint(b->Left(), b->Top());
    b->SetBounds(p.x, p.y, BtnWidth(), BtnHeight());
}

void TSpeedBar::AlignItemsToGrid()
{
    ForEachItem([this](TSpeedItem* item, intptr_t) { AlignItemToGrid(item); }, 0);
}

bool TSpeedBar::AcceptDropItem(TSpeedItem* Item, int X, int Y)
{
    if (!Item || Item->FSpeedbar != this)
        return false;
    const TPoint p = SnapPoint(X, Y);
    TSpeedbarButton* b = Item->FButton.get();
    b->SetBounds(p.x, p.y, BtnWidth(), BtnHeight());
    const bool inside = PtInRect(ClientRect(), p);
    if (inside) {
        b->BringToFront();
        Item->SetVisible(true);
    } else {
        b->SendToBack();
        Item->SetVisible(false);
    }
    return inside;
}

void TSpeedBar::ChangeScale(int M, int D)
{
    if (M == D || D == 0)
        return;
    DisableAlign();
    const unsigned flags = InState(csLoading) ? FScaleFlags : ~0u;
    if ((flags & kScaleBtnWidth) && !(ControlStyle() & csFixedWidth))
        FButtonSize.x = std::max(MulDiv(FButtonSize.x, M, D), 1);
    if ((flags & kScaleBtnHeight) && !(ControlStyle() & csFixedHeight))
        FButtonSize.y = std::max(MulDiv(FButtonSize.y, M, D), 1);
    if (flags & kScaleOffsetHorz)
        FOffset.x = MulDiv(FOffset.x, M, D);
    if (flags & kScaleOffsetVert)
        FOffset.y = MulDiv(FOffset.y, M, D);
    UpdateGridSize();
    SetBounds(MulDiv(Left(), M, D), MulDiv(Top(), M, D), MulDiv(Width(), M, D), MulDiv(Height(), M, D));
    ForEachItem(
        [M, D](TSpeedItem* item, intptr_t) {
            TSpeedbarButton* b = item->FButton.get();
            b->SetBounds(MulDiv(b->Left(), M, D), MulDiv(b->Top(), M, D), b->Width(), b->Height());
        },
        0);
    ApplyButtonSize();
    AlignItemsToGrid();
    FScaleFlags = 0;
    EnableAlign();
}

// --- Alignment of children, painting, visibility

void TSpeedBar::AlignControls(TControl* AControl, TRect& Rect)
{
    if (FBoundLines & BoundLineBit(blTop))
        Rect.Top += 2;
    if (FBoundLines & BoundLineBit(blBottom))
        Rect.Bottom -= 2;
    if (FBoundLines & BoundLineBit(blLeft))
        Rect.Left += 2;
    if (FBoundLines & BoundLineBit(blRight))
        Rect.Right -= 2;
    TCustomPanel::AlignControls(AControl, Rect);
    const int least = MinButtonsOffset();
    const int dx = std::max(least - FOffset.x, 0), dy = std::max(least - FOffset.y, 0);
    FOffset.x += dx;
    FOffset.y += dy;
    if ((dx != 0 || dy != 0) && !InState(csLoading))
        ForEachItem([this, dx, dy](TSpeedItem* item, intptr_t) { OffsetItem(item, dx, dy); }, 0);
}

void TSpeedBar::Paint()
{
    if (FLockPaint)
        return;
    TCustomPanel::Paint();
    TCanvas* canvas = Canvas();
    const int inset =
        BorderWidth() + (BevelOuter() != bvNone ? BevelWidth() : 0) + (BevelInner() != bvNone ? BevelWidth() : 0);
    TRect inner = ClientRect();
    InflateRect(inner, -inset, -inset);
    const int pw = FWallpaper->Width(), ph = FWallpaper->Height();
    if (pw > 0 && ph > 0 && FWallpaper->Graphic()) {
        canvas->IntersectClipRect(inner);
        if (HasOption(sbStretchBitmap)) {
            canvas->StretchDraw(inner, FWallpaper->Graphic());
        } else {
            const int cols = (ClientWidth() - 2 * inset) / pw, rows = (ClientHeight() - 2 * inset) / ph;
            for (int row = 0; row <= rows; ++row)
                for (int col = 0; col <= cols; ++col)
                    canvas->Draw(inner.Left + col * pw, inner.Top + row * ph, FWallpaper->Graphic());
        }
        canvas->ResetClip();
    }
    auto line = [canvas](TColor color, int x1, int y1, int x2, int y2) {
        canvas->Pen()->SetColor(color);
        canvas->MoveTo(x1, y1);
        canvas->LineTo(x2, y2);
    };
    const TRect& r = inner;
    if (FBoundLines & BoundLineBit(blTop)) {
        line(clBtnShadow, r.Left, r.Top, r.Right, r.Top);
        line(clBtnHighlight, r.Left, r.Top + 1, r.Right, r.Top + 1);
    }
    if (FBoundLines & BoundLineBit(blLeft)) {
        const int top = r.Top + ((FBoundLines & BoundLineBit(blTop)) ? 1 : 0);
        line(clBtnShadow, r.Left, top, r.Left, r.Bottom);
        line(clBtnHighlight, r.Left + 1, top, r.Left + 1, r.Bottom);
    }
    if (FBoundLines & BoundLineBit(blBottom)) {
        line(clBtnShadow, r.Left, r.Bottom - 2, r.Right, r.Bottom - 2);
        line(clBtnHighlight, r.Left, r.Bottom - 1, r.Right, r.Bottom - 1);
    }
    if (FBoundLines & BoundLineBit(blRight)) {
        const int bottom = r.Bottom - ((FBoundLines & BoundLineBit(blBottom)) ? 1 : 0);
        line(clBtnShadow, r.Right - 2, r.Top, r.Right - 2, bottom);
        line(clBtnHighlight, r.Right - 1, r.Top, r.Right - 1, bottom);
    }
}

void TSpeedBar::VisibleChanged()
{
    TCustomPanel::VisibleChanged();
    if (InState(csLoading))
        return;
    ForEachItem(
        [this](TSpeedItem* item, intptr_t) {
            const bool show = item->FVisible && Visible();
            if (show)
                item->FButton->SetParent(this);
            item->FButton->SetVisible(show);
        },
        0);
    if (OnVisibleChanged)
        OnVisibleChanged(this);
}

void TSpeedBar::SetEnabled(bool Value)
{
    TCustomPanel::SetEnabled(Value);
    if (InState(csLoading) || InState(csDesigning))
        return;
    ForEachItem([this](TSpeedItem* item,
                       intptr_t) { item->FButton->SetEnabled(item->FEditing || (item->FEnabled && Enabled())); },
                0);
}

void TSpeedBar::Loaded()
{
    TCustomPanel::Loaded();
    if (FInternalVer == 0 && FLoadedNone)
        SetAlign(alTop);
    FLoadedNone = false;
    UpdateGridSize();
    ForEachItem(
        [this](TSpeedItem* item, intptr_t) {
            TSpeedbarButton* b = item->FButton.get();
            b->SetBounds(b->Left(), b->Top(), BtnWidth(), BtnHeight());
            const bool show = item->FVisible && Visible();
            if (show)
                b->SetParent(this);
            b->SetVisible(show);
        },
        0);
}

// --- Unit functions

int NewSpeedSection(TSpeedBar* ASpeedbar, const AnsiString& ACaption) { return ASpeedbar->AddSection(ACaption); }

TSpeedItem* NewSpeedItem(TComponent* AOwner, TSpeedBar* ASpeedbar, int Section, const AnsiString& AName)
{
    return ASpeedbar->NewItem(AOwner, Section, AName);
}

TSpeedBar* FindSpeedBar(TPoint Pos)
{
    // The window under the point: a graphic control there stands on its parent's window.
    TControl* c = FindDragTarget(Pos, true);
    while (c && !dynamic_cast<TWinControl*>(c))
        c = c->Parent();
    return dynamic_cast<TSpeedBar*>(c);
}
