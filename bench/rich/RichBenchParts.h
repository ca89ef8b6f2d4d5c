#pragma once
// The rich benchmark's parts beside its formatting runs.

// The heap held once grids of large rich cells have been scrolled through (RichBenchScroll.cpp).
void MeasureScrolledCells();
// Cells of long texts in each script, without white space and spaced (RichBenchScripts.cpp),
// from 20,000 characters to Most.
void MeasureLongRuns(int Most);
