#include "platform/gui/BitmapTile.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>

void TileBitmap(TCanvas* Canvas, const TRect& LogicalArea, TBitmap* Bitmap, TPoint LogicalOrigin)
{
    QPainter* p = Canvas ? Canvas->Painter() : nullptr;
    if (!p || !Bitmap || Bitmap->Empty())
        return;
    // Tiles are pixels: the area and origin are placed in the canvas's pixels.
    const TPoint a = Canvas->LogicalToDevice({LogicalArea.Left, LogicalArea.Top}),
                 b = Canvas->LogicalToDevice({LogicalArea.Right, LogicalArea.Bottom});
    const TRect Area{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    const TPoint Origin = Canvas->LogicalToDevice(LogicalOrigin);
    if (Area.IsEmpty())
        return;
    const QPixmap tile = QPixmap::fromImage(Bitmap->Snapshot());
    const QRect area(Area.Left, Area.Top, Area.Width(), Area.Height());
    // The offset into the tile of the area's top-left corner, kept in 0 .. size - 1.
    const auto wrap = [](long long v, int size) { return static_cast<int>(((v % size) + size) % size); };
    const QPoint offset(wrap(static_cast<long long>(Area.Left) - Origin.x, tile.width()),
                        wrap(static_cast<long long>(Area.Top) - Origin.y, tile.height()));
    p->save();
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawTiledPixmap(area, tile, offset);
    p->restore();
}
