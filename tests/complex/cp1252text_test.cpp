#include "complex/cp1252text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace zeigora {
namespace {

// Every character Windows-1252 has, typed as it reads (the two invisible ones as names), in
// byte order.
constexpr auto& Printable =
    " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`"
    "abcdefghijklmnopqrstuvwxyz{|}~"
    "€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ"
    "\u00A0¡¢£¤¥¦§¨©ª«¬\u00AD®¯°±²³´µ¶·¸¹º»¼½¾¿"
    "ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞß"
    "àáâãäåæçèéêëìíîïðñòóôõö÷øùúûüýþÿ"_cp;

TEST(Cp1252Text, EveryCharacterBecomesItsByte) {
    std::string expected;
    for (int b = 0x20; b <= 0xFF; ++b) {
        const bool undefined = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        if (b != 0x7F && !undefined) expected.push_back(static_cast<char>(b));
    }
    EXPECT_EQ(std::string(Printable), expected);
    EXPECT_EQ(sizeof(Printable), expected.size() + 1);
}

TEST(Cp1252Text, GermanTextsKeepTheirBytes) {
    struct Case {
        std::string_view Text;
        std::string_view Bytes;
    };
    const Case cases[] = {
        {"Lösungskreis anzeigen"_cp, "L\xF6sungskreis anzeigen"},
        {"Äußerste Schaltungsgruppe"_cp,
         "\xC4u\xDF"
         "erste Schaltungsgruppe"},
        {"Öffnen..."_cp,
         "\xD6"
         "ffnen..."},
        {"30°, 25µ"_cp, "30\xB0, 25\xB5"},
        {"Zeile\n\"zwei\"\t"_cp, "Zeile\n\"zwei\"\t"},
        {""_cp, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.Text, c.Bytes);
}

// The literal is usable while compiling, e.g. as a case label.
static_assert("µ"_cp[0] == '\xB5');
static_assert(sizeof("€"_cp) == 2);

}  // namespace
}  // namespace zeigora
