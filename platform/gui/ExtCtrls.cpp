#include "platform/gui/ExtCtrls.h"
#include "platform/core/TypInfo.h"

#include "platform/gui/Canvas.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/DrawTextLayout.h"
#include "platform/gui/ListBoxes.h"

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width)
{
    rect.Bottom -= 1;
    rect.Right -= 1;
    for (int i = 0; i < width; ++i) {
        canvas->Pen()->SetColor(topColor);
        canvas->Polyline({{rect.Left, rect.Bottom}, {rect.Left, rect.Top}, {rect.Right, rect.Top}});
        canvas->Pen()->SetColor(bottomColor);
        canvas->Polyline({{rect.Right, rect.Top}, {rect.Right, rect.Bottom}, {rect.Left - 1, rect.Bottom}});
        rect.Left += 1;
        rect.Top += 1;
        rect.Right -= 1;
        rect.Bottom -= 1;
    }
    rect.Bottom += 1;
    rect.Right += 1;
}

// --- TCustomPanel -----------------------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 185, 41);
    FControlStyle |= csAcceptsControls | csOpaque;
    SetColor(clBtnFace);
    RegisterHandler(CM_TEXTCHANGED, [this](TMessage& m) {
        Inherited(m);
        Invalidate();
    });
}

TRect TCustomPanel::ClientRect() const { return TCustomControl::ClientRect(); }

void TCustomPanel::AdjustClientRect(TRect& Rect)
{
    int inset = FBorderWidth + (FBevelOuter != bvNone ? FBevelWidth : 0) + (FBevelInner != bvNone ? FBevelWidth : 0) +
        (FBorderStyle == bsSingle ? 1 : 0);
    Rect.Left += inset;
    Rect.Top += inset;
    Rect.Right -= inset;
    Rect.Bottom -= inset;
}

void TCustomPanel::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    auto bevel = [&](TPanelBevel b) {
        if (b == bvNone)
            return;
        TColor top = b == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor bottom = b == bvLowered ? clBtnHighlight : clBtnShadow;
        if (b == bvSpace)
            top = bottom = Color();
        Frame3D(c, r, top, bottom, FBevelWidth);
    };
    if (FBorderStyle == bsSingle)
        Frame3D(c, r, clWindowFrame, clWindowFrame, 1);
    bevel(FBevelOuter);
    Frame3D(c, r, Color(), Color(), FBorderWidth);
    bevel(FBevelInner);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    c->SetFont(Font());
    c->Brush()->SetStyle(bsClear);
    unsigned align = FAlignment == taLeftJustify ? DT_LEFT : FAlignment == taRightJustify ? DT_RIGHT : DT_CENTER;
    DrawText(c, Caption(), r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | align);
}

void TCustomPanel::Changed()
{
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel v)
{
    FBevelInner = v;
    Changed();
}

void TCustomPanel::SetBevelOuter(TPanelBevel v)
{
    FBevelOuter = v;
    Changed();
}

void TCustomPanel::SetBevelWidth(int v)
{
    FBevelWidth = std::max(v, 1);
    Changed();
}

void TCustomPanel::SetBorderWidth(int v)
{
    FBorderWidth = std::max(v, 0);
    Changed();
}

void TCustomPanel::SetBorderStyle(TBorderStyle v)
{
    FBorderStyle = v;
    Changed();
}

void TCustomPanel::SetAlignment(TAlignment v)
{
    FAlignment = v;
    Invalidate();
}

// --- TBevel -----------------------------------------------------------------------------------

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 50, 50);
    FControlStyle |= csReplicatable;
}

