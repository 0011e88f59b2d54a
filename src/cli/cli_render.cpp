// zeigora-cli render: loads a phasor file, recalculates it and draws one frame of the complex
// plane into a picture file, as the program's window would show it.
#include <charconv>
#include <cmath>
#include <memory>
#include <string>

#include "cli/cli_common.h"
#include "cli/cli_headless.h"
#include "cli/cli_picture.h"
#include "phasors/recalc.h"
#include "plane/frame.h"
#include "plane/paintboxex.h"

namespace zeigora::cli {

namespace {

constexpr double MaxIntervals = 1000;

struct TRenderOptions {
    std::string File;
    std::string Out;
    TPictureKind Kind = TPictureKind::Png;
    int Width = 600;
    int Height = 400;
    TPlaneSettings Settings;
};

bool ParseDouble(std::string_view text, double& x) {
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, x);
    return r.ec == std::errc() && r.ptr == end && std::isfinite(x);
}

bool ParseInt(std::string_view text, int& x) {
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, x);
    return r.ec == std::errc() && r.ptr == end;
}

// "AxB" into two texts.
bool SplitPair(std::string_view text, std::string_view& a, std::string_view& b) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) return false;
    a = text.substr(0, x);
    b = text.substr(x + 1);
    return true;
}

bool ParseSize(std::string_view text, int& w, int& h) {
    std::string_view a, b;
    return SplitPair(text, a, b) && ParseInt(a, w) && ParseInt(b, h) && w >= 1 && h >= 1 &&
           w <= MaxSide && h <= MaxSide;
}

bool ParseGrid(std::string_view text, double& re, double& im) {
    std::string_view a, b;
    return SplitPair(text, a, b) && ParseDouble(a, re) && ParseDouble(b, im) && re > 0 && im > 0 &&
           re <= MaxIntervals && im <= MaxIntervals;
}

bool ParseScale(std::string_view text, double& scale) {
    return ParseDouble(text, scale) && scale > 0;
}

// The options' values into `opt`; the problem of the first bad one, or an empty text.
std::string ReadOptions(const TCommandLine& line, TRenderOptions& opt) {
    TPlaneSettings& s = opt.Settings;
    opt.Out = line.Value("-o");
    if (!PictureKindOf(opt.Out, false, opt.Kind))
        return "AUSGABE muss auf .bmp, .png oder .emf enden.";
    const auto bad = [](std::string_view option, const std::string& value) {
        return "Ungültiger Wert für " + std::string(option) + ": \"" + value + "\".";
    };
    if (line.Has("--size") && !ParseSize(line.Value("--size"), opt.Width, opt.Height))
        return bad("--size", line.Value("--size"));
    if (line.Has("--scale1") && !ParseScale(line.Value("--scale1"), s.Scale1))
        return bad("--scale1", line.Value("--scale1"));
    if (line.Has("--scale2") && !ParseScale(line.Value("--scale2"), s.Scale2))
        return bad("--scale2", line.Value("--scale2"));
    if (line.Has("--grid") && !ParseGrid(line.Value("--grid"), s.ReIntervals, s.ImIntervals))
        return bad("--grid", line.Value("--grid"));
    s.AntiAliasing = !line.Has("--no-antialiasing");
    s.GraphicalAddition = line.Has("--addition");
    return {};
}

void DrawPicture(TPaintBoxEx& surface, TPlaneView& view, TPhasorArray& phasors) {
    RenderPlane(surface, view, phasors, nullptr);
    WritePictureComment(surface.DrawingCanvas(), surface.Width(), surface.Height());
}

int WritePicture(const TRenderOptions& opt, TPhasorArray& phasors) {
    TPaintBoxEx surface(opt.Width, opt.Height);
    TPlaneView view;
    view.Settings = opt.Settings;
    // Antialiased primitives write the bitmap only; a metafile gets plain lines.
    if (opt.Kind == TPictureKind::Metafile) view.Settings.AntiAliasing = false;
    return WritePictureFile("render", surface, opt.Kind, opt.Out,
                            [&] { DrawPicture(surface, view, phasors); });
}

int RunRender(const TCommandLine& line) {
    TRenderOptions opt;
    if (const std::string problem = ReadOptions(line, opt); !problem.empty())
        return line.Refuse(problem);
    // Before the input: a stopped run must find the headless runtime folder to remove.
    const THeadlessGui gui;
    TPhasorArray phasors;
    if (!LoadPhasorsOrReport(line, phasors, line.Arguments()[0])) return ExitUsage;
    RecalculateAll(phasors);
    return WritePicture(opt, phasors);
}

constexpr TOption RenderOptions[] = {
    {"-o", "AUSGABE",
     "die Bilddatei; ihre Endung wählt die Art: .bmp (Windows-Bitmap),\n"
     ".png oder .emf (erweiterte Metadatei, stets ohne Kantenglättung)",
     true},
    {"--size", "BxH", "Größe in Pixeln, je 1 bis 16384 (Vorgabe 600x400)"},
    {"--no-antialiasing", "", "einfache Linien statt geglätteter Pfeile und Kreise"},
    {"--addition", "", "grafische Addition: die Zeiger jedes Maßstabs aneinander gereiht"},
    {"--scale1", "X", "Einheiten je Gitterabstand bei Maßstab 1 (Vorgabe 1)"},
    {"--scale2", "X", "dasselbe bei Maßstab 2 (Vorgabe 1)"},
    {"--grid", "RExIM",
     "Gitterabstände vom Ursprung bis zum inneren Rand entlang Re und\n"
     "Im, je über 0 und höchstens 1000 (Vorgabe 3x2)"},
};

}  // namespace

extern const TCommand RenderCommand{
    .Name = "render",
    .Summary = "zeichnet die Zahlenebene einer Zeigerdatei in ein Bild",
    .Arguments = "DATEI.zgf",
    .MinArguments = 1,
    .MaxArguments = 1,
    .Options = RenderOptions,
    .Description =
        "Lädt eine Zeigerdatei, berechnet sie neu und zeichnet die Zahlenebene mit den\n"
        "Vorgaben der Ansicht des Programms, geändert durch die Optionen, in ein Bild. Das Bild\n"
        "trägt unten rechts den Vermerk \"Created with Lumtrek Zeigora\" wie die Bilder des\n"
        "Programms. Zahlen werden mit '.' als Dezimalpunkt gelesen.\n",
    .ExitStatus =
        "0 geschrieben, 1 das Bild konnte nicht geschrieben werden, 2 falscher\n"
        "Aufruf oder unlesbare Zeigerdatei",
    .Run = RunRender,
};

}  // namespace zeigora::cli
