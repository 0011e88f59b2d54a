// The circuit diagram: a circuit tree drawn as a one-line schematic, left to right, onto any
// canvas (raster surface, metafile, SVG). Drawing records each element's DrawnRect, which
// FindElementAt uses to pick the element under the pointer.
#pragma once

#include <string>

#include "circuit/circcalc.h"
#include "platform/canvas.h"

namespace zeigora {

// Fixed sizes of the schematic, in pixels.
inline constexpr int DiagramStartX = 20;          // x where the outermost group starts
inline constexpr int ElementLeadLength = 30;      // lead before and after a part
inline constexpr int SymbolWidth = 50;            // resistor, capacitor and coil symbols
inline constexpr int SymbolHalfHeight = 10;       // box above and below the line
inline constexpr int CapacitorPlateGap = 10;      // between the two plates
inline constexpr int GroupLeadLength = 30;        // lead before and after a parallel group
inline constexpr int LabelGap = 10;               // label bottom above the line
inline constexpr int ElementRectMarginX = 4;      // DrawnRect of a part, left and right
inline constexpr int ElementRectHalfHeight = 14;  // DrawnRect of a part, above and below
inline constexpr int GroupRectMargin = 4;         // DrawnRect of a group around its parts
inline constexpr int PartWidth = 2 * ElementLeadLength + SymbolWidth;  // 110 with leads

// The circuit window's diagram before the user changes its size.
inline constexpr int DefaultDiagramWidth = 500;
inline constexpr int DefaultDiagramHeight = 173;

// What the label above a part shows.
struct TDiagramLabels {
    bool ShowElementValues = false;
    bool ShowElementNames = true;
};

// Draws the whole tree from x = 20 on the line y = height / 2 with the available height
// height / 2. The caller has cleared the canvas and set a black pen, a clear brush and the
// font "Verdana". Every drawn element's DrawnRect is rewritten; an empty group keeps its old
// one.
void DrawCircuit(TCanvas& canvas, TCircuitElementGroup& outerGroup, int height,
                 bool showElementValues, bool showElementNames);

// A group from x on line y with the available height h (split among parallel branches).
// Returns the x where the drawing ends.
int DrawGroup(TCanvas& canvas, TCircuitElementGroup& group, int x, int y, int h,
              TDiagramLabels labels);

// Any element: a part, a group with elements (drawn as DrawGroup), or an empty group, which
// draws nothing and returns x. Returns the x where the drawing ends.
int DrawElement(TCanvas& canvas, TCustomCircuitElement& element, int x, int y, int h,
                TDiagramLabels labels);

// The deepest element whose DrawnRect holds p (Left <= x < Right, Top <= y < Bottom):
// members before their group, earlier members before later ones. nullptr if none.
TCustomCircuitElement* FindElementAt(TPoint p, TCustomCircuitElement* element);

// The text above a part: "R (2,2kOhm)", " (2,2kOhm)" without names, "R" without values, ""
// with neither, and "" for a group.
std::string ElementLabel(const TCustomCircuitElement& element, TDiagramLabels labels);

// Primitives. Lines leave out their end pixel, like every canvas line.
// Line from (x, y) to (x + length, y); returns x + length.
int DrawHorizontalLine(TCanvas& canvas, int x, int y, int length);
// Line from (x, y) to (x, y + length).
void DrawVerticalLine(TCanvas& canvas, int x, int y, int length);
// Box from (x, top) to (x + width, top + height), right column and bottom row excluded;
// returns x + width. The outlined one leaves the interior alone, the filled one fills it
// black and leaves the canvas brush as it was.
int DrawOutlinedBox(TCanvas& canvas, int x, int top, int width, int height);
int DrawFilledBox(TCanvas& canvas, int x, int top, int width, int height);
// Wire, two plates, wire: the capacitor symbol from x on line y; returns x + 50.
int DrawCapacitorSymbol(TCanvas& canvas, int x, int y);

// The size a diagram needs so that no parallel branch, label or rectangle of the tree
// overlaps another or leaves the picture, with the canvas's font for the labels. Very deep
// parallel nesting needs huge heights; both sides are capped at MaxNeededDiagramSide, so the
// caller clamps further to what it can allocate.
struct TDiagramSize {
    int Width = 0;
    int Height = 0;
};
inline constexpr int MaxNeededDiagramSide = 1 << 30;
TDiagramSize NeededDiagramSize(const TCanvas& canvas, const TCircuitElementGroup& outerGroup,
                               TDiagramLabels labels);

}  // namespace zeigora
