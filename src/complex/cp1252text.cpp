#include "complex/cp1252text.h"

namespace zeigora {

namespace {

using cp1252::ByteToUnicode;
using cp1252::DecodeUtf8;
using cp1252::Invalid;

constexpr char Unmapped = '?';

char UnicodeToByte(char32_t cp) {
    const int byte = cp1252::UnicodeToByte(cp);
    return byte < 0 ? Unmapped : static_cast<char>(byte);
}

void AppendUtf8(std::string& out, char16_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (char c : text)
        AppendUtf8(out, ByteToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char32_t cp = DecodeUtf8(text, pos);
        out.push_back(cp == Invalid ? Unmapped : UnicodeToByte(cp));
    }
    return out;
}

}  // namespace zeigora
