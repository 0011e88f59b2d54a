// Messages that name a file: the name is converted one way only, and the system's reason for a
// failure is given in German.
#pragma once

#include <string>
#include <string_view>

namespace zeigora {

// A file name as messages show it (cp1252): the native name is UTF-8; characters cp1252 lacks
// and bytes that are no UTF-8 show as '?'.
std::string FileNameText(std::string_view nativeName);

// The German text (cp1252) of an errno value, e.g. "Keine Berechtigung"; values without a
// German text name their number.
std::string SystemErrorText(int error);

// "Die Datei "<name>" <what>: <reason>." for a system error, "Die Datei "<name>" <what>." when
// error is 0. cp1252, the name converted by FileNameText.
std::string FileErrorMessage(std::string_view nativeName, std::string_view what, int error);

// The two failures every file kind shares, worded once.
inline constexpr char ReadFailedText[] = "konnte nicht gelesen werden";
inline constexpr char SaveFailedText[] = "konnte nicht gespeichert werden";

}  // namespace zeigora
