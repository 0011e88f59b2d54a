// Test runner for the circuit diagram: Qt needs an application object for fonts, and runs
// headless on the offscreen platform with a private runtime folder.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QGuiApplication>
#include <string>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string runtime = "/tmp/zeigora-test-XXXXXX";
    if (mkdtemp(runtime.data())) setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
