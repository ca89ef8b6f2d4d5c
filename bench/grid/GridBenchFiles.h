#pragma once
// The grid's file formats against Python's csv module on the same rows.

#include <functional>
#include <string>

// Fills a grid of Rows x Cols from Cell (cp949), then prints METRIC lines: the grid saving and
// loading CSV and its own file, and Python's csv module writing and reading the same rows.
void FileMetrics(int Rows, int Cols, const std::function<std::string(int Col, int Row)>& Cell);
