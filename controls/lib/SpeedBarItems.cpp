// The speed bar's sections, its items and their buttons, and the picture that follows the mouse
// while a button is dragged.

#include <algorithm>

#include "controls/lib/CtrlUtils.h"
#include "controls/lib/SpeedBar.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"

// --- TSpeedbarSection

TSpeedbarSection::TSpeedbarSection(TComponent* AOwner) : TComponent(AOwner) {}

TSpeedbarSection::~TSpeedbarSection()
{
    Clear();
    if (FSpeedbar)
        FSpeedbar->DeleteSection(Index());
}

void TSpeedbarSection::Append(TSpeedItem* Item)
{
    FList.push_back(Item);
    Item->FHolder = this;
}

void TSpeedbarSection::Erase(TSpeedItem* Item)
{
    FList.erase(std::remove(FList.begin(), FList.end(), Item), FList.end());
    if (Item->FHolder == this)
        Item->FHolder = nullptr;
}

void TSpeedbarSection::SetCaption(const AnsiString& Value)
{
    if (FSpeedbar && !InState(csLoading))
        for (TSpeedbarSection* other : FSpeedbar->FSections)
            if (other != this && other->FTitle == Value)
                throw ESpeedbarError("String list does not allow duplicates");
    FTitle = Value;
}

int TSpeedbarSection::Index() const
{
    if (!FSpeedbar)
        return -1;
    const auto& list = FSpeedbar->FSections;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TSpeedbarSection::SetIndex(int Value)
{
    const int current = Index();
    if (current < 0)
        return;
    auto& list = FSpeedbar->FSections;
    Value = std::clamp(Value, 0, static_cast<int>(list.size()) - 1);
    if (Value == current)
        return;
    list.erase(list.begin() + current);
    list.insert(list.begin() + Value, this);
}

TSpeedItem* TSpeedbarSection::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(Format("List index out of bounds (%d)", Index));
    return FList[static_cast<size_t>(Index)];
}

void TSpeedbarSection::SetItems(int Index, TSpeedItem* Item)
{
    TSpeedItem* old = Items(Index);
    if (old->FHolder == this)
        old->FHolder = nullptr;
    FList[static_cast<size_t>(Index)] = Item;
    Item->FHolder = this;
}

void TSpeedbarSection::Clear()
{
    while (!FList.empty()) {
        TSpeedItem* item = FList.back();
        Erase(item);
        delete item;
    }
}

void TSpeedbarSection::RemoveItem(TSpeedItem* Item)
{
    Item->FButton->SetParent(nullptr);
    Item->FSpeedbar = nullptr;
    Item->FSection = -1;
    Erase(Item);
}

void TSpeedbarSection::SetSpeedbar(TSpeedBar* Value)
{
    if (Value == FSpeedbar)
        return;
    const int former = Index();
    if (FSpeedbar)
        FSpeedbar->DeleteSection(former);
    if (Value) {
        Value->AppendSection(this);
        if (former >= 0)
            SetIndex(former);
    }
}

// --- TSpeedItem

TSpeedItem::TSpeedItem(TComponent* AOwner) : TComponent(AOwner)
{
    // Made once every field is set: the button asks its item for the bar.
    FButton = std::make_unique<TSpeedbarButton>(this);
    FButton->SetShowHint(true);
    FButton->SetParentShowHint(true);
}

TSpeedItem::~TSpeedItem()
{
    FVisible = false;
    FButton->SetVisible(false);
    if (FSpeedbar)
        FSpeedbar->RemoveItem(this);
    if (FHolder)
        FHolder->Erase(this);
    FButton.reset();
}

void TSpeedItem::SetCaption(const AnsiString& Value)
{
    bool follows = true;
    if (Owner() && dynamic_cast<TControl*>(Owner()))
        follows = !Owner()->InState(csLoading) && FCaption == ShortHintOf(Hint());
    FCaption = Value;
    if (follows)
        SetHint(HintForCaption(Value, Hint()));
}

void TSpeedItem::SetName(const AnsiString& Value)
{
    const bool follows = FCaption == Name() && !(Owner() && Owner()->InState(csLoading));
    TComponent::SetName(Value);
    if (follows)
        SetCaption(Value);
}

void TSpeedItem::SetEnabled(bool Value)
{
    if (FEnabled == Value && FButton->Enabled() == Value)
        return;
    FEnabled = Value;
    if (FEditing)
        return;
    FButton->SetEnabled(Value && (!FSpeedbar || FSpeedbar->Enabled()));
}

void TSpeedItem::SetVisible(bool Value)
{
    if (FButton->Visible() == Value && FVisible == Value && (!Value || FButton->Parent()))
        return;
    FVisible = Value;
    FButton->SetVisible(Value && (!FSpeedbar || FSpeedbar->Visible()));
    if (Value)
        FButton->SetParent(FSpeedbar);
}

void TSpeedItem::SetTag(intptr_t Value)
{
    TComponent::SetTag(Value);
    FButton->SetTag(Value);
}

void TSpeedItem::SetEditing(bool Value)
{
    FEditing = Value;
    if (Value) {
        FButton->SetEnabled(true);
        FButton->SetFlat(false);
        return;
    }
    FButton->SetEnabled(FEnabled && (!FSpeedbar || FSpeedbar->Enabled()));
    if (FSpeedbar)
        FButton->SetFlat(FSpeedbar->HasOption(sbFlatBtns));
}

