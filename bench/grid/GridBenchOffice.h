#pragma once
// Workbooks of many sheets through the grid's exchange with the spreadsheet server: opening one
// of 10,000 and one of 40,000 sheets (the time should grow with the sheets, four times, not
// sixteen), and at 40,000 sheets adding a sheet against writing into one that is there (the
// same work but for naming the new sheet and its part). Prints METRIC office_open_10k_sheets_ms,
// office_open_40k_sheets_ms, office_add_sheet_40k_ms and office_write_sheet_40k_ms; a figure of
// -1 means the result was wrong.

void OfficeMetrics();
