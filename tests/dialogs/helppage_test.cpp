#include "dialogs/helppage.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

namespace zeigora {
namespace {

namespace fs = std::filesystem;

TEST(HelpPageTest, AFolderNamedLikeThePageDoesNotCount) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const fs::path root(temp.path().toStdString());
    const fs::path bin = root / "prefix" / "bin";
    fs::create_directories(bin / "Doku" / "index.html");
    EXPECT_EQ(FindHelpPageFrom(root, bin), "");
    const fs::path shared = root / "prefix" / "share" / "zeigora" / "Doku" / "index.html";
    fs::create_directories(shared.parent_path());
    std::ofstream(shared) << "<!doctype html>";
    EXPECT_EQ(FindHelpPageFrom(root, bin), shared.string());
}

}  // namespace
}  // namespace zeigora
