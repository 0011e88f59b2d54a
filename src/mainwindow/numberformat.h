// Number texts of the main window's tool bars and status bar, in the user's locale.
#pragma once

#include <string>
#include <string_view>

namespace zeigora {

// The general format: the shortest text with up to 15 significant digits, fixed point for
// exponents from -5 to 14 ("0,5", "0,125", "200"), otherwise with an exponent ("1E-6",
// "1,5E20"); "NaN" and "INF" for the special values.
std::string FormatFloatGeneral(double x);

// "0.000": three decimals ("1,250", "-0,333"); "NaN" and "INF" for the special values.
std::string FormatCoordinate(double x);

// A plain number in the locale's format (blanks around it, sign, digits, one separator,
// exponent; no unit prefixes); false for anything else and for results that are no finite
// number.
bool TryStrToFloat(std::string_view text, double& value);

// A decimal integer with an optional sign and blanks around it.
bool TryStrToInt(std::string_view text, int& value);

}  // namespace zeigora
