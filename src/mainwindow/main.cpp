// The desktop program: help or version on the terminal, or the pre-release notice, then the main
// window with the files named on the command line until it is closed.
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "complex/cp1252text.h"
#include "dialogs/application.h"
#include "mainwindow/commandline.h"
#include "mainwindow/mainform.h"
#include "platform/userdialogs.h"

using zeigora::operator""_cp;
using zeigora::TCommandLine;

namespace {

std::vector<std::string> Arguments(int argc, char** argv) {
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before the application object exists, which needs a display.
    const TCommandLine asked = zeigora::ParseCommandLine(Arguments(argc, argv));
    if (asked.Action == TCommandLine::TAction::Help) {
        std::fputs(zeigora::CommandLineHelp().c_str(), stdout);
        return 0;
    }
    if (asked.Action == TCommandLine::TAction::Version) {
        std::fputs(zeigora::VersionText().c_str(), stdout);
        return 0;
    }
    zeigora::TZeigoraApplication application(argc, argv);
    const TCommandLine line = zeigora::ParseCommandLine(Arguments(argc, argv));
    if (line.Action == TCommandLine::TAction::Refuse) {
        std::fputs(("zeigora: " + line.Problem + "\nHilfe: zeigora --help\n").c_str(), stderr);
        return 2;
    }
    zeigora::UserDialogs().ShowWarning(
        "Dies ist eine öffentliche Vorabversion (Public Alpha); für die Ergebnisse wird "
        "keine Gewähr übernommen."_cp);
    zeigora::TMainForm form;
    form.show();
    // Once the window is up: the circuit window is modal and runs its own loop.
    QTimer::singleShot(0, &form, [&form, &line] { zeigora::OpenStartFiles(form, line.Files); });
    return application.exec();
}
