// The desktop program: the pre-release notice, then the main window until it is closed.
#include "complex/cp1252text.h"
#include "dialogs/application.h"
#include "mainwindow/mainform.h"
#include "platform/userdialogs.h"

using zeigora::operator""_cp;

int main(int argc, char** argv) {
    zeigora::TZeigoraApplication application(argc, argv);
    zeigora::UserDialogs().ShowWarning(
        "Dies ist eine öffentliche Vorabversion (Public Alpha); für die Ergebnisse wird "
        "keine Gewähr übernommen."_cp);
    zeigora::TMainForm form;
    form.show();
    return application.exec();
}
