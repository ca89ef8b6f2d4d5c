#pragma once
// Typing into a cell of a large grid (GridBenchTyping.cpp).

// Prints grid_typing_key_ms: 200 characters typed into a cell of the cell grid of Rows rows with
// SizeWhileTyping.Width on, per key from the press to the repaint; and qt_view_typing_key_ms: the
// same into a QTableView's editor whose column is sized to its contents on each key. Each figure
// is the mean over the 200 keys, in milliseconds.
void TypingMetrics(int Rows);
