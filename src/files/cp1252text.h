// Conversion between the program's Windows-1252 byte strings and UTF-8, for the core and the
// layers above it alike.
#pragma once

#include <string>
#include <string_view>

namespace zeigora {

// Every byte has a character: the five bytes that Windows-1252 leaves undefined map to the
// C1 control characters of the same value, so a round trip loses nothing.
std::string Cp1252ToUtf8(std::string_view text);

// Characters without a Windows-1252 byte, and every invalid UTF-8 sequence, become '?'.
std::string Utf8ToCp1252(std::string_view text);

// The character of one Windows-1252 byte, and the byte of one character ('?' if it has none).
char16_t Cp1252ByteToUnicode(unsigned char byte);
char UnicodeToCp1252Byte(char32_t cp);

}  // namespace zeigora
