#include "grid/control/CgutilDraw.h"

void DrawBitmapTransp(TCanvas* Canvas, TBitmap* Bitmap, TColor Color, const TRect& Rect)
{
    if (!Bitmap || Bitmap->Empty())
        return;
    const int w = Bitmap->Width(), h = Bitmap->Height();
    TBitmap copy;
    copy.SetSize(w, h);
    copy.Canvas()->Brush()->SetColor(Color);
    const TRect whole = ::Rect(0, 0, w, h);
    copy.Canvas()->BrushCopy(whole, Bitmap, whole, Bitmap->PixelColor(0, 0));
    Canvas->Draw(Rect.Left, Rect.Top, &copy);
}
