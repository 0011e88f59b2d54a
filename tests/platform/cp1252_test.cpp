#include "platform/cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace zeigora {
namespace {

std::string AllBytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes.push_back(static_cast<char>(b));
    return bytes;
}

TEST(Cp1252, AllBytesSurviveTheRoundTrip) {
    const std::string bytes = AllBytes();
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(bytes)), bytes);
    EXPECT_EQ(ToCp1252(FromCp1252(bytes)), bytes);
    EXPECT_EQ(FromCp1252(bytes), QString::fromStdString(Cp1252ToUtf8(bytes)));
}

struct CharCase {
    unsigned char Byte;
    char16_t Unicode;
};

TEST(Cp1252, TableOfTheSpecialBytes) {
    const CharCase cases[] = {
        {0x80, 0x20AC}, {0x82, 0x201A}, {0x83, 0x0192}, {0x84, 0x201E}, {0x85, 0x2026},
        {0x86, 0x2020}, {0x87, 0x2021}, {0x88, 0x02C6}, {0x89, 0x2030}, {0x8A, 0x0160},
        {0x8B, 0x2039}, {0x8C, 0x0152}, {0x8E, 0x017D}, {0x91, 0x2018}, {0x92, 0x2019},
        {0x93, 0x201C}, {0x94, 0x201D}, {0x95, 0x2022}, {0x96, 0x2013}, {0x97, 0x2014},
        {0x98, 0x02DC}, {0x99, 0x2122}, {0x9A, 0x0161}, {0x9B, 0x203A}, {0x9C, 0x0153},
        {0x9E, 0x017E}, {0x9F, 0x0178}, {0x81, 0x0081}, {0x8D, 0x008D}, {0x8F, 0x008F},
        {0x90, 0x0090}, {0x9D, 0x009D}, {0xB5, 0x00B5}, {0xFC, 0x00FC}, {0xB0, 0x00B0},
    };
    for (const auto& c : cases) {
        const std::string byte(1, static_cast<char>(c.Byte));
        const QString text = FromCp1252(byte);
        ASSERT_EQ(text.size(), 1);
        EXPECT_EQ(text.at(0).unicode(), c.Unicode) << int(c.Byte);
    }
    EXPECT_EQ(Cp1252ToUtf8("\x80 \xB5"), "\xE2\x82\xAC \xC2\xB5");
    EXPECT_EQ(Utf8ToCp1252("Gr\xC3\xBC\xC3\x9F"
                           "e"),
              "Gr\xFC\xDF"
              "e");
}

TEST(Cp1252, CharactersOutsideTheTableBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1252("a\xCE\xA9"
                           "b"),
              "a?b");                                  // Greek capital omega
    EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80"), "?");  // one emoji, one '?'
    EXPECT_EQ(Utf8ToCp1252("\xC2\x80"), "?");          // U+0080 is not the euro
    EXPECT_EQ(ToCp1252(QString::fromUtf8("\xCE\xA9\xF0\x9F\x98\x80x")), "??x");
    EXPECT_EQ(ToCp1252(QString(QChar(0xD800))), "?");  // lone surrogate
}

TEST(Cp1252, InvalidUtf8BecomesQuestionMarks) {
    struct {
        std::string Utf8;
        std::string Bytes;
    } const cases[] = {
        {"a\xFF"
         "b",
         "a?b"},
        {"\x80", "?"},  // stray continuation byte
        {"\xC3", "?"},  // truncated at the end
        {"\xE2\x82", "?"},
        {"\xC3"
         "a",
         "?a"},                     // missing continuation
        {"\xC0\xAF", "??"},         // overlong
        {"\xE0\x80\xAF", "?"},      // overlong
        {"\xED\xA0\x80", "?"},      // surrogate
        {"\xF4\x90\x80\x80", "?"},  // beyond U+10FFFF
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utf8ToCp1252(c.Utf8), c.Bytes) << c.Bytes;
    // The string view ends before a lead byte's continuation that lies beyond it.
    const std::string padded = "x\xC3\xBC";
    EXPECT_EQ(Utf8ToCp1252(std::string_view(padded).substr(0, 2)), "x?");
}

}  // namespace
}  // namespace zeigora
