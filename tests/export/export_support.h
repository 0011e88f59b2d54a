// A drawing surface with a window's hooks: a redraw that paints a plain picture (and a green
// selection mark while something is selected) and notes how it was called.
#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "dialogs/pictureexport.h"
#include "dialogs/scripteddialogs_support.h"
#include "plane/paintboxex.h"

namespace zeigora {

constexpr int SurfaceWidth = 240;
constexpr int SurfaceHeight = 100;

class TExportFixture : public TScriptedDialogsTest {
  protected:
    TExportFixture() {
        Redraw();
        AntiAliasingSeen.clear();
        RecordingSeen.clear();
    }

    void Redraw() {
        AntiAliasingSeen.push_back(AntiAliasing);
        RecordingSeen.push_back(Surface.Recording());
        TCanvas& c = Surface.DrawingCanvas();
        c.SetPenStyle(psSolid);
        c.SetPenWidth(1);
        c.SetBrushStyle(TBrushStyle::Solid);
        const auto box = [&c](TColor color, int x1, int y1, int x2, int y2) {
            c.SetPenColor(color);
            c.SetBrushColor(color);
            c.Rectangle(x1, y1, x2, y2);
        };
        box(clWhite, 0, 0, SurfaceWidth, SurfaceHeight);
        c.SetPenColor(clRed);
        c.MoveTo(10, 10);
        c.LineTo(120, 60);
        if (Selected) box(0x00FF00, 5, 5, 30, 30);
    }
    // Hooks of the main window (selection cleared) or of the circuit window (none).
    TPictureExportHooks Hooks(bool withSelection = true) {
        TPictureExportHooks hooks;
        if (withSelection) hooks.ClearSelection = [this] { Selected = false; };
        hooks.Redraw = [this] { Redraw(); };
        hooks.AntiAliasing = &AntiAliasing;
        return hooks;
    }
    std::string Path(const std::string& name) const {
        return Folder.path().toStdString() + "/" + name;
    }

    TPaintBoxEx Surface{SurfaceWidth, SurfaceHeight};
    QTemporaryDir Folder;
    bool Selected = true;
    bool AntiAliasing = true;
    std::vector<bool> AntiAliasingSeen;  // the setting at each redraw
    std::vector<bool> RecordingSeen;     // whether the surface recorded at each redraw
};

inline std::string ReadFile(const std::string& path) {
    std::stringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

}  // namespace zeigora
