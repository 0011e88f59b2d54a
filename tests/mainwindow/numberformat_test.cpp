// Number texts of the tool bars.
#include "mainwindow/numberformat.h"

#include <gtest/gtest.h>

#include <cmath>

#include "complex/numtext.h"

namespace zeigora {
namespace {

TEST(NumberFormatTest, GeneralFormatUpToFifteenDigits) {
    SetDecimalSeparator(',');
    const std::pair<double, const char*> cases[] = {
        {0.5, "0,5"},
        {0.125, "0,125"},
        {1.0 / 1024, "0,0009765625"},
        {2, "2"},
        {500, "500"},
        {1.0 / 3, "0,333333333333333"},
        {0.1 + 0.2, "0,3"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1e-5, "0,00001"},
        {1.5e-6, "1,5E-6"},
        {-0.25, "-0,25"},
        {INFINITY, "INF"},
    };
    for (const auto& [x, text] : cases)
        EXPECT_EQ(FormatFloatGeneral(x), text) << x;
}

TEST(NumberFormatTest, PlainNumbersOnly) {
    SetDecimalSeparator(',');
    double x = 0;
    EXPECT_TRUE(TryStrToFloat(" 2,5 ", x));
    EXPECT_EQ(x, 2.5);
    for (const char* text : {"", "2k", "abc", "1.5", "NaN", "1e400"})
        EXPECT_FALSE(TryStrToFloat(text, x)) << text;
    int n = 0;
    EXPECT_TRUE(TryStrToInt(" 16 ", n));
    EXPECT_EQ(n, 16);
    for (const char* text : {"", "2,0", "zwei", "+-3", "99999999999"})
        EXPECT_FALSE(TryStrToInt(text, n)) << text;
}

}  // namespace
}  // namespace zeigora
