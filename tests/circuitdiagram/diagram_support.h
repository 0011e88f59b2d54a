// Shared pieces of the diagram tests: a white raster picture prepared as the circuit window
// prepares its diagram, a canvas that records lines and texts with real text metrics, and
// small tree builders.
#pragma once

#include <QImage>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "circuit/circcalc.h"
#include "circuitdiagram/circgrph.h"
#include "platform/rastercanvas.h"

namespace zeigora {

inline bool operator==(const TDrawnRect& a, const TDrawnRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}
inline void PrintTo(const TDrawnRect& r, std::ostream* os) {
    *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

}  // namespace zeigora

namespace zeigora::testing {

struct TDiagramPicture {
    TDiagramPicture(int width, int height);
    QImage Image;
    TRasterCanvas Canvas;
    bool Black(int x, int y) const { return Canvas.GetPixel(x, y) == clBlack; }
    bool White(int x, int y) const { return Canvas.GetPixel(x, y) == clWhite; }
};

struct TRecordedLine {
    TPoint From;
    TPoint To;
    bool operator==(const TRecordedLine&) const = default;
};

struct TRecordedText {
    int X;
    int Y;
    std::string Text;
};

class TRecordingCanvas : public TCanvas {
  public:
    explicit TRecordingCanvas(const TCanvas& metrics) : Metrics_(metrics) {}

    std::vector<TRecordedLine> Lines;
    std::vector<TRecordedText> Texts;

    void Rectangle(int, int, int, int) override {}
    void Ellipse(int, int, int, int) override {}
    void TextOut(int x, int y, std::string_view text) override {
        Texts.push_back({x, y, std::string(text)});
    }
    int TextWidth(std::string_view text) const override { return Metrics_.TextWidth(text); }
    int TextHeight(std::string_view text) const override { return Metrics_.TextHeight(text); }
    TColor GetPixel(int, int) const override { return 0; }
    void SetPixel(int, int, TColor) override {}
    int Width() const override { return Metrics_.Width(); }
    int Height() const override { return Metrics_.Height(); }
    bool HasLine(TPoint from, TPoint to) const;
    int VerticalLines() const;

  protected:
    void DrawLine(TPoint from, TPoint to) override { Lines.push_back({from, to}); }

  private:
    const TCanvas& Metrics_;
};

std::unique_ptr<TCircuitElementGroup> Group(bool parallel);
// Adds a resistor (or group) and returns it.
TResistor* AddResistor(TCircuitElementGroup& group);
TCircuitElementGroup* AddGroup(TCircuitElementGroup& group, bool parallel);

}  // namespace zeigora::testing
