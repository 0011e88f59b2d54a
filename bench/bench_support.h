// Shared by the benchmarks that draw: the Qt application that text needs.
#pragma once

#include <stdlib.h>

#include <QGuiApplication>
#include <string>

namespace zeigora::bench {

// The offscreen platform needs no display, and Qt wants a private runtime folder. Made once;
// true when this call made it.
inline bool EnsureGuiApplication() {
    static int argc = 1;
    static char name[] = "zeigora-bench";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() != nullptr) return false;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static std::string runtime = "/tmp/zeigora-bench-XXXXXX";
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && mkdtemp(runtime.data()) != nullptr)
        qputenv("XDG_RUNTIME_DIR", QByteArray(runtime.c_str()));
    static QGuiApplication app(argc, argv);
    return true;
}

}  // namespace zeigora::bench
