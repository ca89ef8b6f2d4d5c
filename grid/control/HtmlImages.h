#pragma once
// The pictures HTML cell text names: bitmap files ("file://"), the desktop's file-type icons
// ("ssys:", "lsys:") and the stretch copy used when printing.

#include <memory>
#include <string_view>

#include "platform/gui/Bitmap.h"
#include "platform/gui/Canvas.h"

// The largest picture file read for a cell.
constexpr long long kMaxHtmlImageFileBytes = 16LL << 20;

// The bitmap of a program path, or null: only a regular file of at most kMaxHtmlImageFileBytes
// is read (never a device or a pipe), decoded once and kept while its modification time and size
// stay the same. Painting asks for it at every cell paint.
std::shared_ptr<TBitmap> HtmlFileBitmap(std::string_view ProgramPath);
// Forgets every kept bitmap.
void ClearHtmlFileBitmaps();

// A picture side scaled by the printer's factor, rounded and kept within 0 .. 65535.
int ScaleImageSide(int Side, double Factor);
// Copies the whole bitmap into Dest, stretched (the printer's way of drawing pictures).
void StretchBitmapToCanvas(TCanvas* Canvas, const TRect& Dest, TBitmap* Bitmap);
// The desktop's icon for the type of the file Name at (X, Y), small or large; with Printing it is
// stretched by ResFactor. Size becomes the icon's size, 0 when there is none: a name that is a
// number (an index into the Windows list of system icons) has none here. Draws only with Draw.
void DrawShellIcon(TCanvas* Canvas, int X, int Y, int& Size, double ResFactor, bool Printing, bool Draw, bool Large,
                   std::string_view Name);
// Whether the program path names a folder.
bool IsDirectory(std::string_view Path);
