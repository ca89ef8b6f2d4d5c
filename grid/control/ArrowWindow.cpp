#include "grid/control/ArrowWindow.h"

#include <vector>

#include "platform/gui/WindowShape.h"

namespace {

constexpr std::array<std::array<TPoint, 7>, 4> kOutlines{{
    {{{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}}},
    {{{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}}},
    {{{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}}},
    {{{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}}},
}};

}  // namespace

TArrowWindow::TArrowWindow(TComponent* AOwner, TArrowDirection Direction)
    : TPanel(AOwner), FDirection(Direction), FPoints(kOutlines[static_cast<size_t>(Direction)])
{
    SetColor(clLime);
}

void TArrowWindow::CreateParams(TCreateParams& Params)
{
    TPanel::CreateParams(Params);
    Params.Style = WS_POPUP;
}

void TArrowWindow::WidgetCreated()
{
    TPanel::WidgetCreated();
    SetWindowRgn(this, CreatePolygonRgn(std::vector<TPoint>(FPoints.begin(), FPoints.end()), WINDING), true);
}
