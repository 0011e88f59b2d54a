#pragma once
// What the vector canvases (EMF, SVG) share: a picture recorded in memory that is completed
// once and then saved like every other picture, complete or not at all.

#include <string>

#include "platform/canvas.h"

namespace zeigora {

class TRecordingCanvas : public TCanvas {
  public:
    // Completes the picture and saves it to fileName (native bytes). On failure returns false
    // and puts the German message (cp1252) into error. Drawing after completion is ignored.
    bool Finish(const std::string& fileName, std::string& error);

  protected:
    bool Finished() const { return Finished_; }
    // The complete picture file; called once, by Finish.
    virtual std::string Complete() = 0;

  private:
    bool Finished_ = false;
};

}  // namespace zeigora
