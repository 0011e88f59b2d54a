#include "mainwindow/commandline.h"

#include <algorithm>

#include "mainwindow/mainform.h"

namespace zeigora {

namespace {

bool IsHelp(const std::string& arg) {
    return arg == "-h" || arg == "--help";
}

bool IsVersion(const std::string& arg) {
    return arg == "-v" || arg == "--version";
}

}  // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    TCommandLine line;
    const auto optionsEnd = std::find(args.begin(), args.end(), "--");
    for (auto arg = args.begin(); arg != optionsEnd; ++arg) {
        if (IsHelp(*arg) || IsVersion(*arg)) {
            line.Action =
                IsHelp(*arg) ? TCommandLine::TAction::Help : TCommandLine::TAction::Version;
            return line;
        }
    }
    for (auto arg = args.begin(); arg != args.end(); ++arg) {
        if (arg == optionsEnd) continue;
        if (arg < optionsEnd && arg->size() > 1 && (*arg)[0] == '-') {
            line.Action = TCommandLine::TAction::Refuse;
            line.Problem = "Unbekannte Option \"" + *arg + "\".";
            return line;
        }
        line.Files.push_back(*arg);
    }
    return line;
}

std::string CommandLineHelp() {
    return "Aufruf: zeigora [DATEI...]\n"
           "\n"
           "Rechnen mit komplexen Zahlen in der Gaußschen Zahlenebene.\n"
           "\n"
           "  DATEI.zgf      öffnet die Zeigerdatei im Hauptfenster\n"
           "  DATEI.zgs      öffnet die Schaltung im Fenster \"Schaltungsberechnung\"\n"
           "  -h, --help     zeigt diese Hilfe und endet\n"
           "  -v, --version  zeigt die Version und endet\n"
           "\n"
           "Rechnen ohne Fenster: zeigora-cli --help\n";
}

std::string VersionText() {
    return "zeigora " ZEIGORA_VERSION "\n";
}

bool IsCircuitFile(const std::string& fileName) {
    if (fileName.size() < 4) return false;
    std::string ext = fileName.substr(fileName.size() - 4);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext == ".zgs";
}

void OpenStartFiles(TMainForm& window, const std::vector<std::string>& files) {
    const std::string* circuit = nullptr;
    bool phasors = false;
    for (const std::string& file : files) {
        if (IsCircuitFile(file)) {
            circuit = &file;
        } else {
            window.OpenPhasorFile(file);
            phasors = true;
        }
    }
    if (phasors) window.RestartHistory();
    if (circuit) window.OpenCircuitWindow(*circuit);
}

}  // namespace zeigora
