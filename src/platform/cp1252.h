// Conversion between the program's Windows-1252 byte strings and QString; those to and from
// UTF-8 are the core's.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "complex/cp1252text.h"

namespace zeigora {

QString FromCp1252(std::string_view text);
std::string ToCp1252(const QString& text);

}  // namespace zeigora
