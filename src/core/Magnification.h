#pragma once

// The design is laid out for screens of up to 1280 x 1024 pixels. A larger screen shows it
// magnified by one factor, so that it fills the screen as it fills 1024 x 768.
namespace Magnification {
// The factor for a screen of the given logical size (after the desktop's own scale). Without
// a wanted factor: 1 up to 1280 x 1024, else about the largest that keeps a 1024 x 768 design
// on the screen. Either is lowered a little, where that is enough, to a factor at which the
// screen is a whole number of the design's pixels both ways.
double forScreen(int width, int height, double wanted = 0);

// The factors a player may ask for: from half to eight times the design's size.
constexpr double smallest = 0.5;
constexpr double largest = 8;
} // namespace Magnification
