// The published properties of the speed bar, its sections and items, for stored settings and the
// control driver.

#include "controls/lib/SpeedBar.h"
#include "platform/core/TypInfo.h"
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
    // The button's properties read and write the button.
    auto button = [](I* i) { return i->Button(); };
    RegisterClass<I>("TSpeedItem", "TComponent")
        .Bool(
            "AllowAllUp", [button](I* i) { return button(i)->AllowAllUp(); },
            [button](I* i, bool v) { button(i)->SetAllowAllUp(v); }, false)
        .Str("BtnCaption", &I::BtnCaption, &I::SetBtnCaption)
        .Str("Caption", &I::Caption, &I::SetCaption)
        .Int(
            "GroupIndex", [button](I* i) { return button(i)->GroupIndex(); },
            [button](I* i, int v) { button(i)->SetGroupIndex(v); }, 0)
        .Bool(
            "Down", [button](I* i) { return button(i)->Down(); }, [button](I* i, bool v) { button(i)->SetDown(v); },
            false)
        .Bool("Enabled", &I::Enabled, &I::SetEnabled, true)
        .Str("Hint", &I::Hint, &I::SetHint)
        .Int("ImageIndex", &I::ImageIndex, &I::SetImageIndex, -1)
        .Enum(
            "Layout", "TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"},
            [button](I* i) { return button(i)->Layout(); },
            [button](I* i, TButtonLayout v) { button(i)->SetLayout(v); }, blGlyphTop)
        .Int(
            "Margin", [button](I* i) { return button(i)->Margin(); },
            [button](I* i, int v) { button(i)->SetMargin(v); }, -1)
        .Int(
            "NumGlyphs", [button](I* i) { return button(i)->NumGlyphs(); },
            [button](I* i, int v) { button(i)->SetNumGlyphs(v); }, 1)
        .Int(
            "Spacing", [button](I* i) { return button(i)->Spacing(); },
            [button](I* i, int v) { button(i)->SetSpacing(v); }, 4)
        .Bool("Stored", &I::Stored, &I::SetStored, true)
        .Int("Left", &I::Left, &I::SetLeft, 0)
        .Int("Top", &I::Top, &I::SetTop, 0)
        .Bool("Visible", &I::Visible, &I::SetVisible, false)
        .Bool(
            "WordWrap", [button](I* i) { return button(i)->WordWrap(); },
            [button](I* i, bool v) { button(i)->SetWordWrap(v); }, false)
        .Int("Section", &I::Section, &I::SetSection)
        .Stored([](I*) { return false; })
        .Str("SectionName", &I::SectionName, &I::SetSectionName);
}
