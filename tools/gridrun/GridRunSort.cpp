#include "tools/gridrun/GridRunSort.h"

#include "tools/gridrun/GridRun.h"
#include "tools/gridrun/GridRunValues.h"

std::string SortIndexText(const TSortIndexList& List)
{
    std::string text;
    for (int i = 0; i < List.Count(); ++i) {
        const auto entry = static_cast<uint32_t>(List.GetInteger(i));
        text += (i ? "," : "") + std::to_string(entry & ~TSortIndexList::kDescending) +
            (entry & TSortIndexList::kDescending ? " desc" : " asc");
    }
    return text;
}

void RunSortIndex(TGridRun& Run, const std::vector<TGridRunWord>& w, std::string_view)
{
    TSortIndexList* list = Run.Grid().SortIndexes();
    if (w.size() == 2 && w[1].Text == "clear") {
        list->Clear();
        return;
    }
    int col = 0;
    if (w.size() != 3 || (w[2].Text != "asc" && w[2].Text != "desc") || !ParseInt(w[1].Text, col) || col < 0)
        throw EBadDirective("expected: sortindex clear or sortindex C asc|desc");
    list->AddIndex(col, w[2].Text == "asc");
}
