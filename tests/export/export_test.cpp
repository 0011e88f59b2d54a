#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "export/export_support.h"

namespace zeigora {
namespace {

std::uint32_t U32At(const std::string& bytes, std::size_t offset) {
    std::uint32_t v = 0;
    std::memcpy(&v, bytes.data() + offset, sizeof v);
    return v;
}

// Pure black pixels of a picture inside the rectangle [x1, x2) x [y1, y2).
int BlackPixels(const QImage& image, int x1, int y1, int x2, int y2) {
    int n = 0;
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == 0;
    return n;
}

// The comment sits in the bottom right corner, 2 pixels in from both edges, and nowhere else.
void ExpectCommentAtBottomRight(const QImage& image) {
    const int w = image.width(), h = image.height();
    EXPECT_GT(BlackPixels(image, w / 3, h - 20, w - 2, h - 2), 30);
    EXPECT_EQ(BlackPixels(image, w - 2, 0, w, h), 0);
    EXPECT_EQ(BlackPixels(image, 0, h - 2, w, h), 0);
    EXPECT_EQ(BlackPixels(image, 0, 0, w, h / 2), 0);
}

bool HasColour(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
    return false;
}

using PictureExport = TExportFixture;

TEST_F(PictureExport, BitmapNameWithoutTheExactExtensionIsRefused) {
    for (const char* name : {"Bild.BMP", "Bild.bmp.txt", "Bild.Bmp", "Bild"}) {
        SCOPED_TRACE(name);
        Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{Path(name), pfBitmap});
        Dialogs.ExpectError(BitmapExtensionMessage);
        SavePictureAs(Surface, Hooks());
        Dialogs.VerifyAllShown();
        EXPECT_FALSE(FileExists(Path(name)));
        // The comment stays on screen until the next redraw.
        ExpectCommentAtBottomRight(Surface.DisplayImage());
    }
    // A dot in a folder name is no extension.
    EXPECT_EQ(FileExtension("/tmp/a.bmp/Bild"), "");
    EXPECT_EQ(FileExtension("/tmp/a.b/Bild.bmp"), ".bmp");
}

TEST_F(PictureExport, BitmapIsAStandardWindowsBitmapWithoutSelection) {
    const std::string file = Path("Bild.bmp");
    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{file, pfBitmap});
    SavePictureAs(Surface, Hooks());
    EXPECT_FALSE(Selected);
    EXPECT_EQ(Redraws, 1);  // the highlight leaves the pixels before they are saved

    const std::string bytes = ReadFile(file);
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(U32At(bytes, 2), bytes.size());
    EXPECT_EQ(U32At(bytes, 14), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(U32At(bytes, 18), std::uint32_t(SurfaceWidth));
    EXPECT_EQ(U32At(bytes, 22), std::uint32_t(SurfaceHeight));  // bottom-up rows

    const QImage image(QString::fromStdString(file), "BMP");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(SurfaceWidth, SurfaceHeight));
    ExpectCommentAtBottomRight(image);
    EXPECT_TRUE(HasColour(image, qRgb(255, 0, 0)));
    EXPECT_FALSE(HasColour(image, qRgb(0, 255, 0)));
}

TEST_F(PictureExport, CircuitWindowKeepsItsSelectionInThePicture) {
    const std::string file = Path("Schaltung.png");
    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{file, pfPng});
    SavePictureAs(Surface, Hooks(false));
    EXPECT_EQ(Redraws, 0);
    const QImage image(QString::fromStdString(file), "PNG");
    ASSERT_FALSE(image.isNull());
    ExpectCommentAtBottomRight(image);
    EXPECT_TRUE(HasColour(image, qRgb(0, 255, 0)));
}

TEST_F(PictureExport, PngTakesAnyName) {
    const std::string file = Path("Bild.bild");
    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{file, pfPng});
    SavePictureAs(Surface, Hooks());
    const QImage image(QString::fromStdString(file), "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(SurfaceWidth, SurfaceHeight));
    ExpectCommentAtBottomRight(image);
    EXPECT_FALSE(HasColour(image, qRgb(0, 255, 0)));
}

