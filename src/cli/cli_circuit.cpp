// zeigora-cli circuit: loads a circuit file and lists impedance, voltage, current and power of
// every element at a given frequency and supply voltage.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "circuit/circuitfile.h"
#include "circuit/circuitquery.h"
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

constexpr const char* Fields[] = {"index", "parent", "depth", "type", "name", "value", "z_re",
                                  "z_im",  "u_re",   "u_im",  "i_re", "i_im", "s_re",  "s_im"};

// The fields of one element, in the order of Fields; the name as UTF-8.
std::vector<std::string> ElementFields(std::size_t index, const TElementResult& r, bool json) {
    const TCustomCircuitElement& e = *r.Element;
    const auto number = json ? JsonNumber : NumberText;
    const std::string name = ToUtf8(e.Name.View());
    std::vector<std::string> fields{IntText(static_cast<long long>(index)),
                                    IntText(r.Parent),
                                    IntText(r.Depth),
                                    IntText(e.ElementType()),
                                    json ? JsonString(name) : TsvField(name),
                                    number(e.ElementValue)};
    for (const TComplex* z : {&r.Z, &r.U, &r.I, &r.S}) {
        fields.push_back(number(z->Re));
        fields.push_back(number(z->Im));
    }
    return fields;
}

void PrintTsv(const std::vector<TElementResult>& results) {
    std::string header;
    for (const char* f : Fields)
        header += std::string(header.empty() ? "" : "\t") + f;
    Out(header + "\n");
    for (std::size_t i = 0; i < results.size(); ++i) {
        std::string line;
        for (const std::string& f : ElementFields(i, results[i], false))
            line += (line.empty() ? "" : "\t") + f;
        Out(line + "\n");
    }
}

void PrintJson(const std::vector<TElementResult>& results) {
    Out(results.empty() ? "[]\n" : "[\n");
    for (std::size_t i = 0; i < results.size(); ++i) {
        const std::vector<std::string> fields = ElementFields(i, results[i], true);
        std::string object;
        for (std::size_t f = 0; f < fields.size(); ++f)
            object += std::string(f == 0 ? "{" : ", ") + "\"" + Fields[f] + "\": " + fields[f];
        Out("  " + object + (i + 1 < results.size() ? "},\n" : "}\n"));
    }
    if (!results.empty()) Out("]\n");
}

int RunCircuit(const TCommandLine& line) {
    TCircuitSupply supply;
    const std::string frequencyText = line.Value("--frequency", "50");
    double frequency = 0.0;
    if (!ParseFrequency(frequencyText, frequency))
        return line.Refuse("\"" + frequencyText + "\" ist keine Frequenz.");
    supply.Omega = FrequencyToOmega(frequency);
    if (supply.Omega == 0.0) return line.Refuse("Die Frequenz darf nicht 0 sein.");
    const std::string voltage = line.Value("--voltage", "230");
    std::string problem;
    if (!ParseVoltage(voltage, supply.SupplyVoltage, problem))
        return line.Refuse("Spannung \"" + voltage + "\": " + problem);
    const auto circuit = LoadCircuitOrReport(line, line.Arguments()[0]);
    if (!circuit) return ExitUsage;
    const auto results = ComputeAll(*circuit, supply);
    if (line.Has("--json"))
        PrintJson(results);
    else
        PrintTsv(results);
    return ExitOk;
}

constexpr TOption CircuitOptions[] = {
    {"--frequency", "F",
     "Frequenz in Hertz, Vorgabe 50; '.' als Dezimalpunkt, wahlweise mit einem\n"
     "der Vorsätze n, u (oder µ), m, k, M, G; nicht 0"},
    {"--voltage", "AUSDRUCK",
     "Versorgungsspannung in Volt als Ausdruck, Vorgabe 230;\n"
     "etwa \"230*e^(j*30°)\""},
    {"--json", "", "ein JSON-Feld mit einem Objekt je Bauteil, Felder wie die Kopfzeile"},
};

}  // namespace

extern const TCommand CircuitCommand{
    .Name = "circuit",
    .Summary = "lädt eine Schaltung (.zgs) und listet Z, U, I und S jedes Bauteils",
    .Arguments = "DATEI.zgs",
    .MinArguments = 1,
    .MaxArguments = 1,
    .Options = CircuitOptions,
    .Description =
        "Lädt eine Schaltungsdatei und berechnet jedes Bauteil wie das Schaltungsfenster. Gibt\n"
        "eine Kopfzeile aus, dann je Bauteil eine Zeile, die äußerste Gruppe zuerst, in die\n"
        "Tiefe zuerst, mit diesen durch Tabulatoren getrennten Feldern:\n\n"
        "  Index, Index der Gruppe (-1 für die äußerste), Tiefe, Typ (0 Gruppe, 1 Widerstand,\n"
        "  2 Kondensator, 3 Spule), Name, Wert (Ohm, Farad oder Henry; 0 bei einer Gruppe),\n"
        "  Real- und Imaginärteil der Impedanz Z, der Spannung U, des Stroms I und der\n"
        "  komplexen Leistung S = U * conj(I)\n\n"
        "Namen sind UTF-8; Backslash, Tabulator, CR und LF stehen in ihnen als \\\\, \\t, \\r, "
        "\\n.\n"
        "Zahlen stehen in der kürzesten Form, die genau zurück gelesen wird, mit '.' als\n"
        "Dezimalpunkt; nan, inf, -inf für nicht endliche Werte.\n",
    .ExitStatus = "0 aufgelistet, 2 falscher Aufruf oder unlesbare Datei",
    .Run = RunCircuit,
};

}  // namespace zeigora::cli
