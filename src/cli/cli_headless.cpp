#include "cli/cli_headless.h"

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/vectorstate.h"

namespace zeigora::cli {

namespace {

// The runtime folder for the signal handler: a fixed buffer, since a handler may only call
// async-signal-safe functions (rmdir, raise), not touch std::string.
char RuntimeDirForSignals[4096];

constexpr int EndingSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGPIPE};

// A run stopped from outside removes its (empty) runtime folder, then ends as the signal says.
void RemoveRuntimeDirAndEnd(int signal) {
    if (RuntimeDirForSignals[0] != '\0') rmdir(RuntimeDirForSignals);
    ::signal(signal, SIG_DFL);
    raise(signal);
}

void WatchEndingSignals(const std::string& dir) {
    if (dir.size() >= sizeof RuntimeDirForSignals) return;
    std::memcpy(RuntimeDirForSignals, dir.c_str(), dir.size() + 1);
    for (int s : EndingSignals)
        ::signal(s, RemoveRuntimeDirAndEnd);
}

void StopWatchingEndingSignals() {
    for (int s : EndingSignals)
        ::signal(s, SIG_DFL);
    RuntimeDirForSignals[0] = '\0';
}

}  // namespace

THeadlessGui::THeadlessGui() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        std::string dir = (std::filesystem::temp_directory_path() / "zeigora-cli-XXXXXX").string();
        // Watched before the folder exists, so no moment is left in which a stop would leave it.
        WatchEndingSignals(dir);
        if (mkdtemp(RuntimeDirForSignals) != nullptr) {
            RuntimeDir_ = RuntimeDirForSignals;
            qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(RuntimeDir_));
        } else {
            StopWatchingEndingSignals();
        }
    }
    App_ = std::make_unique<QGuiApplication>(Argc_, Argv_);
    ClearUpperVectorState();  // Qt's start-up leaves it; the recalculation follows
}

THeadlessGui::~THeadlessGui() {
    App_.reset();
    if (RuntimeDir_.empty()) return;
    StopWatchingEndingSignals();
    std::error_code ec;
    std::filesystem::remove_all(RuntimeDir_, ec);
}

}  // namespace zeigora::cli
