// Real numbers to and from the text the user reads and types, with engineering prefixes.
#pragma once

#include <string>
#include <string_view>

namespace zeigora {

// The decimal separator of the user's locale. The program sets it once at start-up from the
// regional settings; until then it is ','. Tests set it explicitly.
char DecimalSeparator();
void SetDecimalSeparator(char separator);

// Fixed point after a "0.000"-style pattern, trailing fractional zeros removed.
std::string FormatFloatTrimmed(std::string_view format, double x);

// Engineering text ("1,5k", "500m", "25µ"); "NaN", "INF" and "0" for the special cases.
std::string FormatFloatEng(std::string_view format, double x);

// The number, or NaN when the text is not one. Accepts the prefixes n, µ, m, k, M, G.
double StrToFloatEng(std::string_view text);

// Fixed point with the given number of decimals, halves rounded away from zero on the exact
// decimal value of x, written with the given separator. A value that rounds to zero has no
// sign; non-finite values give "NaN", "INF" and "-INF".
std::string FormatFixed(double x, int decimals, char separator);

}  // namespace zeigora
