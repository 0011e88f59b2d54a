#include "complex/numtext.h"

#include "complex/complex.h"
#include "complex/cp1252text.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace zeigora {

namespace {

char Separator = ',';

// A double has at most 309 integer digits and 1074 fractional digits.
constexpr int MaxFixedChars = 1 + 309 + 1 + 1074 + 8;

// Number of decimal digits after the point that write x exactly (0 for integers): a binary
// fraction with k bits after the point has exactly k decimal digits.
int ExactFractionDigits(double x) {
    int e = 0;
    const double f = std::frexp(std::fabs(x), &e);  // |x| = f * 2^e, f in [0.5, 1)
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(f, 53));
    const int exponent = e - 53 + std::countr_zero(mantissa);
    return exponent >= 0 ? 0 : -exponent;
}

// Adds one unit in the last place of a digit text such as "12.99" (no sign), in place.
// Returns true when the carry ran out of the front, i.e. a leading '1' is needed.
bool IncrementDigits(char* first, char* last) {
    for (char* p = last; p != first;) {
        --p;
        if (*p == '.') continue;
        if (*p != '9') {
            ++*p;
            return false;
        }
        *p = '0';
    }
    return true;
}

// Writes |x| with exactly `decimals` decimals, halves away from zero on the exact value.
std::string FixedDigits(double ax, int decimals) {
    std::array<char, MaxFixedChars> buf;
    const int exact = ExactFractionDigits(ax);
    std::string text;
    if (exact > decimals + 1 || exact <= decimals) {
        // No tie possible: the library rounds the exact value to nearest.
        const int prec = exact <= decimals ? exact : decimals;
        const auto res =
            std::to_chars(buf.data(), buf.data() + buf.size(), ax, std::chars_format::fixed, prec);
        text.assign(buf.data(), res.ptr);
    } else {
        // Exactly one digit too many, and it is a 5: the halfway case rounds up in magnitude.
        const auto res =
            std::to_chars(buf.data(), buf.data() + buf.size(), ax, std::chars_format::fixed, exact);
        char* end = res.ptr - 1;   // drop the 5
        if (decimals == 0) --end;  // and the point
        const bool carry = IncrementDigits(buf.data(), end);
        if (carry) text.push_back('1');
        text.append(buf.data(), end);
    }
    const int have = exact <= decimals ? exact : decimals;
    if (decimals > have) {
        if (have == 0) text.push_back('.');
        text.append(static_cast<std::size_t>(decimals - have), '0');
    }
    return text;
}

int PatternDecimals(std::string_view format) {
    const auto point = format.find('.');
    if (point == std::string_view::npos) return 0;
    int count = 0;
    for (char c : format.substr(point + 1))
        if (c == '0') ++count;
    return count;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A number in the locale's format, taken apart for std::from_chars.
struct TScannedNumber {
    bool Negative = false;
    std::string_view IntDigits;
    std::string_view FracDigits;
    long long Exponent = 0;
};

std::string_view TakeDigits(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    return text.substr(start, pos - start);
}

bool ScanExponent(std::string_view text, std::size_t& pos, long long& exponent) {
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::string_view digits = TakeDigits(text, pos);
    if (digits.empty()) return false;
    // Saturate: anything this large is out of range either way.
    constexpr long long limit = 1'000'000'000LL;
    long long value = 0;
    for (char c : digits)
        value = value >= limit ? limit : value * 10 + (c - '0');
    exponent = negative ? -value : value;
    return true;
}

// Blanks, optional sign, digits with at most one separator followed by digits, optional
// exponent, blanks.
bool ScanNumber(std::string_view text, char separator, TScannedNumber& out) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        out.Negative = text[pos] == '-';
        ++pos;
    }
    out.IntDigits = TakeDigits(text, pos);
    if (pos < text.size() && text[pos] == separator) {
        ++pos;
        out.FracDigits = TakeDigits(text, pos);
        // "0," is still being typed, not a number: a separator needs a digit after it.
        if (out.FracDigits.empty()) return false;
    }
    if (out.IntDigits.empty() && out.FracDigits.empty()) return false;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (!ScanExponent(text, pos, out.Exponent)) return false;
    }
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    return pos == text.size();
}

