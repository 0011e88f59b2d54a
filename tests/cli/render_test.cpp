// Runs `zeigora-cli render` and reads the pictures back.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const std::string StartZgf = std::string(ZEIGORA_SOURCE_DIR) + "/examples/start.zgf";

class RenderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zeigora-render-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        Dir = pattern;
    }
    void TearDown() override { fs::remove_all(Dir); }

    std::string PathOf(const std::string& name) const { return (Dir / name).string(); }

    // Exit code of `zeigora-cli render args...`, output and errors discarded.
    int Render(std::vector<std::string> args) const {
        args.insert(args.begin(), {ZEIGORA_CLI, "render"});
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        const int rc = posix_spawn(&pid, ZEIGORA_CLI, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        if (rc != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
        return WEXITSTATUS(status);
    }

    fs::path Dir;
};

bool Reddish(QRgb c) {
    return qRed(c) > 200 && qGreen(c) < 160 && qBlue(c) < 160;
}
bool Bluish(QRgb c) {
    return qBlue(c) > 200 && qRed(c) < 160 && qGreen(c) < 160;
}
// Some pixel within one pixel of (x, y) passes the test.
template <typename Test>
bool Near(const QImage& img, int x, int y, Test test) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (test(img.pixel(x + dx, y + dy))) return true;
    return false;
}

TEST_F(RenderTest, StartFileAsPngAndBmp) {
    for (const char* name : {"start.png", "start.bmp"}) {
        ASSERT_EQ(Render({StartZgf, "-o", PathOf(name)}), 0) << name;
        const QImage img(QString::fromStdString(PathOf(name)));
        ASSERT_EQ(img.size(), QSize(600, 400)) << name;
        EXPECT_EQ(img.pixel(50, 30), qRgb(255, 255, 255)) << name;  // background
        EXPECT_EQ(img.pixel(300, 50), qRgb(0, 0, 0)) << name;       // imaginary axis
        EXPECT_TRUE(Near(img, 380, 240, Reddish)) << name;          // Zeiger1 = 2-1j
        EXPECT_TRUE(Near(img, 260, 160, Bluish)) << name;           // Zeiger2 = -1+1j
    }
    // A standard Windows bitmap: "BM" and the 40-byte info header.
    std::ifstream in(PathOf("start.bmp"), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(bytes[14]), 40);
}

TEST_F(RenderTest, OptionsChangeTheView) {
    const struct {
        std::vector<std::string> Options;
        QSize Size;
        int X, Y;  // a pixel on the shaft of Zeiger1 (or Zeiger2 where noted)
        bool Red;
    } cases[] = {
        {{"--size", "300x200", "--no-antialiasing"}, {300, 200}, 190, 120, true},
        {{"--scale1", "2"}, {600, 400}, 340, 220, true},
        {{"--grid", "6x4"}, {600, 400}, 340, 220, true},
        {{"--addition"}, {600, 400}, 420, 240, false},  // Zeiger2 starts at Zeiger1's tip
        {{"--scale2", "5"}, {600, 400}, 380, 240, true},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{StartZgf, "-o", PathOf("view.png")};
        args.insert(args.end(), c.Options.begin(), c.Options.end());
        ASSERT_EQ(Render(args), 0) << c.Options[0];
        const QImage img(QString::fromStdString(PathOf("view.png")));
        EXPECT_EQ(img.size(), c.Size) << c.Options[0];
        if (c.Red)
            EXPECT_TRUE(Near(img, c.X, c.Y, Reddish)) << c.Options[0];
        else
            EXPECT_TRUE(Near(img, c.X, c.Y, Bluish)) << c.Options[0];
    }
}

TEST_F(RenderTest, MetafileIsRecorded) {
    ASSERT_EQ(Render({StartZgf, "-o", PathOf("start.emf")}), 0);
    std::ifstream in(PathOf("start.emf"), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(bytes.size(), 88u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x01\x00\x00\x00", 4));  // EMR_HEADER
    EXPECT_EQ(bytes.substr(40, 4), " EMF");
}

TEST_F(RenderTest, BadUseIsRefused) {
    const struct {
        std::vector<std::string> Args;
        int Exit;
    } cases[] = {
        {{StartZgf}, 2},
        {{StartZgf, "-o", PathOf("a.jpg")}, 2},
        {{StartZgf, "-o", PathOf("a.png"), "--size", "0x5"}, 2},
        {{StartZgf, "-o", PathOf("a.png"), "--scale1", "-1"}, 2},
        {{StartZgf, "-o", PathOf("a.png"), "--grid", "3"}, 2},
        {{PathOf("missing.zgf"), "-o", PathOf("a.png")}, 2},
        {{StartZgf, "-o", PathOf("no/such/dir/a.png")}, 1},
        {{StartZgf, "-o", PathOf("no/such/dir/a.emf")}, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Render(c.Args), c.Exit) << c.Args.back();
    EXPECT_FALSE(fs::exists(PathOf("a.png")));
}

}  // namespace
