#pragma once
// Printing the cell grid to a PDF file against LibreOffice headless turning the same rows, as
// CSV, into a PDF; previews of wide grids and the print of one huge cell (GridBenchPrint.cpp).

#include <functional>
#include <string>

// Prints grid_print_pdf_ms and grid_print_pages for Rows x Cols cells (cp949 from Cell) printed
// to a PDF file, and libreoffice_pdf_ms for LibreOffice converting them, as UTF-8 CSV, to PDF
// (-1 when LibreOffice is not installed or fails).
void PrintMetrics(int Rows, int Cols, const std::function<std::string(int Col, int Row)>& Cell);

// Prints grid_preview_4000_cols_ms and grid_preview_16000_cols_ms (a preview of page 1 of two rows
// of short cells; linear work makes the second four times the first) and their ratio
// grid_preview_cols_ratio; then grid_print_60mb_cell_ms, grid_preview_60mb_cell_ms and what each
// adds to the process's resident size at its peak (grid_print_60mb_cell_peak_mb,
// grid_preview_60mb_cell_peak_mb) for a grid whose cell holds one line of 60 MB.
void PrintScaleMetrics();
