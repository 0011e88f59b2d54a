#include "dialogs/pictureexport.h"

#include <cerrno>
#include <exception>

#include "files/filemessage.h"
#include "plane/paintboxex.h"

namespace zeigora {

namespace {

// The surface's pixels as a bitmap (32 bits per pixel, as the surface keeps them) or PNG.
bool WriteRaster(const TPaintBoxEx& surface, const std::string& fileName, int filter) {
    std::string bytes, error;
    if (filter == pfBitmap) {
        bytes = BitmapFileBytes(surface.Bitmap);
    } else if (!PngFileBytes(surface.Bitmap, bytes)) {
        UserDialogs().ShowError(FileErrorMessage(fileName, SaveFailedText, EIO));
        return false;
    }
    if (SavePictureFile(fileName, bytes, error)) return true;
    UserDialogs().ShowError(error);
    return false;
}

bool SaveRaster(TPaintBoxEx& surface, const std::string& fileName, int filter) {
    // The comment goes onto the surface itself and stays there until the next redraw.
    WritePictureComment(surface.BitmapCanvas(), surface.Width(), surface.Height());
    if (filter == pfBitmap && FileExtension(fileName) != BitmapExtension) {
        UserDialogs().ShowError(BitmapExtensionMessage);
        return false;
    }
    return WriteRaster(surface, fileName, filter);
}

// Switches antialiasing off for the life of the guard: the antialiased primitives write the
// bitmap and would never reach the recording.
class TAntiAliasingOff {
  public:
    explicit TAntiAliasingOff(bool* setting) : Setting_(setting) {
        if (Setting_) {
            Saved_ = *Setting_;
            *Setting_ = false;
        }
    }
    ~TAntiAliasingOff() {
        if (Setting_) *Setting_ = Saved_;
    }
    TAntiAliasingOff(const TAntiAliasingOff&) = delete;
    TAntiAliasingOff& operator=(const TAntiAliasingOff&) = delete;

  private:
    bool* Setting_;
    bool Saved_ = false;
};

bool SaveRecording(TPaintBoxEx& surface, const TPictureExportHooks& hooks,
                   const std::string& fileName, TRecordingKind kind) {
    TAntiAliasingOff antiAliasingOff(hooks.AntiAliasing);
    try {
        surface.BeginRecording(kind);
    } catch (const std::exception& e) {
        UserDialogs().ShowError(e.what());
        return false;
    }
    try {
        if (hooks.Redraw) hooks.Redraw();
        WritePictureComment(surface.DrawingCanvas(), surface.Width(), surface.Height());
    } catch (...) {
        // The window's own error; the recording must not stay open behind it.
        surface.CancelRecording();
        throw;
    }
    try {
        surface.EndRecording(fileName);
    } catch (const std::exception& e) {
        UserDialogs().ShowError(e.what());
        return false;
    }
    return true;
}

}  // namespace

std::string FileExtension(std::string_view fileName) {
    const std::size_t slash = fileName.find_last_of('/');
    const std::size_t start = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string_view::npos || dot < start) return {};
    return std::string(fileName.substr(dot));
}

bool SavePicture(TPaintBoxEx& surface, const TPictureExportHooks& hooks,
                 const TFileChoice& choice) {
    const int filter = choice.FilterIndex;
    if (filter < pfBitmap || filter > pfSvg) return false;
    if (hooks.ClearSelection) {
        hooks.ClearSelection();
        // The vector pictures are drawn afresh anyway; the pixels must lose the highlight now.
        if ((filter == pfBitmap || filter == pfPng) && hooks.Redraw) hooks.Redraw();
    }
    switch (filter) {
        case pfBitmap:
        case pfPng:
            return SaveRaster(surface, choice.FileName, filter);
        case pfMetafile:
            return SaveRecording(surface, hooks, choice.FileName, TRecordingKind::Emf);
        default:
            return SaveRecording(surface, hooks, choice.FileName, TRecordingKind::Svg);
    }
}

void SavePictureAs(TPaintBoxEx& surface, const TPictureExportHooks& hooks) {
    const auto choice =
        UserDialogs().GetSaveFileName(PictureDialogTitle, PictureFilters, PictureDefaultExt, true);
    if (!choice) return;
    SavePicture(surface, hooks, *choice);
}

}  // namespace zeigora
