#include "app/ResizeRules.h"

#include <algorithm>

ResizeRules::Layout ResizeRules::Compute(const Input& input) {
    const auto atLeastZero = [](double size) { return std::max(size, 0.0); };
    Layout layout;
    layout.SSTab.Left = input.PortFrameWidth + 200;
    layout.SSTab.Top = 0;
    layout.SSTab.Width = atLeastZero(input.ClientWidth - layout.SSTab.Left);
    layout.SSTab.Height = atLeastZero(input.ClientHeight - input.StatusBarHeight);
    layout.SaxHeight = atLeastZero(layout.SSTab.Height - 450);
    layout.SaxWidth = atLeastZero(layout.SSTab.Width - 250);
    layout.HexHeight = atLeastZero(layout.SSTab.Height - 400);
    layout.HexWidth = atLeastZero(layout.SSTab.Width - 250);
    layout.GridHeight = atLeastZero(layout.SSTab.Height - 1000);
    layout.GridWidth = atLeastZero(layout.SSTab.Width - 250);
    return layout;
}
