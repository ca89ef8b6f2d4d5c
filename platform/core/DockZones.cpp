#include "platform/core/DockZones.h"

#include <algorithm>
#include <array>
#include <cstdint>

TDockEdge DockEdgeAt(const TRect& area, TPoint point)
{
    if (area.IsEmpty())
        return TDockEdge::Top;
    const int64_t x = std::clamp(point.x, area.Left, area.Right);
    const int64_t y = std::clamp(point.y, area.Top, area.Bottom);
    const int64_t width = area.Width(), height = area.Height();
    // Each distance over its side's length, compared across the two without dividing: a
    // vertical distance is scaled by the width, a horizontal one by the height.
    const std::array<int64_t, 4> distances = {(y - area.Top) * width, (area.Bottom - y) * width,
                                              (x - area.Left) * height, (area.Right - x) * height};
    const std::array<TDockEdge, 4> edges = {TDockEdge::Top, TDockEdge::Bottom, TDockEdge::Left, TDockEdge::Right};
    const auto nearest = std::min_element(distances.begin(), distances.end());
    return edges[static_cast<size_t>(nearest - distances.begin())];
}

TDockPlace DockPlace(const TRect& area, TDockEdge edge, int depth)
{
    const bool across = edge == TDockEdge::Top || edge == TDockEdge::Bottom;
    depth = std::clamp(depth, 0, std::max(across ? area.Height() : area.Width(), 0) / 2);
    TDockPlace place{area, area};
    switch (edge) {
    case TDockEdge::Top: place.Docked.Bottom = place.Rest.Top = area.Top + depth; break;
    case TDockEdge::Bottom: place.Docked.Top = place.Rest.Bottom = area.Bottom - depth; break;
    case TDockEdge::Left: place.Docked.Right = place.Rest.Left = area.Left + depth; break;
    case TDockEdge::Right: place.Docked.Left = place.Rest.Right = area.Right - depth; break;
    }
    return place;
}
