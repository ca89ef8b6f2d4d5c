#include "grid/control/FilePicture.h"

#include "platform/core/Exceptions.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/Picture.h"

void TFilePicture::SetFileName(const AnsiString& Name)
{
    FFileName = Name;
    TPicture picture;
    picture.LoadFromFile(Name);
    FPicWidth = picture.Width();
    FPicHeight = picture.Height();
}

void TFilePicture::DrawPicture(TCanvas* Canvas, const TRect& Rect) const
{
    if (FFileName.empty())
        return;
    TPicture picture;
    try {
        picture.LoadFromFile(FFileName);
    } catch (const Exception&) {
        return;  // the file went or changed since its name was set
    }
    Canvas->StretchDraw(Rect, picture.Graphic());
}
