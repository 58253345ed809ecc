#include "depends/DependsLayout.h"

#include <algorithm>
#include <cmath>

QSizeF DependsLayout::ListSize(double outerWidth, double outerHeight) {
    return QSizeF(std::max(0.0, outerWidth - 350), std::max(0.0, outerHeight - 650));
}

std::array<int, 4> DependsLayout::ColumnWidths(double listWidth) {
    // Whole numbers round halves to the even neighbour.
    const int wide = int(std::nearbyint(listWidth * 2)) / 5;
    const int narrow = int(std::nearbyint(listWidth)) / 5;
    return {wide, narrow, narrow, narrow};
}
