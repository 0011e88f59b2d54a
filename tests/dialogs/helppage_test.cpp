#include "dialogs/helppage.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTemporaryDir>
#include <QWidget>
#include <filesystem>
#include <fstream>

namespace zeigora {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& file) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "<!doctype html>";
}

class HelpPageTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(Temp.isValid()); }
    fs::path Root() const { return fs::path(Temp.path().toStdString()); }

    QTemporaryDir Temp;
};

TEST_F(HelpPageTest, SearchOrder) {
    const fs::path work = Root() / "work";
    const fs::path bin = Root() / "prefix" / "bin";
    const fs::path beside = bin / "Doku" / "index.html";
    const fs::path shared = Root() / "prefix" / "share" / "zeigora" / "Doku" / "index.html";
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

// Run from the source folder, the program finds the page of the repository by its relative name.
TEST_F(HelpPageTest, RelativePageInTheWorkingDirectory) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QStringLiteral(ZEIGORA_SOURCE_DIR)));
    const std::string found = FindHelpPage();
    QDir::setCurrent(previous);
    EXPECT_EQ(found, "Doku/index.html");
}

TEST_F(HelpPageTest, ExecutableFolderIsThisProgramsFolder) {
    const fs::path folder = ExecutableFolder();
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(folder.filename(), "tests");
}

// The application object gives every window the program's icon.
TEST(ApplicationIconTest, EveryWindowCarriesTheProgramIcon) {
    const QIcon icon = QApplication::windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_FALSE(icon.pixmap(32, 32).isNull());
    QWidget window;
    EXPECT_EQ(window.windowIcon().cacheKey(), icon.cacheKey());
}

}  // namespace
}  // namespace zeigora
