#include "controls/core/CaptionPlacement.h"

TPoint ShadowOffset(TShadowPosition Position, int Size)
{
    switch (Position) {
    case spLeftTop: return TPoint{-Size, -Size};
    case spLeftBottom: return TPoint{-Size, Size};
    case spRightBottom: return TPoint{Size, Size};
    case spRightTop: return TPoint{Size, -Size};
    }
    return TPoint{};
}

TSwitchPlacement SwitchPlacement(TTextPos Position, const TRect& Client, TSize Glyph)
{
    const int midX = Client.Left + (Client.Width() - Glyph.cx) / 2;
    const int midY = Client.Top + (Client.Height() - Glyph.cy) / 2;
    TSwitchPlacement p;
    switch (Position) {
    case tpNone: p.Glyph = TPoint{midX, midY}; break;
    case tpLeft:
        p.Glyph = TPoint{Client.Right - Glyph.cx, midY};
        p.Caption = Rect(Client.Left, Client.Top, p.Glyph.x, Client.Bottom);
        break;
    case tpRight:
        p.Glyph = TPoint{Client.Left, midY};
        p.Caption = Rect(Client.Left + Glyph.cx, Client.Top, Client.Right, Client.Bottom);
        break;
    case tpAbove:
        p.Glyph = TPoint{midX, Client.Bottom - Glyph.cy};
        p.Caption = Rect(Client.Left, Client.Top, Client.Right, p.Glyph.y);
        break;
    case tpBelow:
        p.Glyph = TPoint{midX, Client.Top};
        p.Caption = Rect(Client.Left, Client.Top + Glyph.cy, Client.Right, Client.Bottom);
        break;
    }
    return p;
}
