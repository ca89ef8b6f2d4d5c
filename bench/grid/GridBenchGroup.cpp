// Grouping 100,000 rows of distinct values: one node row goes in before every row, so the
// node rows must go in together, as the row filter hides its rows in one pass.

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/grid/GridBenchRows.h"
#include "grid/control/CellGrid.h"

void GroupBench(int Rows)
{
    TCellGrid grid(nullptr);
    grid.SetColCount(3);
    grid.SetRowCount(Rows + 1);
    // Distinct values in a scattered order (1000003 is prime).
    for (int r = 1; r <= Rows; ++r) {
        grid.SetCells(1, r, std::to_string(r));
        grid.SetCells(2, r, "g" + std::to_string(100000000 + static_cast<long long>(r) * 7919 % 1000003));
    }
    const auto start = std::chrono::steady_clock::now();
    grid.Group(2);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    // Every value has its node row before its one data row.
    const bool whole = grid.NodeCount() == Rows && grid.RowCount() == 2 * Rows + 1;
    std::printf("METRIC grid_group_ms %.1f\n", whole ? ms : -1.0);
}
