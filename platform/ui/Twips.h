#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Window geometry is designed in twips (1/1440 inch) and converted to pixels
// at the screen's logical dots per inch.
namespace Twips {

// Logical dots per inch of the primary screen (96 when there is none).
double LogicalDpi();
int ToPixels(double twips);
double FromPixels(int pixels);
QRect ToPixels(double left, double top, double width, double height);

} // namespace Twips
