#include "mainwindow/pictureexport.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <exception>

#include "plane/paintboxex.h"
#include "platform/canvas.h"
#include "platform/cp1252.h"

namespace zeigora {

namespace {

std::string CannotCreateText(const std::string& fileName, const QString& reason) {
    std::string text = "Datei \"" + Utf8ToCp1252(fileName) + "\" kann nicht erstellt werden.";
    if (!reason.isEmpty()) text += " " + ToCp1252(reason);
    return text;
}

// The surface's pixels as a standard picture file. Byte 3 of the bitmap is no alpha, so the
// picture is written from a plain 24-bit copy.
bool WriteRaster(const TPaintBoxEx& surface, const std::string& fileName, const char* format) {
    const QImage image = surface.Bitmap.convertToFormat(QImage::Format_RGB888);
    QFile file(QFile::decodeName(QByteArray::fromStdString(fileName)));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        UserDialogs().ShowError(CannotCreateText(fileName, file.errorString()));
        return false;
    }
    QImageWriter writer(&file, format);
    const bool written = writer.write(image) && file.flush();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        UserDialogs().ShowError(CannotCreateText(fileName, file.errorString()));
        return false;
    }
    return true;
}

bool SaveRaster(TPaintBoxEx& surface, const std::string& fileName, int filter) {
    // The comment goes onto the surface itself and stays there until the next redraw.
    WritePictureComment(surface.BitmapCanvas(), surface.Width(), surface.Height());
    if (filter == pfBitmap) {
        if (FileExtension(fileName) != BitmapExtension) {
            UserDialogs().ShowError(BitmapExtensionMessage);
            return false;
        }
        return WriteRaster(surface, fileName, "BMP");
    }
    return WriteRaster(surface, fileName, "PNG");
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
