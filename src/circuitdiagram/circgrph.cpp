#include "circuitdiagram/circgrph.h"

namespace zeigora {

void DrawCircuit(TCanvas&, TCircuitElementGroup&, int, bool, bool) {}

int DrawGroup(TCanvas&, TCircuitElementGroup&, int x, int, int, TDiagramLabels) {
    return x;
}

int DrawElement(TCanvas&, TCustomCircuitElement&, int x, int, int, TDiagramLabels) {
    return x;
}

TCustomCircuitElement* FindElementAt(TPoint, TCustomCircuitElement*) {
    return nullptr;
}

std::string ElementLabel(const TCustomCircuitElement&, TDiagramLabels) {
    return {};
}

int DrawHorizontalLine(TCanvas&, int x, int, int length) {
    return x + length;
}
void DrawVerticalLine(TCanvas&, int, int, int) {}
int DrawOutlinedBox(TCanvas&, int x, int, int width, int) {
    return x + width;
}
int DrawFilledBox(TCanvas&, int x, int, int width, int) {
    return x + width;
}
int DrawCapacitorSymbol(TCanvas&, int x, int) {
    return x + SymbolWidth;
}

TDiagramSize NeededDiagramSize(const TCanvas&, const TCircuitElementGroup&, TDiagramLabels) {
    return {DefaultDiagramWidth, DefaultDiagramHeight};
}

}  // namespace zeigora
