// Picture files of the drawing subcommands (render, diagram): the kind an output name asks
// for, the program's picture comment and the writing itself.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "plane/paintboxex.h"
#include "platform/picturefile.h"

namespace zeigora::cli {

inline constexpr int MaxSide = 16384;

enum class TPictureKind { Bitmap, Png, Metafile, Svg };

// The kind the extension of `file` names, in any case: .bmp, .png, .emf and, when allowed,
// .svg. False for any other name.
bool PictureKindOf(const std::string& file, bool svgAllowed, TPictureKind& kind);

// Calls `draw` for the surface and saves the picture as the program's windows do, complete or
// not at all: a metafile or SVG recorded from the drawing, a bitmap or PNG of the surface's
// pixels. On failure prints "zeigora-cli <command>: " and the message naming the file and the
// reason, and returns ExitFailed; ExitOk when written.
int WritePictureFile(std::string_view command, TPaintBoxEx& surface, TPictureKind kind,
                     const std::string& file, const std::function<void()>& draw);

}  // namespace zeigora::cli
