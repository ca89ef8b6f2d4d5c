// The published properties of the edits with a button, with their stored defaults, for stored
// settings and the control driver.

#include "controls/lib/ToolEdit.h"
#include "platform/core/TypInfo.h"
#include "platform/gui/StandardClasses.h"

void RegisterToolEditClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterStandardClasses();
    using C = TCustomComboEdit;
    RegisterClass<C>("TCustomComboEdit", "TCustomMaskEdit")
        .Str("ButtonHint", &C::ButtonHint, &C::SetButtonHint)
        .Int("ButtonWidth", &C::ButtonWidth, &C::SetButtonWidth)
        .Stored([](C* c) { return c->ButtonWidthStored(); })
        .Int("ClickKey", &C::ClickKey, &C::SetClickKey, 0x8028)
        .Bool("DirectInput", &C::DirectInput, &C::SetDirectInput, true)
        .Object("Glyph", "TBitmap", &C::Glyph, &C::SetGlyph)
        .Stored([](C* c) { return c->GlyphStored(); })
        .Enum("GlyphKind", "TGlyphKind", {"gkCustom", "gkDefault", "gkDropDown", "gkEllipsis"}, &C::GlyphKind,
              &C::SetGlyphKind, gkCustom)
        .Int("NumGlyphs", &C::NumGlyphs, &C::SetNumGlyphs)
        .Bool("ReadOnly", &C::ReadOnly, &C::SetReadOnly, false)
        .Bool("PopupVisible", &C::PopupVisible, nullptr);
    RegisterClass<TComboEdit>("TComboEdit", "TCustomComboEdit", MakeComponent<TComboEdit>);
}
