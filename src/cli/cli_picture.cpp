#include "cli/cli_picture.h"

#include <QBuffer>
#include <QImage>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>

#include "cli/cli_common.h"

namespace zeigora::cli {

bool PictureKindOf(const std::string& file, bool svgAllowed, TPictureKind& kind) {
    std::string ext = std::filesystem::path(file).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".bmp")
        kind = TPictureKind::Bitmap;
    else if (ext == ".png")
        kind = TPictureKind::Png;
    else if (ext == ".emf")
        kind = TPictureKind::Metafile;
    else if (ext == ".svg" && svgAllowed)
        kind = TPictureKind::Svg;
    else
        return false;
    return true;
}

void WritePictureComment(TCanvas& canvas, int width, int height) {
    constexpr std::string_view comment = "Created with Lumtrek Zeigora";
    canvas.SetFontColor(clBlack);
    canvas.SetFontBold(true);
    canvas.TextOut(width - canvas.TextWidth(comment) - 2, height - canvas.TextHeight(comment) - 2,
                   comment);
    canvas.SetFontBold(false);
}

namespace {

// The picture's bytes under the name exactly as given: a name is bytes, whatever the locale.
bool WriteBytes(const std::string& file, const QByteArray& bytes, std::string& problem) {
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (f == nullptr) {
        problem = std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()),
                                     f) == static_cast<std::size_t>(bytes.size());
    const int writeError = errno;
    const bool closed = std::fclose(f) == 0;
    if (written && closed) return true;
    problem = std::strerror(written ? errno : writeError);
    return false;
}

bool Write(TPaintBoxEx& surface, TPictureKind kind, const std::string& file, bool opaque,
           const std::function<void()>& draw, std::string& problem) {
    if (kind == TPictureKind::Metafile || kind == TPictureKind::Svg) {
        surface.BeginRecording(kind == TPictureKind::Svg ? TRecordingKind::Svg
                                                         : TRecordingKind::Emf);
        draw();
        try {
            if (surface.EndRecording(file)) return true;
        } catch (const std::exception& e) {
            problem = e.what();
        }
        return false;
    }
    draw();
    const char* format = kind == TPictureKind::Bitmap ? "BMP" : "PNG";
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) ||
        !(opaque ? surface.DisplayImage() : surface.Bitmap).save(&buffer, format)) {
        problem = "das Bild lässt sich nicht kodieren";
        return false;
    }
    return WriteBytes(file, bytes, problem);
}

}  // namespace

int WritePictureFile(std::string_view command, TPaintBoxEx& surface, TPictureKind kind,
                     const std::string& file, bool opaque, const std::function<void()>& draw) {
    std::string problem;
    if (Write(surface, kind, file, opaque, draw, problem)) return ExitOk;
    Err("zeigora-cli " + std::string(command) + ": Das Bild \"" + file +
        "\" konnte nicht geschrieben werden" + (problem.empty() ? "" : ": " + problem) + ".\n");
    return ExitFailed;
}

}  // namespace zeigora::cli
