// The published properties of the speed button, shadowed label, switch and credits panel, with
// their stored defaults, for stored settings and the control driver.

#include "controls/lib/ExCtrls.h"
#include "platform/core/TypInfo.h"
#include "platform/gui/StandardClasses.h"

namespace {

const std::vector<AnsiString> kAlignments{"taLeftJustify", "taRightJustify", "taCenter"};
const std::vector<AnsiString> kBevels{"bvNone", "bvLowered", "bvRaised", "bvSpace"};

}  // namespace

void RegisterExCtrlsClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterStandardClasses();
    // The drop-down menu a speed button takes.
    RegisterClass<TPopupMenu>("TPopupMenu", "TComponent", MakeComponent<TPopupMenu>)
        .Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true)
        .Enum("Alignment", "TPopupAlignment", {"paLeft", "paRight", "paCenter"}, &TPopupMenu::Alignment,
              &TPopupMenu::SetAlignment, paLeft);
    using B = TExSpeedButton;
    RegisterClass<B>("TExSpeedButton", "TGraphicControl", MakeComponent<B>)
        .Enum("Alignment", "TAlignment", kAlignments, &B::Alignment, &B::SetAlignment, taCenter)
        .Bool("AllowAllUp", &B::AllowAllUp, &B::SetAllowAllUp, false)
        .Bool("AllowTimer", &B::AllowTimer, &B::SetAllowTimer, false)
        .Int("GroupIndex", &B::GroupIndex, &B::SetGroupIndex, 0)
        .Bool("Down", &B::Down, &B::SetDown, false)
        .Object("DropDownMenu", "TPopupMenu", &B::DropDownMenu, &B::SetDropDownMenu)
        .Enum("MenuPosition", "TExDropDownMenuPos", {"dmpBottom", "dmpRight"}, &B::MenuPosition, &B::SetMenuPosition,
              dmpBottom)
        .Bool("Flat", &B::Flat, &B::SetFlat, false)
        .Object("Glyph", "TBitmap", &B::Glyph, &B::SetGlyph)
        .Bool("GrayedInactive", &B::GrayedInactive, &B::SetInactiveGrayed, true)
        .Int("InitPause", &B::InitPause, &B::SetInitPause, 500)
        .Enum("Layout", "TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}, &B::Layout,
              &B::SetLayout, blGlyphTop)
        .Int("Margin", &B::Margin, &B::SetMargin, -1)
        .Bool("MarkDropDown", &B::MarkDropDown, &B::SetMarkDropDown, true)
        .Int("ModalResult", &B::ModalResult, &B::SetModalResult, 0)
        .Int("NumGlyphs", &B::NumGlyphs, &B::SetNumGlyphs, 1)
        .Int("RepeatInterval", &B::RepeatInterval, &B::SetRepeatInterval, 100)
        .Int("Spacing", &B::Spacing, &B::SetSpacing, 1)
        .Enum("Style", "TButtonStyle", {"bsAutoDetect", "bsWin31", "bsNew"}, &B::Style, &B::SetStyle, bsAutoDetect)
        .Bool("Transparent", &B::Transparent, &B::SetTransparent, false)
        .Bool("WordWrap", &B::WordWrap, &B::SetWordWrap, false);

    using L = TExCustomLabel;
    RegisterClass<L>("TExCustomLabel", "TGraphicControl")
        .Enum("Alignment", "TAlignment", kAlignments, &L::Alignment, &L::SetAlignment, taLeftJustify)
        .Bool("AutoSize", &L::AutoSize, &L::SetAutoSize, true)
        .Object("FocusControl", "TWinControl", &L::FocusControl, &L::SetFocusControl)
        .Enum("Layout", "TTextLayout", {"tlTop", "tlCenter", "tlBottom"}, &L::Layout, &L::SetLayout, tlTop)
        .Int("ShadowColor", &L::ShadowColor, &L::SetShadowColor, clBtnHighlight)
        .Int("ShadowSize", &L::ShadowSize, &L::SetShadowSize, 1)
        .Enum("ShadowPos", "TShadowPosition", {"spLeftTop", "spLeftBottom", "spRightBottom", "spRightTop"},
              &L::ShadowPos, &L::SetShadowPos, spLeftTop)
        .Bool("ShowAccelChar", &L::ShowAccelChar, &L::SetShowAccelChar, true)
        .Bool("ShowFocus", &L::ShowFocus, &L::SetShowFocus, false)
        .Bool("Transparent", &L::Transparent, &L::SetTransparent, false)
        .Bool("WordWrap", &L::WordWrap, &L::SetWordWrap, false);
    RegisterClass<TExLabel>("TExLabel", "TExCustomLabel", MakeComponent<TExLabel>);

    using S = TExSwitch;
    RegisterClass<S>("TExSwitch", "TCustomControl", MakeComponent<S>)
        .Enum("BorderStyle", "TBorderStyle", {"bsNone", "bsSingle"}, &S::BorderStyle, &S::SetBorderStyle, bsNone)
        .Object("GlyphOff", "TBitmap", &S::GlyphOff, &S::SetGlyphOff)
        .Stored([](S* s) { return s->StoreBitmap(0); })
        .Object("GlyphOn", "TBitmap", &S::GlyphOn, &S::SetGlyphOn)
        .Stored([](S* s) { return s->StoreBitmap(1); })
        .Bool("ShowFocus", &S::ShowFocus, &S::SetShowFocus, true)
        .Int("ToggleKey", &S::ToggleKey, &S::SetToggleKey, 32)
        .Bool("StateOn", &S::StateOn, &S::SetStateOn, false)
        .Enum("TextPosition", "TTextPos", {"tpNone", "tpLeft", "tpRight", "tpAbove", "tpBelow"}, &S::TextPosition,
              &S::SetTextPosition, tpNone)
        .Int("Data", &S::Data, &S::SetData)
        .Stored([](S* s) { return s->Data() != 0; });

    using P = TSecretPanel;
    RegisterClass<P>("TSecretPanel", "TCustomPanel", MakeComponent<P>)
        .Bool("Active", &P::Active, &P::SetActive, false)
        .Enum("Alignment", "TAlignment", kAlignments, &P::Alignment, &P::SetAlignment, taCenter)
        .Object("Lines", "TStrings", &P::Lines, &P::SetLines)
        .Bool("Cycled", &P::Cycled, &P::SetCycled, false)
        .Object("Glyph", "TBitmap", &P::Glyph, &P::SetGlyph)
        .Enum("TextStyle", "TBevelCut", kBevels, &P::TextStyle, &P::SetTextStyle, bvNone)
        .Enum("ScrollDirection", "TScrollDirection", {"sdVertical", "sdHorizontal"}, &P::ScrollDirection,
              &P::SetDirection, sdVertical)
        .Enum("GlyphLayout", "TGlyphLayout", {"glGlyphLeft", "glGlyphRight", "glGlyphTop", "glGlyphBottom"},
              &P::GlyphLayout, &P::SetGlyphLayout, glGlyphLeft)
        .Int("Interval", &P::Interval, &P::SetInterval, 30)
        .Bool("AsyncDrawing", &P::AsyncDrawing, &P::SetAsyncDrawing, true)
        .Enum("BevelOuter", "TPanelBevel", kBevels, &P::BevelOuter, &P::SetBevelOuter, bvLowered);
}
