#include "files/filemessage.h"

#include <cerrno>

#include "complex/cp1252text.h"

namespace zeigora {

std::string FileNameText(std::string_view nativeName) {
    return Utf8ToCp1252(nativeName);
}

std::string SystemErrorText(int error) {
    switch (error) {
        case EACCES:
            return "Keine Berechtigung";
        case EPERM:
            return "Die Operation ist nicht erlaubt";
        case ENOENT:
            return "Datei oder Verzeichnis nicht gefunden";
        case ENOTDIR:
            return "Ein Teil des Pfades ist kein Verzeichnis";
        case EISDIR:
            return "Ist ein Verzeichnis";
        case ENOSPC:
            return "Auf dem Gerät ist kein Speicherplatz mehr verfügbar"_cp;
        case EDQUOT:
            return "Das Speicherplatzkontingent ist überschritten"_cp;
        case EFBIG:
            return "Die Datei ist zu groß"_cp;
        case EROFS:
            return "Das Dateisystem ist nur lesbar";
        case ENAMETOOLONG:
            return "Der Dateiname ist zu lang";
        case ELOOP:
            return "Zu viele Ebenen symbolischer Verknüpfungen"_cp;
        case EIO:
            return "Ein-/Ausgabefehler";
        case EBUSY:
            return "Das Gerät oder die Ressource ist belegt"_cp;
        case EXDEV:
            return "Verschieben über Dateisystemgrenzen ist nicht möglich"_cp;
        case EMFILE:
        case ENFILE:
            return "Zu viele offene Dateien";
        case EEXIST:
            return "Die Datei existiert bereits";
        case ETXTBSY:
            return "Die Datei wird gerade ausgeführt"_cp;
        case EINVAL:
            return "Ungültiges Argument"_cp;
        default:
            return "Systemfehler " + std::to_string(error);
    }
}

std::string FileErrorMessage(std::string_view nativeName, std::string_view what, int error) {
    std::string text = "Die Datei \"" + FileNameText(nativeName) + "\" " + std::string(what);
    if (error != 0) text += ": " + SystemErrorText(error);
    return text + ".";
}

}  // namespace zeigora
