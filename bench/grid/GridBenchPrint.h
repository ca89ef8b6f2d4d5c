#pragma once
// Printing the cell grid to a PDF file against LibreOffice headless turning the same rows, as
// CSV, into a PDF (GridBenchPrint.cpp).

#include <functional>
#include <string>

// Prints grid_print_pdf_ms and grid_print_pages for Rows x Cols cells (cp949 from Cell) printed
// to a PDF file, and libreoffice_pdf_ms for LibreOffice converting them, as UTF-8 CSV, to PDF
// (-1 when LibreOffice is not installed or fails).
void PrintMetrics(int Rows, int Cols, const std::function<std::string(int Col, int Row)>& Cell);
