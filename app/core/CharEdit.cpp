#include "app/core/CharEdit.h"

#include <algorithm>
#include <string>

#include "app/core/WindowTexts.h"

namespace CharEdit {

AnsiString ButtonCaption(int mode)
{
    switch (mode) {
    case cemAdd: return WindowText::AddCaption;
    case cemEdit: return WindowText::EditButtonCaption;
    case cemInsert: return WindowText::InsertCaption;
    case cemDelete: return WindowText::DeleteCaption;
    default: return WindowText::BugCaption;
    }
}

bool IsNumber(const AnsiString& text)
{
    size_t i = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i == text.size())
        return false;
    for (; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

TFields FieldsOf(const TCharBooks& entry)
{
    return {entry.HostName, entry.Host, std::to_string(entry.Port), entry.CharName};
}

bool Accepts(const TFields& f)
{
    for (const AnsiString* text : {&f.HostName, &f.Host, &f.Port, &f.CharName})
        if (text->find('~') != AnsiString::npos)
            return false;
    int port = 0;
    return !f.HostName.empty() && !f.Host.empty() && IsNumber(f.Port) && TryStrToInt(f.Port, port) &&
        !f.CharName.empty();
}

void Edit(TCharBooks& entry, const TFields& f)
{
    entry.HostName = f.HostName;
    entry.Host = f.Host;
    entry.Port = StrToIntDef(f.Port, entry.Port);
    entry.CharName = f.CharName;
}

void Add(const TFields& fields)
{
    auto entry = std::make_shared<TCharBooks>();
    Edit(*entry, fields);
    TCharBooks::CharBookList.push_back(std::move(entry));
}

void Insert(int index, const TFields& fields)
{
    auto entry = std::make_shared<TCharBooks>();
    Edit(*entry, fields);
    auto& list = TCharBooks::CharBookList;
    const auto at = static_cast<size_t>(std::clamp(index, 0, static_cast<int>(list.size())));
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
}

bool Delete(int index)
{
    auto& list = TCharBooks::CharBookList;
    if (index < 0 || static_cast<size_t>(index) >= list.size())
        return false;
    list.erase(list.begin() + index);
    return true;
}

int NextDeleteIndex(int deleted, int gridRow, int entryCount)
{
    int next = gridRow - 1 > deleted ? gridRow - 1 : deleted - 1;
    next = std::min(next, entryCount - 1);
    return next >= 1 ? next : -1;
}

}  // namespace CharEdit
