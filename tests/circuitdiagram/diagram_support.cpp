#include "circuitdiagram/diagram_support.h"

#include <algorithm>

namespace zeigora::testing {

TDiagramPicture::TDiagramPicture(int width, int height)
    : Image(width, height, QImage::Format_RGB32), Canvas(&Image) {
    Image.fill(Qt::white);
    Canvas.SetPenColor(clBlack);
    Canvas.SetBrushStyle(TBrushStyle::Clear);
    Canvas.SetFontName("Verdana");
}

bool TRecordingCanvas::HasLine(TPoint from, TPoint to) const {
    return std::find(Lines.begin(), Lines.end(), TRecordedLine{from, to}) != Lines.end();
}

int TRecordingCanvas::VerticalLines() const {
    return static_cast<int>(std::count_if(Lines.begin(), Lines.end(), [](const TRecordedLine& l) {
        return l.From.X == l.To.X && l.From.Y != l.To.Y;
    }));
}

std::unique_ptr<TCircuitElementGroup> Group(bool parallel) {
    auto g = std::make_unique<TCircuitElementGroup>();
    g->IsParallel = parallel;
    return g;
}

TResistor* AddResistor(TCircuitElementGroup& group) {
    return group.Add(std::make_unique<TResistor>(DefaultResistance));
}

TCircuitElementGroup* AddGroup(TCircuitElementGroup& group, bool parallel) {
    return group.Add(Group(parallel));
}

}  // namespace zeigora::testing
