#include "Magnification.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace Magnification {
double forScreen(int width, int height, double wanted)
{
    double fit = wanted;
    if (fit <= 0) {
        if (width <= 1280 && height <= 1024)
            return 1;
        fit = std::max(1.0, std::min(width / 1024.0, height / 768.0));
    }
    // Windows are whole design pixels: on a screen of a fractional number of them the board
    // would end a device pixel short of the screen's right or bottom edge, which stays black.
    // The screen is w x h design pixels for the factors gcd / t; the largest up to the fit is
    // taken unless it is more than an eighth smaller (a screen with odd measures).
    const int whole = std::gcd(width, height);
    const double step = whole / std::ceil(whole / fit - 1e-9);
    return step >= fit * 7 / 8 ? step : fit;
}
} // namespace Magnification
