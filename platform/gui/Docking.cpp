// Docking on TWinControl: a site's docked controls, docking a control on a site and floating it
// off again, and the dock manager that gives each docked control its edge of the site's dock
// area (platform/core/DockZones.h holds the rules).

#include <vector>

#include "platform/core/DockZones.h"
#include "platform/gui/WinControl.h"

namespace {

bool EdgeOf(TAlign align, TDockEdge& edge)
{
    switch (align) {
    case alTop: edge = TDockEdge::Top; return true;
    case alBottom: edge = TDockEdge::Bottom; return true;
    case alLeft: edge = TDockEdge::Left; return true;
    case alRight: edge = TDockEdge::Right; return true;
    default: return false;
    }
}

TAlign AlignOf(TDockEdge edge)
{
    switch (edge) {
    case TDockEdge::Top: return alTop;
    case TDockEdge::Bottom: return alBottom;
    case TDockEdge::Left: return alLeft;
    case TDockEdge::Right: return alRight;
    }
    return alNone;
}

// How deep a control docked at an edge asks to go: its floating height at the top or bottom, its
// floating width at a side (DockPlace gives it no more than half the room).
int DepthAt(const TWinControl& control, TDockEdge edge)
{
    return edge == TDockEdge::Top || edge == TDockEdge::Bottom ? control.UndockHeight() : control.UndockWidth();
}

TRect ToScreen(const TWinControl& site, const TRect& r)
{
    const TPoint origin = site.ClientToScreen(TPoint{0, 0});
    TRect screen = r;
    OffsetRect(screen, origin.x, origin.y);
    return screen;
}

}  // namespace

void TWinControl::SetUseDockManager(bool v)
{
    if (v == FUseDockManager)
        return;
    FUseDockManager = v;
    Realign();
}

TWinControl* TWinControl::DockClients(int index) const
{
    if (index < 0 || index >= DockClientCount())
        throw EListError(Format("List index out of bounds (%d)", index));
    return FDockClients[static_cast<size_t>(index)];
}

TRect TWinControl::DockArea()
{
    TRect area = ClientRect();
    AdjustClientRect(area);
    return area;
}

void TWinControl::PlaceDockClients(TRect& Area)
{
    // By index, read again each time: placing a control runs its handlers, which may dock,
    // float or free another.
    for (size_t i = 0; i < FDockClients.size(); ++i) {
        TWinControl* client = FDockClients[i];
        if (!client->Visible())
            continue;
        if (client->Align() == alClient) {
            client->SetBoundsRect(Area);
            Area.Left = Area.Right;
            continue;
        }
        TDockEdge edge;
        if (!EdgeOf(client->Align(), edge))
            continue;
        const TDockPlace place = DockPlace(Area, edge, DepthAt(*client, edge));
        client->SetBoundsRect(place.Docked);
        Area = place.Rest;
    }
}

TDragDockObject TWinControl::DockTarget(TWinControl* Control, TPoint Point, const TRect& DragRect)
{
    TDragDockObject target;
    target.Control = Control;
    target.DockRect = DragRect;
    if (!FUseDockManager || !Control)
        return target;
    // The drop chooses among what the other docked controls leave.
    TRect area = DockArea();
    for (TWinControl* client : FDockClients) {
        TDockEdge edge;
        if (client != Control && client->Visible() && EdgeOf(client->Align(), edge))
            area = DockPlace(area, edge, DepthAt(*client, edge)).Rest;
    }
    const TDockEdge edge = DockEdgeAt(area, Point);
    target.DropAlign = AlignOf(edge);
    target.DockRect = ToScreen(*this, DockPlace(area, edge, DepthAt(*Control, edge)).Docked);
    return target;
}

void TWinControl::DockOver(TDragDockObject& Source, int X, int Y, TDragState State, bool& Accept)
{
    if (OnDockOver)
        OnDockOver(this, &Source, X, Y, State, Accept);
}

void TWinControl::DockDrop(TDragDockObject& Source, int X, int Y)
{
    TWinControl* control = Source.Control;
    if (!control || !control->ManualDock(this, Source.DropAlign))
        return;
    if (Source.DropAlign == alNone) {
        const TPoint at = ScreenToClient(TPoint{Source.DockRect.Left, Source.DockRect.Top});
        control->SetBounds(at.x, at.y, Source.DockRect.Width(), Source.DockRect.Height());
    }
    if (OnDockDrop)
        OnDockDrop(this, &Source, X, Y);
}

bool TWinControl::ManualDock(TWinControl* NewDockSite, TAlign DropAlign)
{
    if (!NewDockSite || NewDockSite == this || ContainsControl(NewDockSite))
        return false;
    if (!FHostDockSite) {
        FUndockWidth = Width();
        FUndockHeight = Height();
    }
    // Listed on the new site first: leaving the old one (RemoveControl) unlists it there.
    if (FHostDockSite != NewDockSite) {
        NewDockSite->FDockClients.push_back(this);
        FHostDockSite = NewDockSite;
    }
    SetAlign(alNone);
    SetParent(NewDockSite);
    SetBounds(0, 0, FUndockWidth, FUndockHeight);
    // An edge aligns the site again; a control docked where it was dropped changes nothing there.
    SetAlign(DropAlign);
    return true;
}

bool TWinControl::ManualFloat(const TRect& ScreenPos)
{
    TWinControl* host = Parent();
    if (!host) {
        SetBoundsRect(ScreenPos);
        return true;
    }
    TAliveToken hostAlive = host->AliveToken();
    // Placed first and out of the site's alignment, so the window shows where it goes.
    SetAlign(alNone);
    SetBoundsRect(ScreenPos);
    SetParent(nullptr);
    if (*hostAlive && !host->InState(csDestroying))
        host->Realign();
    return true;
}
