#pragma once
// What a combo box needs beyond the framework's own: a flat look painted by the control's rules
// (a border and a drop button that light up while hot), the width of the dropped list, and the
// selection and caret of its edit field.

#include "platform/core/Colors.h"
#include "platform/core/Geometry.h"

class TCustomComboBox;

struct TFlatComboLook {
    bool Flat = true;
    int ButtonWidth = 18;
    bool HotButton = false;
    bool HotBorder = false;
    bool Etched = false;
    // The drop button is drawn pressed while the list is down.
    bool Dropped = false;
    // The colour of the parent, which the border blends with while not hot.
    TColor ParentColor = clBtnFace;
};
// Paints the combo with the look from now on (Flat false gives back the system's look).
void SetComboLook(TCustomComboBox* Combo, const TFlatComboLook& Look);
// The width of the dropped list: at least the combo's own width.
void SetComboDropWidth(TCustomComboBox* Combo, int Width);
int ComboDropWidth(TCustomComboBox* Combo);
// The selection of the combo's edit field in cp949 bytes (CB_GETEDITSEL / CB_SETEDITSEL).
void ComboEditSel(TCustomComboBox* Combo, int& Start, int& End);
void SetComboEditSel(TCustomComboBox* Combo, int Start, int End);
// Puts the edit field's caret at the character under a client point, nothing selected.
void SetComboCaretAt(TCustomComboBox* Combo, TPoint Client);
