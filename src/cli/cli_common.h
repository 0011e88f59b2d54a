// Helpers shared by the subcommands of zeigora-cli: output, number text, escaping, options.
// The tool writes C-locale numbers and UTF-8 text whatever the user's locale.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "phasors/phasor.h"

namespace zeigora::cli {

// Exit codes shared by all subcommands.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;  // some input could not be computed
inline constexpr int ExitUsage = 2;   // bad options or an unreadable input file

using TArgs = std::vector<std::string>;

void Out(std::string_view text);
void Err(std::string_view text);

// Shortest text that reads back to the same double; "nan" for every NaN, "inf", "-inf".
std::string NumberText(double x);
std::string IntText(long long x);

// cp1252 program text → UTF-8 for the terminal.
std::string ToUtf8(std::string_view cp1252);

// A field of a tab-separated line: backslash, tab, CR and LF written as \\, \t, \r, \n.
std::string TsvField(std::string_view utf8);

// A JSON string literal, quotes included.
std::string JsonString(std::string_view utf8);

// A JSON value for a double: the number, or the strings "nan", "inf", "-inf".
std::string JsonNumber(double x);

// Prints "zeigora-cli <command>: <problem>" and the usage on stderr; returns ExitUsage.
int UsageError(std::string_view command, std::string_view problem, std::string_view usage);

// Parses a subcommand's arguments with `parse`; prints `help` when asked for. Returns the exit
// code to end with (usage error or help printed), or nothing when the command should run.
template <typename TOptions>
std::optional<int> StartCommand(const TArgs& args, TOptions& opt,
                                int (*parse)(const TArgs&, TOptions&), std::string_view help) {
    if (const int rc = parse(args, opt); rc != ExitOk) return rc;
    if (!opt.Help) return std::nullopt;
    Out(help);
    return ExitOk;
}

// True for "--help" and "-h".
bool IsHelpOption(std::string_view arg);

// Sorts a subcommand's arguments: plain ones, and all after "--", are files; --help and -h set
// help; every other option goes to option(args, i), which handles args[i], advances i past a
// value it takes and returns ExitOk or the exit code to end with.
template <typename TOption>
int SplitArgs(const TArgs& args, TArgs& files, bool& help, TOption option) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.empty() || a[0] != '-') {
            files.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (IsHelpOption(a)) {
            help = true;
        } else if (const int rc = option(args, i); rc != ExitOk) {
            return rc;
        }
    }
    return ExitOk;
}

// Loads a phasor file; on failure prints the German message (UTF-8) on stderr.
bool LoadPhasorsOrReport(TPhasorArray& list, const std::string& fileName);

}  // namespace zeigora::cli
