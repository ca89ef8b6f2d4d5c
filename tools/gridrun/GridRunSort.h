#pragma once
// gridrun's directive on the grid's sort-index list (the sorts themselves run through "call"
// and through a header click):
//
//   sortindex clear              empties the list
//   sortindex C asc|desc         appends column C in that direction
//   ? SortIndexes                prints the list (a read-only property)

#include <string>
#include <string_view>
#include <vector>

#include "grid/model/IntList.h"

#include "tools/gridrun/GridRunText.h"

class TGridRun;

// The list as "? SortIndexes" prints it: "C asc" or "C desc" for each entry, joined by commas.
std::string SortIndexText(const TSortIndexList& List);

void RunSortIndex(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line);