TEST_F(PictureExport, MetafileIsRecordedWithoutAntialiasingUnderAnyName) {
    const std::string file = Path("Bild.txt");
    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{file, pfMetafile});
    SavePictureAs(Surface, Hooks());
    EXPECT_FALSE(Selected);
    ASSERT_EQ(Redraws, 1);
    EXPECT_TRUE(RecordingSeen[0]);
    EXPECT_FALSE(AntiAliasingSeen[0]);
    EXPECT_TRUE(AntiAliasing);
    EXPECT_FALSE(Surface.Recording());

    const std::string bytes = ReadFile(file);
    ASSERT_GT(bytes.size(), 88u);
    EXPECT_EQ(U32At(bytes, 0), 1u);            // EMR_HEADER
    EXPECT_EQ(U32At(bytes, 40), 0x464D4520u);  // " EMF"
    if (std::system("command -v emf2svg-conv > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "emf2svg-conv is not installed";
    const std::string svg = Path("Bild.svg");
    const std::string command = "emf2svg-conv -i '" + file + "' -o '" + svg + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_NE(ReadFile(svg).find(PictureComment), std::string::npos);
}

TEST_F(PictureExport, SvgIsRecordedLikeTheMetafile) {
    const std::string file = Path("Bild.svg");
    Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{file, pfSvg});
    SavePictureAs(Surface, Hooks());
    ASSERT_EQ(Redraws, 1);
    EXPECT_TRUE(RecordingSeen[0]);
    EXPECT_FALSE(AntiAliasingSeen[0]);
    EXPECT_TRUE(AntiAliasing);

    QSvgRenderer renderer(QString::fromStdString(file));
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBox(), QRect(0, 0, SurfaceWidth, SurfaceHeight));
    EXPECT_NE(ReadFile(file).find(PictureComment), std::string::npos);
    QImage image(SurfaceWidth, SurfaceHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    EXPECT_GT(BlackPixels(image, SurfaceWidth / 3, SurfaceHeight - 20, SurfaceWidth, SurfaceHeight),
              30);
    EXPECT_EQ(image.pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu);  // no selection mark
}

TEST_F(PictureExport, UnwritableFileIsReported) {
    const struct {
        int Filter;
        const char* Name;
    } cases[] = {
        {pfBitmap, "Bild.bmp"}, {pfMetafile, "Bild.emf"}, {pfPng, "Bild.png"}, {pfSvg, "Bild.svg"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string file = Path("fehlt/") + c.Name;
        Dialogs.ExpectFile(TDialogKind::SaveFile, TFileChoice{file, c.Filter});
        Dialogs.Expect(TScriptedDialogs::Call(TDialogKind::Error));
        SavePictureAs(Surface, Hooks());
        Dialogs.VerifyAllShown();
        ASSERT_FALSE(Dialogs.Shown().empty());
        EXPECT_NE(Dialogs.Shown().back().Text.find("kann nicht erstellt werden"),
                  std::string::npos);
        EXPECT_TRUE(AntiAliasing);
        EXPECT_FALSE(Surface.Recording());
    }
}

TEST_F(PictureExport, CancelledDialogChangesNothing) {
    Dialogs.ExpectFile(TDialogKind::SaveFile, std::nullopt);
    SavePictureAs(Surface, Hooks());
    EXPECT_TRUE(Selected);
    EXPECT_EQ(Redraws, 0);
}

TEST_F(PictureExport, FailedRepaintEndsTheRecording) {
    TPictureExportHooks hooks = Hooks();
    hooks.Redraw = [] { throw std::runtime_error("Zeichenfehler"); };
    EXPECT_THROW(SavePicture(Surface, hooks, {Path("Bild.emf"), pfMetafile}), std::runtime_error);
    EXPECT_FALSE(Surface.Recording());
    EXPECT_TRUE(AntiAliasing);
    EXPECT_FALSE(FileExists(Path("Bild.emf")));
    EXPECT_NO_THROW(Surface.BeginRecording());
    Surface.CancelRecording();
}

}  // namespace
}  // namespace zeigora
