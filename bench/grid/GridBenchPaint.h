#pragma once
// Painting the cell grid's view against Qt's QTableView over a QStandardItemModel (GridBenchPaint.cpp).

// Prints grid_paint_top_ms, grid_paint_bottom_ms and qt_view_paint_ms: the median of 50 paints
// of an 800 x 600 view at the first row and 20 rows before the last of Rows.
void PaintMetrics(int Rows);
