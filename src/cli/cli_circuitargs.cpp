#include "cli/cli_circuitargs.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "cli/cli_common.h"
#include "parser/complexParser.h"
#include "platform/cp1252.h"

namespace zeigora::cli {

namespace {

// Powers of ten of the prefix at the end of a frequency text; 0 for none.
int PrefixExponent(std::string_view& text) {
    struct TPrefix {
        std::string_view Suffix;
        int Exponent;
    };
    static constexpr TPrefix Prefixes[] = {{"n", -9}, {"u", -6}, {"µ", -6}, {"m", -3},
                                           {"k", 3},  {"M", 6},  {"G", 9}};
    for (const TPrefix& p : Prefixes)
        if (text.ends_with(p.Suffix)) {
            text.remove_suffix(p.Suffix.size());
            return p.Exponent;
        }
    return 0;
}

}  // namespace

bool ParseFrequency(std::string_view text, double& value) {
    const int prefix = PrefixExponent(text);
    std::size_t end = 0;
    if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
    int digits = 0;
    for (; end < text.size() &&
           (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.');
         ++end)
        digits += text[end] != '.';
    if (digits == 0 || std::count(text.begin(), text.begin() + end, '.') > 1) return false;
    long long exponent = 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        const char* first = text.data() + end + 1;
        if (first < text.data() + text.size() && *first == '+') ++first;
        const auto r = std::from_chars(first, text.data() + text.size(), exponent);
        if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return false;
    } else if (end != text.size()) {
        return false;
    }
    std::string number(text.substr(0, end));
    if (number[0] == '+') number.erase(0, 1);
    char buf[24];
    const auto er = std::to_chars(buf, buf + sizeof buf, exponent + prefix);
    number += "e" + std::string(buf, er.ptr);
    const auto r = std::from_chars(number.data(), number.data() + number.size(), value);
    return r.ec == std::errc() && r.ptr == number.data() + number.size() && std::isfinite(value);
}

bool ParseVoltage(const std::string& utf8, TComplex& value, std::string& problem) {
    const TPhasorArray none;
    const Expression e = Parse(Utf8ToCp1252(utf8), none);
    if (e.Failed) {
        problem = ToUtf8(SyntaxErrorText(e.ErrorPos, e.ErrorKind));
        return false;
    }
    try {
        value = EvalExpr(e, none);
    } catch (const EvalError& error) {
        problem = ToUtf8(error.what());
        return false;
    }
    return true;
}

bool ParseIndex(std::string_view text, int count, int& index) {
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, index);
    return r.ec == std::errc() && r.ptr == end && index >= 0 && index < count;
}

}  // namespace zeigora::cli
