#pragma once
// A picture a cell keeps by file name: setting the name reads the file once for its size, and
// every paint reads and decodes it again, so no image data stays in memory between paints.

#include "grid/model/CellGraphic.h"
#include "platform/core/AnsiString.h"
#include "platform/core/Geometry.h"

class TCanvas;

class TFilePicture : public TObject, public ICellImage {
public:
    const AnsiString& FileName() const { return FFileName; }
    // Keeps the name, then reads the file for its size: the framework's error for a file that
    // cannot be read as a picture (the size is then left as it was).
    void SetFileName(const AnsiString& Name);
    int PicWidth() const { return FPicWidth; }
    int PicHeight() const { return FPicHeight; }
    // Stretches the picture into Rect; draws nothing without a name or when the file no
    // longer loads (painting never raises).
    void DrawPicture(TCanvas* Canvas, const TRect& Rect) const;

    int ImageWidth() const override { return FPicWidth; }
    int ImageHeight() const override { return FPicHeight; }

private:
    AnsiString FFileName;
    int FPicWidth = 0;
    int FPicHeight = 0;
};
