#pragma once

#include <QRect>

// Controls on a tab page are designed in the tab control's coordinates, whose
// first 300 twips are the tab strip; the page itself begins below the strip.
namespace TabPage {

constexpr double StripTwips = 300;

// A control's geometry on its page, in pixels, from its design place in twips.
QRect ToPixels(double left, double top, double width, double height);

} // namespace TabPage
