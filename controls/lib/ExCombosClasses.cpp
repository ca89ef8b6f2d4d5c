// The published properties of the colour and font combo boxes, with their stored defaults.

#include "controls/lib/ExCombos.h"
#include "platform/core/TypInfo.h"
#include "platform/gui/StandardClasses.h"

void RegisterExCombosClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterStandardClasses();
    const std::vector<AnsiString> styles{"csDropDown", "csSimple", "csDropDownList"};
    using O = TOwnerDrawComboBox;
    RegisterClass<O>("TOwnerDrawComboBox", "TCustomComboBox")
        .Enum("Style", "TOwnerDrawComboStyle", styles, &O::Style, &O::SetStyle, csDropDownList);
    using C = TColorComboBox;
    RegisterClass<C>("TColorComboBox", "TOwnerDrawComboBox", MakeComponent<C>)
        .Int("ColorValue", &C::GetColorValue, &C::SetColorValue, 0)
        .Bool("DisplayNames", &C::DisplayNames, &C::SetDisplayNames, true)
        .Object("ColorNames", "TStrings", &C::ColorNames, &C::SetColorNames);
    using F = TFontComboBox;
    RegisterClass<F>("TFontComboBox", "TOwnerDrawComboBox", MakeComponent<F>)
        .Enum("Device", "TFontDevice", {"fdScreen", "fdPrinter", "fdBoth"}, &F::Device, &F::SetDevice, fdScreen)
        .Str("FontName", &F::GetFontName, &F::SetFontName)
        .Set("Options", "TFontListOptions",
             {"foAnsiOnly", "foTrueTypeOnly", "foFixedPitchOnly", "foNoOEMFonts", "foOEMFontsOnly", "foScalableOnly",
              "foNoSymbolFonts"},
             &F::Options, &F::SetOptions, 0)
        .Bool("TrueTypeOnly", &F::TrueTypeOnly, &F::SetTrueTypeOnly)
        .Stored([](F*) { return false; })
        .Bool("UseFonts", &F::UseFonts, &F::SetUseFonts, false);
}
