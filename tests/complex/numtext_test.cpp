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
    void SetUp() override { SetDecimalSeparator(','); }
    void TearDown() override { SetDecimalSeparator(saved_); }
    const char saved_ = DecimalSeparator();
};

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST_F(NumText, FormatFloatTrimmedAndEng) {
    const struct {
        const char* Format;
        double X;
        const char* Trimmed;  // null: the row is for the other function only
        const char* Eng;
    } cases[] = {
        {"0.000", 2.5, "2,5", nullptr},
        {"0.000", -1e-4, "0", nullptr},
        {"0.000", -0.0, "0", "0"},
        {"0", 10, "10", "10"},
        {"0", 2.5, "3", nullptr},  // halves away from zero
        {"0", 0.5, "1", "500m"},
        {"0.00", 0.125, "0,13", nullptr},
        {"0.00", 1.005, "1", nullptr},  // exactly 1.00499999999999989...
        {"0.0", 0.1 + 0.2, "0,3", nullptr},
        {"0.000", 999.9996, "1000", "1000"},
        {"0.000000", 2.2360679, "2,236068", "2,236068"},
        {"0.000", NaN, "NaN", "NaN"},
        {"0.000", 1500, nullptr, "1,5k"},
        {"0.000", 2e6, nullptr, "2M"},
        {"0.000", -0.25, nullptr, "-250m"},
        {"0.000", 2.5e-5, nullptr, "25\xB5"},
        {"0.000", 1e-11, nullptr, "0,01n"},
        {"0.000", -5e-13, nullptr, "0"},
        {"0.000", 1000, nullptr, "1000"},
        {"0.000", 1e15, nullptr, "1000000G"},
        {"0.000", Inf, nullptr, "INF"},
        {"0.000", -Inf, nullptr, "INF"},
    };
    for (const auto& c : cases) {
        if (c.Trimmed != nullptr) {
            EXPECT_EQ(FormatFloatTrimmed(c.Format, c.X), c.Trimmed) << c.Format << " " << c.X;
        }
        if (c.Eng != nullptr) {
            EXPECT_EQ(FormatFloatEng(c.Format, c.X), c.Eng) << c.Format << " " << c.X;
        }
    }
}

TEST_F(NumText, FormatFixedExactDigits) {
    // Large values keep all their integer digits, exactly as the double holds them.
    const std::string big = FormatFixed(1e300, 1, ',');
    EXPECT_EQ(big.size(), 303u);
    EXPECT_EQ(big.substr(0, 20), "10000000000000000525");
    EXPECT_EQ(big.substr(290), "59400540160,0");
    EXPECT_EQ(FormatFixed(-0.0005, 3, ','), "-0,001");  // 0.0005 is slightly above the half
    EXPECT_EQ(FormatFixed(5e-324, 2, ','), "0,00");
    EXPECT_EQ(FormatFixed(-Inf, 2, ','), "-INF");
}

TEST_F(NumText, PointSeparator) {
    SetDecimalSeparator('.');
    EXPECT_EQ(FormatFloatEng("0.000", 1500), "1.5k");
    EXPECT_EQ(FormatFloatTrimmed("0.000", 12.3456), "12.346");
    EXPECT_EQ(StrToFloatEng("1.5k"), 1500);
    EXPECT_TRUE(std::isnan(StrToFloatEng("1,5")));
}

TEST_F(NumText, StrToFloatEngNumbers) {
    const std::pair<const char*, double> cases[] = {
        {"12", 12},         {"  12  ", 12},   {"1,5k", 1500},   {"1,5 k", 1500},
        {"25\xB5", 2.5e-5}, {"500m", 0.5},    {"-250m", -0.25}, {"0,01n", 1e-11},
        {"2M", 2e6},        {"1000G", 1e12},  {"+3,25", 3.25},  {",5", 0.5},
        {"5,0", 5},         {"1e3", 1000},    {"1,5E-3k", 1.5}, {"1e400", Inf},
        {"-1e400", -Inf},   {"1e4000k", Inf}, {"1e-400", 0},    {"0e999999999999999999999", 0},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(StrToFloatEng(text), value) << text;
}

TEST_F(NumText, StrToFloatEngRejects) {
    const char* cases[] = {"",     "k",    "NaN",   "INF", "1.5", "1,5,", "1 5",
                           "1,5K", "1g",   "1,5k ", "e5",  "1e",  "--1",  "0x10",
                           "inf",  "1,5u", ",",     " ",   "0,",  "5,k",  "-3,e2"};
    for (const char* text : cases)
        EXPECT_TRUE(std::isnan(StrToFloatEng(text))) << '"' << text << '"';
}

}  // namespace
}  // namespace zeigora
