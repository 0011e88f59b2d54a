// The program's texts are written in the source as they read (UTF-8); the core, its files and
// the drawing work on Windows-1252 bytes. "Lösungskreis"_cp turns such a text into those bytes
// while compiling: the result is a char array like a string literal, so it goes wherever a
// literal went. A text with a character that Windows-1252 lacks does not compile.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zeigora {

namespace cp1252 {

// Unicode of the bytes 0x80..0x9F; the five that Windows-1252 leaves undefined map to the C1
// control characters of the same value, so every byte has a character.
inline constexpr char16_t HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

constexpr char16_t ByteToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return HighControls[byte - 0x80];
    return byte;
}

// The byte of a character, or -1 when Windows-1252 has none.
constexpr int UnicodeToByte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i)
        if (HighControls[i] == cp) return 0x80 + i;
    return -1;
}

inline constexpr char32_t Invalid = 0xFFFFFFFF;

// Decodes one code point at text[pos] and advances pos. A malformed sequence yields Invalid
// and consumes its lead byte and the continuation bytes that were still plausible.
constexpr char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) return lead;
    int count = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        count = 1, cp = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        count = 2, cp = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        count = 3, cp = lead & 0x07, min = 0x10000;
    } else {
        return Invalid;
    }
    for (int i = 0; i < count; ++i) {
        if (pos >= text.size()) return Invalid;
        const auto next = static_cast<unsigned char>(text[pos]);
        if ((next & 0xC0) != 0x80) return Invalid;
        cp = (cp << 6) | (next & 0x3F);
        ++pos;
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return Invalid;
    return cp;
}

// Not constexpr on purpose: reaching it while compiling stops the build at the faulty text.
inline void TextIsNotWindows1252() {}

// The bytes of a UTF-8 text; out may be null to count them only.
consteval std::size_t Encode(std::string_view utf8, char* out) {
    std::size_t size = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t cp = DecodeUtf8(utf8, pos);
        const int byte = cp == Invalid ? -1 : UnicodeToByte(cp);
        if (byte < 0) TextIsNotWindows1252();
        if (out) out[size] = static_cast<char>(byte);
        ++size;
    }
    return size;
}

// A string literal as a template argument (its terminating zero included).
template <std::size_t N>
struct TUtf8Literal {
    char Text[N]{};
    consteval TUtf8Literal(const char (&text)[N]) {
        for (std::size_t i = 0; i < N; ++i)
            Text[i] = text[i];
    }
    consteval std::string_view View() const { return {Text, N - 1}; }
};

template <TUtf8Literal Utf8>
struct TBytes {
    char Text[Encode(Utf8.View(), nullptr) + 1]{};
};

template <TUtf8Literal Utf8>
consteval TBytes<Utf8> EncodeLiteral() {
    TBytes<Utf8> bytes;
    Encode(Utf8.View(), bytes.Text);
    return bytes;
}

// One array per text, in static storage like the literal it stands for.
template <TUtf8Literal Utf8>
inline constexpr TBytes<Utf8> Bytes = EncodeLiteral<Utf8>();

}  // namespace cp1252

template <cp1252::TUtf8Literal Utf8>
constexpr const auto& operator""_cp() {
    return cp1252::Bytes<Utf8>.Text;
}

// Texts that arrive while the program runs (file names, typed text, the terminal). Every byte
// has a character: the five bytes that Windows-1252 leaves undefined map to the
// C1 control characters of the same value, so a round trip loses nothing.
std::string Cp1252ToUtf8(std::string_view text);

// Characters without a Windows-1252 byte, and every invalid UTF-8 sequence, become '?'.
std::string Utf8ToCp1252(std::string_view text);

}  // namespace zeigora
