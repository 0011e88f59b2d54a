#include "plane/planesettings.h"

#include <cmath>

namespace zeigora {

namespace {
// Far beyond any surface, yet small enough that sums of two such values stay in 32 bits.
constexpr double PixelClamp = 1.0e9;
}  // namespace

double ComputeFactor(double scaleValue, double intervals, double halfExtent) {
    return halfExtent / (scaleValue * intervals);
}

double ToPixels(std::uint8_t scale, double factor2, double factor1, double value) {
    return scale == 0 ? value * factor1 : value * factor2;
}

double FromPixels(std::uint8_t scale, double factor2, double factor1, double pixels) {
    return scale == 0 ? pixels / factor1 : pixels / factor2;
}

double PixelToRe(int width, int x, double factor) {
    return (static_cast<double>(x) - width / 2) / factor;
}

double PixelToIm(int height, int y, double factor) {
    return (static_cast<double>(height / 2) - y) / factor;
}

double GridOffset(int i, int halfExtent, double count) {
    return halfExtent / count * i;
}

void ResetChainPoint(TPlaneMapping& mapping) {
    mapping.ChainX = mapping.OriginX;
    mapping.ChainY = mapping.OriginY;
}

double CountX(const TPlaneSettings& settings) {
    return settings.ReIntervals * settings.MarginFactor;
}

double CountY(const TPlaneSettings& settings) {
    return settings.ImIntervals * settings.MarginFactor;
}

void ComputeMapping(const TPlaneSettings& settings, int width, int height, TPlaneMapping& mapping) {
    mapping.OriginX = width / 2;
    mapping.OriginY = height / 2;
    const double halfInnerW = (width / settings.MarginFactor) / 2;
    const double halfInnerH = (height / settings.MarginFactor) / 2;
    mapping.Factor1X = ComputeFactor(settings.Scale1, settings.ReIntervals, halfInnerW);
    mapping.Factor1Y = ComputeFactor(settings.Scale1, settings.ImIntervals, halfInnerH);
    mapping.Factor2X = ComputeFactor(settings.Scale2, settings.ReIntervals, halfInnerW);
    mapping.Factor2Y = ComputeFactor(settings.Scale2, settings.ImIntervals, halfInnerH);
}

double RoundHalfEven(double x) {
    return std::nearbyint(x);
}

int RoundToPixel(double x) {
    if (std::isnan(x)) return 0;
    const double r = std::nearbyint(x);
    if (r > PixelClamp) return static_cast<int>(PixelClamp);
    if (r < -PixelClamp) return -static_cast<int>(PixelClamp);
    return static_cast<int>(r);
}

int TruncCount(double x, int cap) {
    if (!(x > 0)) return 0;
    if (x >= cap) return cap;
    return static_cast<int>(x);
}

}  // namespace zeigora
