// The published properties of the spin edit and its buttons, in the order a stored form sets
// them (Value after the bounds, the kind and the decimals).

#include "controls/lib/ExSpin.h"
#include "platform/core/TypInfo.h"
#include "platform/gui/StandardClasses.h"

void RegisterExSpinClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterStandardClasses();
    using S = TExSpinEdit;
    RegisterClass<S>("TExSpinEdit", "TCustomEdit", MakeComponent<S>)
        .Bool("ArrowKeys", &S::ArrowKeys, &S::SetArrowKeys, true)
        .Enum("ButtonKind", "TSpinButtonKind", {"bkStandard", "bkDiagonal"}, &S::ButtonKind, &S::SetButtonKind,
              bkDiagonal)
        .Int("Decimal", &S::Decimal, &S::SetDecimal, 2)
        .Bool("EditorEnabled", &S::EditorEnabled, &S::SetEditorEnabled, true)
        .Float("Increment", ftExtended, &S::Increment, &S::SetIncrement)
        .Stored([](S* s) { return s->Increment() != 1.0; })
        .Float("MaxValue", ftExtended, &S::MaxValue, &S::SetMaxValue)
        .Stored([](S* s) { return s->MaxValue() != 0.0; })
        .Float("MinValue", ftExtended, &S::MinValue, &S::SetMinValue)
        .Stored([](S* s) { return s->MinValue() != 0.0; })
        .Enum("ValueType", "TValueType", {"vtInt", "vtFloat", "vtHex"}, &S::ValueType, &S::SetValueType, vtInt)
        .Float("Value", ftExtended, &S::GetValue, &S::SetValue)
        .Stored([](S* s) { return s->GetValue() != 0.0; })
        .Int("AsInteger", &S::GetAsInteger, &S::SetAsInteger)
        .Stored([](S*) { return false; });
    using B = TExSpinButton;
    RegisterClass<B>("TExSpinButton", "TGraphicControl", MakeComponent<B>)
        .Enum("Down", "TSpinButtonState", {"sbNotDown", "sbTopDown", "sbBottomDown"}, &B::Down, &B::SetDown)
        .Object("DownGlyph", "TBitmap", &B::DownGlyph, &B::SetDownGlyph)
        .Object("UpGlyph", "TBitmap", &B::UpGlyph, &B::SetUpGlyph)
        .Object("FocusControl", "TWinControl", &B::FocusControl, &B::SetFocusControl);
    RegisterClass<TExUpDown>("TExUpDown", "TCustomUpDown", MakeComponent<TExUpDown>);
}
