#pragma once
// The rich benchmark's parts beside its formatting runs.

// The heap held once grids of large rich cells have been scrolled through (RichBenchScroll.cpp).
void MeasureScrolledCells();
// Cells of long texts in each script, as written and spaced, in a wide column and a narrow one
// (RichBenchScripts.cpp), from 16,000 characters to Most; and a text taller than Qt lays out.
void MeasureLongRuns(int Most);
// Counting the heap, and painting rich cells, on a heap whole and in pieces (RichBenchHeapCount.cpp).
void MeasureHeapCounts();
