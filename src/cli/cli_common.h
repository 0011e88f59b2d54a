// Helpers shared by the subcommands of zeigora-cli: output, number text, escaping, input files.
// The tool writes C-locale numbers and UTF-8 text whatever the user's locale.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "circuit/circcalc.h"
#include "cli/cli_command.h"
#include "phasors/phasor.h"

namespace zeigora::cli {

// Exit codes shared by all subcommands.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;  // some input could not be computed
inline constexpr int ExitUsage = 2;   // bad options or an unreadable input file

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

// Reads standard input to its end, but at most `limit` bytes: more stands in `bytes` as
// limit bytes and a longer input. False when reading failed.
bool ReadStandardInput(std::size_t limit, std::string& bytes);

// Loads a phasor file ("-": standard input); on failure reports the German message for
// `line`'s command and returns false.
bool LoadPhasorsOrReport(const TCommandLine& line, TPhasorArray& list, const std::string& file);

// Loads a circuit file ("-": standard input); on failure reports the German message for
// `line`'s command and returns nullptr.
std::unique_ptr<TCircuitElementGroup> LoadCircuitOrReport(const TCommandLine& line,
                                                          const std::string& file);

}  // namespace zeigora::cli
