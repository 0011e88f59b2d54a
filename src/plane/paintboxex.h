#pragma once
// The drawing surface of the plane and of the circuit diagram: an offscreen 32-bit bitmap as
// large as the control that hosts it, a raster canvas on it, metafile recording, direct pixel
// access and the antialiased primitives. Headless: a widget only forwards resize, paint and
// pointer events.

#include <QImage>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/canvas.h"

namespace zeigora {

class TRasterCanvas;
class TRecordingCanvas;

// What a recording produces: an enhanced metafile, or an SVG picture.
enum class TRecordingKind { Emf, Svg };

enum class TMouseButton { Left, Right, Middle };

struct TShiftState {
    bool Shift = false, Ctrl = false, Alt = false;
    bool Left = false, Right = false, Middle = false;  // buttons held
};

class TPaintBoxEx {
  public:
    explicit TPaintBoxEx(int width = 0, int height = 0);
    ~TPaintBoxEx();
    TPaintBoxEx(const TPaintBoxEx&) = delete;
    TPaintBoxEx& operator=(const TPaintBoxEx&) = delete;

    // Pixels: 32-bit words, blue in byte 0, green in byte 1, red in byte 2; byte 3 is no
    // colour (LineAA counts coverage in it).
    QImage Bitmap;
    // Called by Paint before the bitmap is shown; the owner draws there.
    std::function<void(TPaintBoxEx&)> OnPaint;
    // Pointer events as the hosting widget forwards them (pixel coordinates of the surface).
    std::function<void(TPaintBoxEx&, TMouseButton, TShiftState, int, int)> OnMouseDown;
    std::function<void(TPaintBoxEx&, TShiftState, int, int)> OnMouseMove;
    std::function<void(TPaintBoxEx&, TMouseButton, TShiftState, int, int)> OnMouseUp;
    std::function<void(TPaintBoxEx&)> OnClick;
    std::function<void(TPaintBoxEx&)> OnDblClick;
    int SubSampling = 5;
    bool FastAntialiasing = false;
    // The part of Bitmap the last Paint may have changed: all of it, unless the owner knows
    // that less changed (the plane's frame does when it reused the previous background).
    QRect Changed;
    // While not null, the antialiased primitives and the raster canvas write only inside it
    // (a frame that redraws only what changed); recordings are never clipped.
    QRect Clip;

    bool Recording() const { return Recording_; }

    void Resize(int width, int height);
    int Width() const { return Bitmap.width(); }
    int Height() const { return Bitmap.height(); }
    // Runs OnPaint; the host then shows DisplayImage() (or Bitmap with byte 3 ignored).
    void Paint();
    // Bitmap as an opaque image for showing on screen: byte 3 of Bitmap is no alpha.
    QImage DisplayImage() const;

    // Called by the hosting widget; each runs its handler if set.
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) {
        if (OnMouseDown) OnMouseDown(*this, b, s, x, y);
    }
    void MouseMove(TShiftState s, int x, int y) {
        if (OnMouseMove) OnMouseMove(*this, s, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) {
        if (OnMouseUp) OnMouseUp(*this, b, s, x, y);
    }
    void Click() {
        if (OnClick) OnClick(*this);
    }
    void DblClick() {
        if (OnDblClick) OnDblClick(*this);
    }

    // The canvas on Bitmap (used directly by picture export).
    TCanvas& BitmapCanvas();
    // The metafile canvas while recording, else the bitmap's canvas.
    TCanvas& DrawingCanvas();

    // Start of the pixel memory, nullptr while the height is below 1.
    std::uint8_t* Bits();
    // Address of pixel (x, y), y counted from the top; no bounds check.
    std::uint8_t* PixelAddress(int x, int y);

    TColor GetPixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    // Throws std::runtime_error("Already recording.") when a recording runs.
    void BeginRecording(TRecordingKind kind = TRecordingKind::Emf);
    // Completes the metafile and saves it complete or not at all; throws std::runtime_error
    // with the German message when it cannot be saved (the recording is ended either way).
    // Returns true on success.
    bool EndRecording(const std::string& fileName);
    // Drops a running recording without writing anything (after a failed repaint).
    void CancelRecording();

    // Color -1 takes the bitmap canvas's pen colour, width < 1 its pen width; dash < 0 dashes
    // by its pen style, 0 draws solid, > 0 draws a dotted pattern.
    void LineAA(std::int64_t color, int width, long double x1, long double y1, long double x2,
                long double y2, long double dash);

  private:
    std::unique_ptr<TRasterCanvas> Canvas_;
    std::unique_ptr<TRecordingCanvas> MetafileCanvas_;
    bool Recording_ = false;
};

// sqrt(a^2 + b^2) without overflow.
long double Hypot(long double a, long double b);

// Antialiased one-pixel line in the canvas's pen colour, through its pixel access.
void SmoothLine(TCanvas& canvas, int x1, int y1, int x2, int y2);

// Antialiased ring outside the ellipse with radii rx, ry, in the drawing canvas's pen colour.
void EllipseAA(TPaintBoxEx& surface, int cx, int cy, int rx, int ry);

// Owner-draw of one item of the pen style and pen width lists: `color` is the colour chosen
// beside the list, `rect` the item's rectangle on `canvas`.
void DrawPenStyleItem(TCanvas& canvas, TColor color, const TRect& rect, int style);
void DrawPenWidthItem(TCanvas& canvas, TColor color, const TRect& rect, int index);

}  // namespace zeigora
