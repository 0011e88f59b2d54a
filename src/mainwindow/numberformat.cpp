#include "mainwindow/numberformat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "complex/numtext.h"

namespace zeigora {

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::string SpecialText(double x) {
    return std::isnan(x) ? "NaN" : "INF";
}

// Significant digits (without trailing zeros) and the decimal exponent of the first digit, of x
// rounded to 15 significant digits.
void Digits15(double x, std::string& digits, int& exponent) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x),
                                      std::chars_format::scientific, 14);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = text.find('e');
    digits.clear();
    for (char c : text.substr(0, e))
        if (c != '.') digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
}

}  // namespace

std::string FormatFloatGeneral(double x) {
    if (!std::isfinite(x)) return SpecialText(x);
    if (x == 0) return "0";
    std::string digits;
    int exponent = 0;
    Digits15(x, digits, exponent);
    const char sep = DecimalSeparator();
    std::string text = x < 0 ? "-" : "";
    if (exponent < -5 || exponent > 14) {
        text += digits[0];
        if (digits.size() > 1) text += sep + digits.substr(1);
        return text + "E" + std::to_string(exponent);
    }
    if (exponent < 0) return text + "0" + sep + std::string(-exponent - 1, '0') + digits;
    const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits)
        return text + digits + std::string(integerDigits - digits.size(), '0');
    return text + digits.substr(0, integerDigits) + sep + digits.substr(integerDigits);
}

std::string FormatCoordinate(double x) {
    if (!std::isfinite(x)) return SpecialText(x);
    return FormatFixed(x, 3, DecimalSeparator());
}

bool TryStrToFloat(std::string_view text, double& value) {
    const std::string_view number = Trimmed(text);
    if (number.empty()) return false;
    // The number text reader also takes a unit prefix as last character; a plain number ends in
    // a digit or the separator.
    const char last = number.back();
    if (!(last >= '0' && last <= '9') && last != DecimalSeparator()) return false;
    const double x = StrToFloatEng(number);
    if (!std::isfinite(x)) return false;
    value = x;
    return true;
}

bool TryStrToInt(std::string_view text, int& value) {
    std::string_view number = Trimmed(text);
    const bool plus = !number.empty() && number.front() == '+';
    if (plus) number.remove_prefix(1);
    if (number.empty() || (plus && number.front() == '-')) return false;
    int x = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), x);
    if (result.ec != std::errc() || result.ptr != number.data() + number.size()) return false;
    value = x;
    return true;
}

}  // namespace zeigora
