#include "platform/userdialogs.h"

#include <gtest/gtest.h>

#include "dialogs/qtuserdialogs.h"
#include "platform/cp1252.h"

namespace zeigora {
namespace {

TEST(FileFiltersTest, ClassicPairsBecomeQtFilters) {
    const TFileFilterArray filters =
        ParseFileFilters("Bitmaps (*.bmp)|*.bmp|Enhanced Metafiles (*.emf)|*.emf");
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[1].Description, "Enhanced Metafiles (*.emf)");
    EXPECT_EQ(filters[1].Patterns, std::vector<std::string>{"*.emf"});
    const QStringList names = QtNameFilters(filters);
    EXPECT_EQ(names, QStringList({"Bitmaps (*.bmp)", "Enhanced Metafiles (*.emf)"}));

    // Several patterns, a description without them, and a lone trailing description.
    const TFileFilterArray mixed = ParseFileFilters("Bilder|*.bmp; *.emf|Rest");
    ASSERT_EQ(mixed.size(), 1u);
    EXPECT_EQ(QtNameFilters(mixed), QStringList({"Bilder (*.bmp *.emf)"}));
    EXPECT_TRUE(ParseFileFilters("").empty());
}

TEST(FileFiltersTest, TypedNamesGetTheExtensionOfTheirFilter) {
    const std::pair<const char*, const char*> defaults[] = {
        {"*.zgf", "zgf"}, {".zgs", "zgs"}, {"bmp", "bmp"}, {"*.*", ""}, {"", ""}};
    for (const auto& [given, bare] : defaults)
        EXPECT_EQ(BareExtension(given), bare) << given;
    const TFileFilterArray filters =
        ParseFileFilters("Bitmaps (*.bmp)|*.bmp|Enhanced Metafiles (*.emf)|*.emf|Alle|*.*");
    EXPECT_EQ(SuffixForFilter(filters[0], "*.bmp"), "bmp");
    EXPECT_EQ(SuffixForFilter(filters[1], "*.bmp"), "emf");
    EXPECT_EQ(SuffixForFilter(filters[2], "*.bmp"), "bmp");
}

}  // namespace
}  // namespace zeigora
