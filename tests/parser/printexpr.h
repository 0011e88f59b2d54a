// Test names show the expression in ASCII, not the row's bytes.
#pragma once

#include <ostream>
#include <string>

inline void PrintExpression(const std::string& text, std::ostream* os) {
    static const char hex[] = "0123456789ABCDEF";
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F) {
            *os << c;
        } else {
            *os << "\\x" << hex[c >> 4] << hex[c & 15];
        }
    }
}
