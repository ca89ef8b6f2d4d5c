// The published properties of the classes every control derives from.

#include "platform/core/TypInfo.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StandardClasses.h"

namespace {

unsigned StyleBits(TFontStyles s)
{
    unsigned bits = 0;
    for (int i = 0; i < 4; ++i)
        if (s.Contains(static_cast<TFontStyle>(i)))
            bits |= 1u << i;
    return bits;
}

TFontStyles StylesOf(unsigned bits)
{
    TFontStyles s;
    for (int i = 0; i < 4; ++i)
        if (bits & (1u << i))
            s << static_cast<TFontStyle>(i);
    return s;
}

}  // namespace

void RegisterControlClasses()
{
    RegisterClass<TComponent>("TComponent", "")
        .Str("Name", &TComponent::Name, &TComponent::SetName)
        .Int("Tag", &TComponent::Tag, &TComponent::SetTag, 0);
    RegisterClass<TFont>("TFont", "")
        .Int("Charset", &TFont::Charset, &TFont::SetCharset)
        .Int("Color", &TFont::Color, &TFont::SetColor)
        .Int("Height", &TFont::Height, &TFont::SetHeight)
        .Str("Name", &TFont::Name, &TFont::SetName)
        .Enum("Pitch", "TFontPitch", {"fpDefault", "fpVariable", "fpFixed"}, &TFont::Pitch, &TFont::SetPitch, fpDefault)
        .Int("Size", &TFont::Size, &TFont::SetSize)
        .Set(
            "Style", "TFontStyles", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"},
            [](TFont* f) { return StyleBits(f->Style()); }, [](TFont* f, unsigned v) { f->SetStyle(StylesOf(v)); }, 0);
    RegisterClass<TControl>("TControl", "TComponent")
        .Int("Left", &TControl::Left, &TControl::SetLeft)
        .Int("Top", &TControl::Top, &TControl::SetTop)
        .Int("Width", &TControl::Width, &TControl::SetWidth)
        .Int("Height", &TControl::Height, &TControl::SetHeight)
        .Enum("Align", "TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}, &TControl::Align,
              &TControl::SetAlign, alNone)
        .Str("Caption", &TControl::Caption, &TControl::SetCaption)
        .Int("Color", &TControl::Color, &TControl::SetColor)
        .Int("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault)
        .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled, true)
        .Object("Font", "TFont", &TControl::Font, &TControl::SetFont)
        .Str("Hint", &TControl::Hint, &TControl::SetHint)
        .Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
        .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true)
        .Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true)
        .Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
        .Str("Text", &TControl::Text, &TControl::SetText)
        .Bool("Visible", &TControl::Visible, &TControl::SetVisible, true)
        .Int("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth)
        .Int("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight);
    RegisterClass<TWinControl>("TWinControl", "TControl")
        .Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder, -1)
        .Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false);
    RegisterClass<TCustomForm>("TCustomForm", "TWinControl")
        .Enum("BorderStyle", "TFormBorderStyle",
              {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
              &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle, bsSizeable)
        .Bool("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview, false)
        .Int("ModalResult", &TCustomForm::ModalResult, &TCustomForm::SetModalResult, mrNone)
        .Enum("Position", "TPosition",
              {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter",
               "poMainFormCenter", "poOwnerFormCenter"},
              &TCustomForm::Position, &TCustomForm::SetPosition, poDesigned)
        .Enum("WindowState", "TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"}, &TCustomForm::WindowState,
              &TCustomForm::SetWindowState, wsNormal);
    RegisterClass<TForm>("TForm", "TCustomForm", MakeComponent<TForm>);
}
