#pragma once
// Canvas that records an enhanced metafile (EMF) of a given size, with the screen (96 dpi) as
// reference device, saved to a file when recording completes.

#include <memory>
#include <string>
#include <string_view>

#include "platform/rastercanvas.h"
#include "platform/recordingcanvas.h"

namespace zeigora {

class TEmfCanvas : public TRecordingCanvas {
  public:
    TEmfCanvas(int width, int height);
    ~TEmfCanvas() override;
    TEmfCanvas(const TEmfCanvas&) = delete;
    TEmfCanvas& operator=(const TEmfCanvas&) = delete;

    using TCanvas::Rectangle;
    void Rectangle(int left, int top, int right, int bottom) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void TextOut(int x, int y, std::string_view text) override;
    int TextWidth(std::string_view text) const override;
    int TextHeight(std::string_view text) const override;
    // A metafile cannot be read back: reads give 0.
    TColor GetPixel(int x, int y) const override;
    // Recorded as a filled 1x1 box, since readers tend to ignore single-pixel records.
    void SetPixel(int x, int y, TColor c) override;
    int Width() const override { return Width_; }
    int Height() const override { return Height_; }

  protected:
    // The header (sizes, counts, the bounds of what was drawn inside the picture), the records
    // and the end record.
    std::string Complete() override;
    void DrawLine(TPoint from, TPoint to) override;

  private:
    struct TState;
    int Width_;
    int Height_;
    std::unique_ptr<TState> State_;
    mutable TCanvasFontCache Fonts_;
};

}  // namespace zeigora
