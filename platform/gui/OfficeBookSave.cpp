#include "platform/gui/OfficeBookSave.h"

#include <unordered_map>
#include <unordered_set>

#include "platform/gui/OleAutomation.h"

TBookSave SaveOver(const std::vector<TListedSheet>& Now, const std::vector<TBookSheet>& Ours,
                   const AnsiString& FileName)
{
    const size_t count = Now.size();
    // Names folded once: a workbook may hold many sheets. Of names given twice, the later counts,
    // as the exchange's own search takes it.
    std::unordered_map<AnsiString, size_t> byName;
    for (size_t i = 0; i < count; ++i)
        byName[LowerCase(Now[i].Name)] = i;

    // Sheets the file listed when read are matched first, so that one renamed here keeps its
    // sheet over one added here under its old name.
    std::vector<int> mine(count, -1), at(Ours.size(), -1);
    for (const bool listed : {true, false})
        for (size_t i = 0; i < Ours.size(); ++i) {
            if (listed == Ours[i].Known.empty())
                continue;
            const auto found = byName.find(LowerCase(listed ? Ours[i].Known : Ours[i].Data->Name));
            if (found != byName.end() && mine[found->second] < 0) {
                mine[found->second] = static_cast<int>(i);
                at[i] = static_cast<int>(found->second);
            }
        }

    const auto refused = [&](const AnsiString& reason) {
        throw EOleException("Cannot save " + FileName + ": " + reason);
    };
    // Each sheet of ours the file lacks goes before the next of ours the file has.
    std::vector<std::vector<size_t>> before(count + 1);
    for (size_t i = Ours.size(), next = count; i-- > 0;) {
        const TBookSheet& sheet = Ours[i];
        if (at[i] >= 0) {
            next = static_cast<size_t>(at[i]);
            if (!sheet.Written->empty() && !Now[next].Worksheet)
                refused("the sheet " + sheet.Data->Name + " holds no cells now");
        } else if (sheet.Known.empty() || !sheet.Written->empty() || sheet.Data->Name != sheet.Known) {
            before[next].insert(before[next].begin(), i);
        }
    }

    TBookSave save;
    for (size_t place = 0; place <= count; ++place) {
        for (const size_t i : before[place])
            if (const TSheetData* whole = Ours[i].Whole()) {
                save.Book.push_back({-1, whole, {}});
                save.Ours.push_back(static_cast<int>(i));
            }
        if (place == count)
            break;
        if (const int i = mine[place]; i >= 0) {
            const TBookSheet& sheet = Ours[static_cast<size_t>(i)];
            // A sheet added here into one of the file's keeps the file's name.
            const TSheetData* data = sheet.Data;
            if (sheet.Known.empty())
                data = &save.Names.emplace_back(TSheetData{Now[place].Name, sheet.Data->Cells});
            save.Book.push_back({static_cast<int>(place), data, *sheet.Written});
        } else {
            save.Names.push_back({Now[place].Name, {}});
            save.Book.push_back({static_cast<int>(place), &save.Names.back(), {}});
        }
        save.Ours.push_back(mine[place]);
    }
    std::unordered_set<AnsiString> names;
    for (const TSheetWrite& sheet : save.Book)
        if (!names.insert(LowerCase(sheet.Data->Name)).second)
            refused("another sheet of the file is named " + sheet.Data->Name + " now");
    return save;
}
