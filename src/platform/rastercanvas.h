#pragma once
// Canvas over a 32-bit raster image (memory bytes blue, green, red, unused per pixel), drawn
// aliased like a classic desktop canvas: lines and pixels directly into the image memory,
// wide pens, ellipses and text through QPainter.

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/canvas.h"

class QPainter;

namespace zeigora {

// The font a canvas with these settings draws with (text metrics of both canvases).
QFont CanvasFont(const TCanvas& canvas);

// The canvas font and its metrics, built again only when the font settings change.
class TCanvasFontCache {
  public:
    const QFont& Font(const TCanvas& canvas);
    const QFontMetrics& Metrics(const TCanvas& canvas);
    // The advance of a text in the canvas's font; a frame measures the same names again and
    // again, and shaping them is what measuring costs.
    int Advance(const TCanvas& canvas, std::string_view text);

  private:
    void Update(const TCanvas& canvas);
    std::unordered_map<std::string, int> Advances_;
    std::string Name_;
    int PixelSize_ = -1;
    bool Bold_ = false;
    std::optional<QFont> Font_;
    std::optional<QFontMetrics> Metrics_;
};

class TRasterCanvas : public TCanvas {
  public:
    // The image must outlive the canvas; it may be replaced (resized) between calls. While
    // *clip (if given) is not null, no pixel outside it is written.
    explicit TRasterCanvas(QImage* image, const QRect* clip = nullptr)
        : Image_(image), Clip_(clip) {}

    using TCanvas::Rectangle;
    void Rectangle(int left, int top, int right, int bottom) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void TextOut(int x, int y, std::string_view text) override;
    int TextWidth(std::string_view text) const override;
    int TextHeight(std::string_view text) const override;
    TColor GetPixel(int x, int y) const override;
    void SetPixel(int x, int y, TColor c) override;
    int Width() const override { return Image_->width(); }
    int Height() const override { return Image_->height(); }
    bool Writes(int x, int y) const override;

  protected:
    void DrawLine(TPoint from, TPoint to) override;

  private:
    // The pixels that may be written: the image, cut to the clip.
    QRect Bounds() const;
    bool Clipped() const { return Clip_ && !Clip_->isNull(); }
    void ClipPainter(QPainter& g) const;
    // False when a clip is set and the box (inclusive, in pixels) lies wholly outside it, so
    // that painting there need not even start.
    bool MayTouch(std::int64_t left, std::int64_t top, std::int64_t right,
                  std::int64_t bottom) const;
    void PlotPattern(TPoint from, TPoint to, bool lastPixel);
    void WidePenLine(TPoint from, TPoint to);
    void HorizontalSpan(int x1, int x2, int y, TColor c);

    QImage* Image_;
    const QRect* Clip_;
    mutable TCanvasFontCache Fonts_;
};

}  // namespace zeigora
