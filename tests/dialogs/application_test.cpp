#include "dialogs/application.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <climits>
#include <functional>
#include <stdexcept>

#include "dialogs/scripteddialogs_support.h"

namespace zeigora {
namespace {

class KeyWidget : public QWidget {
  public:
    std::function<void()> OnKey;

  protected:
    void keyPressEvent(QKeyEvent*) override { OnKey(); }
};

// Runs the queued events until the loop is idle again.
void RunQueuedEvents() {
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
}

class ApplicationTest : public TScriptedDialogsTest {};

TEST_F(ApplicationTest, ErrorsOfEventAndInputHandlersAreShownAndTheLoopGoesOn) {
    Dialogs.ExpectError(DivisionByZeroText);
    Dialogs.ExpectError("Already recording.");
    Dialogs.ExpectError("Unbekannter Fehler");
    bool laterEventRan = false;
    QTimer::singleShot(0, [] { CheckedIntDiv(8, 0); });
    QTimer::singleShot(0, [&] { laterEventRan = true; });
    RunQueuedEvents();
    EXPECT_TRUE(laterEventRan);
    KeyWidget widget;
    widget.OnKey = [] { throw std::runtime_error("Already recording."); };
    QTest::keyClick(&widget, Qt::Key_A);
    widget.OnKey = [] { throw 42; };
    QTest::keyClick(&widget, Qt::Key_B);
    EXPECT_EQ(Dialogs.Shown().size(), 3u);
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
    EXPECT_EQ(dialogs.Shown().size(), 1u);
}

TEST(CheckedIntDivTest, TruncatesAndRefusesWhatTheProcessorTraps) {
    EXPECT_EQ(CheckedIntDiv(7, 2), 3);
    EXPECT_EQ(CheckedIntDiv(-7, 2), -3);
    EXPECT_THROW(CheckedIntDiv(INT_MIN, -1), std::runtime_error);
    try {
        CheckedIntDiv(0, 0);
        ADD_FAILURE() << "0 div 0 went through";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Division durch Null");
    }
}

}  // namespace
}  // namespace zeigora
