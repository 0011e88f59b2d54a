#include "platform/picturefile.h"

#include <QBuffer>
#include <QImageWriter>
#include <cstdint>

#include "files/filemessage.h"
#include "files/safesave.h"

namespace zeigora {

namespace {

constexpr std::uint32_t FileHeaderSize = 14, InfoHeaderSize = 40;

void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

void WritePictureComment(TCanvas& canvas, int width, int height) {
    const TBrushStyle brush = canvas.BrushStyle();
    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.SetFontColor(clBlack);
    canvas.SetFontBold(true);
    const int x = width - canvas.TextWidth(PictureComment) - 2;
    const int y = height - canvas.TextHeight(PictureComment) - 2;
    canvas.TextOut(x, y, PictureComment);
    canvas.SetFontBold(false);
    canvas.SetBrushStyle(brush);
}

std::string BitmapFileBytes(const QImage& image) {
    const QImage pixels = image.format() == QImage::Format_RGB32
                              ? image
                              : image.convertToFormat(QImage::Format_RGB32);
    const auto width = static_cast<std::uint32_t>(pixels.width());
    const auto height = static_cast<std::uint32_t>(pixels.height());
    const std::uint32_t dataSize = width * height * 4;
    std::string out;
    out.reserve(FileHeaderSize + InfoHeaderSize + dataSize);
    out += "BM";
    PutLe(out, FileHeaderSize + InfoHeaderSize + dataSize, 4);
    PutLe(out, 0, 4);  // reserved
    PutLe(out, FileHeaderSize + InfoHeaderSize, 4);
    PutLe(out, InfoHeaderSize, 4);
    PutLe(out, width, 4);
    PutLe(out, height, 4);  // positive: rows bottom-up
    PutLe(out, 1, 2);       // planes
    PutLe(out, 32, 2);      // bits per pixel
    PutLe(out, 0, 4);       // BI_RGB
    PutLe(out, dataSize, 4);
    PutLe(out, 3780, 4);  // 96 dpi in pixels per metre
    PutLe(out, 3780, 4);
    PutLe(out, 0, 4);  // no palette
    PutLe(out, 0, 4);
    for (int y = pixels.height() - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(pixels.constScanLine(y));
        for (std::uint32_t x = 0; x < width; ++x)
            PutLe(out, row[x] & 0xFFFFFF, 4);
    }
    return out;
}

bool PngFileBytes(const QImage& image, std::string& bytes) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "PNG");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB888))) return false;
    bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
    return true;
}

bool SavePictureFile(const std::string& fileName, std::string_view bytes, std::string& error) {
    const int systemError = SaveFileSafely(fileName, bytes);
    if (systemError == 0) return true;
    error = FileErrorMessage(fileName, SaveFailedText, systemError);
    return false;
}

}  // namespace zeigora
