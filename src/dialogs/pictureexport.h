// Saving a drawing surface as a picture file: the picture dialog, then a bitmap or PNG of what
// the surface shows, or a metafile or SVG recorded by drawing the window again. The main window
// and the circuit calculation window share it, each with its own hooks.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/picturefile.h"
#include "platform/userdialogs.h"

namespace zeigora {

class TPaintBoxEx;

// Bitmap and metafile first, with their classic numbers; PNG and SVG after them.
inline constexpr char PictureFilters[] =
    "Bitmaps (*.bmp)|*.bmp|Enhanced Metafiles (*.emf)|*.emf|"
    "PNG-Bilder (*.png)|*.png|SVG-Grafiken (*.svg)|*.svg";
inline constexpr char PictureDefaultExt[] = "*.bmp";
inline constexpr char PictureDialogTitle[] = "Als Bild speichern";
inline constexpr char BitmapExtension[] = ".bmp";
inline constexpr char BitmapExtensionMessage[] = "Die Dateiendung muss .bmp lauten!";

// The filter numbers of PictureFilters.
enum TPictureFilter : int { pfBitmap = 1, pfMetafile = 2, pfPng = 3, pfSvg = 4 };

struct TPictureExportHooks {
    // Makes nothing selected, so that no highlight is exported; empty where the selection is
    // part of the picture (the circuit diagram).
    std::function<void()> ClearSelection;
    // Runs the window's repaint cycle into the surface's DrawingCanvas() now.
    std::function<void()> Redraw;
    // The window's antialiasing switch, off while a vector picture is recorded; may be null.
    bool* AntiAliasing = nullptr;
};

// The whole command: picture dialog, then SavePicture with the user's choice.
void SavePictureAs(TPaintBoxEx& surface, const TPictureExportHooks& hooks);

// Writes the picture by the chosen filter, complete or not at all. Every failure is reported in
// an error box that names the file and the reason; true when a file was written.
bool SavePicture(TPaintBoxEx& surface, const TPictureExportHooks& hooks, const TFileChoice& choice);

// The text of the file name from its last dot on, within the last path component; empty when
// the name has no dot there.
std::string FileExtension(std::string_view fileName);

}  // namespace zeigora
