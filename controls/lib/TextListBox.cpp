#include "controls/lib/TextListBox.h"

#include "platform/core/TypInfo.h"

void RegisterTextListBoxClasses()
{
    RegisterClass<TTextListBox>("TTextListBox", "TCustomListBox", MakeComponent<TTextListBox>)
        .Int("MaxWidth", &TTextListBox::MaxWidth, nullptr);
}
