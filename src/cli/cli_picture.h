// Picture files of the drawing subcommands (render, diagram): the kind an output name asks
// for, the program's picture comment and the writing itself.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "plane/paintboxex.h"
#include "platform/canvas.h"

namespace zeigora::cli {

inline constexpr int MaxSide = 16384;

enum class TPictureKind { Bitmap, Png, Metafile, Svg };

// The kind the extension of `file` names, in any case: .bmp, .png, .emf and, when allowed,
// .svg. False for any other name.
bool PictureKindOf(const std::string& file, bool svgAllowed, TPictureKind& kind);

// "Created with Lumtrek Zeigora" in bold black at the bottom right, as the program's pictures.
void WritePictureComment(TCanvas& canvas, int width, int height);

// Calls `draw` for the surface and writes the picture: a metafile or SVG recorded from the
// drawing, a bitmap or PNG from the surface's image (opaque: the image shown on screen, else
// the bitmap as it is). On failure prints "zeigora-cli <command>: cannot write ..." and
// returns ExitFailed; ExitOk when written.
int WritePictureFile(std::string_view command, TPaintBoxEx& surface, TPictureKind kind,
                     const std::string& file, bool opaque, const std::function<void()>& draw);

}  // namespace zeigora::cli
