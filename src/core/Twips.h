#pragma once

#include <cmath>

// Every position and size in the game is given in twips (1/1440 inch). At the 96 dpi that Qt's
// logical pixels stand for, 15 twips make one pixel. This is the one place that converts.
namespace Twips {
constexpr int perPixel = 15;

inline int toPixels(double twips)
{
    return static_cast<int>(std::lround(twips / perPixel));
}

constexpr double fromPixels(int pixels)
{
    return static_cast<double>(pixels) * perPixel;
}
} // namespace Twips
