#include "app/ResizeRules.h"

#include <algorithm>

namespace {

double atLeastZero(double size) {
    return std::max(size, 0.0);
}

} // namespace

ResizeRules::Layout ResizeRules::Compute(const Input& input) {
    Layout layout;
    layout.LeftColumn.Height = atLeastZero(input.ClientHeight - input.StatusBarHeight);
    layout.LeftColumnScrolls = input.LeftColumnHeight > layout.LeftColumn.Height;
    layout.LeftColumn.Width =
        input.PortFrameWidth + 200 + (layout.LeftColumnScrolls ? input.ScrollBarWidth : 0);
    layout.SSTab.Left = layout.LeftColumn.Width;
    layout.SSTab.Top = 0;
    layout.SSTab.Width = atLeastZero(input.ClientWidth - layout.SSTab.Left);
    layout.SSTab.Height = layout.LeftColumn.Height;
    layout.SaxHeight = atLeastZero(layout.SSTab.Height - 450);
    layout.SaxWidth = atLeastZero(layout.SSTab.Width - 250);
    layout.HexHeight = atLeastZero(layout.SSTab.Height - 400);
    layout.HexWidth = atLeastZero(layout.SSTab.Width - 250);
    layout.GridHeight = atLeastZero(layout.SSTab.Height - 1000);
    layout.GridWidth = atLeastZero(layout.SSTab.Width - 250);
    return layout;
}

ResizeRules::Size ResizeRules::MinimumClient(const MinimumInput& input) {
    const double width = input.Outer.Width - input.Frame.Width;
    const double height = std::max(input.Outer.Height - input.Frame.Height,
                                   input.LeftColumnHeight + input.StatusBarHeight);
    return {atLeastZero(std::min(width, input.Screen.Width - input.Frame.Width)),
            atLeastZero(std::min(height, input.Screen.Height - input.Frame.Height))};
}
