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

// Control characters and escapes pass unchanged; nothing is added to an empty text.
TEST(Cp1252Text, EscapesAndEmptyText) {
    EXPECT_EQ(std::string_view("Zeile\n\"zwei\"\t"_cp), "Zeile\n\"zwei\"\t");
    EXPECT_EQ(sizeof(""_cp), 1u);
}

// The literal is usable while compiling, e.g. as a case label.
static_assert("µ"_cp[0] == '\xB5');
static_assert(sizeof("€"_cp) == 2);

}  // namespace
}  // namespace zeigora
