#pragma once
// Find of a text that no cell holds over rows x 5 cells: the grid's FindFirst with the script
// editor's empty options against QAbstractItemModel::match (contains, any case) over every
// column of a QStandardItemModel of the same texts. Prints METRIC grid_find_miss_ms and
// qt_model_match_ms.

void FindMetrics(int Rows);
