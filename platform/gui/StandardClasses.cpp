#include "platform/gui/StandardClasses.h"

#include "platform/gui/Buttons.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/ListBoxes.h"
#include "platform/gui/Mask.h"

void RegisterStandardClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // Parents before the classes that derive from them.
    RegisterControlClasses();
    RegisterEditClasses();
    RegisterMaskClasses();
    RegisterButtonClasses();
    RegisterBitBtnClasses();
    RegisterListBoxClasses();
    RegisterComboBoxClasses();
    RegisterExtClasses();
    RegisterComCtrlsClasses();
    RegisterMenuClasses();
    RegisterDialogClasses();
}
