// Picture files as every picture writer makes them: the program's comment, the Windows bitmap
// and PNG encodings of the drawing surface's pixels, and the one way a picture reaches the disk.
#pragma once

#include <QImage>
#include <string>
#include <string_view>

#include "platform/canvas.h"

namespace zeigora {

inline constexpr char PictureComment[] = "Created with Lumtrek Zeigora";

// Writes the comment in bold black, 2 pixels in from the bottom right corner of a picture of
// width x height, without background; the canvas's bold setting and brush style are restored.
void WritePictureComment(TCanvas& canvas, int width, int height);

// A Windows bitmap of 32 bits per pixel, as the surface keeps its pixels: rows bottom-up, each
// pixel blue, green, red and a zero byte (byte 3 of the surface is no colour).
std::string BitmapFileBytes(const QImage& image);

// The image as a PNG file, without alpha channel. False if the encoder fails.
bool PngFileBytes(const QImage& image, std::string& bytes);

// Saves a picture complete or not at all (SaveFileSafely). On failure returns false with the
// German message (cp1252) that names the file and the system's reason.
bool SavePictureFile(const std::string& fileName, std::string_view bytes, std::string& error);

}  // namespace zeigora
