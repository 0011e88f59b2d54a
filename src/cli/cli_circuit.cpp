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
#include "circuit/circuitphasors.h"
#include "circuit/circuitquery.h"
#include "cli/cli_circuitargs.h"
#include "cli/cli_common.h"
#include "phasors/phasorfile.h"
#include "platform/cp1252.h"

namespace zeigora::cli {

namespace {

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

// The phasors "In Zeigerebene übernehmen" would hand over for the group, as a phasor file.
int WriteGroupPhasors(const TCommandLine& line, const TCustomCircuitElement& circuit,
                      const TCircuitSupply& supply, std::size_t count) {
    int group = 0;
    const std::string groupText = line.Value("--group", "0");
    if (!ParseIndex(groupText, static_cast<int>(count), group))
        return line.Refuse("\"" + groupText + "\" ist kein Index eines Bauteils (0 bis " +
                           IntText(static_cast<long long>(count) - 1) + ").");
    const TPhasorArray phasors = HandOverPhasors(GroupPhasors(circuit, supply, group), {});
    const std::string file = line.Value("--phasors");
    const TPhasorFileResult saved = SavePhasorsToFile(phasors, file);
    if (saved.Error != TPhasorFileError::None) return line.Fail(ToUtf8(saved.Message), ExitFailed);
    return ExitOk;
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
    if (line.Has("--phasors")) {
        if (const int rc = WriteGroupPhasors(line, *circuit, supply, results.size()); rc != ExitOk)
            return rc;
    } else if (line.Has("--group")) {
        return line.Refuse("--group gilt nur mit --phasors.");
    }
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
    {"--phasors", "AUSGABE.zgf",
     "schreibt zusätzlich das Zeigerdiagramm der Gruppe als Zeigerdatei, wie es\n"
     "\"In Zeigerebene übernehmen\" übergibt: bei einer Reihenschaltung U jedes\n"
     "Bauteils, U und I der Gruppe; bei einer Parallelschaltung I jedes Zweigs,\n"
     "I und U der Gruppe; die Summe ist über die Namen der Teile definiert"},
    {"--group", "INDEX", "die Gruppe für --phasors (Index wie in der Liste), Vorgabe 0"},
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
