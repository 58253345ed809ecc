#pragma once

// How the main window's tab control and its three large views follow the
// window's size. All measures are twips.
namespace ResizeRules {

constexpr double MinimumOuterWidth = 5000;
constexpr double MinimumOuterHeight = 5200;

struct Rect {
    double Left = 0, Top = 0, Width = 0, Height = 0;
};

struct Input {
    double ClientWidth = 0;
    double ClientHeight = 0;
    double PortFrameWidth = 0;
    double StatusBarHeight = 0;
};

struct Layout {
    Rect SSTab;
    double SaxWidth = 0, SaxHeight = 0;
    double HexWidth = 0, HexHeight = 0;
    double GridWidth = 0, GridHeight = 0;
};

// Sizes below zero are given as zero.
Layout Compute(const Input& input);

} // namespace ResizeRules
