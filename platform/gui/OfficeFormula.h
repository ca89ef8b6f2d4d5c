#pragma once
// Spreadsheet formulas moved to another cell, as filling a formula down or across moves it.

#include <QString>
#include <QStringView>

// The formula Formula (as a sheet stores it, without "=") written for one cell, as it reads in
// the cell Rows rows below and Cols columns right of it: relative references move, the parts
// marked absolute with "$" stay, and a reference moved off the sheet becomes #REF!. Texts in
// quotes, sheet names, function names, defined names and table references are left as they are.
QString MovedFormula(QStringView Formula, int Rows, int Cols);
