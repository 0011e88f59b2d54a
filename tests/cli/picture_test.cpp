// Runs `zeigora-cli render` and `zeigora-cli diagram` and reads the pictures back.
#include <QImage>
#include <algorithm>

#include "cli_support.h"

namespace zeigora::test {
namespace {

constexpr QRgb Black = 0xFF000000;

class PictureCli : public CliTest {
  protected:
    // Runs `zeigora-cli <args> -o name <options>` and reads the picture back (PNG and BMP).
    QImage Draw(std::vector<std::string> args, const std::string& name,
                const std::vector<std::string>& options = {}) const {
        args.insert(args.end(), {"-o", PathOf(name)});
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_EQ(Run(args).ExitCode, 0) << name;
        const bool raster = name.ends_with(".png") || name.ends_with(".bmp");
        return raster ? QImage(QString::fromStdString(PathOf(name))) : QImage();
    }
};

// Some pixel within one pixel of (x, y) is clearly red (or blue).
bool Near(const QImage& img, int x, int y, bool red) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QRgb c = img.pixel(x + dx, y + dy);
            const int own = red ? qRed(c) : qBlue(c), other = red ? qBlue(c) : qRed(c);
            if (own > 200 && qGreen(c) < 160 && other < 160) return true;
        }
    return false;
}
// Dark pixels in a box: labels are there or not.
int DarkPixels(const QImage& img, int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            n += qGray(img.pixel(x, y)) < 128;
    return n;
}

TEST_F(PictureCli, RenderStartFileAsPngAndBmp) {
    for (const char* name : {"start.png", "start.bmp"}) {
        const QImage img = Draw({"render", StartFile}, name);
        ASSERT_EQ(img.size(), QSize(600, 400)) << name;
        EXPECT_EQ(img.pixel(50, 30), qRgb(255, 255, 255)) << name;  // background
        EXPECT_EQ(img.pixel(300, 50), qRgb(0, 0, 0)) << name;       // imaginary axis
        EXPECT_TRUE(Near(img, 380, 240, true)) << name;             // Zeiger1 = 2-1j
        EXPECT_TRUE(Near(img, 260, 160, false)) << name;            // Zeiger2 = -1+1j
    }
}

TEST_F(PictureCli, RenderOptionsChangeTheView) {
    const QImage v = Draw({"render", StartFile}, "s.png", {"--size", "300x200", "--scale1", "2"});
    EXPECT_EQ(v.size(), QSize(300, 200));
    EXPECT_TRUE(Near(v, 180, 115, true));  // Zeiger1 at half its length ends at (190, 120)
    EXPECT_FALSE(Near(v, 220, 135, true));
}

TEST_F(PictureCli, DiagramOfTheDefaultCircuit) {
    const QImage img = Draw({"diagram", Zgs}, "d.png");
    EXPECT_EQ(img.size(), QSize(500, 173));
    EXPECT_GT(DarkPixels(img, 60, 55, 90, 76), 5);  // "R"
    EXPECT_EQ(DarkPixels(Draw({"diagram", Zgs}, "bare.png", {"--no-names"}), 40, 50, 110, 76), 0);
    const QImage big = Draw({"diagram", Zgs}, "big.bmp", {"--width", "600", "--height", "300"});
    ASSERT_EQ(big.size(), QSize(600, 300));
    EXPECT_EQ(big.pixel(30, 150), Black);  // the line at half the height
}

// Names are bytes: "\xE4.png" and "\xF6.png" (Latin-1, not UTF-8) are two files of their own.
TEST_F(PictureCli, OutputNamesAreTheBytesGiven) {
    for (const char* name : {"\xE4.png", "\xF6.png", "\xE4.bmp", "\xE4.emf"})
        Draw({"render", StartFile}, name);
    Draw({"diagram", Zgs}, "\xE4.svg", {"--values"});
    // Each in its own format: the metafile header and the diagram's values in UTF-8.
    EXPECT_EQ(ReadBytes(PathOf("\xE4.emf")).substr(40, 4), " EMF");
    EXPECT_NE(ReadBytes(PathOf("\xE4.svg"))
                  .find("C (1\xC2\xB5"
                        "F)"),
              std::string::npos);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"default.zgs", "stderr", "stdin", "stdout", "\xE4.bmp",
                                        "\xE4.emf", "\xE4.png", "\xE4.svg", "\xF6.png"}));
}

// A write that fails is reported, not taken for success; the message names the file once converted
// (UTF-8 "B\xC3\xA4ume", not "B\xC3\x83\xC2\xA4ume") with the system's reason.
TEST_F(PictureCli, AFailedWriteIsReportedAndKeepsTheOldPicture) {
    const std::string full = PathOf("B\xC3\xA4ume.png");
    fs::create_symlink("/dev/full", full);
    const TCliRun r = Run({"render", StartFile, "-o", full});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_EQ(r.Err, "zeigora-cli render: Die Datei \"" + full +
                         "\" konnte nicht gespeichert werden: Auf dem Ger\xC3\xA4t ist kein "
                         "Speicherplatz mehr verf\xC3\xBCgbar.\n");
}

}  // namespace
}  // namespace zeigora::test
