#include "complex/numtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace zeigora {
namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();

class NumText : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = DecimalSeparator();
        SetDecimalSeparator(',');
    }
    void TearDown() override { SetDecimalSeparator(saved_); }

  private:
    char saved_ = ',';
};

struct FormatCase {
    const char* Format;
    double X;
    const char* Text;
};

TEST_F(NumText, FormatFloatTrimmed) {
    const FormatCase cases[] = {
        {"0.000", 2.5, "2,5"},
        {"0.000", 3, "3"},
        {"0.000", 12.3456, "12,346"},
        {"0.000", 10, "10"},
        {"0.000", 1e-4, "0"},
        {"0.000", -1e-4, "0"},
        {"0.000", -0.0, "0"},
        {"0.000", -2.25, "-2,25"},
        {"0", 10, "10"},
        {"0", 2.5, "3"},  // halves away from zero
        {"0", -2.5, "-3"},
        {"0", 0.5, "1"},
        {"0.00", 0.125, "0,13"},
        {"0.00", -0.125, "-0,13"},
        {"0.00", 1.005, "1"},  // exactly 1.00499999999999989...
        {"0.0", 0.1 + 0.2, "0,3"},
        {"0.000", 999.9996, "1000"},
        {"0.0", 9.96, "10"},
        {"0.000000", 2.2360679, "2,236068"},
        {"0.000", std::numeric_limits<double>::quiet_NaN(), "NaN"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloatTrimmed(c.Format, c.X), c.Text) << c.Format << " " << c.X;
}

TEST_F(NumText, FormatFixedExactDigits) {
    // Large values keep all their integer digits, exactly as the double holds them.
    const std::string big = FormatFixed(1e300, 1, ',');
    EXPECT_EQ(big.size(), 303u);
    EXPECT_EQ(big.substr(0, 20), "10000000000000000525");
    EXPECT_EQ(big.substr(290), "59400540160,0");
    EXPECT_EQ(FormatFixed(0.5, 3, '.'), "0.500");
    EXPECT_EQ(FormatFixed(-0.0005, 3, ','), "-0,001");  // 0.0005 is slightly above the half
    EXPECT_EQ(FormatFixed(0.25, 1, ','), "0,3");
    EXPECT_EQ(FormatFixed(99.5, 0, ','), "100");
    EXPECT_EQ(FormatFixed(5e-324, 2, ','), "0,00");
    EXPECT_EQ(FormatFixed(-Inf, 2, ','), "-INF");
}

TEST_F(NumText, FormatFloatEng) {
    const FormatCase cases[] = {
        {"0.000", 1500, "1,5k"},
        {"0.000", 1000, "1000"},
        {"0.000", 2e6, "2M"},
        {"0.000", 1e12, "1000G"},
        {"0.000", 0.5, "500m"},
        {"0.000", -0.25, "-250m"},
        {"0.000", 2.5e-5, "25\xB5"},
        {"0.000", 1e-11, "0,01n"},
        {"0.000", 5e-13, "0"},
        {"0.000", -5e-13, "0"},
        {"0.000", -0.0, "0"},
        {"0.000", 999.9996, "1000"},
        {"0.000", 1e15, "1000000G"},
        {"0.0", 0.5, "500m"},
        {"0.000000", 2.2360679, "2,236068"},
        {"0", 10, "10"},
        {"0", 0.5, "500m"},
        {"0.000", std::numeric_limits<double>::quiet_NaN(), "NaN"},
        {"0.000", Inf, "INF"},
        {"0.000", -Inf, "INF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloatEng(c.Format, c.X), c.Text) << c.Format << " " << c.X;
}

TEST_F(NumText, PointSeparator) {
    SetDecimalSeparator('.');
    EXPECT_EQ(FormatFloatEng("0.000", 1500), "1.5k");
    EXPECT_EQ(FormatFloatTrimmed("0.000", 12.3456), "12.346");
    EXPECT_EQ(StrToFloatEng("1.5k"), 1500);
    EXPECT_TRUE(std::isnan(StrToFloatEng("1,5")));
}

struct ParseCase {
    const char* Text;
    double Value;
};

TEST_F(NumText, StrToFloatEngNumbers) {
    const ParseCase cases[] = {
        {"12", 12},         {"  12  ", 12},   {"1,5k", 1500},   {"1,5 k", 1500},
        {"25\xB5", 2.5e-5}, {"500m", 0.5},    {"-250m", -0.25}, {"0,01n", 1e-11},
        {"2M", 2e6},        {"1000G", 1e12},  {"+3,25", 3.25},  {",5", 0.5},
        {"5,", 5},          {"1e3", 1000},    {"1,5E-3k", 1.5}, {"1e400", Inf},
        {"-1e400", -Inf},   {"1e4000k", Inf}, {"1e-400", 0},    {"0e999999999999999999999", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StrToFloatEng(c.Text), c.Value) << c.Text;
}

TEST_F(NumText, StrToFloatEngRejects) {
    const char* cases[] = {"",    "k",     "NaN",  "INF", "1.5", "1,5,", "1 5",  "1,5K",
                           "1g",  "1,5k ", "e5",   "1e",  "--1", "1e+",  "1,,5", "0x10",
                           "inf", "nan",   "1,5u", ",",   "+",   " "};
    for (const char* text : cases)
        EXPECT_TRUE(std::isnan(StrToFloatEng(text))) << '"' << text << '"';
}

TEST_F(NumText, FormattedTextReadsBack) {
    for (double x : {1500.0, 0.5, -0.25, 2.5e-5, 1e-11, 2e6, 3.0, 12.346}) {
        const std::string text = FormatFloatEng("0.000", x);
        EXPECT_DOUBLE_EQ(StrToFloatEng(text), x) << text;
    }
}

}  // namespace
}  // namespace zeigora
