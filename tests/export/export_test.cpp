#include <gtest/gtest.h>

#include <QImage>
#include <QtEndian>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>

#include "export/export_support.h"

namespace zeigora {
namespace {

std::uint32_t U32At(const std::string& bytes, std::size_t offset) {
    return qFromLittleEndian<quint32>(bytes.data() + offset);
}

// Pixels of that colour inside the rectangle [x1, x2) x [y1, y2).
int Pixels(const QImage& image, QRgb colour, int x1, int y1, int x2, int y2) {
    int n = 0;
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

// The comment sits in the bottom right corner, 2 pixels in from both edges, and nowhere else.
void ExpectCommentAtBottomRight(const QImage& image) {
    const int w = image.width(), h = image.height();
    const QRgb black = qRgb(0, 0, 0);
    EXPECT_GT(Pixels(image, black, w / 3, h - 20, w - 2, h - 2), 30);
    EXPECT_EQ(Pixels(image, black, w - 2, 0, w, h), 0);
    EXPECT_EQ(Pixels(image, black, 0, h - 2, w, h), 0);
    EXPECT_EQ(Pixels(image, black, 0, 0, w, h / 2), 0);
}

using PictureExport = TExportFixture;

TEST_F(PictureExport, BitmapNameWithoutTheExactExtensionIsRefused) {
    for (const char* name : {"Bild.BMP", "Bild.bmp.txt", "Bild.Bmp", "Bild"}) {
        SCOPED_TRACE(name);
        Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{Path(name), pfBitmap});
        Dialogs.ExpectError(BitmapExtensionMessage);
        SavePictureAs(Surface, Hooks());
        EXPECT_FALSE(std::filesystem::exists(Path(name)));
    }
    // A dot in a folder name is no extension.
    EXPECT_EQ(FileExtension("/tmp/a.bmp/Bild"), "");
    EXPECT_EQ(FileExtension("/tmp/a.b/Bild.bmp"), ".bmp");
}

TEST_F(PictureExport, PixelPicturesCarryTheCommentAndOnlyTheCircuitWindowsSelection) {
    const struct {
        const char* Name;
        int Filter;
        bool MainWindow;
    } cases[] = {
        {"Bild.bmp", pfBitmap, true}, {"Bild.bild", pfPng, true}, {"Schaltung.png", pfPng, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Selected = true;
        Redraw();
        Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{Path(c.Name), c.Filter});
        SavePictureAs(Surface, Hooks(c.MainWindow));
        const QImage image(QString::fromStdString(Path(c.Name)),
                           c.Filter == pfBitmap ? "BMP" : "PNG");
        ASSERT_FALSE(image.isNull());
        ExpectCommentAtBottomRight(image);
        // The main window's highlight leaves the pixels before they are saved; the line stays.
        EXPECT_EQ(image.pixel(20, 20) & 0xFFFFFF, c.MainWindow ? 0xFFFFFFu : 0x00FF00u);
        EXPECT_EQ(image.pixel(65, 35) & 0xFFFFFF, 0xFF0000u);
    }
    const std::string bytes = ReadFile(Path("Bild.bmp"));
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(U32At(bytes, 2), bytes.size());
    EXPECT_EQ(U32At(bytes, 14), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(U32At(bytes, 18), std::uint32_t(SurfaceWidth));
    EXPECT_EQ(U32At(bytes, 22), std::uint32_t(SurfaceHeight));  // bottom-up rows
    // 32 bits per pixel as the surface keeps them: (65, 35) red as blue, green, red, 0.
    EXPECT_EQ(U32At(bytes, 28) & 0xFFFF, 32u);
    ASSERT_EQ(bytes.size(), 54u + SurfaceWidth * SurfaceHeight * 4);
    EXPECT_EQ(U32At(bytes, 54 + ((SurfaceHeight - 1 - 35) * SurfaceWidth + 65) * 4), 0x00FF0000u);
}

TEST_F(PictureExport, VectorPicturesAreRecordedWithoutAntialiasingUnderAnyName) {
    for (const auto& [name, filter] :
         {std::pair{"Bild.txt", pfMetafile}, std::pair{"Bild.svg", pfSvg}}) {
        SCOPED_TRACE(name);
        RecordingSeen.clear();
        AntiAliasingSeen.clear();
        Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{Path(name), filter});
        SavePictureAs(Surface, Hooks());
        ASSERT_EQ(RecordingSeen, std::vector<bool>{true});
        EXPECT_EQ(AntiAliasingSeen, std::vector<bool>{false});
        EXPECT_TRUE(AntiAliasing);
        EXPECT_FALSE(Surface.Recording());
    }
    const std::string emf = ReadFile(Path("Bild.txt"));
    ASSERT_GT(emf.size(), 88u);
    EXPECT_EQ(U32At(emf, 0), 1u);            // EMR_HEADER
    EXPECT_EQ(U32At(emf, 40), 0x464D4520u);  // " EMF"

    EXPECT_NE(ReadFile(Path("Bild.svg")).find(PictureComment), std::string::npos);

    if (std::system("command -v emf2svg-conv > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "emf2svg-conv is not installed";
    const std::string svg = Path("Emf.svg");
    const std::string command = "emf2svg-conv -i '" + Path("Bild.txt") + "' -o '" + svg + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_NE(ReadFile(svg).find(PictureComment), std::string::npos);
}

TEST_F(PictureExport, UnwritableFileIsReported) {
    for (const auto& [filter, name] :
         {std::pair{pfBitmap, "Bild.bmp"}, std::pair{pfMetafile, "Bild.emf"},
          std::pair{pfPng, "Bild.png"}, std::pair{pfSvg, "Bild.svg"}}) {
        SCOPED_TRACE(name);
        Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{Path("fehlt/") + name, filter});
        Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::Error));
        SavePictureAs(Surface, Hooks());
        EXPECT_EQ(Dialogs.Shown().back().Text,
                  "Die Datei \"" + Path("fehlt/") + name +
                      "\" konnte nicht gespeichert werden: Datei oder Verzeichnis nicht gefunden.");
        EXPECT_TRUE(AntiAliasing);
        EXPECT_FALSE(Surface.Recording());
    }
}

TEST_F(PictureExport, CancelledDialogOrFailedRepaintChangeNothing) {
    Dialogs.ExpectFile(TDialogKind::SaveFile, std::nullopt);
    SavePictureAs(Surface, Hooks());
    EXPECT_TRUE(Selected);
    EXPECT_TRUE(RecordingSeen.empty());  // no redraw

    TPictureExportHooks hooks = Hooks();
    hooks.Redraw = [] { throw std::runtime_error("Zeichenfehler"); };
    EXPECT_THROW(SavePicture(Surface, hooks, {Path("Bild.emf"), pfMetafile}), std::runtime_error);
    EXPECT_FALSE(Surface.Recording());
    EXPECT_TRUE(AntiAliasing);
    EXPECT_FALSE(std::filesystem::exists(Path("Bild.emf")));
}

}  // namespace
}  // namespace zeigora