void TBevel::Paint()
{
    TCanvas* c = Canvas();
    TColor first = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    TRect r = ClientRect();
    int w = r.Width(), h = r.Height();
    auto line = [&](int x1, int y1, int x2, int y2, TColor color) {
        c->Pen()->SetColor(color);
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    switch (FShape) {
    case bsBox: Frame3D(c, r, first, second, 1); break;
    case bsFrame: {
        TRect inner = Rect(1, 1, w, h);
        Frame3D(c, inner, second, second, 1);
        TRect outer = Rect(0, 0, w - 1, h - 1);
        Frame3D(c, outer, first, first, 1);
        break;
    }
    case bsTopLine:
        line(0, 0, w, 0, first);
        line(0, 1, w, 1, second);
        break;
    case bsBottomLine:
        line(0, h - 2, w, h - 2, first);
        line(0, h - 1, w, h - 1, second);
        break;
    case bsLeftLine:
        line(0, 0, 0, h, first);
        line(1, 0, 1, h, second);
        break;
    case bsRightLine:
        line(w - 2, 0, w - 2, h, first);
        line(w - 1, 0, w - 1, h, second);
        break;
    case bsSpacer: break;
    }
}

void TBevel::SetShape(TBevelShape v)
{
    FShape = v;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle v)
{
    FStyle = v;
    Invalidate();
}

// --- TImage -----------------------------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TBitmap>())
{
    SetBounds(0, 0, 105, 105);
    FPicture->OnChange = [this](TObject*) { Invalidate(); };
}

void TImage::Paint()
{
    if (FPicture->Empty())
        return;
    TCanvas* c = Canvas();
    if (FStretch) {
        c->StretchDraw(ClientRect(), FPicture.get());
        return;
    }
    int x = FCenter ? (Width() - FPicture->Width()) / 2 : 0;
    int y = FCenter ? (Height() - FPicture->Height()) / 2 : 0;
    c->Draw(x, y, FPicture.get());
}

void TImage::SetStretch(bool v)
{
    FStretch = v;
    Invalidate();
}

void TImage::SetCenter(bool v)
{
    FCenter = v;
    Invalidate();
}

// --- TCustomRadioGroup ------------------------------------------------------------------------

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TCustomGroupBox(AOwner), FItems(std::make_unique<TStringList>())
{
    FItems->OnChange = [this](TObject*) { UpdateButtons(); };
    RegisterHandler(WM_SIZE, [this](TMessage& m) {
        Inherited(m);
        ArrangeButtons();
    });
}

TCustomRadioGroup::~TCustomRadioGroup()
{
    Destroying();
    FItems->OnChange = nullptr;
}

TRadioButton* TCustomRadioGroup::Buttons(int index) const
{
    if (index < 0 || index >= static_cast<int>(FButtons.size()))
        ListIndexError(index);
    return FButtons[static_cast<size_t>(index)];
}

void TCustomRadioGroup::UpdateButtons()
{
    while (FButtons.size() > static_cast<size_t>(FItems->Count())) {
        delete FButtons.back();
        FButtons.pop_back();
    }
    while (FButtons.size() < static_cast<size_t>(FItems->Count())) {
        auto* b = new TRadioButton(this);
        size_t index = FButtons.size();
        b->OnClick = [this, index](TObject*) {
            if (!FUpdating)
                SetItemIndex(static_cast<int>(index));
        };
        b->SetParent(this);
        FButtons.push_back(b);
    }
    FUpdating = true;
    for (size_t i = 0; i < FButtons.size(); ++i) {
        FButtons[i]->SetCaption(FItems->Strings(static_cast<int>(i)));
        FButtons[i]->SetChecked(static_cast<int>(i) == FItemIndex);
    }
    FUpdating = false;
    if (FItemIndex >= FItems->Count())
        FItemIndex = -1;
    ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons()
{
    if (FButtons.empty())
        return;
    TRect area = ClientRect();
    int columns = std::max(FColumns, 1);
    int perColumn = (static_cast<int>(FButtons.size()) + columns - 1) / columns;
    int columnWidth = area.Width() / columns;
    int rowHeight = std::max(area.Height() / std::max(perColumn, 1), 1);
    for (size_t i = 0; i < FButtons.size(); ++i) {
        int col = static_cast<int>(i) / perColumn, row = static_cast<int>(i) % perColumn;
        int h = std::min(rowHeight, 17);
        FButtons[i]->SetBounds(area.Left + 6 + col * columnWidth, area.Top + row * rowHeight + (rowHeight - h) / 2,
                               columnWidth - 8, h);
    }
}

void TCustomRadioGroup::SetItemIndex(int v)
{
    if (v < -1 || v >= FItems->Count())
        v = -1;
    if (v == FItemIndex)
        return;
    FItemIndex = v;
    FUpdating = true;
    for (size_t i = 0; i < FButtons.size(); ++i)
        FButtons[i]->SetChecked(static_cast<int>(i) == v);
    FUpdating = false;
    Click();
}

void TCustomRadioGroup::SetColumns(int v)
{
    FColumns = std::clamp(v, 1, 16);
    ArrangeButtons();
}

void RegisterExtClasses()
{
    const std::vector<AnsiString> bevels{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
    RegisterClass<TCustomControl>("TCustomControl", "TWinControl");
    RegisterClass<TGraphicControl>("TGraphicControl", "TControl");
    RegisterClass<TCustomPanel>("TCustomPanel", "TCustomControl")
        .Enum("Alignment", "TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TCustomPanel::Alignment,
              &TCustomPanel::SetAlignment, taCenter)
        .Enum("BevelInner", "TPanelBevel", bevels, &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner, bvNone)
        .Enum("BevelOuter", "TPanelBevel", bevels, &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter, bvRaised)
        .Int("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth, 1)
        .Int("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth, 0)
        .Enum("BorderStyle", "TBorderStyle", {"bsNone", "bsSingle"}, &TCustomPanel::BorderStyle,
              &TCustomPanel::SetBorderStyle, bsNone);
    RegisterClass<TPanel>("TPanel", "TCustomPanel", MakeComponent<TPanel>);
    RegisterClass<TBevel>("TBevel", "TGraphicControl", MakeComponent<TBevel>)
        .Enum("Shape", "TBevelShape",
              {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"},
              &TBevel::Shape, &TBevel::SetShape, bsBox)
        .Enum("Style", "TBevelStyle", {"bsLowered", "bsRaised"}, &TBevel::Style, &TBevel::SetStyle, bsLowered);
    RegisterClass<TImage>("TImage", "TGraphicControl", MakeComponent<TImage>)
        .Bool("Center", &TImage::Center, &TImage::SetCenter, false)
        .Bool("Stretch", &TImage::Stretch, &TImage::SetStretch, false);
    RegisterClass<TCustomRadioGroup>("TCustomRadioGroup", "TCustomGroupBox")
        .Int("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns, 1)
        .Int("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex, -1)
        .Object("Items", "TStrings", &TCustomRadioGroup::Items, &TCustomRadioGroup::SetItems);
    RegisterClass<TRadioGroup>("TRadioGroup", "TCustomRadioGroup", MakeComponent<TRadioGroup>);
}
