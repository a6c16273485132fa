#include "Mainunit/WindowFit.h"

#include "slip/SlipLayout.h"

#include <algorithm>

namespace mivrel {
namespace {

// The button panel is 57 pixels high and retracts to 40 above the top edge,
// leaving a 17-pixel strip.
constexpr int PanelStrip = 57 - 40;

} // namespace

int SlipTop(std::int32_t scaledWidth)
{
    return PanelStrip + 2 * (scaledWidth / 60) + 2;
}

int FittedClientHeight(int slipWidth)
{
    SlipLayout probe;
    probe.ScaleNum = std::max(slipWidth, 1) - 1;
    LayOutSlip(probe);
    return SlipTop(probe.XCoord[56]) + probe.YCoord[18] + 1;
}

// The fitted height grows with the width, so the widest slip that fits is
// found by halving the range of widths. The slip is 3:2, so no slip wider
// than twice the height (and a margin for the title) can fit.
int LargestFittingWidth(int clientWidth, int clientHeight)
{
    int fits = 1;
    int tooWide = std::max(1, std::min(clientWidth, 2 * std::max(clientHeight, 0) + 2)) + 1;
    while (tooWide - fits > 1) {
        const int middle = fits + (tooWide - fits) / 2;
        (FittedClientHeight(middle) <= clientHeight ? fits : tooWide) = middle;
    }
    return fits;
}

SlipPlacement PlaceSlip(QSize client)
{
    SlipPlacement place;
    place.Width = LargestFittingWidth(client.width(), client.height());
    place.X = std::max(0, (client.width() - place.Width) / 2);
    const int spare = std::max(0, client.height() - FittedClientHeight(place.Width));
    place.Y = SlipTop(place.Width - 1) + spare / 2;
    return place;
}

int CappedWidth(int wantedWidth, QSize room)
{
    const int width = std::max(1, std::min(wantedWidth, room.width()));
    return std::min(width, LargestFittingWidth(width, room.height()));
}

std::optional<QSize> SizeRequests::Given(QSize given, bool free, QSize room)
{
    const bool answer = Asked.isValid() && given.width() == Asked.width();
    const bool newWidth = given.width() != LastWidth && !answer;
    LastWidth = given.width();
    Asked = QSize();
    if (!free || !newWidth)
        return std::nullopt;
    const int width = CappedWidth(given.width(), room);
    const QSize wanted(width, FittedClientHeight(width));
    if (wanted == given)
        return std::nullopt;
    Asked = wanted;
    return wanted;
}

} // namespace mivrel
