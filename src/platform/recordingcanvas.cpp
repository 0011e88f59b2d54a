#include "platform/recordingcanvas.h"

#include "platform/picturefile.h"

namespace zeigora {

bool TRecordingCanvas::Finish(const std::string& fileName, std::string& error) {
    if (Finished_) {
        error = "Die Aufzeichnung ist bereits abgeschlossen.";
        return false;
    }
    Finished_ = true;
    return SavePictureFile(fileName, Complete(), error);
}

}  // namespace zeigora
