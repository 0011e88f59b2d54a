#include "cli/cli_headless.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

#include "platform/vectorstate.h"

namespace zeigora::cli {

THeadlessGui::THeadlessGui() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        std::string dir = (std::filesystem::temp_directory_path() / "zeigora-cli-XXXXXX").string();
        if (mkdtemp(dir.data()) != nullptr) {
            RuntimeDir_ = dir;
            qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir));
        }
    }
    App_ = std::make_unique<QGuiApplication>(Argc_, Argv_);
    ClearUpperVectorState();  // Qt's start-up leaves it; the recalculation follows
}

THeadlessGui::~THeadlessGui() {
    App_.reset();
    std::error_code ec;
    if (!RuntimeDir_.empty()) std::filesystem::remove_all(RuntimeDir_, ec);
}

}  // namespace zeigora::cli
