// zeigora-cli diagram: loads a circuit file and draws its schematic into a picture, as the
// circuit window shows it and saves it.
#include <stdlib.h>

#include <QImage>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include "circuit/circuitfile.h"
#include "circuitdiagram/circgrph.h"
#include "cli/cli_common.h"
#include "cli/cli_headless.h"
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
constexpr int MaxSide = 16384;
// A default picture larger than this many pixels is cut in height.
constexpr long long MaxDefaultArea = 1LL << 26;
constexpr std::string_view PictureComment = "Created with Lumtrek Zeigora";

enum class TPictureKind { Bitmap, Png, Metafile, Svg };

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

bool KindOf(const std::string& file, TPictureKind& kind) {
    std::string ext = std::filesystem::path(file).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".bmp")
        kind = TPictureKind::Bitmap;
    else if (ext == ".png")
        kind = TPictureKind::Png;
    else if (ext == ".emf")
        kind = TPictureKind::Metafile;
    else if (ext == ".svg")
        kind = TPictureKind::Svg;
    else
        return false;
    return true;
}

int ParseValueOption(const std::string& name, const std::string& value, TDiagramOptions& opt) {
    bool ok = true;
    if (name == "-o") {
        opt.Out = value;
        ok = KindOf(value, opt.Kind);
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
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.empty() || a[0] != '-') {
            files.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (IsHelpOption(a)) {
            opt.Help = true;
        } else if (a == "--values") {
            opt.Labels.ShowElementValues = true;
        } else if (a == "--no-names") {
            opt.Labels.ShowElementNames = false;
        } else if (a == "-o" || a == "--width" || a == "--height") {
            if (i + 1 >= args.size())
                return UsageError("diagram", "missing value for " + a, DiagramUsage);
            if (const int rc = ParseValueOption(a, args[++i], opt); rc != ExitOk) return rc;
        } else {
            return UsageError("diagram", "unknown option " + a, DiagramUsage);
        }
    }
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

void WriteComment(TCanvas& canvas, int width, int height) {
    canvas.SetFontColor(clBlack);
    canvas.SetFontBold(true);
    canvas.TextOut(width - canvas.TextWidth(PictureComment) - 2,
                   height - canvas.TextHeight(PictureComment) - 2, PictureComment);
    canvas.SetFontBold(false);
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
    WriteComment(canvas, width, height);
}

bool WritePicture(const TDiagramOptions& opt, TCircuitElementGroup& circuit, std::string& problem) {
    TPaintBoxEx surface(opt.Width, opt.Height);
    if (opt.Kind == TPictureKind::Metafile || opt.Kind == TPictureKind::Svg) {
        surface.BeginRecording(opt.Kind == TPictureKind::Svg ? TRecordingKind::Svg
                                                             : TRecordingKind::Emf);
        DrawPicture(surface.DrawingCanvas(), opt.Width, opt.Height, circuit, opt.Labels);
        try {
            if (surface.EndRecording(opt.Out)) return true;
        } catch (const std::exception& e) {
            problem = e.what();
        }
        return false;
    }
    DrawPicture(surface.DrawingCanvas(), opt.Width, opt.Height, circuit, opt.Labels);
    const char* format = opt.Kind == TPictureKind::Bitmap ? "BMP" : "PNG";
    return surface.DisplayImage().save(QString::fromStdString(opt.Out), format);
}

}  // namespace

int RunDiagram(const TArgs& args) {
    TDiagramOptions opt;
    if (const int rc = ParseDiagramArgs(args, opt); rc != ExitOk) return rc;
    if (opt.Help) {
        Out(DiagramHelp);
        return ExitOk;
    }
    TCircuitLoadResult loaded = LoadCircuitFromFile(opt.File);
    if (!loaded.Circuit) {
        Err("zeigora-cli diagram: " + ToUtf8(loaded.Error) + "\n");
        return ExitUsage;
    }
    const THeadlessGui gui;
    ChooseSize(opt, *loaded.Circuit);
    std::string problem;
    if (WritePicture(opt, *loaded.Circuit, problem)) return ExitOk;
    Err("zeigora-cli diagram: cannot write " + opt.Out + (problem.empty() ? "" : ": " + problem) +
        "\n");
    return ExitFailed;
}

}  // namespace zeigora::cli
