#include "dialogs/helppage.h"

#include <QCoreApplication>
#include <system_error>

namespace zeigora {

namespace {

const std::filesystem::path PagePath = std::filesystem::path("Doku") / "index.html";

bool IsFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string FindHelpPageFrom(const std::filesystem::path& workingDir,
                             const std::filesystem::path& executableDir) {
    const std::filesystem::path local = workingDir / PagePath;
    if (IsFile(local)) return local.string();
    if (executableDir.empty()) return {};
    const std::filesystem::path candidates[] = {
        executableDir / PagePath,
        (executableDir / ".." / "share" / "zeigora" / PagePath).lexically_normal(),
    };
    for (const auto& candidate : candidates) {
        if (IsFile(candidate)) return candidate.string();
    }
    return {};
}

std::filesystem::path ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && !self.empty()) return self.parent_path();
    if (QCoreApplication::instance()) {
        return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
    }
    return {};
}

std::string FindHelpPage() {
    return FindHelpPageFrom({}, ExecutableFolder());
}

}  // namespace zeigora
