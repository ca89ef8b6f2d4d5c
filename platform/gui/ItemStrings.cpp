#include "platform/gui/ItemStrings.h"

#include "platform/gui/ListBoxes.h"

int TItemStrings::Add(const AnsiString& s)
{
    LRESULT r = FControl->Perform(FMsg.Add, 0, reinterpret_cast<LPARAM>(s.c_str()));
    if (r < 0)
        throw EOutOfResources("Unable to insert a line");
    return static_cast<int>(r);
}

void TItemStrings::Insert(int index, const AnsiString& s)
{
    if (FControl->Perform(FMsg.Insert, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str())) < 0)
        throw EOutOfResources("Unable to insert a line");
}

void TItemStrings::Delete(int index) { FControl->Perform(FMsg.Delete, static_cast<WPARAM>(index)); }

void TItemStrings::Clear() { FControl->Perform(FMsg.Reset); }

int TItemStrings::IndexOf(std::string_view s) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (SameText(Get(i), s))
            return i;
    return -1;
}

AnsiString TItemStrings::Get(int index) const
{
    LRESULT len = FControl->Perform(FMsg.TextLen, static_cast<WPARAM>(index));
    if (len < 0)
        ListIndexError(index);
    std::string buffer(static_cast<size_t>(len) + 1, '\0');
    FControl->Perform(FMsg.Text, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    return AnsiString(buffer.c_str());
}

int TItemStrings::GetCount() const { return static_cast<int>(FControl->Perform(FMsg.Count)); }

TObject* TItemStrings::GetObject(int index) const
{
    if (index < 0 || index >= GetCount())
        ListIndexError(index);
    return reinterpret_cast<TObject*>(FControl->Perform(FMsg.GetData, static_cast<WPARAM>(index)));
}

void TItemStrings::PutObject(int index, TObject* object)
{
    FControl->Perform(FMsg.SetData, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(object));
}

void TItemStrings::Put(int index, const AnsiString& s)
{
    TObject* o = GetObject(index);
    Delete(index);
    InsertObject(index, s, o);
}

void TItemStrings::SetUpdateState(bool updating) { FControl->Perform(WM_SETREDRAW, updating ? 0 : 1); }
