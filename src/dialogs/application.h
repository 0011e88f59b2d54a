// The program's application object: owns the real user dialogs and is the general error handler
// that shows an error a command did not handle itself, after which the event loop goes on.
#pragma once

#include <QApplication>
#include <memory>
#include <optional>
#include <string>

#include "complex/cp1252text.h"
#include "platform/userdialogs.h"

namespace zeigora {

// Integer division by zero traps the processor and kills the process on this platform instead of
// raising an error a command could end with. Commands that divide by a count the user chose
// (the calibration of the window size by grid intervals that may round to 0) divide through
// CheckedIntDiv and end when it gives nothing; the error box "Division durch Null" has been
// shown by then. No exception is thrown: it would unwind through Qt's event dispatch.
inline constexpr char DivisionByZeroText[] = "Division durch Null";
inline constexpr auto& IntegerOverflowText = "Integer-Überlauf"_cp;

// a div b, truncating toward zero. For b = 0, and for the one quotient that does not fit
// (INT_MIN div -1), it shows DivisionByZeroText or IntegerOverflowText the way the general error
// handler does and gives nothing.
std::optional<int> CheckedIntDiv(int a, int b);

class TZeigoraApplication : public QApplication {
  public:
    // Titles the application "Lumtrek Zeigora 3.0", installs the Qt user dialogs and takes the
    // decimal separator from the user's locale; argc and argv must outlive the application.
    TZeigoraApplication(int& argc, char** argv);
    ~TZeigoraApplication() override;

    // Runs every event handler under the general error handler.
    bool notify(QObject* receiver, QEvent* event) override;

    // What the general error handler does with an error text (cp1252): an error box through
    // UserDialogs(), unless one is already open. Public so that code outside the event loop can
    // report the same way.
    static void ShowUnhandledError(const std::string& text);

  private:
    std::unique_ptr<TUserDialogs> Dialogs;
    TUserDialogs* PreviousDialogs = nullptr;
};

}  // namespace zeigora
