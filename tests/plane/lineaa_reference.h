#pragma once
// Step-by-step transcription of the thick antialiased line, kept as the yardstick for the
// production LineAA: three passes over every sub-sample, no shortcuts.

#include <cstdint>

#include "plane/paintboxex.h"

namespace zeigora {

void LineAAReference(TPaintBoxEx& surface, std::int64_t color, int width, long double x1,
                     long double y1, long double x2, long double y2, long double dash);

}  // namespace zeigora
