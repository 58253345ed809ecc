#pragma once

// How the main window's left column, tab control and the tab control's
// three large views follow the window's size, and how small the window may
// become.
namespace ResizeRules {

// The smallest outer size, in twips, where the screen has room for it.
constexpr double MinimumOuterWidth = 5000;
constexpr double MinimumOuterHeight = 5200;

struct Size {
    double Width = 0, Height = 0;
};

struct Rect {
    double Left = 0, Top = 0, Width = 0, Height = 0;
};

// All measures in twips.
struct Input {
    double ClientWidth = 0;
    double ClientHeight = 0;
    double PortFrameWidth = 0;
    double StatusBarHeight = 0;
    // The port and command areas, which keep their size, from the top of
    // the client area to the bottom of the command area.
    double LeftColumnHeight = 0;
    double ScrollBarWidth = 0;
};

struct Layout {
    // Where the port and command areas show; they scroll in it when the
    // column is taller, and the tab control moves right by the scroll bar.
    Rect LeftColumn;
    bool LeftColumnScrolls = false;
    Rect SSTab;
    double SaxWidth = 0, SaxHeight = 0;
    double HexWidth = 0, HexHeight = 0;
    double GridWidth = 0, GridHeight = 0;
};

// Sizes below zero are given as zero.
Layout Compute(const Input& input);

// All measures in one unit, whichever the caller uses.
struct MinimumInput {
    Size Outer;  // the smallest outer size the window is designed for
    Size Frame;  // the window's frame: its outer size less its client area
    Size Screen; // the screen's room for windows
    double LeftColumnHeight = 0;
    double StatusBarHeight = 0;
};

// The smallest client area: the smallest outer size less the frame, made
// tall enough to show the whole left column above the status bar, and cut
// to what the screen has room for (the left column then scrolls).
Size MinimumClient(const MinimumInput& input);

} // namespace ResizeRules
