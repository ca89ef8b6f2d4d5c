#include "app/core/ItemEdits.h"

#include <string>

#include "app/core/ItemEditTexts.h"
#include "script/Aliases.h"
#include "script/CmdFile.h"
#include "script/UserTimer.h"
#include "script/Variables.h"

namespace ItemEdit {

TTriggerFields TriggerFields(const cTriggers& r)
{
    return {(r.Status & cTriggers::Enabled) != 0,
            (r.Status & cTriggers::StaysEnabled) != 0,
            (r.Status & cTriggers::CompleteOnly) != 0,
            r.NickName,
            r.Group,
            r.From,
            r.To};
}

AnsiString TriggerCaption(const cTriggers& r) { return ItemText::TriggerCaptionHead + std::to_string(r.Number) + ")"; }

bool SaveTrigger(cTriggers& r, const TTriggerFields& fields)
{
    constexpr uint32_t kDialogBits = cTriggers::Enabled | cTriggers::StaysEnabled | cTriggers::CompleteOnly;
    r.Status &= ~kDialogBits;
    r.Action &= ~1;
    if (fields.On)
        r.Status |= cTriggers::Enabled;
    if (fields.Cycle)
        r.Status |= cTriggers::StaysEnabled;
    if (fields.Line)
        r.Status |= cTriggers::CompleteOnly;
    r.NickName = fields.NickName.empty() ? AnsiString(std::to_string(r.Number)) : fields.NickName;
    r.Group = fields.Group;
    r.From = fields.From;
    r.To = fields.To;
    return !r.From.empty() && !r.To.empty();
}

const cKeyMacro* KeyTakenBy(const TKeyMacroList& list, const cKeyMacro* self, TShortCut shortCut)
{
    const cKeyMacro* found = FindKeyMacroByShortCut(list, shortCut);
    return found == self ? nullptr : found;
}

void SaveMacro(cKeyMacro& r, TShortCut shortCut, const AnsiString& toBuff)
{
    r.ShortCut = shortCut;
    r.Name = ShortCutToText(shortCut);
    r.ToBuff = toBuff;
}

TButtonFields ButtonFields(const cButton& r) { return {r.Name, (r.Status & 1) != 0, r.OnBuff, r.OffBuff}; }

bool ButtonMayBeOn(const AnsiString& offBuff) { return !offBuff.empty(); }

bool SaveButton(cButton& r, const TButtonFields& fields)
{
    if (fields.Name.empty())
        return false;
    r.Action = 0;
    r.Status = 0;
    r.Name = fields.Name;
    r.OnBuff = fields.OnBuff;
    r.OffBuff = fields.OffBuff;
    if (!r.OffBuff.empty() && fields.On)
        r.Status |= 1;
    return true;
}

void WriteBackButton(cButton& to, const cButton& from)
{
    to.Action = from.Action;
    to.Status = from.Status;
    to.Name = from.Name;
    to.OnBuff = from.OnBuff;
    to.OffBuff = from.OffBuff;
}

int TimerChoiceOf(int32_t status)
{
    switch (status) {
    case utsOn: return tcOn;
    case utsRestart: return tcReset;
    case utsStop: return tcStop;
    default: return tcOff;
    }
}

int32_t TimerStatusOf(int choice)
{
    switch (choice) {
    case tcOn: return utsOn;
    case tcStop: return utsStop;
    case tcReset: return utsRestart;
    default: return utsOff;
    }
}

TTimerFields TimerFields(const cTimer& r)
{
    return {r.Name, (r.Action & cTimer::CycleForever) != 0, r.Ticker, r.Repeat, TimerChoiceOf(r.Status), r.OnBuff};
}

bool SaveTimer(cTimer& r, const TTimerFields& fields)
{
    if (fields.Name.empty())
        return false;
    r.Name = fields.Name;
    r.Action = fields.Cycle ? cTimer::CycleForever : 0;
    r.Ticker = fields.Ticker;
    r.Status = TimerStatusOf(fields.Choice);
    r.OnBuff = fields.OnBuff;
    r.Repeat = fields.Repeat;
    return true;
}

TNameCheck CheckAliasName(const TAliasList& list, const cAlias* self, const AnsiString& name)
{
    if (name.empty())
        return TNameCheck::Empty;
    const cAlias* found = FindAlias(list, name);
    return found && found != self ? TNameCheck::Taken : TNameCheck::Ok;
}

void SaveAlias(cAlias& r, const AnsiString& name, const AnsiString& text)
{
    r.Name = name;
    r.Action = 0;
    r.Text = text;
}

TNameCheck CheckVariableName(const TVariableList& list, const cVariables* self, const AnsiString& name,
                             AnsiString& taken)
{
    if (name.empty())
        return TNameCheck::Empty;
    const cVariables* found = FindVariable(list, name);
    if (!found || found == self)
        return TNameCheck::Ok;
    taken = found->Name;
    return TNameCheck::Taken;
}

AnsiString VariableTakenText(const AnsiString& name) { return Format(ItemText::VarTaken, name.c_str()); }

void SaveVariable(cVariables& r, const AnsiString& name, bool number, const AnsiString& value)
{
    r.Name = name;
    r.Action = 0;
    r.Type = number ? 'D' : 'S';
    r.Value = value;
}

}  // namespace ItemEdit
