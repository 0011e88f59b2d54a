// A recorded metafile: its record structure, and an independent reader's view of it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "plane/paintboxex.h"

namespace zeigora {
namespace {

// A small picture with coloured lines of several pens, shapes, a pixel and text.
std::string RecordPicture(const char* name) {
    TPaintBoxEx box(200, 100);
    box.BeginRecording();
    TCanvas& c = box.DrawingCanvas();
    c.SetBrushColor(0xFFFFFF);
    c.SetPenColor(0xFFFFFF);
    c.Rectangle(0, 0, 200, 100);
    c.SetBrushStyle(TBrushStyle::Clear);
    c.SetPenColor(0x0000FF);  // red
    c.MoveTo(10, 10);
    c.LineTo(190, 10);
    c.SetPenColor(0x00FF00);  // green, dashed
    c.SetPenStyle(psDash);
    c.LineTo(190, 90);
    c.SetPenStyle(psSolid);
    c.SetPenWidth(4);
    c.SetPenColor(0xFF0000);  // blue, wide
    c.LineTo(10, 90);
    c.SetPenWidth(1);
    c.Ellipse(50, 20, 150, 80);
    c.SetPixel(5, 5, 0x00FFFF);
    c.SetFontColor(0x000000);
    c.SetFontBold(true);
    c.TextOut(60, 40, "Zeiger \xFC\xB5");
    const std::string file = ::testing::TempDir() + name;
    box.EndRecording(file);
    return file;
}

TEST(Metafile, RecordStructureIsExact) {
    const std::string file = RecordPicture("structure.emf");
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> d{std::istreambuf_iterator<char>(in), {}};
    const auto u32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        std::memcpy(&v, d.data() + at, 4);
        return v;
    };
    ASSERT_GE(d.size(), 108u);
    EXPECT_EQ(u32(0), 1u);            // header first
    EXPECT_EQ(u32(40), 0x464D4520u);  // " EMF"
    EXPECT_EQ(u32(48), d.size());     // nBytes
    std::size_t at = 0, records = 0, lastType = 0;
    std::uint32_t highestHandle = 0;
    bool sawText = false;
    while (at < d.size()) {
        const std::uint32_t type = u32(at), size = u32(at + 4);
        ASSERT_EQ(size % 4, 0u) << "record " << records;
        ASSERT_GE(size, 8u);
        ASSERT_LE(at + size, d.size());
        // Object creation records carry their handle index first.
        if (type == 38 || type == 39 || type == 82 || type == 95)
            highestHandle = std::max(highestHandle, u32(at + 8));
        if (type == 84) {  // text: its bounds must be a real rectangle
            sawText = true;
            EXPECT_LT(std::int32_t(u32(at + 8)), std::int32_t(u32(at + 16)));
            EXPECT_LT(std::int32_t(u32(at + 12)), std::int32_t(u32(at + 20)));
        }
        lastType = type;
        at += size;
        ++records;
    }
    EXPECT_EQ(u32(52), records);                     // nRecords
    EXPECT_EQ(u32(56) & 0xFFFF, highestHandle + 1);  // nHandles
    EXPECT_EQ(lastType, 14u);                        // EOF last
    EXPECT_TRUE(sawText);
    unlink(file.c_str());
}

TEST(Metafile, IndependentReaderAcceptsIt) {
    if (system("command -v emf2svg-conv > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "emf2svg-conv is not installed";
    const std::string file = RecordPicture("reader.emf");
    const std::string svg = file + ".svg";
    ASSERT_EQ(system(("emf2svg-conv -i '" + file + "' -o '" + svg + "' 2>&1").c_str()), 0);
    std::stringstream text;
    text << std::ifstream(svg).rdbuf();
    const std::string s = text.str();
    for (const char* part : {"Zeiger \xC3\xBC\xC2\xB5", "#FF0000", "#00FF00", "#0000FF",
                             "stroke-dasharray", "stroke-width=\"4"})
        EXPECT_NE(s.find(part), std::string::npos) << part << "\n" << s;
    unlink(file.c_str());
    unlink(svg.c_str());
}

}  // namespace
}  // namespace zeigora
