#include "platform/core/TabLayout.h"

#include <algorithm>

std::vector<TTabPlace> LayoutTabs(const std::vector<int>& widths, int available, bool multiLine, int selected)
{
    std::vector<TTabPlace> places(widths.size());
    int row = 0, x = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        // A tab wider than the whole row still gets a row of its own.
        if (multiLine && x > 0 && x + widths[i] > available) {
            ++row;
            x = 0;
        }
        places[i] = TTabPlace{row, x, widths[i]};
        x += widths[i];
    }
    // Rows were counted from the top; the selected tab's row goes next to the page (row 0) and
    // the rows that stood between move one away.
    const int rows = row + 1;
    const int selectedRow = selected >= 0 && selected < static_cast<int>(places.size())
        ? places[static_cast<size_t>(selected)].Row
        : rows - 1;
    for (TTabPlace& p : places) {
        int fromPage = rows - 1 - p.Row;
        int selectedFromPage = rows - 1 - selectedRow;
        if (fromPage == selectedFromPage)
            p.Row = 0;
        else if (fromPage < selectedFromPage)
            p.Row = fromPage + 1;
        else
            p.Row = fromPage;
    }
    return places;
}

int TabRowCount(const std::vector<TTabPlace>& places)
{
    int rows = 0;
    for (const TTabPlace& p : places)
        rows = std::max(rows, p.Row + 1);
    return rows;
}
