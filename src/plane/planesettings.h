// The view settings of the complex plane and the per-frame mapping between plane and pixels.
#pragma once

#include <cstdint>
#include <string>

namespace zeigora {

// Everything that decides how the plane looks. Every run starts with these defaults; nothing
// is stored. Colours are 0x00BBGGRR, pen styles 0 solid .. 4 dash-dot-dot.
struct TPlaneSettings {
    double Scale1 = 1.0;  // plane units per grid interval at scale 1, > 0
    double Scale2 = 1.0;
    double ReIntervals = 3.0;  // grid intervals from the origin to the inner border
    double ImIntervals = 2.0;
    bool GridVisible = true;
    bool SubGridVisible = true;
    std::int32_t SubIntervals = 3;
    std::uint32_t GridColor = 0xC0C0C0;
    std::uint8_t GridStyle = 0;
    std::uint32_t SubGridColor = 0xC0C0C0;
    std::uint8_t SubGridStyle = 2;
    std::uint32_t AxisColor = 0x000000;
    std::uint8_t AxisStyle = 0;
    bool ShowNumbers = true;
    std::int32_t Accuracy = 2;
    std::int32_t SafetySpace = 3;
    std::int32_t MarkLength = 5;
    std::uint32_t BackGroundColor = 0xFFFFFF;
    std::string ReLabel = "Re";  // cp1252
    std::string ImLabel = "Im";
    bool AutoValues = true;
    double MarginFactor = 1.25;  // 100 / (100 - 2 * margin percent)
    bool AntiAliasing = true;
    bool UnitCircle1 = false;
    bool UnitCircle2 = false;
    bool GraphicalAddition = false;
    bool RootsMode = false;
    bool ShowSolutionCircle = true;

    bool operator==(const TPlaneSettings&) const = default;
};

// Written by every frame and kept until the next one, so the pointer read-out and the hit
// test see the geometry that is on the screen. Before the first frame the factors are 0.
struct TPlaneMapping {
    std::int32_t OriginX = 0;
    std::int32_t OriginY = 0;
    double Factor1X = 0.0;  // pixels per plane unit
    double Factor1Y = 0.0;
    double Factor2X = 0.0;
    double Factor2Y = 0.0;
    std::int32_t ChainX = 0;  // where the next phasor starts
    std::int32_t ChainY = 0;
};

double ComputeFactor(double scaleValue, double intervals, double halfExtent);
// Scale 0 uses the scale-1 factor, any other value the scale-2 factor.
double ToPixels(std::uint8_t scale, double factor2, double factor1, double value);
double FromPixels(std::uint8_t scale, double factor2, double factor1, double pixels);
double PixelToRe(int width, int x, double factor);
double PixelToIm(int height, int y, double factor);
double GridOffset(int i, int halfExtent, double count);
void ResetChainPoint(TPlaneMapping& mapping);

// Grid intervals in the full half width and half height.
double CountX(const TPlaneSettings& settings);
double CountY(const TPlaneSettings& settings);

// The origin and the four factors for a surface of the given size; the chain point is left.
void ComputeMapping(const TPlaneSettings& settings, int width, int height, TPlaneMapping& mapping);

// Pixel offsets beyond this are not drawn: phasor tips and circles that far out cannot be seen,
// and coordinates stay comfortably inside 32 bits.
inline constexpr double MaxPixelOffset = 1.0e7;

// Round half to even (under the default rounding mode).
double RoundHalfEven(double x);

// Half-to-even rounding to a pixel coordinate. Values far outside any surface are clamped, so
// that absurd settings never turn into an undefined float-to-int conversion; NaN gives 0.
int RoundToPixel(double x);

// Integer part for loop bounds taken from settings: NaN and negatives give 0, huge values the
// given cap.
int TruncCount(double x, int cap);

}  // namespace zeigora
