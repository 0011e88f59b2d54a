// Fixed-capacity, length-prefixed single-byte strings as they lie in records and files.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace zeigora {

// A length byte followed by 255 cp1252 character bytes; bytes beyond the length carry no
// meaning. Plain bytes, so records holding it are copied with a byte copy.
struct TShortString {
    std::uint8_t Length;
    char Chars[255];

    std::string_view View() const { return {Chars, Length}; }
    std::string Str() const { return std::string(View()); }
    bool Empty() const { return Length == 0; }

    // Longer texts are cut to 255 characters.
    void Assign(std::string_view s) {
        const std::size_t n = s.size() < 255 ? s.size() : 255;
        Length = static_cast<std::uint8_t>(n);
        if (n > 0) std::memcpy(Chars, s.data(), n);
    }
    TShortString& operator=(std::string_view s) {
        Assign(s);
        return *this;
    }
};
static_assert(sizeof(TShortString) == 256);

}  // namespace zeigora
