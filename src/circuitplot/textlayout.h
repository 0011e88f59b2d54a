// The texts of one picture: every text lies wholly inside the picture, and a label that would
// cover a text, mark or line placed before it can be left out, so that crowded places stay
// legible. Boxes are font-metric boxes: advance width by font height.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "circuitplot/plotaxis.h"
#include "platform/canvas.h"

namespace zeigora {

class TTextLayout {
  public:
    // Records the box of every text drawn in texts (cleared first).
    TTextLayout(TCanvas& canvas, int width, int height, std::vector<TRect>& texts);

    // The box of the text with its top-left corner at (x, y); a boxed text (drawn on a white
    // box) takes `BoxPad` pixels more on either side.
    TRect Box(int x, int y, std::string_view text, bool boxed = false) const;
    // The box moved the least so that it lies inside the picture (its top-left corner does
    // when it is larger than the picture).
    TRect Inside(TRect box) const;
    // Inside the picture, and over no text drawn and nothing blocked (lines only if asked).
    bool Free(const TRect& box, bool lines = true) const;
    // Things later labels keep clear of.
    void Block(const TRect& box);
    void Block(TPlotPoint a, TPlotPoint b);

    // Draws the text in its box and records the box.
    void Draw(const TRect& box, std::string_view text, std::uint32_t color, bool boxed = false);
    // The two halves of Draw, for a text placed before what it is drawn over.
    void Take(const TRect& box);
    void Write(const TRect& box, std::string_view text, std::uint32_t color,
               bool boxed = false) const;
    // Draws the text with its top-left corner at (x, y) if its box is free; false if not.
    bool Place(int x, int y, std::string_view text, std::uint32_t color, bool boxed = false);
    // Draws the text at (x, y), moved inside the picture, whatever it covers.
    void Put(int x, int y, std::string_view text, std::uint32_t color, bool boxed = false);

    TCanvas& Canvas() const { return Canvas_; }
    const std::vector<TRect>& Texts() const { return Texts_; }

    static constexpr int BoxPad = 2;

  private:
    TCanvas& Canvas_;
    int Width_, Height_;
    std::vector<TRect>& Texts_;
    std::vector<TRect> Blocked_;
    std::vector<TPlotPoint> Lines_;  // pairs of end points
};

// Whether two boxes share pixels (boxes exclude their right column and bottom row).
bool Overlap(const TRect& a, const TRect& b);

}  // namespace zeigora
