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

constexpr std::string_view RenderUsage =
    "usage: zeigora-cli render FILE.zgf -o OUT [--size WxH] [--no-antialiasing] [--addition]\n"
    "                          [--scale1 X] [--scale2 X] [--grid RExIM]\n";

constexpr std::string_view RenderHelp =
    "usage: zeigora-cli render FILE.zgf -o OUT [--size WxH] [--no-antialiasing] [--addition]\n"
    "                          [--scale1 X] [--scale2 X] [--grid RExIM]\n"
    "\n"
    "Loads a phasor file, recalculates it and draws the complex plane with the program's\n"
    "default view settings, changed by the options, into a picture. The picture carries the\n"
    "comment \"Created with Lumtrek Zeigora\" at the bottom right, as the program's pictures do.\n"
    "The kind of picture follows the extension of OUT:\n"
    "  .bmp   Windows bitmap\n"
    "  .png   PNG image\n"
    "  .emf   enhanced metafile (always drawn without antialiasing)\n"
    "\n"
    "options:\n"
    "  -o OUT             the picture file to write\n"
    "  --size WxH         size in pixels, 1 to 16384 each (default 600x400)\n"
    "  --no-antialiasing  plain lines instead of antialiased arrows and circles\n"
    "  --addition         graphical addition: the phasors of each scale head to tail\n"
    "  --scale1 X         plane units per grid interval at scale 1 (default 1)\n"
    "  --scale2 X         the same at scale 2 (default 1)\n"
    "  --grid RExIM       grid intervals from the origin to the inner border along Re and\n"
    "                     Im, each above 0 and at most 1000 (default 3x2)\n"
    "  --help             this text\n"
    "Numbers are read with '.' as decimal point.\n"
    "\n"
    "exit status: 0 written, 1 the picture could not be written, 2 usage error or\n"
    "unreadable phasor file\n";

constexpr double MaxIntervals = 1000;

struct TRenderOptions {
    std::string File;
    std::string Out;
    TPictureKind Kind = TPictureKind::Png;
    int Width = 600;
    int Height = 400;
    TPlaneSettings Settings;
    bool Help = false;
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

// An option with a value: returns false (after reporting) when the value is missing or bad.
int ParseValueOption(const std::string& name, const std::string& value, TRenderOptions& opt) {
    TPlaneSettings& s = opt.Settings;
    bool ok = true;
    if (name == "-o") {
        opt.Out = value;
        ok = PictureKindOf(value, false, opt.Kind);
        if (!ok) return UsageError("render", "OUT must end in .bmp, .png or .emf", RenderUsage);
    } else if (name == "--size") {
        ok = ParseSize(value, opt.Width, opt.Height);
    } else if (name == "--scale1") {
        ok = ParseScale(value, s.Scale1);
    } else if (name == "--scale2") {
        ok = ParseScale(value, s.Scale2);
    } else if (name == "--grid") {
        ok = ParseGrid(value, s.ReIntervals, s.ImIntervals);
    }
    if (!ok) return UsageError("render", "bad value for " + name + ": " + value, RenderUsage);
    return ExitOk;
}

bool TakesValue(const std::string& a) {
    return a == "-o" || a == "--size" || a == "--scale1" || a == "--scale2" || a == "--grid";
}

int ParseRenderArgs(const TArgs& args, TRenderOptions& opt) {
    TArgs files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.empty() || a[0] != '-') {
            files.push_back(a);
        } else if (IsHelpOption(a)) {
            opt.Help = true;
        } else if (a == "--no-antialiasing") {
            opt.Settings.AntiAliasing = false;
        } else if (a == "--addition") {
            opt.Settings.GraphicalAddition = true;
        } else if (TakesValue(a)) {
            if (i + 1 >= args.size())
                return UsageError("render", "missing value for " + a, RenderUsage);
            if (const int rc = ParseValueOption(a, args[++i], opt); rc != ExitOk) return rc;
        } else {
            return UsageError("render", "unknown option " + a, RenderUsage);
        }
    }
    if (opt.Help) return ExitOk;
    if (files.size() != 1) return UsageError("render", "expects one phasor file", RenderUsage);
    if (opt.Out.empty()) return UsageError("render", "no output file (-o OUT)", RenderUsage);
    opt.File = files[0];
    return ExitOk;
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
    return WritePictureFile("render", surface, opt.Kind, opt.Out, false,
                            [&] { DrawPicture(surface, view, phasors); });
}

}  // namespace

int RunRender(const TArgs& args) {
    TRenderOptions opt;
    if (const auto rc = StartCommand(args, opt, ParseRenderArgs, RenderHelp)) return *rc;
    TPhasorArray phasors;
    if (!LoadPhasorsOrReport(phasors, opt.File)) return ExitUsage;
    RecalculateAll(phasors);
    const THeadlessGui gui;
    return WritePicture(opt, phasors);
}

}  // namespace zeigora::cli
