// zeigora-cli: the program's computations from the command line. Each subcommand lives in its
// own cli_<name>.cpp; adding one means declaring it here and adding a line to the table.
#include <cstdio>
#include <string>
#include <string_view>

#include "cli/cli_common.h"

namespace zeigora::cli {

int RunEval(const TArgs& args);
int RunPhasors(const TArgs& args);
int RunRender(const TArgs& args);
int RunCircuit(const TArgs& args);
int RunDiagram(const TArgs& args);

namespace {

struct TCommand {
    std::string_view Name;
    int (*Run)(const TArgs& args);
    std::string_view Summary;
};

constexpr TCommand Commands[] = {
    {"eval", RunEval, "evaluate expressions of the phasor definition language"},
    {"phasors", RunPhasors, "load a phasor file (.zgf), recalculate it and list its phasors"},
    {"render", RunRender, "draw the complex plane of a phasor file into a picture"},
    {"circuit", RunCircuit, "load a circuit file (.zgs) and list every element's Z, U, I, S"},
    {"diagram", RunDiagram, "draw the schematic of a circuit file (.zgs) into a picture"},
};

std::string Usage() {
    std::string s =
        "usage: zeigora-cli COMMAND [OPTIONS] [ARGS...]\n"
        "       zeigora-cli COMMAND --help\n"
        "\n"
        "Computes with complex numbers and phasor files of Zeigora. Numbers are printed with\n"
        "'.' as decimal point whatever the locale; texts are UTF-8.\n"
        "\n"
        "commands:\n";
    for (const TCommand& c : Commands) {
        std::string name(c.Name);
        name.resize(10, ' ');
        s += "  " + name + std::string(c.Summary) + "\n";
    }
    s += "\nexit status: 0 success, 1 some input failed, 2 usage error or unreadable file\n";
    return s;
}

int Dispatch(const TArgs& args) {
    if (args.empty()) return UsageError("", "no command given", Usage());
    if (IsHelpOption(args[0])) {
        Out(Usage());
        return ExitOk;
    }
    for (const TCommand& c : Commands)
        if (args[0] == c.Name) return c.Run(TArgs(args.begin() + 1, args.end()));
    return UsageError("", "unknown command " + args[0], Usage());
}

}  // namespace

}  // namespace zeigora::cli

int main(int argc, char** argv) {
    const zeigora::cli::TArgs args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const int rc = zeigora::cli::Dispatch(args);
    // Output that did not arrive (full disk, closed pipe) must not look like success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return rc == 0 ? 1 : rc;
    return rc;
}
