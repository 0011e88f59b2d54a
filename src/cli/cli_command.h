// The one command-line parser of zeigora-cli. A command is declared as data (name, synopsis,
// options, help text) beside the function that runs it; parsing, help, usage errors and their
// German messages are done here for all commands alike. Arguments stay bytes: file names reach
// the file functions exactly as given.
#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zeigora::cli {

using TArgs = std::vector<std::string>;

// "--name VALUE", "--name=VALUE"; a one-letter option ("-o") also as "-oVALUE". An option
// without a value placeholder is a switch and refuses a value.
struct TOption {
    std::string_view Name;   // with its dashes: "--frequency", "-o"
    std::string_view Value;  // placeholder in the help ("F"); empty for a switch
    std::string_view Help;   // German; further lines after "\n" are indented to match
    bool Required = false;   // shown without brackets in the synopsis; checked by the parser
};

class TCommandLine;

struct TCommand {
    std::string_view Name;
    std::string_view Summary;    // one line for the overview of all commands
    std::string_view Arguments;  // the plain arguments in the synopsis: "DATEI.zgs"
    int MinArguments = 0;
    int MaxArguments = 0;  // -1: any number
    std::span<const TOption> Options;
    std::string_view Description;  // German help text between synopsis and options
    std::string_view ExitStatus;   // German, after "Rückgabewert: "
    // Only "-h" and arguments beginning with "--" are options, so "-1+j" is an argument.
    bool OnlyLongOptions = false;
    bool ReadsFiles = true;  // the help explains "-" for standard input
    int (*Run)(const TCommandLine& line) = nullptr;
};

// The parsed arguments of one command.
class TCommandLine {
  public:
    explicit TCommandLine(const TCommand& command) : Command_(command) {}

    const TCommand& Command() const { return Command_; }
    const TArgs& Arguments() const { return Arguments_; }
    bool Has(std::string_view option) const;
    // The last value given for the option, or `fallback`.
    std::string Value(std::string_view option, std::string_view fallback = {}) const;

    // Reports a usage error ("zeigora-cli COMMAND: problem", the synopsis and a pointer to the
    // help) and returns the exit code for it.
    int Refuse(std::string_view problem) const;
    // Reports a failure ("zeigora-cli COMMAND: message") and returns `exitCode`.
    int Fail(std::string_view message, int exitCode) const;

  private:
    friend int RunCommand(const TCommand& command, const TArgs& args);
    const TCommand& Command_;
    std::map<std::string, std::string, std::less<>> Values_;
    TArgs Arguments_;
};

// The German help text of a command.
std::string CommandHelp(const TCommand& command);

// Parses `args` (the arguments after the command's name) and runs the command; prints the help
// for -h/--help instead. Returns the exit code.
int RunCommand(const TCommand& command, const TArgs& args);

}  // namespace zeigora::cli
