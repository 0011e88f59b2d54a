// The desktop program: the pre-release notice, then the main window until it is closed.
#include "dialogs/application.h"
#include "mainwindow/mainform.h"
#include "platform/userdialogs.h"

int main(int argc, char** argv) {
    zeigora::TZeigoraApplication application(argc, argv);
    zeigora::UserDialogs().ShowWarning(
        "Dies ist eine \xF6"
        "ffentliche Vorabversion (Public Alpha); f\xFCr die Ergebnisse wird "
        "keine Gew\xE4hr \xFC"
        "bernommen.");
    zeigora::TMainForm form;
    form.show();
    return application.exec();
}
