// Runs `zeigora-cli render` and `zeigora-cli diagram` and reads the pictures back.
#include <QImage>
#include <string>
#include <vector>

#include "circuit/circuitfile.h"
#include "cli_support.h"

namespace zeigora::test {
namespace {

const std::string StartZgf = std::string(ZEIGORA_SOURCE_DIR) + "/examples/start.zgf";
constexpr QRgb Black = 0xFF000000, White = 0xFFFFFFFF;

class PictureCli : public CliTest {
  protected:
    void SetUp() override {
        CliTest::SetUp();
        Zgs = PathOf("default.zgs");  // in the test's folder, which SetUp makes
        ASSERT_TRUE(SaveCircuitToFile(*MakeDefaultCircuit(), Zgs).Ok);
    }
    // Exit code of `zeigora-cli <args> -o name <options>`.
    int Write(std::vector<std::string> args, const std::string& name,
              const std::vector<std::string>& options = {}) const {
        args.insert(args.end(), {"-o", PathOf(name)});
        args.insert(args.end(), options.begin(), options.end());
        return Run(args).ExitCode;
    }
    QImage Draw(const std::vector<std::string>& args, const std::string& name,
                const std::vector<std::string>& options = {}) const {
        EXPECT_EQ(Write(args, name, options), 0) << name;
        return QImage(QString::fromStdString(PathOf(name)));
    }
    std::string Zgs;
};

bool Reddish(QRgb c) {
    return qRed(c) > 200 && qGreen(c) < 160 && qBlue(c) < 160;
}
bool Bluish(QRgb c) {
    return qBlue(c) > 200 && qRed(c) < 160 && qGreen(c) < 160;
}
// Some pixel within one pixel of (x, y) passes the test.
bool Near(const QImage& img, int x, int y, bool (*test)(QRgb)) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (test(img.pixel(x + dx, y + dy))) return true;
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
        const QImage img = Draw({"render", StartZgf}, name);
        ASSERT_EQ(img.size(), QSize(600, 400)) << name;
        EXPECT_EQ(img.pixel(50, 30), qRgb(255, 255, 255)) << name;  // background
        EXPECT_EQ(img.pixel(300, 50), qRgb(0, 0, 0)) << name;       // imaginary axis
        EXPECT_TRUE(Near(img, 380, 240, Reddish)) << name;          // Zeiger1 = 2-1j
        EXPECT_TRUE(Near(img, 260, 160, Bluish)) << name;           // Zeiger2 = -1+1j
    }
    // A standard Windows bitmap: "BM" and the 40-byte info header.
    const std::string bytes = ReadBytes(PathOf("start.bmp"));
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(bytes[14]), 40);
}

TEST_F(PictureCli, RenderOptionsChangeTheView) {
    const struct {
        std::vector<std::string> Options;
        QSize Size;
        int X, Y;  // a pixel on the shaft of Zeiger1 (red) or Zeiger2 (blue)
        bool (*Colour)(QRgb);
    } cases[] = {
        {{"--size", "300x200", "--no-antialiasing"}, {300, 200}, 190, 120, Reddish},
        {{"--scale1", "2"}, {600, 400}, 340, 220, Reddish},
        {{"--addition"}, {600, 400}, 420, 240, Bluish},  // Zeiger2 starts at Zeiger1's tip
    };
    for (const auto& c : cases) {
        const QImage img = Draw({"render", StartZgf}, "view.png", c.Options);
        EXPECT_EQ(img.size(), c.Size) << c.Options[0];
        EXPECT_TRUE(Near(img, c.X, c.Y, c.Colour)) << c.Options[0];
    }
}

TEST_F(PictureCli, DiagramOfTheDefaultCircuit) {
    const QImage img = Draw({"diagram", Zgs}, "d.png");
    ASSERT_EQ(img.size(), QSize(500, 173));
    // Lead in, resistor box, bus bar, coil, capacitor plate, closing bar, lead out.
    const struct {
        int X, Y;
        QRgb Colour;
    } pixels[] = {{20, 86, Black},   {19, 86, White},  {50, 80, Black},   {75, 86, White},
                  {160, 100, Black}, {215, 43, Black}, {210, 125, Black}, {269, 60, Black},
                  {299, 86, Black},  {300, 86, White}};
    for (const auto& p : pixels)
        EXPECT_EQ(img.pixel(p.X, p.Y), p.Colour) << p.X << "," << p.Y;
    EXPECT_GT(DarkPixels(img, 60, 55, 90, 76), 5);  // "R"

    const QImage big = Draw({"diagram", Zgs}, "big.bmp", {"--width", "600", "--height", "300"});
    ASSERT_EQ(big.size(), QSize(600, 300));
    EXPECT_EQ(big.pixel(30, 150), Black);   // the line at half the height
    EXPECT_EQ(big.pixel(160, 100), Black);  // bus bar from 75 to 225
    EXPECT_EQ(DarkPixels(Draw({"diagram", Zgs}, "bare.png", {"--no-names"}), 40, 50, 110, 76), 0);
}

TEST_F(PictureCli, MetafilesAndSvg) {
    for (const auto& args : {std::vector<std::string>{"render", StartZgf}, {"diagram", Zgs}}) {
        ASSERT_EQ(Write(args, "p.emf"), 0);
        const std::string emf = ReadBytes(PathOf("p.emf"));
        ASSERT_GT(emf.size(), 88u);
        EXPECT_EQ(emf.substr(0, 4), std::string("\x01\x00\x00\x00", 4));  // EMR_HEADER
        EXPECT_EQ(emf.substr(40, 4), " EMF");
    }
    ASSERT_EQ(Write({"diagram", Zgs}, "d.svg", {"--values"}), 0);
    const std::string svg = ReadBytes(PathOf("d.svg"));
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("R (2,2kOhm)"), std::string::npos);
    EXPECT_NE(svg.find("C (1\xC2\xB5"
                       "F)"),
              std::string::npos);
}

}  // namespace
}  // namespace zeigora::test
