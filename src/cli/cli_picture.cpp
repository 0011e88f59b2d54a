#include "cli/cli_picture.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <exception>
#include <filesystem>

#include "cli/cli_common.h"
#include "files/filemessage.h"
#include "platform/picturefile.h"

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

namespace {

// The picture's file bytes: a recording completed, or the surface's pixels encoded.
bool Write(TPaintBoxEx& surface, TPictureKind kind, const std::string& file,
           const std::function<void()>& draw, std::string& problem) {
    if (kind == TPictureKind::Metafile || kind == TPictureKind::Svg) {
        surface.BeginRecording(kind == TPictureKind::Svg ? TRecordingKind::Svg
                                                         : TRecordingKind::Emf);
        draw();
        try {
            return surface.EndRecording(file);
        } catch (const std::exception& e) {
            problem = e.what();
        }
        return false;
    }
    draw();
    std::string bytes;
    if (kind == TPictureKind::Bitmap) {
        bytes = BitmapFileBytes(surface.Bitmap);
    } else if (!PngFileBytes(surface.Bitmap, bytes)) {
        problem = FileErrorMessage(file, SaveFailedText, EIO);
        return false;
    }
    return SavePictureFile(file, bytes, problem);
}

}  // namespace

int WritePictureFile(std::string_view command, TPaintBoxEx& surface, TPictureKind kind,
                     const std::string& file, const std::function<void()>& draw) {
    std::string problem;
    if (Write(surface, kind, file, draw, problem)) return ExitOk;
    Err("zeigora-cli " + std::string(command) + ": " + ToUtf8(problem) + "\n");
    return ExitFailed;
}

}  // namespace zeigora::cli
