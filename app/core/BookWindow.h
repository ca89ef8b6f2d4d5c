#pragma once
// The character-book window's decisions, without a display: what each grid row shows, the entry
// an empty book gets, which row is current after a fill, and which entry a row's buttons act on.
// Row 0 of the grid is its header; row i shows entry i - 1 of the book.

#include <array>
#include <memory>

#include "app/core/CharBooks.h"
#include "platform/core/AnsiString.h"

namespace BookWindow {

// The four cells of an entry's row: HostName, Host, Port in decimal, CharName.
std::array<AnsiString, 4> RowCells(const TCharBooks& entry);

// The entry an empty book gets: the game server on this machine, port 4002.
std::shared_ptr<TCharBooks> DefaultEntry();

// The row made current after a fill: the remembered one, the last row when it lies past it, and
// the first entry's when it was the header.
int CurrentRowAfterFill(int remembered, int entryCount);

// The book index of the entry a row shows; -1 for the header row or a row past the book.
int EntryIndex(int row, int entryCount);

// Where Insert puts a new entry: before the row's entry, at the front when the row shows none.
int InsertIndex(int row, int entryCount);

}  // namespace BookWindow
