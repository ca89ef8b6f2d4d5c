#include "script/TriggerRecords.h"

cTriggers* FindTrigger(const TTriggerList& list, std::string_view name)
{
    return list.FindByName(name, &cTriggers::NickName);
}

cTriggers* SetTrigger(TTriggerList& list, std::string_view nick, std::string_view group, std::string_view from,
                      std::string_view to, uint32_t status)
{
    cTriggers* t = FindTrigger(list, nick);
    if (!t) {
        t = list.Add(std::make_unique<cTriggers>());
        t->NickName = Trim(nick);
    }
    t->Group = Trim(group);
    t->From = AnsiString(from);
    t->To = AnsiString(to);
    // A trigger without a nickname is named after its position.
    if (t->NickName.empty())
        t->NickName = IntToStr(list.IndexOf(t) + 1);
    t->Status = status;
    return t;
}
