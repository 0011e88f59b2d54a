#include "dialogs/application.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <climits>
#include <exception>
#include <stdexcept>

#include "dialogs/qtuserdialogs.h"
#include "platform/locale.h"
#include "platform/vectorstate.h"

namespace zeigora {

namespace {

// Texts of exceptions that carry none of their own.
constexpr char UnknownErrorText[] = "Unbekannter Fehler";

// The platform's common dialogs (file, colour, print) speak German where Qt's translations are
// installed; without them they stay English, which is no reason to fail.
void LoadGermanQtTexts(QApplication& application) {
    auto* translator = new QTranslator(&application);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                         folder)) {
        QApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

}  // namespace

std::optional<int> CheckedIntDiv(int a, int b) {
    if (b == 0 || (a == INT_MIN && b == -1)) {
        TZeigoraApplication::ShowUnhandledError(b == 0 ? DivisionByZeroText : IntegerOverflowText);
        return std::nullopt;
    }
    return a / b;
}

TZeigoraApplication::TZeigoraApplication(int& argc, char** argv)
    : QApplication(argc, argv), Dialogs(std::make_unique<TQtUserDialogs>()) {
    // The title goes into the application name, which message boxes show. A display name would
    // be appended by the X11 platform to every window caption that does not end with it.
    setApplicationName(QStringLiteral("Lumtrek Zeigora 3.0"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/zeigora.svg")));
    PreviousDialogs = SetUserDialogs(Dialogs.get());
    InitNumberTextFromLocale();
    LoadGermanQtTexts(*this);
}

TZeigoraApplication::~TZeigoraApplication() {
    // Whoever replaced our dialogs (a test) has put its own back by now or still owns them;
    // only take ours away.
    if (&UserDialogs() == Dialogs.get()) SetUserDialogs(PreviousDialogs);
}

bool TZeigoraApplication::notify(QObject* receiver, QEvent* event) {
    ClearUpperVectorState();  // our handlers start free of Qt's vector state
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowUnhandledError(error.what());
    } catch (...) {
        ShowUnhandledError(UnknownErrorText);
    }
    return false;
}

void TZeigoraApplication::ShowUnhandledError(const std::string& text) {
    // The error box runs its own event loop. A handler that fails on every event (a paint
    // handler, say) would fail again under it and stack box upon box until the stack runs out;
    // while one box is open it stands for the errors that follow.
    static bool showing = false;
    if (showing) return;
    showing = true;
    try {
        UserDialogs().ShowError(text.empty() ? std::string(UnknownErrorText) : text);
    } catch (...) {
        showing = false;
        throw;
    }
    showing = false;
}

}  // namespace zeigora
