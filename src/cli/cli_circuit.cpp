// zeigora-cli circuit: loads a circuit file and lists impedance, voltage, current and power of
// every element at a given frequency and supply voltage.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "circuit/circuitfile.h"
#include "circuit/circuitquery.h"
#include "cli/cli_common.h"
#include "parser/complexParser.h"
#include "platform/cp1252.h"

namespace zeigora::cli {

namespace {

constexpr std::string_view CircuitUsage =
    "usage: zeigora-cli circuit [--frequency F] [--voltage EXPR] FILE.zgs\n";

constexpr std::string_view CircuitHelp =
    "usage: zeigora-cli circuit [--frequency F] [--voltage EXPR] FILE.zgs\n"
    "\n"
    "Loads a circuit file and computes every element as the circuit window does. Prints a\n"
    "header line, then one line per element in depth-first order (the outermost group\n"
    "first) with these tab-separated fields:\n"
    "  index, parent index (-1 for the outermost group), depth, type (0 group, 1 resistor,\n"
    "  2 capacitor, 3 coil), name, value (ohms, farads or henries; 0 for a group),\n"
    "  real and imaginary part of the impedance Z, the voltage U, the current I and the\n"
    "  complex power S = U * conj(I)\n"
    "Names are UTF-8; in them a backslash, tab, CR and LF are written as \\\\, \\t, \\r, \\n.\n"
    "Numbers are written in the shortest form that reads back exactly, with '.' as\n"
    "decimal point; non-finite values as nan, inf, -inf.\n"
    "\n"
    "options:\n"
    "  --frequency F   AC frequency in hertz, default 50; '.' as decimal point, optionally\n"
    "                  followed by one of the prefixes n, u (or µ), m, k, M, G; not 0\n"
    "  --voltage EXPR  supply voltage in volts as an expression, default 230;\n"
    "                  e.g. \"230*e^(j*30°)\"\n"
    "  --              the next argument is the file, even if it starts with '-'\n"
    "  --help          this text\n"
    "\n"
    "exit status: 0 listed, 2 usage error or unreadable file\n";

struct TCircuitOptions {
    std::string File;
    std::string Frequency = "50";
    std::string Voltage = "230";
    bool Help = false;
};

int ParseCircuitArgs(const TArgs& args, TCircuitOptions& opt) {
    TArgs files;
    const int rc = SplitArgs(args, files, opt.Help, [&opt](const TArgs& a, std::size_t& i) {
        if (a[i] != "--frequency" && a[i] != "--voltage")
            return UsageError("circuit", "unknown option " + a[i], CircuitUsage);
        if (i + 1 >= a.size()) return UsageError("circuit", a[i] + " needs a value", CircuitUsage);
        (a[i] == "--frequency" ? opt.Frequency : opt.Voltage) = a[i + 1];
        ++i;
        return ExitOk;
    });
    if (rc != ExitOk) return rc;
    if (opt.Help) return ExitOk;
    if (files.size() != 1) return UsageError("circuit", "expects one file", CircuitUsage);
    opt.File = files[0];
    return ExitOk;
}

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

// C-locale decimal number with an optional prefix; the prefix shifts the decimal exponent, so
// "1.5k" reads exactly as "1.5e3". False for anything else, including inf and nan.
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

void Append(std::string& line, const TComplex& z) {
    line += "\t" + NumberText(z.Re) + "\t" + NumberText(z.Im);
}

std::string ElementLine(std::size_t index, const TElementResult& r) {
    const TCustomCircuitElement& e = *r.Element;
    std::string line = IntText(static_cast<long long>(index)) + "\t" + IntText(r.Parent) + "\t" +
                       IntText(r.Depth) + "\t" + IntText(e.ElementType()) + "\t" +
                       TsvField(ToUtf8(e.Name.View())) + "\t" + NumberText(e.ElementValue);
    for (const TComplex* z : {&r.Z, &r.U, &r.I, &r.S})
        Append(line, *z);
    return line + "\n";
}

constexpr std::string_view Header =
    "index\tparent\tdepth\ttype\tname\tvalue\tz_re\tz_im\tu_re\tu_im\ti_re\ti_im\ts_re\ts_im\n";

}  // namespace

int RunCircuit(const TArgs& args) {
    TCircuitOptions opt;
    if (const auto rc = StartCommand(args, opt, ParseCircuitArgs, CircuitHelp)) return *rc;
    TCircuitSupply supply;
    double frequency = 0.0;
    if (!ParseFrequency(opt.Frequency, frequency))
        return UsageError("circuit", "not a frequency: " + opt.Frequency, CircuitUsage);
    supply.Omega = FrequencyToOmega(frequency);
    if (supply.Omega == 0.0)
        return UsageError("circuit", "the frequency must not be 0", CircuitUsage);
    std::string problem;
    if (!ParseVoltage(opt.Voltage, supply.SupplyVoltage, problem))
        return UsageError("circuit", "voltage " + opt.Voltage + ": " + problem, CircuitUsage);
    const TCircuitLoadResult loaded = LoadCircuitFromFile(opt.File, Utf8ToCp1252(opt.File));
    if (!loaded.Circuit) {
        Err(ToUtf8(loaded.Error) + "\n");
        return ExitUsage;
    }
    Out(Header);
    const auto results = ComputeAll(*loaded.Circuit, supply);
    for (std::size_t i = 0; i < results.size(); ++i)
        Out(ElementLine(i, results[i]));
    return ExitOk;
}

}  // namespace zeigora::cli
