#pragma once
// Canvas that records an SVG picture of a given size, drawn unsmoothed like the raster canvas
// (pixel-centre coordinates, the classic dash patterns, wide pens solid with round ends), and
// is saved to a file when recording completes.

#include <memory>
#include <string>
#include <string_view>

#include "platform/recordingcanvas.h"

namespace zeigora {

class TSvgCanvas : public TRecordingCanvas {
  public:
    TSvgCanvas(int width, int height);
    ~TSvgCanvas() override;
    TSvgCanvas(const TSvgCanvas&) = delete;
    TSvgCanvas& operator=(const TSvgCanvas&) = delete;

    using TCanvas::Rectangle;
    void Rectangle(int left, int top, int right, int bottom) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void TextOut(int x, int y, std::string_view text) override;
    int TextWidth(std::string_view text) const override;
    int TextHeight(std::string_view text) const override;
    // A recording cannot be read back: reads give 0.
    TColor GetPixel(int x, int y) const override;
    void SetPixel(int x, int y, TColor c) override;
    int Width() const override { return Width_; }
    int Height() const override { return Height_; }

  protected:
    std::string Complete() override;
    void DrawLine(TPoint from, TPoint to) override;

  private:
    struct TState;
    int Width_;
    int Height_;
    std::unique_ptr<TState> State_;
};

}  // namespace zeigora
