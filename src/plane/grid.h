// The empty plane of one frame: grid and sub-grid, ticks and axis numbers, the axes with
// their arrowheads and names, and circles around the origin.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "plane/paintboxex.h"
#include "plane/planesettings.h"

namespace zeigora {

// Grid lines, sub-grid lines, ticks and (for the scales that have visible phasors) numbers.
// Leaves the pen at the chain point.
void DrawGrid(TCanvas& canvas, int width, int height, const TPlaneSettings& settings,
              const TPlaneMapping& mapping, bool hasScale1, bool hasScale2);

// Vertical lines at the origin column +- offset, horizontal lines at the origin row +- offset,
// each across the whole surface.
void DrawGridLinesX(TCanvas& canvas, const TPlaneMapping& mapping, int height, int offset);
void DrawGridLinesY(TCanvas& canvas, const TPlaneMapping& mapping, int width, int offset);

void DrawTicksX(TCanvas& canvas, const TPlaneMapping& mapping, int offset, int halfLength);
void DrawTicksY(TCanvas& canvas, const TPlaneMapping& mapping, int offset, int halfLength);

// The value at grid line i of an axis `extent` pixels long: i intervals of scaleValue, scaled
// by 2 (extent div 2) / extent since the lines are spaced on the truncated half. That equals
// the line's offset divided by the axis factor, but is worked out without the margin and
// interval count, which cancel, so that whole multiples come out whole (1, not 0.99999...).
double GridValue(int i, int extent, double scaleValue);

// The numbers `value` and its negation at +- offset (unrounded pixels from the origin); scale 0
// below / right of the axis, scale 1 above / left of it.
void DrawNumbersX(TCanvas& canvas, const TPlaneSettings& settings, const TPlaneMapping& mapping,
                  std::uint8_t scale, double offset, double value);
void DrawNumbersY(TCanvas& canvas, const TPlaneSettings& settings, const TPlaneMapping& mapping,
                  std::uint8_t scale, double offset, double value);

// The text of one axis number with `digits` decimals, engineering style when autoValues.
std::string FormatAxisNumber(int digits, bool autoValues, double value);

// Both axes with arrowheads at all four edges and their names; resets the chain point.
void DrawAxes(TCanvas& canvas, int width, int height, TPlaneMapping& mapping,
              std::uint32_t axisColor, int axisStyle, bool antiAliasing, std::string_view imLabel,
              std::string_view reLabel, int penWidth);

// A line with a fixed open arrowhead at (x2, y2).
void DrawAxisArrow(TCanvas& canvas, int x1, int y1, int x2, int y2, bool antiAliasing);

// An ellipse around the origin with the given radii in pixels.
void DrawPlaneCircle(TPaintBoxEx& surface, const TPlaneMapping& mapping, bool antiAliasing,
                     std::uint32_t color, double radiusX, double radiusY);

}  // namespace zeigora
