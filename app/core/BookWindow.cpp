#include "app/core/BookWindow.h"

#include <string>

#include "app/core/WindowTexts.h"

namespace BookWindow {

std::array<AnsiString, 4> RowCells(const TCharBooks& entry)
{
    return {entry.HostName, entry.Host, std::to_string(entry.Port), entry.CharName};
}

std::shared_ptr<TCharBooks> DefaultEntry()
{
    auto entry = std::make_shared<TCharBooks>();
    entry->HostName = "localhost";
    entry->CharName = WindowText::DefaultCharName;
    entry->Host = "127.0.0.1";
    entry->Port = 4002;
    return entry;
}

int CurrentRowAfterFill(int remembered, int entryCount)
{
    if (remembered > entryCount)
        return entryCount;
    return remembered < 1 ? 1 : remembered;
}

int EntryIndex(int row, int entryCount) { return row >= 1 && row <= entryCount ? row - 1 : -1; }

int InsertIndex(int row, int entryCount)
{
    const int index = EntryIndex(row, entryCount);
    return index < 0 ? 0 : index;
}

}  // namespace BookWindow
