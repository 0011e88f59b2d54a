// The metafile's header bounds: what was drawn, cut to the picture, so readers place the picture
// where it was recorded.
#include "platform/emfcanvas.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QtEndian>
#include <array>
#include <fstream>
#include <iterator>
#include <string>

namespace zeigora {
namespace {

// rclBounds of the saved metafile: left, top, right, bottom (inclusive), from offset 8.
std::array<std::int32_t, 4> BoundsOf(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    std::array<std::int32_t, 4> b{};
    for (int i = 0; i < 4; ++i)
        b[i] = qFromLittleEndian<qint32>(bytes.data() + 8 + 4 * i);
    return b;
}

TEST(EmfCanvas, HeaderBoundsStayInsideThePicture) {
    QTemporaryDir dir;
    const std::string file = dir.path().toStdString() + "/a.emf";
    const struct {
        TPoint From, To;
        std::array<std::int32_t, 4> Bounds;
    } cases[] = {
        {{10, 20}, {30, 40}, {10, 20, 30, 40}},
        // A grid line recorded beyond the canvas counts only where it is inside.
        {{-13, -13}, {650, 413}, {0, 0, 599, 399}},
        {{300, -50}, {300, 100}, {300, 0, 300, 100}},
    };
    for (const auto& c : cases) {
        TEmfCanvas canvas(600, 400);
        canvas.MoveTo(c.From.X, c.From.Y);
        canvas.LineTo(c.To.X, c.To.Y);
        std::string error;
        ASSERT_TRUE(canvas.Finish(file, error)) << error;
        EXPECT_EQ(BoundsOf(file), c.Bounds) << c.From.X << "," << c.From.Y;
    }
}

}  // namespace
}  // namespace zeigora
