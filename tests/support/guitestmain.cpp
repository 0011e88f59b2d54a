// The widget tests run headless in one application object, under dialogs that fail the test
// for every dialog it did not announce.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <cstdlib>

#include "complex/numtext.h"
#include "dialogs/application.h"
#include "dialogs/scripteddialogs_support.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt wants a runtime folder that only we can read; the shared /tmp is no such folder.
    QByteArray folder = QDir::tempPath().toLocal8Bit() + "/zeigora-guitest-XXXXXX";
    if (mkdtemp(folder.data()) == nullptr) return 2;  // mkdtemp creates it with mode 0700
    setenv("XDG_RUNTIME_DIR", folder.constData(), 1);
    int result = 0;
    {
        zeigora::TZeigoraApplication application(argc, argv);
        zeigora::SetDecimalSeparator(',');
        zeigora::TScriptedDialogs strict;
        zeigora::TUserDialogs* previous = zeigora::SetUserDialogs(&strict);
        result = RUN_ALL_TESTS();
        zeigora::SetUserDialogs(previous);
    }
    QDir(QString::fromLocal8Bit(folder)).removeRecursively();
    return result;
}
