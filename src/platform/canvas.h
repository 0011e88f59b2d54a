#pragma once
// The drawing canvas the rendering code draws on: a classic desktop canvas with pen, brush and
// font state, lines that leave out their end pixel, box-style rectangles and ellipses, text in
// cp1252 and single-pixel access. Implemented over a raster image and over a metafile recorder.

#include <cstdint>
#include <string>
#include <string_view>

namespace zeigora {

// Colours are 0x00BBGGRR: red in the low byte.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;

// Pen style indices. Styles 0-4 draw; psClear draws nothing; psInsideFrame draws solid.
enum TPenStyle : int {
    psSolid = 0,
    psDash = 1,
    psDot = 2,
    psDashDot = 3,
    psDashDotDot = 4,
    psClear = 5,
    psInsideFrame = 6,
};

enum class TBrushStyle { Solid, Clear };

struct TPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TRect&) const = default;
};

// Default font: the classic 8 pt at 96 dpi, i.e. an 11-pixel em.
constexpr int DefaultFontPixelSize = 11;
constexpr const char* DefaultFontName = "Verdana";

// Classic cosmetic dash patterns in pixels (on, off, on, off, ...), for pen width 1.
struct TDashPattern {
    int Count = 0;  // 0: solid
    int Lengths[6] = {};
};
TDashPattern CosmeticDashPattern(int style);

class TCanvas {
  public:
    virtual ~TCanvas() = default;

    // Pen.
    void SetPenColor(TColor c) { PenColor_ = c & 0xFFFFFF; }
    TColor PenColor() const { return PenColor_; }
    void SetPenStyle(int s) { PenStyle_ = s; }
    int PenStyle() const { return PenStyle_; }
    void SetPenWidth(int w) { PenWidth_ = w; }
    int PenWidth() const { return PenWidth_; }

    // Brush. A clear brush leaves rectangle and ellipse interiors, text backgrounds and dash
    // gaps untouched; a solid one fills them with the brush colour.
    void SetBrushColor(TColor c) { BrushColor_ = c & 0xFFFFFF; }
    TColor BrushColor() const { return BrushColor_; }
    void SetBrushStyle(TBrushStyle s) { BrushStyle_ = s; }
    TBrushStyle BrushStyle() const { return BrushStyle_; }

    // Font.
    void SetFontName(std::string name) { FontName_ = std::move(name); }
    const std::string& FontName() const { return FontName_; }
    void SetFontColor(TColor c) { FontColor_ = c & 0xFFFFFF; }
    TColor FontColor() const { return FontColor_; }
    void SetFontBold(bool b) { FontBold_ = b; }
    bool FontBold() const { return FontBold_; }
    void SetFontPixelSize(int px) { FontPixelSize_ = px; }
    int FontPixelSize() const { return FontPixelSize_; }

    // Pen position.
    TPoint PenPos() const { return PenPos_; }
    void MoveTo(int x, int y) { PenPos_ = {x, y}; }
    // Line from the pen position to (x, y), end pixel left out; the pen moves to (x, y).
    void LineTo(int x, int y);

    // Box from (left, top) to (right, bottom), right column and bottom row excluded.
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;

    // Text in cp1252 bytes with its top-left corner at (x, y).
    virtual void TextOut(int x, int y, std::string_view text) = 0;
    virtual int TextWidth(std::string_view text) const = 0;
    virtual int TextHeight(std::string_view text) const = 0;

    // 0x00BBGGRR; reads outside the canvas (or on a canvas that cannot be read) give 0.
    virtual TColor GetPixel(int x, int y) const = 0;
    virtual void SetPixel(int x, int y, TColor c) = 0;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Whether SetPixel(x, y) would write (a canvas may be clipped); pixels it would not write
    // need not be read either.
    virtual bool Writes(int, int) const { return true; }

    // Pen, brush, font and pen position as another canvas has them.
    void CopyStateFrom(const TCanvas& other);

  protected:
    virtual void DrawLine(TPoint from, TPoint to) = 0;

  private:
    TColor PenColor_ = clBlack;
    int PenStyle_ = psSolid;
    int PenWidth_ = 1;
    TColor BrushColor_ = clWhite;
    TBrushStyle BrushStyle_ = TBrushStyle::Solid;
    std::string FontName_ = DefaultFontName;
    TColor FontColor_ = clBlack;
    bool FontBold_ = false;
    int FontPixelSize_ = DefaultFontPixelSize;
    TPoint PenPos_;
};

}  // namespace zeigora
