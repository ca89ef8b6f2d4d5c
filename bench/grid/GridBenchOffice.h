#pragma once
// Workbooks of many sheets through the grid's exchange with the spreadsheet server, at 10,000
// and at 40,000 sheets (each figure should grow four times between them, not sixteen): opening
// the workbook, writing into a sheet that is there, and adding a sheet against that (the same
// work but for naming the new sheet and its part, and listing it). Prints METRIC
// office_open_10k_sheets_ms, office_write_sheet_10k_ms, office_add_sheet_10k_ms and the same
// for 40k; a figure of -1 means the result was wrong.

void OfficeMetrics();
