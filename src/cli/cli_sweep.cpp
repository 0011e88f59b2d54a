// zeigora-cli sweep: one element of a circuit over a range of frequencies, or over the values
// of one resistor, capacitor or coil at a fixed frequency, as a table or a picture.
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "circuit/circuitphasors.h"
#include "circuit/circuitquery.h"
#include "circuit/circuitsweep.h"
#include "circuitplot/sweepplot.h"
#include "cli/cli_circuitargs.h"
#include "cli/cli_common.h"
#include "cli/cli_headless.h"
#include "cli/cli_picture.h"
#include "complex/numtext.h"

namespace zeigora::cli {

namespace {

constexpr int MaxPoints = 1000000;
constexpr int PictureWidth = 800, PictureHeight = 600;

struct TSweepArgs {
    double From = 0.0, To = 0.0;
    int Points = 201;
    bool Linear = false;
    int Element = 0;
    int Vary = -1;
    TSweepQuantity Quantity = TSweepQuantity::Z;
    TCircuitSupply Supply;
    std::string Picture;
    TPictureKind Kind = TPictureKind::Png;
    bool Bode = false;
};

bool ParseQuantity(const std::string& text, TSweepQuantity& q) {
    static constexpr std::pair<const char*, TSweepQuantity> Names[] = {{"Z", TSweepQuantity::Z},
                                                                       {"Y", TSweepQuantity::Y},
                                                                       {"U", TSweepQuantity::U},
                                                                       {"I", TSweepQuantity::I},
                                                                       {"S", TSweepQuantity::S}};
    for (const auto& [name, quantity] : Names)
        if (text == name) {
            q = quantity;
            return true;
        }
    return false;
}

// Options that need no circuit; an empty text when all are right, else the German problem.
std::string ReadOptions(const TCommandLine& line, TSweepArgs& a) {
    for (const auto& [option, value] : {std::pair{"--from", &a.From}, {"--to", &a.To}})
        if (!ParseFrequency(line.Value(option), *value))
            return "\"" + line.Value(option) + "\" ist keine Zahl für " + option + ".";
    if (a.From == a.To) return "--from und --to müssen verschieden sein.";
    a.Linear = line.Has("--linear");
    if (!a.Linear && !(a.From > 0.0 ? a.To > 0.0 : a.From < 0.0 && a.To < 0.0))
        return "Eine logarithmische Reihe braucht --from und --to mit demselben Vorzeichen, "
               "nicht 0 (oder --linear).";
    const std::string points = line.Value("--points", "201");
    if (!ParseIndex(points, MaxPoints + 1, a.Points) || a.Points < 2)
        return "\"" + points + "\" ist keine Punktzahl (2 bis 1000000).";
    if (!ParseQuantity(line.Value("--quantity", "Z"), a.Quantity))
        return "--quantity muss Z, Y, U, I oder S sein.";
    const std::string voltage = line.Value("--voltage", "230");
    std::string problem;
    if (!ParseVoltage(voltage, a.Supply.SupplyVoltage, problem))
        return "Spannung \"" + voltage + "\": " + problem;
    if (line.Has("--frequency") != line.Has("--vary"))
        return "--frequency und --vary gehören zusammen.";
    if (line.Has("--frequency")) {
        double f = 0.0;
        if (!ParseFrequency(line.Value("--frequency"), f))
            return "\"" + line.Value("--frequency") + "\" ist keine Frequenz.";
        a.Supply.Omega = FrequencyToOmega(f);
        if (a.Supply.Omega == 0.0) return "Die Frequenz darf nicht 0 sein.";
    }
    if (line.Has("--view") && !line.Has("-o")) return "--view gilt nur mit -o.";
    const std::string view = line.Value("--view", "locus");
    if (view != "locus" && view != "bode") return "--view muss locus oder bode sein.";
    a.Bode = view == "bode";
    if (line.Has("-o")) {
        a.Picture = line.Value("-o");
        if (!PictureKindOf(a.Picture, true, a.Kind))
            return "BILD muss auf .bmp, .png, .emf oder .svg enden.";
    }
    return {};
}

// --element and --vary against the loaded circuit.
std::string ReadIndices(const TCommandLine& line, const std::vector<TCircuitNode>& nodes,
                        TSweepArgs& a) {
    const int count = static_cast<int>(nodes.size());
    const std::string range = " (0 bis " + IntText(count - 1) + ").";
    const std::string element = line.Value("--element", "0");
    if (!ParseIndex(element, count, a.Element))
        return "\"" + element + "\" ist kein Index eines Bauteils" + range;
    if (!line.Has("--vary")) return {};
    const std::string vary = line.Value("--vary");
    if (!ParseIndex(vary, count, a.Vary))
        return "\"" + vary + "\" ist kein Index eines Bauteils" + range;
    if (nodes[static_cast<std::size_t>(a.Vary)].Element->ElementType() == etGroup)
        return "--vary braucht einen Widerstand, einen Kondensator oder eine Spule, keine Gruppe.";
    return {};
}

void PrintTsv(const TSweepResult& r, TSweepQuantity q) {
    Out(std::string(r.Frequency ? "f" : "value") + "\tre\tim\tabs\tphase\n");
    std::string text;
    for (const TSweepPoint& p : r.Points) {
        const TComplex v = SweepValue(p, q);
        text += NumberText(p.X) + "\t" + NumberText(v.Re) + "\t" + NumberText(v.Im) + "\t" +
                NumberText(v.Abs) + "\t" + NumberText(v.Phase) + "\n";
    }
    Out(text);
}

void PrintJson(const TSweepResult& r, TSweepQuantity q) {
    const std::string x = r.Frequency ? "f" : "value";
    std::string text = "{\"points\": [";
    for (std::size_t k = 0; k < r.Points.size(); ++k) {
        const TComplex v = SweepValue(r.Points[k], q);
        text += std::string(k == 0 ? "\n" : ",\n") + "  {\"" + x +
                "\": " + JsonNumber(r.Points[k].X) + ", \"re\": " + JsonNumber(v.Re) +
                ", \"im\": " + JsonNumber(v.Im) + ", \"abs\": " + JsonNumber(v.Abs) +
                ", \"phase\": " + JsonNumber(v.Phase) + "}";
    }
    text += "\n], \"resonances\": [";
    for (std::size_t k = 0; k < r.Resonances.size(); ++k)
        text += (k == 0 ? "" : ", ") + JsonNumber(r.Resonances[k].X);
    Out(text + "]}\n");
}

int WritePicture(const TSweepArgs& a, const TSweepResult& r, const std::string& label,
                 const std::string& xLabel, const std::string& xUnit) {
    const THeadlessGui gui;
    SetDecimalSeparator(',');
    TPaintBoxEx surface(PictureWidth, PictureHeight);
    TSweepPlotOptions o;
    o.Quantity = a.Quantity;
    o.XUnit = xUnit;
    const std::string q(1, QuantityLetter(a.Quantity));
    o.Title = (a.Bode ? "Frequenzgang " : "Ortskurve ") + q + "(" + xLabel + ") von " + label +
              (a.Bode ? "" : " [" + QuantityUnit(a.Quantity) + "]");
    TSweepPlotGeometry g;
    return WritePictureFile("sweep", surface, a.Kind, a.Picture, [&] {
        o.AntiAliasing = !surface.Recording();
        if (a.Bode)
            RenderFrequencyResponse(surface, r, o, g);
        else
            RenderLocus(surface, r, o, g);
        WritePictureComment(surface.DrawingCanvas(), PictureWidth, PictureHeight);
    });
}

const char* ValueUnit(TElementType type) {
    return type == etResistor ? "Ohm" : type == etCapacitor ? "F" : "H";
}

int RunSweepCommand(const TCommandLine& line) {
    TSweepArgs a;
    if (const std::string problem = ReadOptions(line, a); !problem.empty())
        return line.Refuse(problem);
    const auto circuit = LoadCircuitOrReport(line, line.Arguments()[0]);
    if (!circuit) return ExitUsage;
    const std::vector<TCircuitNode> nodes = FlattenCircuit(*circuit);
    if (const std::string problem = ReadIndices(line, nodes, a); !problem.empty())
        return line.Refuse(problem);
    const TCircuitSweeper sweeper(*circuit, a.Supply, a.Element, a.Vary);
    const double current =
        a.Vary < 0 ? NAN : nodes[static_cast<std::size_t>(a.Vary)].Element->ElementValue;
    const TSweepResult r = RunSweep(sweeper, a.From, a.To, a.Points, a.Linear, current);
    if (line.Has("--json"))
        PrintJson(r, a.Quantity);
    else
        PrintTsv(r, a.Quantity);
    if (a.Picture.empty()) return ExitOk;
    const std::vector<std::string> labels = ElementLabels(nodes);
    const bool vary = a.Vary >= 0;
    const std::size_t v = static_cast<std::size_t>(vary ? a.Vary : 0);
    return WritePicture(a, r, labels[static_cast<std::size_t>(a.Element)], vary ? labels[v] : "f",
                        vary ? ValueUnit(nodes[v].Element->ElementType()) : "Hz");
}

constexpr TOption SweepOptions[] = {
    {"--from", "F1",
     "Anfang der Reihe: Frequenz in Hertz (mit --vary der Bauteilwert);\n"
     "'.' als Dezimalpunkt, wahlweise mit n, u (oder µ), m, k, M, G",
     true},
    {"--to", "F2", "Ende der Reihe, wie --from", true},
    {"--points", "N", "Anzahl der Punkte, Vorgabe 201"},
    {"--element", "INDEX",
     "das berechnete Bauteil, Index wie in der Liste von \"circuit\";\n"
     "Vorgabe 0, die ganze Schaltung"},
    {"--quantity", "Z|Y|U|I|S",
     "die Größe: Impedanz Z (Vorgabe), Admittanz Y = 1/Z, Spannung U,\n"
     "Strom I, Leistung S = U * conj(I)"},
    {"--voltage", "AUSDRUCK", "Versorgungsspannung in Volt als Ausdruck, Vorgabe 230"},
    {"--frequency", "F", "feste Frequenz in Hertz für --vary"},
    {"--vary", "INDEX",
     "statt der Frequenz läuft der Wert dieses Widerstands, Kondensators\n"
     "oder dieser Spule von F1 bis F2"},
    {"--linear", "", "gleiche Abstände statt logarithmischer"},
    {"--json", "", "ein JSON-Objekt mit den Punkten und den Resonanzfrequenzen"},
    {"-o", "BILD", "zeichnet die Reihe zusätzlich in ein Bild (.bmp, .png, .emf, .svg)"},
    {"--view", "locus|bode", "das Bild: Ortskurve (Vorgabe) oder Frequenzgang"},
};

}  // namespace

extern const TCommand SweepCommand{
    .Name = "sweep",
    .Summary = "berechnet ein Bauteil einer Schaltung über einen Frequenzbereich",
    .Arguments = "DATEI.zgs",
    .MinArguments = 1,
    .MaxArguments = 1,
    .Options = SweepOptions,
    .Description =
        "Berechnet ein Bauteil einer Schaltungsdatei an N Frequenzen von F1 bis F2, jede wie\n"
        "\"circuit --frequency\" es für diese Frequenz tut. Gibt die Kopfzeile\n"
        "\"f re im abs phase\" aus, dann N Zeilen mit Frequenz, Real- und Imaginärteil, Betrag\n"
        "und Winkel (Bogenmaß in [0, 2pi)), durch Tabulatoren getrennt, Zahlen wie bei\n"
        "\"circuit\". Punkt k liegt bei F1*(F2/F1)^(k/(N-1)), mit --linear bei\n"
        "F1 + k*(F2-F1)/(N-1). Mit --vary steht in der ersten Spalte (Kopf \"value\") der\n"
        "Wert des Bauteils.\n",
    .ExitStatus =
        "0 berechnet, 1 Bild nicht geschrieben, 2 falscher Aufruf oder unlesbare "
        "Datei",
    .Run = RunSweepCommand,
};

}  // namespace zeigora::cli
