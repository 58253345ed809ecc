#pragma once

#include <QSizeF>

#include <array>

// Geometry of the dependencies window, in twips.
namespace DependsLayout {

constexpr double ClientWidth = 10290;
constexpr double ClientHeight = 5445;
constexpr double ListLeft = 100;
constexpr double ListTop = 120;
constexpr double ListWidth = 10095;
constexpr double ListHeight = 5175;

// The list fills a window of the given outer size less 350 twips across and
// 650 down; a window too small for it leaves it a size of zero.
QSizeF ListSize(double outerWidth, double outerHeight);

// "File Name" takes two fifths of the list's width, the other three columns
// one fifth each: round(width * 2) / 5 and round(width) / 5, whole twips.
std::array<int, 4> ColumnWidths(double listWidth);

} // namespace DependsLayout
