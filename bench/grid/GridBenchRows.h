#pragma once
// The grid bench's measures of grouping and sorting rows (GridBenchGroup.cpp,
// GridBenchSort.cpp): each prints its METRIC lines beside the peers it is compared with.

// Group on a column of Rows distinct values (against the row filter's one pass, which the
// bench prints as grid_filter_ms).
void GroupBench(int Rows);

// Sorting the bench's rows by a text, a numeric, a date column and by two index entries,
// against QStandardItemModel::sort and GNU sort (with a check that the orders agree).
void SortBench(int Rows);
