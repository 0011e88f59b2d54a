#include "platform/locale.h"

#include <QLocale>
#include <QString>

#include "complex/numtext.h"

namespace zeigora {

namespace {

constexpr char FallbackSeparator = ',';

// Latin-1 characters are their own Windows-1252 byte, except the C1 controls.
bool UsableSeparator(char16_t c) {
    if (c < 0x21 || (c >= 0x7F && c <= 0xA0) || c > 0xFF) return false;  // controls, blanks
    if ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == 'e' || c == 'E') return false;
    return true;
}

}  // namespace

char LocaleDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    if (point.size() != 1 || !UsableSeparator(point.at(0).unicode())) return FallbackSeparator;
    return static_cast<char>(point.at(0).unicode());
}

void InitNumberTextFromLocale() {
    SetDecimalSeparator(LocaleDecimalSeparator());
}

}  // namespace zeigora
