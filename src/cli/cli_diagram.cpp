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

constexpr std::string_view DiagramUsage =
    "usage: zeigora-cli diagram FILE.zgs -o OUT [--width W] [--height H] [--values]\n"
    "                           [--no-names]\n";

constexpr std::string_view DiagramHelp =
    "usage: zeigora-cli diagram FILE.zgs -o OUT [--width W] [--height H] [--values]\n"
    "                           [--no-names]\n"
    "\n"
    "Loads a circuit file and draws its schematic as the circuit window does: the parts\n"
    "from left to right, parallel branches one below the other, each part labelled with its\n"
    "name and, on request, its value (\"R (2,2kOhm)\", decimal comma). The picture carries the\n"
    "comment \"Created with Lumtrek Zeigora\" at the bottom right, as the program's pictures\n"
    "do. The kind of picture follows the extension of OUT:\n"
    "  .bmp   Windows bitmap\n"
    "  .png   PNG image\n"
    "  .emf   enhanced metafile\n"
    "  .svg   SVG picture\n"
    "\n"
    "options:\n"
    "  -o OUT        the picture file to write\n"
    "  --width W     width in pixels, 100 to 16384\n"
    "  --height H    height in pixels, 100 to 16384; the schematic's line lies at H / 2\n"
    "  --values      show the parts' values in the labels\n"
    "  --no-names    leave the parts' names out of the labels\n"
    "  --            the next argument is the file, even if it starts with '-'\n"
    "  --help        this text\n"
    "Without --width or --height the side is the circuit window's default (500 x 173) or\n"
    "what the circuit needs so that nothing overlaps, whichever is larger, at most 16384.\n"
    "\n"
    "exit status: 0 written, 1 the picture could not be written, 2 usage error or\n"
    "unreadable circuit file\n";

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
    bool Help = false;
};

bool ParseSide(std::string_view text, int& side) {
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, side);
    return r.ec == std::errc() && r.ptr == end && side >= MinSide && side <= MaxSide;
}

int ParseValueOption(const std::string& name, const std::string& value, TDiagramOptions& opt) {
    bool ok = true;
    if (name == "-o") {
        opt.Out = value;
        ok = PictureKindOf(value, true, opt.Kind);
        if (!ok)
            return UsageError("diagram", "OUT must end in .bmp, .png, .emf or .svg", DiagramUsage);
    } else {
        ok = ParseSide(value, name == "--width" ? opt.Width : opt.Height);
    }
    if (!ok) return UsageError("diagram", "bad value for " + name + ": " + value, DiagramUsage);
    return ExitOk;
}

int ParseDiagramArgs(const TArgs& args, TDiagramOptions& opt) {
    TArgs files;
    const int rc = SplitArgs(args, files, opt.Help, [&opt](const TArgs& a, std::size_t& i) {
        if (a[i] == "--values") {
            opt.Labels.ShowElementValues = true;
        } else if (a[i] == "--no-names") {
            opt.Labels.ShowElementNames = false;
        } else if (a[i] == "-o" || a[i] == "--width" || a[i] == "--height") {
            if (i + 1 >= a.size())
                return UsageError("diagram", "missing value for " + a[i], DiagramUsage);
            ++i;
            return ParseValueOption(a[i - 1], a[i], opt);
        } else {
            return UsageError("diagram", "unknown option " + a[i], DiagramUsage);
        }
        return ExitOk;
    });
    if (rc != ExitOk) return rc;
    if (opt.Help) return ExitOk;
    if (files.size() != 1) return UsageError("diagram", "expects one circuit file", DiagramUsage);
    if (opt.Out.empty()) return UsageError("diagram", "no output file (-o OUT)", DiagramUsage);
    opt.File = files[0];
    return ExitOk;
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

}  // namespace

int RunDiagram(const TArgs& args) {
    TDiagramOptions opt;
    if (const auto rc = StartCommand(args, opt, ParseDiagramArgs, DiagramHelp)) return *rc;
    TCircuitLoadResult loaded = LoadCircuitFromFile(opt.File);
    if (!loaded.Circuit) {
        Err("zeigora-cli diagram: " + ToUtf8(loaded.Error) + "\n");
        return ExitUsage;
    }
    const THeadlessGui gui;
    ChooseSize(opt, *loaded.Circuit);
    TPaintBoxEx surface(opt.Width, opt.Height);
    return WritePictureFile("diagram", surface, opt.Kind, opt.Out, true, [&] {
        DrawPicture(surface.DrawingCanvas(), opt.Width, opt.Height, *loaded.Circuit, opt.Labels);
    });
}

}  // namespace zeigora::cli
