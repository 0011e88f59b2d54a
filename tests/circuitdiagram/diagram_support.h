// Shared pieces of the diagram tests: a white raster picture prepared as the circuit window
// prepares its diagram, and small tree builders.
#pragma once

#include <QImage>
#include <memory>

#include "circuit/circcalc.h"
#include "circuitdiagram/circgrph.h"
#include "platform/rastercanvas.h"
#include "recordingcanvas.h"

namespace zeigora {

inline bool operator==(const TDrawnRect& a, const TDrawnRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

namespace testing {

struct TDiagramPicture {
    TDiagramPicture(int width, int height)
        : Image(width, height, QImage::Format_RGB32), Canvas(&Image) {
        Image.fill(Qt::white);
        Canvas.SetPenColor(clBlack);
        Canvas.SetBrushStyle(TBrushStyle::Clear);
        Canvas.SetFontName("Verdana");
    }
    QImage Image;
    TRasterCanvas Canvas;
    bool Black(int x, int y) const { return Canvas.GetPixel(x, y) == clBlack; }
    bool White(int x, int y) const { return Canvas.GetPixel(x, y) == clWhite; }
};

inline std::unique_ptr<TCircuitElementGroup> Group(bool parallel) {
    auto g = std::make_unique<TCircuitElementGroup>();
    g->IsParallel = parallel;
    return g;
}
inline TResistor* AddResistor(TCircuitElementGroup& group) {
    return group.Add(std::make_unique<TResistor>(DefaultResistance));
}
inline TCircuitElementGroup* AddGroup(TCircuitElementGroup& group, bool parallel) {
    return group.Add(Group(parallel));
}

}  // namespace testing

// The test files of this folder use the helpers unqualified.
using testing::AddGroup;
using testing::AddResistor;
using testing::Group;
using testing::TDiagramPicture;
using testing::TRecordingCanvas;

}  // namespace zeigora