void TSpeedItem::SetImageIndex(int Value)
{
    if (Value == FImageIndex)
        return;
    FImageIndex = Value;
    FButton->ButtonGlyph()->Invalidate();
    FButton->Invalidate();
}

int TSpeedItem::Section() const
{
    int section = -1, index = -1;
    if (FSpeedbar)
        FSpeedbar->FindItem(const_cast<TSpeedItem*>(this), section, index);
    return section;
}

void TSpeedItem::SetSection(int Value)
{
    if (!FSpeedbar)
        FSection = Value;
}

AnsiString TSpeedItem::SectionName() const
{
    const int section = Section();
    return section >= 0 ? FSpeedbar->Sections(section)->Caption() : FSectionName;
}

void TSpeedItem::SetParentComponent(TSpeedBar* Bar)
{
    if (InState(csLoading))
        return;
    if (FSpeedbar)
        FSpeedbar->RemoveItem(this);
    if (!Bar)
        return;
    int index = FSection;
    if (!FSectionName.empty())
        if (const int named = Bar->SearchSection(FSectionName); named >= 0)
            index = named;
    Bar->AddItem(index, this);
}

void TSpeedItem::ReadState(TSpeedBar* Bar)
{
    if (!Bar)
        return;
    int index = FSection;
    if (!FSectionName.empty())
        index = Bar->SearchSection(FSectionName);
    Bar->AddItem(std::max(index, 0), this);
}

// --- TSpeedbarButton

TSpeedbarButton::TSpeedbarButton(TSpeedItem* AItem) : TExSpeedButton(nullptr), FItem(AItem)
{
    SetVisible(false);
    SetStyle(bsNew);
    SetParentShowHint(true);
    SetParentFont(true);
    SetBounds(0, 0, 24, 23);
}

TSpeedbarButton::~TSpeedbarButton() { FDrag.reset(); }

void TSpeedbarButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (TSpeedBar* bar = FItem ? FItem->SpeedBar() : nullptr) {
        if (bar->Orientation() == boHorizontal)
            ATop = std::max(ATop, bar->BtnOffsetVert());
        else
            ALeft = std::max(ALeft, bar->BtnOffsetHorz());
    }
    TExSpeedButton::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TSpeedbarButton::VisibleChanged()
{
    if (Visible())
        FControlStyle |= csOpaque;
    else
        FControlStyle &= ~csOpaque;
    TExSpeedButton::VisibleChanged();
}

void TSpeedbarButton::Paint()
{
    if (Visible())
        TExSpeedButton::Paint();
}

void TSpeedbarButton::PaintGlyph(TCanvas* Canvas, const TRect& ARect, TExButtonState AState, bool DrawMark)
{
    TSpeedBar* bar = FItem ? FItem->SpeedBar() : nullptr;
    if (!bar) {
        TExSpeedButton::PaintGlyph(Canvas, ARect, AState, DrawMark);
        return;
    }
    ButtonGlyph()->DrawEx(Canvas, ARect, Caption(), Layout(), Margin(), Spacing(), DrawMark, bar->Images(),
                          FItem->ImageIndex(), AState, AlignmentTextFlags(Alignment()));
}

// --- TBtnControl

TBtnControl::TBtnControl(TComponent* AOwner) : TCustomControl(AOwner), FImage(std::make_unique<TButtonImage>())
{
    SetVisible(false);
    SetCursor(crDragHand);
    FControlStyle |= csOpaque;
}

TBtnControl::~TBtnControl() = default;

void TBtnControl::CreateParams(TCreateParams& Params)
{
    Params.Style |= WS_POPUP;
    Params.WindowClassStyle |= CS_SAVEBITS;
}

void TBtnControl::AssignSpeedItem(TSpeedItem* Item)
{
    TSpeedbarButton* b = Item->Button();
    FImage->SetAlignment(b->Alignment());
    FImage->SetGlyph(b->Glyph());
    FImage->SetNumGlyphs(b->NumGlyphs());
    FImage->SetCaption(b->Caption());
    FImage->SetWordWrap(b->WordWrap());
    FSpacing = b->Spacing();
    FMargin = b->Margin();
    FLayout = b->Layout();
    FImageIndex = Item->ImageIndex();
    TSpeedBar* bar = Item->SpeedBar();
    FImages = bar ? bar->Images() : nullptr;
    SetFont(b->Font());
    if (bar) {
        SetBounds(Left(), Top(), bar->BtnWidth(), bar->BtnHeight());
        FImage->SetButtonSize(TPoint{bar->BtnWidth(), bar->BtnHeight()});
    }
}

void TBtnControl::Paint()
{
    FImage->SetButtonSize(TPoint{ClientWidth(), ClientHeight()});
    FImage->DrawEx(Canvas(), 0, 0, FMargin, FSpacing, FLayout, Font(), FImages, FImageIndex,
                   AlignmentTextFlags(FImage->Alignment()));
}

void TBtnControl::Activate(const TRect& Rect)
{
    if (Width() <= 0 || Height() <= 0)
        SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
    else
        SetBounds(Rect.Left, Rect.Top, Width(), Height());
    SetVisible(true);
    BringToFront();
    Screen->SetCursor(Cursor());
}

void TBtnControl::ReleaseHandle() { SetVisible(false); }
