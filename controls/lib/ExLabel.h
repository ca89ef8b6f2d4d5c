#pragma once
// A label that draws its caption twice, first as a shadow shifted by a few pixels in the shadow
// colour, then the text itself, with margins, vertical layout, word wrap, automatic size (growing
// to the left when right-aligned), a focus rectangle while its focus control has the focus, an
// embossed disabled look, and mouse enter and leave events. The character window's status line
// is one.

#include <string_view>

#include "controls/core/CaptionPlacement.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/WinControl.h"

// Draws Text (Count bytes, all when below 0) in Rect by Format, first the shadow in ShadowColor
// moved by ShadowSize towards ShadowPos, then the text in the canvas font's colour. Returns the
// shadow's drawn height, plus ShadowSize when that is above 0; Rect becomes the union of the text's
// and the shadow's rectangles (with DT_CALCRECT, what both take).
int DrawShadowText(TCanvas* Canvas, std::string_view Text, int Count, TRect& Rect, unsigned Format, int ShadowSize,
                   TColor ShadowColor, TShadowPosition ShadowPos);

class TExCustomLabel : public TGraphicControl {
public:
    explicit TExCustomLabel(TComponent* AOwner);
    ~TExCustomLabel() override;

    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor Value);
    uint8_t ShadowSize() const { return FShadowSize; }
    void SetShadowSize(uint8_t Value);
    TShadowPosition ShadowPos() const { return FShadowPos; }
    void SetShadowPos(TShadowPosition Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool Value);
    // Transparent is the lack of the opaque style: the parent shows behind the text.
    bool Transparent() const { return !(FControlStyle & csOpaque); }
    void SetTransparent(bool Value);
    int LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int Value);
    int RightMargin() const { return FRightMargin; }
    void SetRightMargin(int Value);
    bool MouseInControl() const { return FMouseInControl; }

    // Re-reads whether the mouse is over the label.
    void UpdateTracking();

    TNotifyEvent OnMouseEnter, OnMouseLeave;

protected:
    void Paint() override;
    virtual TColor GetDefaultFontColor() { return Font()->Color(); }
    virtual AnsiString GetLabelCaption() { return Caption(); }
    void DoDrawText(TRect& Rect, unsigned Flags);
    void AdjustBounds();
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    virtual void MouseEnter();
    virtual void MouseLeave();
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void RegisterLabelHandlers();
    // The text rectangle inside the margins, one pixel in from each side.
    TRect TextRect() const;
    template <class T>
    void Change(T& Field, T Value, bool Resize);

    TWinControl* FFocusControl = nullptr;
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    TTextLayout FLayout = tlTop;
    TColor FShadowColor = clBtnHighlight;
    uint8_t FShadowSize = 1;
    TShadowPosition FShadowPos = spLeftTop;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    bool FShowFocus = false;
    bool FFocused = false;
    bool FMouseInControl = false;
    bool FDragging = false;
    int FLeftMargin = 0;
    int FRightMargin = 0;
};

class TExLabel : public TExCustomLabel {
public:
    using TExCustomLabel::TExCustomLabel;
};
