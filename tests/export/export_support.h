// A drawing surface with a window's hooks: a redraw that paints a plain picture (and a green
// selection mark while something is selected) and notes how it was called.
#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "dialogs/scripteddialogs_support.h"
#include "mainwindow/pictureexport.h"
#include "plane/paintboxex.h"

namespace zeigora {

constexpr int SurfaceWidth = 240;
constexpr int SurfaceHeight = 100;

class TExportFixture : public TScriptedDialogsTest {
  protected:
    TExportFixture();

    void Redraw();
    // Hooks of the main window (selection cleared) or of the circuit window (none).
    TPictureExportHooks Hooks(bool withSelection = true);
    std::string Path(const std::string& name) const {
        return Folder.path().toStdString() + "/" + name;
    }

    TPaintBoxEx Surface{SurfaceWidth, SurfaceHeight};
    QTemporaryDir Folder;
    bool Selected = true;
    bool AntiAliasing = true;
    int Redraws = 0;
    std::vector<bool> AntiAliasingSeen;  // the setting at each redraw
    std::vector<bool> RecordingSeen;     // whether the surface recorded at each redraw
};

inline std::string ReadFile(const std::string& path) {
    std::stringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

inline bool FileExists(const std::string& path) {
    return std::filesystem::exists(path);
}

}  // namespace zeigora
