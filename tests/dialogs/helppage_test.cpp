#include "dialogs/helppage.h"

#include <gtest/gtest.h>

#include <QDir>
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
    EXPECT_EQ(FindHelpPageFrom(work, {}), "");

    Touch(shared);
    EXPECT_EQ(FindHelpPageFrom(work, bin), shared.string());
    fs::remove(beside);
    Touch(beside);
    EXPECT_EQ(FindHelpPageFrom(work, bin), beside.string());
    Touch(work / "Doku" / "index.html");
    EXPECT_EQ(FindHelpPageFrom(work, bin), (work / "Doku" / "index.html").string());
}

// Run from the source folder, the program finds the page of the repository by its relative name;
// the program's own folder is the one of this test binary.
TEST(HelpPageTest, RelativePageAndExecutableFolder) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QStringLiteral(ZEIGORA_SOURCE_DIR)));
    const std::string found = FindHelpPage();
    QDir::setCurrent(previous);
    EXPECT_EQ(found, "Doku/index.html");
    EXPECT_EQ(ExecutableFolder().filename(), "tests");
}

}  // namespace
}  // namespace zeigora
