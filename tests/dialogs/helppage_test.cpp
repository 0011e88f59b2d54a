#include "dialogs/helppage.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

namespace zeigora {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& file) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "<!doctype html>";
}

TEST(HelpPageTest, SearchOrder) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const fs::path root(temp.path().toStdString());
    const fs::path work = root / "work";
    const fs::path bin = root / "prefix" / "bin";
    const fs::path beside = bin / "Doku" / "index.html";
    const fs::path shared = root / "prefix" / "share" / "zeigora" / "Doku" / "index.html";
    fs::create_directories(work);
    // A folder named like the page does not count.
    fs::create_directories(beside);
    EXPECT_EQ(FindHelpPageFrom(work, bin), "");

    Touch(shared);
    EXPECT_EQ(FindHelpPageFrom(work, bin), shared.string());
    fs::remove(beside);
    Touch(beside);
    EXPECT_EQ(FindHelpPageFrom(work, bin), beside.string());
    Touch(work / "Doku" / "index.html");
    EXPECT_EQ(FindHelpPageFrom(work, bin), (work / "Doku" / "index.html").string());
}

}  // namespace
}  // namespace zeigora
