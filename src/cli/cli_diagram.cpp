// zeigora-cli diagram: loads a circuit file and draws its schematic into a picture, as the
// circuit window shows it and saves it.
#include <algorithm>
#include <charconv>
#include <memory>
#include <string>

#include "circuit/circuitfile.h"
#include "circuitdiagram/circgrph.h"
#include "cli/cli_common.h"
#include "cli/cli_headless.h"
#include "cli/cli_picture.h"
#include "plane/paintboxex.h"

namespace zeigora::cli {

namespace {

constexpr int MinSide = 100;
// A default picture larger than this many pixels is cut in height.
constexpr long long MaxDefaultArea = 1LL << 26;

struct TDiagramOptions {
    std::string File;
    std::string Out;
    TPictureKind Kind = TPictureKind::Png;
    int Width = 0;  // 0: chosen from the circuit
    int Height = 0;
    TDiagramLabels Labels{false, true};
};

bool ParseSide(std::string_view text, int& side) {
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, side);
    return r.ec == std::errc() && r.ptr == end && side >= MinSide && side <= MaxSide;
}

// The options' values into `opt`; the problem of the first bad one, or an empty text.
std::string ReadOptions(const TCommandLine& line, TDiagramOptions& opt) {
    opt.Out = line.Value("-o");
    if (!PictureKindOf(opt.Out, true, opt.Kind))
        return "AUSGABE muss auf .bmp, .png, .emf oder .svg enden.";
    for (const auto& [option, side] : {std::pair{"--width", &opt.Width}, {"--height", &opt.Height}})
        if (line.Has(option) && !ParseSide(line.Value(option), *side))
            return "Ungültiger Wert für " + std::string(option) + ": \"" + line.Value(option) +
                   "\".";
    opt.Labels.ShowElementValues = line.Has("--values");
    opt.Labels.ShowElementNames = !line.Has("--no-names");
    return {};
}

// The window's default size, or what the circuit needs where that is larger; an explicit
// option wins.
void ChooseSize(TDiagramOptions& opt, const TCircuitElementGroup& circuit) {
    if (opt.Width > 0 && opt.Height > 0) return;
    TPaintBoxEx probe(1, 1);
    TCanvas& metrics = probe.DrawingCanvas();
    metrics.SetFontName("Verdana");
    const TDiagramSize needed = NeededDiagramSize(metrics, circuit, opt.Labels);
    if (opt.Width == 0) opt.Width = std::clamp(needed.Width, DefaultDiagramWidth, MaxSide);
    if (opt.Height == 0) {
        const long long byArea = std::max<long long>(MinSide, MaxDefaultArea / opt.Width);
        opt.Height = static_cast<int>(
            std::min<long long>({std::max(needed.Height, DefaultDiagramHeight), MaxSide, byArea}));
    }
}

// What the window's paint does to its diagram, then the picture comment of its export.
void DrawPicture(TCanvas& canvas, int width, int height, TCircuitElementGroup& circuit,
                 TDiagramLabels labels) {
    canvas.SetBrushStyle(TBrushStyle::Solid);
    canvas.SetBrushColor(clWhite);
    canvas.SetPenColor(clWhite);
    canvas.Rectangle(0, 0, width, height);
    canvas.SetPenColor(clBlack);
    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.SetFontName("Verdana");
    DrawCircuit(canvas, circuit, height, labels.ShowElementValues, labels.ShowElementNames);
    WritePictureComment(canvas, width, height);
}

int RunDiagram(const TCommandLine& line) {
    TDiagramOptions opt;
    if (const std::string problem = ReadOptions(line, opt); !problem.empty())
        return line.Refuse(problem);
    // Before the input: a stopped run must find the headless runtime folder to remove.
    const THeadlessGui gui;
    const auto circuit = LoadCircuitOrReport(line, line.Arguments()[0]);
    if (!circuit) return ExitUsage;
    ChooseSize(opt, *circuit);
    TPaintBoxEx surface(opt.Width, opt.Height);
    return WritePictureFile("diagram", surface, opt.Kind, opt.Out, [&] {
        DrawPicture(surface.DrawingCanvas(), opt.Width, opt.Height, *circuit, opt.Labels);
    });
}

constexpr TOption DiagramOptions[] = {
    {"-o", "AUSGABE",
     "die Bilddatei; ihre Endung wählt die Art: .bmp (Windows-Bitmap),\n"
     ".png, .emf (erweiterte Metadatei) oder .svg",
     true},
    {"--width", "B", "Breite in Pixeln, 100 bis 16384"},
    {"--height", "H", "Höhe in Pixeln, 100 bis 16384; die Leitung liegt bei H / 2"},
    {"--values", "", "die Werte der Bauteile in die Beschriftung"},
    {"--no-names", "", "die Namen der Bauteile nicht in die Beschriftung"},
};

}  // namespace

extern const TCommand DiagramCommand{
    .Name = "diagram",
    .Summary = "zeichnet die Schaltung einer Schaltungsdatei (.zgs) in ein Bild",
    .Arguments = "DATEI.zgs",
    .MinArguments = 1,
    .MaxArguments = 1,
    .Options = DiagramOptions,
    .Description =
        "Lädt eine Schaltungsdatei und zeichnet sie wie das Schaltungsfenster: die Bauteile von\n"
        "links nach rechts, parallele Zweige untereinander, jedes mit seinem Namen und auf\n"
        "Wunsch seinem Wert beschriftet (\"R (2,2kOhm)\", mit Dezimalkomma). Das Bild trägt\n"
        "unten rechts den Vermerk \"Created with Lumtrek Zeigora\" wie die Bilder des\n"
        "Programms. Ohne --width oder --height ist die Seite die Vorgabe des Fensters\n"
        "(500 x 173) oder, wo größer, was die Schaltung braucht, höchstens 16384.\n",
    .ExitStatus =
        "0 geschrieben, 1 das Bild konnte nicht geschrieben werden, 2 falscher\n"
        "Aufruf oder unlesbare Schaltungsdatei",
    .Run = RunDiagram,
};

}  // namespace zeigora::cli
