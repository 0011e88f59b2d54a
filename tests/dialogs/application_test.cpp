#include "dialogs/application.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <climits>
#include <stdexcept>

#include "dialogs/scripteddialogs_support.h"

namespace zeigora {
namespace {

// Runs the queued events until the loop is idle again.
void RunQueuedEvents() {
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
}

class ApplicationTest : public TScriptedDialogsTest {};

TEST_F(ApplicationTest, ErrorsOfEventHandlersAreShownAndTheLoopGoesOn) {
    Dialogs.ExpectError("Division durch Null");
    Dialogs.ExpectError("Unbekannter Fehler");
    bool laterEventRan = false;
    QTimer::singleShot(0, [] { throw std::runtime_error("Division durch Null"); });
    QTimer::singleShot(0, [] { throw 42; });
    QTimer::singleShot(0, [&] { laterEventRan = true; });
    RunQueuedEvents();
    EXPECT_TRUE(laterEventRan);
}

// Error boxes that run the event loop, as the real ones do.
class LoopingDialogs : public TScriptedDialogs {
  public:
    void ShowError(const std::string& text) override {
        TScriptedDialogs::ShowError(text);
        RunQueuedEvents();
    }
};

TEST(ApplicationErrorTest, ErrorsUnderAnOpenErrorBoxOpenNoFurtherBox) {
    LoopingDialogs dialogs;
    TUserDialogs* previous = SetUserDialogs(&dialogs);
    dialogs.ExpectError("erster");
    QTimer::singleShot(0, [] {
        QTimer::singleShot(0, [] { throw std::runtime_error("zweiter"); });
        throw std::runtime_error("erster");
    });
    RunQueuedEvents();
    SetUserDialogs(previous);
}

// The refusal is reported on the spot; nothing is thrown through Qt's event dispatch.
TEST_F(ApplicationTest, CheckedIntDivTruncatesAndReportsWhatTheProcessorTraps) {
    EXPECT_EQ(CheckedIntDiv(-7, 2), -3);
    Dialogs.ExpectError(
        "Integer-\xDC"
        "berlauf");
    EXPECT_EQ(CheckedIntDiv(INT_MIN, -1), std::nullopt);
    Dialogs.ExpectError("Division durch Null");
    EXPECT_EQ(CheckedIntDiv(8, 0), std::nullopt);
}

}  // namespace
}  // namespace zeigora
