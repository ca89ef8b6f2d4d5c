#include "controls/core/SecretPanelLayout.h"

#include <algorithm>

int FirstTextLine(const TStrings& Lines)
{
    const int count = Lines.Count();
    for (int i = 0; i < count; ++i)
        if (!Trim(Lines.Strings(i)).empty())
            return i;
    return count;
}

int LastTextLine(const TStrings& Lines)
{
    for (int i = Lines.Count() - 1; i >= 0; --i)
        if (!Trim(Lines.Strings(i)).empty())
            return i;
    return -1;
}

TSecretPanelGeometry SecretPanelGeometry(const TRect& Client, int Inflate, TSize Glyph, TGlyphLayout Layout,
                                         bool Sideways, int BlockHeight)
{
    const int w = Inflate;
    TSecretPanelGeometry g;
    g.PaintRect = Client;
    InflateRect(g.PaintRect, -w, -w);
    TRect& t = g.TextRect;
    t = Client;
    InflateRect(t, -(w + 3), -(w + 3));
    TPoint& o = g.GlyphOrigin;
    switch (Layout) {
    case glGlyphLeft:
    case glGlyphRight:
        o.y = std::max(t.Top, (t.Top + t.Bottom - Glyph.cy) / 2);
        if (Layout == glGlyphLeft) {
            o.x = t.Left;
            if (Glyph.cx > 0) {
                o.x += 3;
                t.Left = o.x + Glyph.cx + w + 3;
            }
        } else {
            o.x = t.Right - Glyph.cx;
            if (Glyph.cx > 0) {
                o.x = std::max(o.x - 3, t.Left);
                t.Right = o.x - (w + 3);
            }
        }
        break;
    case glGlyphTop:
    case glGlyphBottom:
        o.x = std::max(t.Left, (t.Left + t.Right - Glyph.cx) / 2);
        if (Layout == glGlyphTop) {
            o.y = t.Top;
            if (Glyph.cy > 0) {
                o.y += 3;
                t.Top = Glyph.cy + o.y + w + 6;
            }
        } else {
            o.y = t.Bottom - Glyph.cy;
            if (Glyph.cy > 0) {
                o.y = std::max(o.y - 3, t.Top);
                t.Bottom = o.y - (w + 6);
            }
        }
        break;
    }
    if (Sideways && BlockHeight >= 0 && BlockHeight < t.Height()) {
        const int half = (t.Height() - BlockHeight) / 2;
        t.Top += half;
        t.Bottom -= half;
    }
    if (t.Left >= t.Right || t.Top >= t.Bottom)
        t = TRect{};
    return g;
}

std::vector<TSecretLine> SecretPanelLines(const TSecretScroll& S)
{
    std::vector<TSecretLine> lines;
    TRect r = Rect(0, 0, S.Text.cx, S.Text.cy);
    if (!S.Sideways) {
        r.Top = r.Bottom - S.Scrolled;
    } else if (!S.RightToLeft) {
        r.Left = r.Right - S.Scrolled;
        r.Right = r.Left + S.Length - S.Text.cx;
    } else {
        r.Right = r.Left + S.Scrolled;
        r.Left = r.Right - (S.Length - S.Text.cx);
    }
    r.Bottom = r.Top + S.LineStep;
    for (int i = S.FirstLine; i <= S.LineCount; ++i) {
        if (r.Top >= S.Text.cy)
            break;
        if (r.Bottom > 0)
            lines.push_back(TSecretLine{i, r});
        OffsetRect(r, 0, S.LineStep);
    }
    return lines;
}
