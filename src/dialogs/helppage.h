// Where the help page is: beside the working directory while the program runs from its source or
// build folder, else where it was installed with the program.
#pragma once

#include <filesystem>
#include <string>

namespace zeigora {

// "Doku/index.html" when that file exists relative to the working directory, else
// <executable folder>/Doku/index.html, else <executable folder>/../share/zeigora/Doku/index.html;
// empty when none exists.
std::string FindHelpPage();

// The same search with the working directory's page looked up under `workingDir` (empty: the
// working directory itself, and the page is then named relative to it) and the installed pages
// under `executableDir`.
std::string FindHelpPageFrom(const std::filesystem::path& workingDir,
                             const std::filesystem::path& executableDir);

// The folder of the running program; empty when it cannot be found.
std::filesystem::path ExecutableFolder();

}  // namespace zeigora
