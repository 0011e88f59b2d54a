// zeigora-cli phasors: loads a phasor file, recalculates it and lists every phasor.
#include <string>

#include "cli/cli_common.h"
#include "phasors/recalc.h"

namespace zeigora::cli {

namespace {

constexpr std::string_view PhasorsUsage = "usage: zeigora-cli phasors [--json] FILE.zgf\n";

constexpr std::string_view PhasorsHelp =
    "usage: zeigora-cli phasors [--json] FILE.zgf\n"
    "\n"
    "Loads a phasor file, recalculates every phasor as the program does before drawing,\n"
    "and prints one line per phasor with these tab-separated fields:\n"
    "  index, name, definition, real part, imaginary part, magnitude, angle in radians,\n"
    "  error code, error text\n"
    "A constant phasor has an empty definition. Error code 0 means no error, -1 an invalid\n"
    "name, -2 a circular reference, any other value the position of a syntax error.\n"
    "Texts are UTF-8; in them a backslash, tab, CR and LF are written as \\\\, \\t, \\r, \\n.\n"
    "Numbers are written in the shortest form that reads back exactly, with '.' as\n"
    "decimal point; non-finite values as nan, inf, -inf.\n"
    "\n"
    "options:\n"
    "  --json   print a JSON array of objects with the fields index, name, definition,\n"
    "           re, im, abs, phase, errorCode, errorText; values that are not finite\n"
    "           are the strings \"nan\", \"inf\", \"-inf\"\n"
    "  --       the next argument is the file, even if it starts with '-'\n"
    "  --help   this text\n"
    "\n"
    "exit status: 0 listed (phasor errors are part of the listing), 2 usage error or\n"
    "unreadable file\n";

struct TPhasorsOptions {
    std::string File;
    bool Json = false;
    bool Help = false;
};

int ParsePhasorsArgs(const TArgs& args, TPhasorsOptions& opt) {
    TArgs files;
    const int rc = SplitArgs(args, files, opt.Help, [&opt](const TArgs& a, std::size_t& i) {
        if (a[i] != "--json") return UsageError("phasors", "unknown option " + a[i], PhasorsUsage);
        opt.Json = true;
        return ExitOk;
    });
    if (rc != ExitOk) return rc;
    if (opt.Help) return ExitOk;
    if (files.size() != 1) return UsageError("phasors", "expects one file", PhasorsUsage);
    opt.File = files[0];
    return ExitOk;
}

std::string TsvLine(std::size_t index, const TPhasor& p) {
    const TComplex& v = p.Value;
    return IntText(static_cast<long long>(index)) + "\t" + TsvField(ToUtf8(p.Name.View())) + "\t" +
           TsvField(ToUtf8(p.Definition.View())) + "\t" + NumberText(v.Re) + "\t" +
           NumberText(v.Im) + "\t" + NumberText(v.Abs) + "\t" + NumberText(v.Phase) + "\t" +
           IntText(p.ErrorCode) + "\t" + TsvField(ToUtf8(p.ErrorText.View())) + "\n";
}

std::string JsonObject(std::size_t index, const TPhasor& p) {
    const TComplex& v = p.Value;
    return "{\"index\": " + IntText(static_cast<long long>(index)) +
           ", \"name\": " + JsonString(ToUtf8(p.Name.View())) +
           ", \"definition\": " + JsonString(ToUtf8(p.Definition.View())) +
           ", \"re\": " + JsonNumber(v.Re) + ", \"im\": " + JsonNumber(v.Im) +
           ", \"abs\": " + JsonNumber(v.Abs) + ", \"phase\": " + JsonNumber(v.Phase) +
           ", \"errorCode\": " + IntText(p.ErrorCode) +
           ", \"errorText\": " + JsonString(ToUtf8(p.ErrorText.View())) + "}";
}

void PrintJson(const TPhasorArray& phasors) {
    if (phasors.empty()) {
        Out("[]\n");
        return;
    }
    Out("[\n");
    for (std::size_t i = 0; i < phasors.size(); ++i)
        Out("  " + JsonObject(i, phasors[i]) + (i + 1 < phasors.size() ? ",\n" : "\n"));
    Out("]\n");
}

}  // namespace

int RunPhasors(const TArgs& args) {
    TPhasorsOptions opt;
    if (const auto rc = StartCommand(args, opt, ParsePhasorsArgs, PhasorsHelp)) return *rc;
    TPhasorArray phasors;
    if (!LoadPhasorsOrReport(phasors, opt.File)) return ExitUsage;
    RecalculateAll(phasors);
    if (opt.Json) {
        PrintJson(phasors);
    } else {
        for (std::size_t i = 0; i < phasors.size(); ++i)
            Out(TsvLine(i, phasors[i]));
    }
    return ExitOk;
}

}  // namespace zeigora::cli
