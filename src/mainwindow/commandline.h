// The desktop program's command line: files to open, or a request for help or the version,
// which are answered on the terminal without a window (and so without a display).
#pragma once

#include <string>
#include <vector>

namespace zeigora {

class TMainForm;

struct TCommandLine {
    enum class TAction { Run, Help, Version, Refuse };
    TAction Action = TAction::Run;
    std::vector<std::string> Files;  // file system bytes, as given
    std::string Problem;             // UTF-8, for Refuse
};

// Reads the arguments after the program name; "--" ends the options. Help and version are
// found among any options, so that they can be answered before the application object exists;
// the unknown options that refuse the line are those left after it took out Qt's own
// (-platform, -style, ...).
TCommandLine ParseCommandLine(const std::vector<std::string>& args);

// What "--help" and "--version" print (UTF-8).
std::string CommandLineHelp();
std::string VersionText();

// A circuit file (".zgs", in any case) opens in the circuit window; every other file is read
// as a phasor file.
bool IsCircuitFile(const std::string& fileName);

// Opens the files in the window the way the user would, without the questions: each phasor
// file in turn replaces the phasors (a failure is reported and keeps them), then the circuit
// window opens with the last circuit named. The phasors opened are where the history starts.
void OpenStartFiles(TMainForm& window, const std::vector<std::string>& files);

}  // namespace zeigora
