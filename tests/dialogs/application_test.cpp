#include "dialogs/application.h"

#include <gtest/gtest-spi.h>
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

TEST_F(ApplicationTest, ErrorInAnEventHandlerIsShownAndTheLoopGoesOn) {
    Dialogs.ExpectError(DivisionByZeroText);
    bool laterEventRan = false;
    QTimer::singleShot(0, [] { CheckedIntDiv(8, 0); });
    QTimer::singleShot(0, [&] { laterEventRan = true; });
    RunQueuedEvents();
    EXPECT_TRUE(laterEventRan);
}

TEST_F(ApplicationTest, ErrorsOfInputHandlersAndForeignExceptions) {
    Dialogs.ExpectError("Already recording.");
    Dialogs.ExpectError("Unbekannter Fehler");
    KeyWidget widget;
    widget.OnKey = [] { throw std::runtime_error("Already recording."); };
    QTest::keyClick(&widget, Qt::Key_A);
    widget.OnKey = [] { throw 42; };
    QTest::keyClick(&widget, Qt::Key_B);
    ASSERT_EQ(Dialogs.Shown().size(), 2u);
}

TEST(CheckedIntDivTest, TruncatesAndRefusesWhatTheProcessorTraps) {
    EXPECT_EQ(CheckedIntDiv(7, 2), 3);
    EXPECT_EQ(CheckedIntDiv(-7, 2), -3);
    EXPECT_EQ(CheckedIntDiv(INT_MIN, 1), INT_MIN);
    const std::pair<int, int> refused[] = {{7, 0}, {0, 0}, {INT_MIN, -1}};
    for (const auto& [a, b] : refused) {
        EXPECT_THROW(CheckedIntDiv(a, b), std::runtime_error) << a << " div " << b;
    }
    try {
        CheckedIntDiv(1, 0);
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Division durch Null");
    }
}

TEST(ScriptedDialogsTest, UnannouncedAndMissingDialogsFailTheTest) {
    EXPECT_NONFATAL_FAILURE(TScriptedDialogs().ShowError("Kein Zeiger ausgew\xE4hlt."),
                            "unexpected error box");
    EXPECT_NONFATAL_FAILURE(
        {
            TScriptedDialogs dialogs;
            dialogs.ExpectYesNo("Fortfahren?", true);
        },
        "did not come");
    EXPECT_NONFATAL_FAILURE(
        {
            TScriptedDialogs dialogs;
            dialogs.ExpectYesNo("Fortfahren?", true);
            dialogs.AskYesNo("Abbrechen?", TQuestionIcon::Question);
        },
        "expected \"Fortfahren?\"");
}

TEST(ScriptedDialogsTest, AnswersInOrder) {
    TScriptedDialogs dialogs;
    dialogs.ExpectYesNo("Sind Sie sicher?", false);
    dialogs.ExpectFile(TDialogKind::OpenFile, TFileChoice{"a.zgf", 1});
    dialogs.ExpectInput("Bitte geben Sie eine Zahl zwischen 2 und 16 ein", std::nullopt);
    EXPECT_FALSE(dialogs.AskYesNo("Sind Sie sicher?", TQuestionIcon::Question));
    EXPECT_EQ(dialogs.GetOpenFileName("", "", "*.zgf")->FileName, "a.zgf");
    EXPECT_FALSE(
        dialogs
            .InputBox("Eingabe des Grades", "Bitte geben Sie eine Zahl zwischen 2 und 16 ein", "")
            .has_value());
}

}  // namespace
}  // namespace zeigora