// Decimal exponent of the leading non-zero digit; decides overflow against underflow.
long long Magnitude(const TScannedNumber& n) {
    const auto lead = n.IntDigits.find_first_not_of('0');
    if (lead != std::string_view::npos)
        return n.Exponent + static_cast<long long>(n.IntDigits.size() - lead);
    const auto frac = n.FracDigits.find_first_not_of('0');
    return n.Exponent - static_cast<long long>(frac);
}

bool IsAllZero(const TScannedNumber& n) {
    return n.IntDigits.find_first_not_of('0') == std::string_view::npos &&
           n.FracDigits.find_first_not_of('0') == std::string_view::npos;
}

double ToDouble(const TScannedNumber& n) {
    const double zero = n.Negative ? -0.0 : 0.0;
    if (IsAllZero(n)) return zero;
    std::string text;
    text.reserve(n.IntDigits.size() + n.FracDigits.size() + 16);
    if (n.Negative) text.push_back('-');
    text.append(n.IntDigits.empty() ? std::string_view("0") : n.IntDigits);
    text.push_back('.');
    text.append(n.FracDigits);
    text.push_back('e');
    std::array<char, 24> exp;
    const auto er = std::to_chars(exp.data(), exp.data() + exp.size(), n.Exponent);
    text.append(exp.data(), er.ptr);
    double value = 0.0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        if (Magnitude(n) > 0)
            return n.Negative ? -std::numeric_limits<double>::infinity()
                              : std::numeric_limits<double>::infinity();
        return zero;
    }
    if (res.ec != std::errc()) return DefaultNaN();
    return value;
}

// Powers of 1000 selected by the prefix letter; 0 when the letter is none.
int PrefixExponent(char letter) {
    switch (letter) {
        case 'n':
            return -9;
        case "µ"_cp[0]:
            return -6;
        case 'm':
            return -3;
        case 'k':
            return 3;
        case 'M':
            return 6;
        case 'G':
            return 9;
        default:
            return 0;
    }
}

}  // namespace

char DecimalSeparator() {
    return Separator;
}

void SetDecimalSeparator(char separator) {
    // A separator that could be part of a number would make texts ambiguous; keep the old one.
    if (IsDigit(separator) || IsBlank(separator) || separator == '\0' || separator == '+' ||
        separator == '-' || separator == 'e' || separator == 'E')
        return;
    Separator = separator;
}

std::string FormatFixed(double x, int decimals, char separator) {
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x < 0 ? "-INF" : "INF";
    if (decimals < 0) decimals = 0;
    std::string digits = FixedDigits(std::fabs(x), decimals);
    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    const auto point = digits.find('.');
    if (point != std::string::npos) digits[point] = separator;
    // "-0" would only be noise: a value that rounds to zero is written without a sign.
    if (std::signbit(x) && !zero) digits.insert(digits.begin(), '-');
    return digits;
}

std::string FormatFloatTrimmed(std::string_view format, double x) {
    const char separator = DecimalSeparator();
    std::string text = FormatFixed(x, PatternDecimals(format), separator);
    if (text.find(separator) == std::string::npos) return text;
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == separator) text.pop_back();
    return text;
}

std::string FormatFloatEng(std::string_view format, double x) {
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return "INF";
    if (std::fabs(x) <= 1e-12) return "0";
    if (std::fabs(x) > 1000) {
        static constexpr const char* Large[] = {"", "k", "M", "G"};
        int steps = 0;
        while (std::fabs(x) > 1000 && steps < 3) {
            x /= 1000;
            ++steps;
        }
        return FormatFloatTrimmed(format, x) + Large[steps];
    }
    if (std::fabs(x) >= 1) return FormatFloatTrimmed(format, x);
    static constexpr const char* Small[] = {"", "m", "µ"_cp, "n"};
    int steps = 0;
    while (std::fabs(x) < 1 && steps < 3) {
        x *= 1000;
        ++steps;
    }
    return FormatFloatTrimmed(format, x) + Small[steps];
}

double StrToFloatEng(std::string_view text) {
    if (text.empty()) return DefaultNaN();
    const char separator = DecimalSeparator();
    TScannedNumber number;
    if (ScanNumber(text, separator, number)) return ToDouble(number);
    const int prefix = PrefixExponent(text.back());
    number = TScannedNumber{};
    if (prefix == 0 || !ScanNumber(text.substr(0, text.size() - 1), separator, number))
        return DefaultNaN();
    // The prefix shifts the decimal exponent, so '1,5k' converts as exactly as '1,5e3'.
    number.Exponent += prefix;
    return ToDouble(number);
}

}  // namespace zeigora
