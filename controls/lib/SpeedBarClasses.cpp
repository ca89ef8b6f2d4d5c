// The published properties of the speed bar, its sections and items, for stored settings and the
// control driver.

#include "controls/lib/SpeedBar.h"
#include "platform/core/TypInfo.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/StandardClasses.h"

void RegisterSpeedBarClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterStandardClasses();
    using S = TSpeedBar;
    RegisterClass<S>("TSpeedBar", "TCustomPanel", MakeComponent<S>)
        .Enum("Align", "TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}, &S::Align,
              &S::SetAlign, alTop)
        .Set("BoundLines", "TBoundLines", {"blTop", "blBottom", "blLeft", "blRight"}, &S::BoundLines, &S::SetBoundLines,
             0)
        .Enum("Position", "TBarPosition", {"bpAuto", "bpCustom"}, &S::Position, &S::SetPosition, bpAuto)
        .Enum("Orientation", "TBarOrientation", {"boHorizontal", "boVertical"}, &S::Orientation, &S::SetOrientation)
        .Set("Options", "TSpeedbarOptions",
             {"sbAllowDrag", "sbAllowResize", "sbFlatBtns", "sbGrayedBtns", "sbTransparentBtns", "sbStretchBitmap"},
             &S::Options, &S::SetOptions, OptionBit(sbAllowDrag) | OptionBit(sbGrayedBtns))
        .Int("BtnOffsetHorz", &S::BtnOffsetHorz, &S::SetBtnOffsetHorz)
        .Int("BtnOffsetVert", &S::BtnOffsetVert, &S::SetBtnOffsetVert)
        .Int("BtnWidth", &S::BtnWidth, &S::SetBtnWidth)
        .Int("BtnHeight", &S::BtnHeight, &S::SetBtnHeight)
        .Int("Version", &S::Version, &S::SetVersion, 0)
        .Int("SectionCount", &S::SectionCount, nullptr)
        .Bool("Editing", &S::Editing, nullptr)
        .Object("Images", "TImageList", &S::Images, &S::SetImages)
        .Object("IniStorage", "TFormPlacement", &S::IniStorage, &S::SetIniStorage);
    using Sec = TSpeedbarSection;
    RegisterClass<Sec>("TSpeedbarSection", "TComponent")
        .Str("Caption", &Sec::Caption, &Sec::SetCaption)
        .Int("Index", &Sec::Index, &Sec::SetIndex)
        .Stored([](Sec*) { return false; })
        .Int("Count", &Sec::Count, nullptr);
    using I = TSpeedItem;
    // In the order the item publishes them; all but Caption, Enabled, ImageIndex, Stored and
    // Visible are its button's.
    RegisterClass<I>("TSpeedItem", "TComponent")
        .Object("Action", "TBasicAction", &I::Action, &I::SetAction)
        .Bool("AllowAllUp", &I::AllowAllUp, &I::SetAllowAllUp, false)
        .Bool("AllowTimer", &I::AllowTimer, &I::SetAllowTimer, false)
        .Str("BtnCaption", &I::BtnCaption, &I::SetBtnCaption)
        .Str("Caption", &I::Caption, &I::SetCaption)
        .Int("GroupIndex", &I::GroupIndex, &I::SetGroupIndex, 0)
        .Bool("Down", &I::Down, &I::SetDown, false)
        .Object("DropDownMenu", "TPopupMenu", &I::DropDownMenu, &I::SetDropDownMenu)
        .Bool("Enabled", &I::Enabled, &I::SetEnabled, true)
        .Object("Font", "TFont", &I::Font, &I::SetFont)
        .Stored([](I* i) { return !i->ParentFont(); })
        .Int("Cursor", &I::Cursor, &I::SetCursor, crDefault)
        .Object("Glyph", "TBitmap", &I::Glyph, &I::SetGlyph)
        .Str("Hint", &I::Hint, &I::SetHint)
        .Int("ImageIndex", &I::ImageIndex, &I::SetImageIndex, -1)
        .Enum("Layout", "TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}, &I::Layout,
              &I::SetLayout, blGlyphTop)
        .Int("Margin", &I::Margin, &I::SetMargin, -1)
        .Bool("MarkDropDown", &I::MarkDropDown, &I::SetMarkDropDown, true)
        .Int("NumGlyphs", &I::NumGlyphs, &I::SetNumGlyphs, 1)
        .Bool("ParentShowHint", &I::ParentShowHint, &I::SetParentShowHint, true)
        .Bool("ParentFont", &I::ParentFont, &I::SetParentFont, true)
        .Bool("ShowHint", &I::ShowHint, &I::SetShowHint)
        .Stored([](I* i) { return !i->ParentShowHint(); })
        // Declared 4 while a new button has 1, so a new item stores its spacing.
        .Int("Spacing", &I::Spacing, &I::SetSpacing, 4)
        .Bool("Stored", &I::Stored, &I::SetStored, true)
        .Int("Tag", &I::Tag, &I::SetTag, 0)
        .Int("Left", &I::Left, &I::SetLeft, 0)
        .Int("Top", &I::Top, &I::SetTop, 0)
        .Bool("Visible", &I::Visible, &I::SetVisible, false)
        .Bool("WordWrap", &I::WordWrap, &I::SetWordWrap, false)
        .Int("Section", &I::Section, &I::SetSection)
        .Stored([](I*) { return false; })
        .Str("SectionName", &I::SectionName, &I::SetSectionName);
}
