#pragma once
// Where the tabs of a tab control go: one row, or (multi-line) as many rows as the widths need,
// each filled from the left. The row holding the selected tab is moved next to the page, as the
// system's tab control does, so rows are numbered from the page outwards.

#include <vector>

struct TTabPlace {
    int Row = 0;   // 0 is the row touching the page
    int Left = 0;  // x of the tab within its row
    int Width = 0;
};

std::vector<TTabPlace> LayoutTabs(const std::vector<int>& widths, int available, bool multiLine, int selected);
// The number of rows a layout uses.
int TabRowCount(const std::vector<TTabPlace>& places);
