#pragma once
// One huge cell (GridBenchLarge.cpp): painting a grid whose cell holds one line of 60 MB against
// the same grid with a short cell, and the aligned-text export of wide centred columns against
// the same export left-aligned.

// Prints grid_paint_short_cell_ms, grid_paint_60mb_cell_ms (medians of 5 paints of a 400 x 200
// view), grid_paint_60mb_cell_peak_mb (what the paints add to the process's peak size), and
// grid_ascii_left_ms and grid_ascii_centred_ms (SaveToASCII of 100 rows in three columns 100,000
// characters wide). Runs before anything else fills memory, so the peak is the paints'.
void LargeCellMetrics();
