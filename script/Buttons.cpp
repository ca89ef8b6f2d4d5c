#include "script/Buttons.h"

#include "script/ScriptState.h"

cButton* FindButton(const TButtonList& list, std::string_view name) { return list.FindByName(name, &cButton::Name); }

void ButtonOn(TScriptState& state, std::string_view name)
{
    cButton* button = FindButton(state.ButtonList, name);
    if (!button)
        return;
    button->Status &= ~1;
    if (button->Control)
        state.Host.ClickButton(*button);
}

void ButtonOff(TScriptState& state, std::string_view name)
{
    cButton* button = FindButton(state.ButtonList, name);
    if (!button || button->OffBuff.empty())
        return;
    button->Status |= 1;
    if (button->Control)
        state.Host.ClickButton(*button);
}
