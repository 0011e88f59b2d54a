// Runs `zeigora-cli diagram` on circuit files and reads the pictures back.
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

#include "circuit/circuitfile.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace zeigora;

class DiagramCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zeigora-diagram-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        Dir = pattern;
        ASSERT_TRUE(SaveCircuitToFile(*MakeDefaultCircuit(), Default).Ok);
    }
    void TearDown() override { fs::remove_all(Dir); }

    std::string PathOf(const std::string& name) const { return (Dir / name).string(); }

    // Exit code of `zeigora-cli diagram args...`, output and errors discarded.
    int Diagram(std::vector<std::string> args) const {
        args.insert(args.begin(), {ZEIGORA_CLI, "diagram"});
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

    QImage Read(const std::string& name) const {
        return QImage(QString::fromStdString(PathOf(name)));
    }

    fs::path Dir;
    std::string Default = PathOf("default.zgs");
};

constexpr QRgb Black = 0xFF000000, White = 0xFFFFFFFF;

// Dark pixels in a box: labels are there or not.
int DarkPixels(const QImage& img, int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            n += qGray(img.pixel(x, y)) < 128;
    return n;
}

TEST_F(DiagramCliTest, DefaultCircuitAsPng) {
    ASSERT_EQ(Diagram({Default, "-o", PathOf("d.png")}), 0);
    const QImage img = Read("d.png");
    ASSERT_EQ(img.size(), QSize(500, 173));
    EXPECT_EQ(img.pixel(20, 86), Black);  // lead in
    EXPECT_EQ(img.pixel(19, 86), White);
    EXPECT_EQ(img.pixel(50, 80), Black);  // resistor box
    EXPECT_EQ(img.pixel(75, 86), White);
    EXPECT_EQ(img.pixel(160, 100), Black);  // bus bar
    EXPECT_EQ(img.pixel(215, 43), Black);   // coil
    EXPECT_EQ(img.pixel(210, 125), Black);  // capacitor plate
    EXPECT_EQ(img.pixel(269, 60), Black);   // closing bar
    EXPECT_EQ(img.pixel(299, 86), Black);
    EXPECT_EQ(img.pixel(300, 86), White);
    EXPECT_GT(DarkPixels(img, 60, 55, 90, 76), 5);  // "R"
}

TEST_F(DiagramCliTest, SizeAndLabelOptions) {
    ASSERT_EQ(Diagram({Default, "-o", PathOf("big.bmp"), "--width", "600", "--height", "300"}), 0);
    QImage img = Read("big.bmp");
    ASSERT_EQ(img.size(), QSize(600, 300));
    EXPECT_EQ(img.pixel(30, 150), Black);   // the line at half the height
    EXPECT_EQ(img.pixel(160, 100), Black);  // bus bar from 75 to 225

    ASSERT_EQ(Diagram({Default, "-o", PathOf("bare.png"), "--no-names"}), 0);
    EXPECT_EQ(DarkPixels(Read("bare.png"), 40, 50, 110, 76), 0);  // no text above R
    ASSERT_EQ(Diagram({Default, "-o", PathOf("values.png"), "--no-names", "--values"}), 0);
    EXPECT_GT(DarkPixels(Read("values.png"), 20, 55, 130, 76), 10);
}

TEST_F(DiagramCliTest, BigCircuitGetsABiggerPicture) {
    TCircuitElementGroup wide;
    wide.IsParallel = true;
    for (int i = 0; i < 12; ++i)
        wide.Add(std::make_unique<TResistor>(DefaultResistance));
    for (int i = 0; i < 6; ++i) {
        auto c = std::make_unique<TCapacitor>(DefaultCapacitance);
        c->Name = "C" + std::to_string(i);
        wide.Add(std::move(c));
    }
    ASSERT_TRUE(SaveCircuitToFile(wide, PathOf("wide.zgs")).Ok);
    ASSERT_EQ(Diagram({PathOf("wide.zgs"), "-o", PathOf("wide.png")}), 0);
    const QImage img = Read("wide.png");
    EXPECT_EQ(img.width(), 500);
    EXPECT_GT(img.height(), 18 * 40);
}

TEST_F(DiagramCliTest, MetafileIsRecorded) {
    ASSERT_EQ(Diagram({Default, "-o", PathOf("d.emf"), "--values"}), 0);
    std::ifstream in(PathOf("d.emf"), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(bytes.size(), 88u);
    EXPECT_EQ(bytes.substr(40, 4), " EMF");
}

TEST_F(DiagramCliTest, SvgHasTheLabels) {
    ASSERT_EQ(Diagram({Default, "-o", PathOf("d.svg"), "--values"}), 0);
    std::ifstream in(PathOf("d.svg"), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("R (2,2kOhm)"), std::string::npos);
    EXPECT_NE(text.find("C (1\xC2\xB5"
                        "F)"),
              std::string::npos);
}

TEST_F(DiagramCliTest, BadUseIsRefused) {
    std::ofstream(PathOf("junk.zgs")) << "not a circuit";
    const struct {
        std::vector<std::string> Args;
        int Exit;
    } cases[] = {
        {{Default}, 2},
        {{Default, "-o", PathOf("a.jpg")}, 2},
        {{Default, "-o", PathOf("a.png"), "--width", "99"}, 2},
        {{Default, "-o", PathOf("a.png"), "--height", "x"}, 2},
        {{Default, "-o", PathOf("a.png"), "--colour"}, 2},
        {{PathOf("missing.zgs"), "-o", PathOf("a.png")}, 2},
        {{PathOf("junk.zgs"), "-o", PathOf("a.png")}, 2},
        {{Default, "-o", PathOf("no/such/dir/a.png")}, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Diagram(c.Args), c.Exit) << c.Args.back();
    EXPECT_FALSE(fs::exists(PathOf("a.png")));
}

}  // namespace
