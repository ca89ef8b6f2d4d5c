#pragma once
// gridrun's printing directives:
//
//   printer pdf FILE        Print goes to a PDF file (A4, the whole page printable)
//   printer queue NAME      Print goes to the CUPS queue NAME
//   ? pages                 "pages = N": the page count of the last print or preview run
//   preview FILE W H        PrintPreview into a white W x H picture, saved as PNG
//   draw FILE W H           PrintDraw into a white W x H picture, saved as PNG
//
// "call Print", "call PrintRect L,T,R,B" and "call SetPreviewPage N" run the grid's own
// operations; the print events print through "events" and take "answer".

#include <string_view>
#include <vector>

#include "tools/gridrun/GridRunText.h"

class TGridRun;

void RunPrinter(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line);
void ShowPages(TGridRun& Run, const std::vector<TGridRunWord>& Words);
void RunPreview(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line);
void RunDraw(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line);
