// What the pictures of a circuit sweep share: an axis that maps values to pixels (linear or
// logarithmic), round tick values, number texts with units, and antialiased curves clipped to
// the picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plane/paintboxex.h"

namespace zeigora {

struct TPlotAxis {
    double Min = 0.0;
    double Max = 1.0;
    bool Log = false;
    double P0 = 0.0;  // pixel of Min
    double P1 = 1.0;  // pixel of Max

    double ToPixel(double v) const;
    double FromPixel(double p) const;
};

// A round step (1, 2 or 5 times a power of ten) of at least rough.
double NiceStep(double rough);

// Multiples of step inside min..max.
std::vector<double> LinearTicks(double min, double max, double step);

// The powers of ten inside min..max (both positive).
std::vector<double> DecadeTicks(double min, double max);

// Engineering number text with up to three decimals: "2,5k", "100m" (cp1252).
std::string AxisText(double v);

// Number and unit with the prefix moved to the unit: "159,155 Hz", "2,5 kHz", "0 Ohm".
std::string UnitText(double v, const std::string& unit);

struct TPlotPoint {
    double X;
    double Y;
};

struct TPlotRect {
    double Left, Top, Right, Bottom;
};

// The part of a..b inside the rectangle; false when nothing is.
bool ClipSegment(TPlotPoint& a, TPlotPoint& b, const TPlotRect& r);

// A polyline through the points, broken where a point is not finite, each segment clipped to
// the rectangle. Antialiased unless aa is false (metafile recording draws plain lines).
void DrawPolyline(TPaintBoxEx& surface, const std::vector<TPlotPoint>& points,
                  const TPlotRect& clip, std::uint32_t color, int width, bool aa);

// One straight line, clipped the same way.
void DrawPlotLine(TPaintBoxEx& surface, TPlotPoint a, TPlotPoint b, const TPlotRect& clip,
                  std::uint32_t color, int width, bool aa);

// An open arrowhead at tip pointing along (dx, dy).
void DrawArrowHeadAt(TPaintBoxEx& surface, TPlotPoint tip, double dx, double dy,
                     std::uint32_t color, bool aa);

// A filled dot with a ring, for marked points.
void DrawDot(TPaintBoxEx& surface, TPlotPoint at, int radius, std::uint32_t color,
             std::uint32_t fill);

// The pixel point's distance to the segment a..b.
double DistanceToSegment(TPlotPoint p, TPlotPoint a, TPlotPoint b);

}  // namespace zeigora
