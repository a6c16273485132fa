#include "slip/SlipInk.h"

#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace mivrel {
namespace {

constexpr double ReadableContrast = 4.5;

double Channel(double value)
{
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * Channel(rgb.redF()) + 0.7152 * Channel(rgb.greenF()) + 0.0722 * Channel(rgb.blueF());
}

} // namespace

double ContrastRatio(const QColor &a, const QColor &b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

SlipColours SlipColoursOf(const QPalette &palette)
{
    const SlipColours window{palette.color(QPalette::WindowText), palette.color(QPalette::Window)};
    if (ContrastRatio(window.Ink, window.Paper) >= ReadableContrast)
        return window;
    const SlipColours base{palette.color(QPalette::Text), palette.color(QPalette::Base)};
    if (ContrastRatio(base.Ink, base.Paper) >= ReadableContrast)
        return base;
    return {Qt::black, Qt::white};
}

void UseSlipColours(QPainter &painter, const QPalette &palette)
{
    const SlipColours colours = SlipColoursOf(palette);
    painter.setBackground(colours.Paper);
    painter.setPen(colours.Ink);
}

} // namespace mivrel
