// Test runner for the rendering layer: Qt needs an application object for fonts, and runs
// headless on the offscreen platform with a private runtime folder.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QGuiApplication>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string runtime = "/tmp/zeigora-test-XXXXXX";
    const bool haveRuntime = mkdtemp(runtime.data()) != nullptr;  // created with mode 0700
    if (haveRuntime) setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    int result = 0;
    {
        QGuiApplication app(argc, argv);
        testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    std::error_code ignored;
    if (haveRuntime) std::filesystem::remove_all(runtime, ignored);
    return result;
}
