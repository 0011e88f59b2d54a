// Conversion between the program's Windows-1252 byte strings and QString; the conversions
// to and from UTF-8 come from the core.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "files/cp1252text.h"

namespace zeigora {

QString FromCp1252(std::string_view text);
std::string ToCp1252(const QString& text);

}  // namespace zeigora
