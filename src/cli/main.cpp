// zeigora-cli: the program's computations from the command line. Each command lives in its own
// cli_<name>.cpp as a TCommand (options, help, run function); adding one means declaring it here
// and adding a line to the table.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "cli/cli_command.h"
#include "cli/cli_common.h"

namespace zeigora::cli {

extern const TCommand EvalCommand;
extern const TCommand PhasorsCommand;
extern const TCommand RenderCommand;
extern const TCommand CircuitCommand;
extern const TCommand DiagramCommand;
extern const TCommand SweepCommand;

namespace {

constexpr const TCommand* Commands[] = {&EvalCommand,    &PhasorsCommand, &RenderCommand,
                                        &CircuitCommand, &DiagramCommand, &SweepCommand};

std::string Usage() {
    std::string s =
        "Aufruf: zeigora-cli BEFEHL [OPTIONEN] [ARGUMENTE...]\n"
        "        zeigora-cli BEFEHL --help\n"
        "        zeigora-cli --version\n"
        "\n"
        "Rechnet mit komplexen Zahlen, Zeigerdateien (.zgf) und Schaltungen (.zgs) von Zeigora.\n"
        "Zahlen stehen mit '.' als Dezimalpunkt, gleich welche Sprache eingestellt ist; Texte\n"
        "sind UTF-8.\n"
        "\n"
        "Befehle:\n";
    for (const TCommand* c : Commands) {
        std::string name(c->Name);
        name.resize(10, ' ');
        s += "  " + name + std::string(c->Summary) + "\n";
    }
    s += "\nRückgabewert: 0 Erfolg, 1 eine Eingabe schlug fehl, 2 falscher Aufruf oder unlesbare\n"
         "Datei\n";
    return s;
}

int Refuse(std::string_view problem) {
    Err("zeigora-cli: " + std::string(problem) + "\n" + Usage());
    return ExitUsage;
}

int Dispatch(const TArgs& args) {
    if (args.empty()) return Refuse("Kein Befehl angegeben.");
    if (args[0] == "-h" || args[0] == "--help") {
        Out(Usage());
        return ExitOk;
    }
    if (args[0] == "--version") {
        Out("zeigora-cli " ZEIGORA_VERSION "\n");
        return ExitOk;
    }
    for (const TCommand* c : Commands)
        if (args[0] == c->Name) return RunCommand(*c, TArgs(args.begin() + 1, args.end()));
    return Refuse("Unbekannter Befehl \"" + args[0] + "\".");
}

}  // namespace

}  // namespace zeigora::cli

int main(int argc, char** argv) {
    const zeigora::cli::TArgs args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const int rc = zeigora::cli::Dispatch(args);
    // Output that did not arrive (full disk, closed pipe) must not look like success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        const std::string command = args.empty() ? "" : " " + args[0];
        zeigora::cli::Err("zeigora-cli" + command +
                          ": Die Ausgabe konnte nicht geschrieben werden: " + std::strerror(errno) +
                          ".\n");
        return rc == 0 ? 1 : rc;
    }
    return rc;
}
