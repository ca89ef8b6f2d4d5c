#pragma once
// Saving an opened workbook over its file as the file is now, when another program may have
// saved it since it was read: this program's changes go over the package the file holds now, and
// every other sheet and cell stays as the file has it. A sheet is found in the file's sheet list
// by name (without regard to case, as sheets are named), the name the file listed it by when this
// program read it:
// - a sheet the file still lists gets the boxes of cells written here, and the name given here;
// - a sheet added here goes in before the sheet it stood before here (last when none follows);
//   where the file now has a sheet of its name (another program added it too), the cells written
//   here go into that sheet, which keeps its name;
// - a sheet written or renamed here that the file no longer lists (another program removed or
//   renamed it) is added again, whole as this program holds it, so nothing saved here is lost; one
//   only listed here goes, as the other program left it;
// - a sheet of the file this program never knew stays where the file has it.
// Two sheets coming out under one name, or cells written into what is now a chart, refuse the
// save with the reason; nothing is written then.

#include <deque>
#include <functional>
#include <vector>

#include "platform/gui/OfficeWorkbook.h"

// One sheet of the workbook in memory, as a save over the file sees it.
struct TBookSheet {
    AnsiString Known;                  // the name the file listed it by when read; "" for a sheet added here
    const TSheetData* Data = nullptr;  // its name now, and the cells held where any were written
    const std::vector<TCellBox>* Written = nullptr;  // the boxes written since it was read
    // Every cell it holds, read where not yet read; null for a sheet without cells (a chart),
    // which is never added again.
    std::function<const TSheetData*()> Whole;
};

// The sheets to write over the file's package, in their order.
struct TBookSave {
    std::vector<TSheetWrite> Book;
    std::vector<int> Ours;         // at each place, the index of the book's sheet; -1 for the file's own
    std::deque<TSheetData> Names;  // the names of the file's own sheets, which Book points at
};

// FileName is the file as messages show it; raises EOleException "Cannot save ..." with the
// reason where the save is refused.
TBookSave SaveOver(const std::vector<TListedSheet>& Now, const std::vector<TBookSheet>& Ours,
                   const AnsiString& FileName);
