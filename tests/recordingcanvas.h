// A canvas that records the lines and texts a drawing asks for, with the text metrics of a
// real canvas, so tests can check positions without reading pixels.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace zeigora::testing {

struct TRecordedLine {
    TPoint From;
    TPoint To;
    TColor Color;
    int Style;
};

struct TRecordedText {
    int X;
    int Y;
    std::string Text;
    TColor Color;
};

class TRecordingCanvas : public TCanvas {
  public:
    explicit TRecordingCanvas(const TCanvas& metrics) : Metrics_(metrics) {}

    std::vector<TRecordedLine> Lines;
    std::vector<TRecordedText> Texts;

    void Rectangle(int, int, int, int) override {}
    void Ellipse(int, int, int, int) override {}
    void TextOut(int x, int y, std::string_view text) override {
        Texts.push_back({x, y, std::string(text), FontColor()});
    }
    int TextWidth(std::string_view text) const override { return Metrics_.TextWidth(text); }
    int TextHeight(std::string_view text) const override { return Metrics_.TextHeight(text); }
    TColor GetPixel(int, int) const override { return 0; }
    void SetPixel(int, int, TColor) override {}
    int Width() const override { return Metrics_.Width(); }
    int Height() const override { return Metrics_.Height(); }

    bool HasLine(TPoint from, TPoint to) const {
        return std::any_of(Lines.begin(), Lines.end(),
                           [&](const TRecordedLine& l) { return l.From == from && l.To == to; });
    }
    int VerticalLines() const {
        return static_cast<int>(std::count_if(Lines.begin(), Lines.end(), [](const auto& l) {
            return l.From.X == l.To.X && l.From.Y != l.To.Y;
        }));
    }

  protected:
    void DrawLine(TPoint from, TPoint to) override {
        Lines.push_back({from, to, PenColor(), PenStyle()});
    }

  private:
    const TCanvas& Metrics_;
};

}  // namespace zeigora::testing
