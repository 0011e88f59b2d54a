#include "circuitdiagram/circgrph.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "complex/numtext.h"

namespace zeigora {

namespace {

// Coordinates stay within this range so that no sum below, nor any difference a canvas forms
// from two of them, can overflow; only absurdly long circuits (millions of parts) reach it.
constexpr std::int64_t CoordLimit = std::int64_t(1) << 30;

int Clamp(std::int64_t v) {
    return static_cast<int>(std::clamp(v, -CoordLimit, CoordLimit));
}

int Add(int a, std::int64_t b) {
    return Clamp(std::int64_t(a) + b);
}

// What a drawn subtree reports to its group: where it ended, and the vertical extent of the
// part rectangles in it (INT_MAX and 0 when it has none).
struct TDrawn {
    int EndX;
    int MinTop = INT_MAX;
    int MaxBottom = 0;
};

void Absorb(TDrawn& into, const TDrawn& part) {
    into.MinTop = std::min(into.MinTop, part.MinTop);
    into.MaxBottom = std::max(into.MaxBottom, part.MaxBottom);
}

const char* UnitOf(TElementType type) {
    switch (type) {
        case etResistor:
            return "Ohm";
        case etCoil:
            return "H";
        case etCapacitor:
            return "F";
        default:
            return "";
    }
}

// Only text costs real time on a raster canvas (building, measuring and shaping it), so
// labels that cannot reach the picture are left out before any of that; everything else
// clips cheaply by itself. No glyph is wider than two font heights.
int MaxTextWidth(const TCanvas& canvas, std::size_t chars) {
    return Clamp(std::int64_t(chars) * 2 * std::max(canvas.FontPixelSize(), 1));
}

bool ColumnsReach(const TCanvas& canvas, int centre, int halfWidth) {
    return Add(centre, halfWidth) >= 0 && Add(centre, -std::int64_t(halfWidth)) < canvas.Width();
}

void DrawLabel(TCanvas& canvas, const TCustomCircuitElement& part, int x1, int y,
               TDiagramLabels labels) {
    constexpr std::size_t longestLabel = 255 + 32;  // name, value, unit and brackets
    const int centre = Add(x1, SymbolWidth / 2);
    if (!labels.ShowElementNames && !labels.ShowElementValues) return;
    if (y - LabelGap <= 0 || !ColumnsReach(canvas, centre, MaxTextWidth(canvas, longestLabel)))
        return;
    const std::string text = ElementLabel(part, labels);
    if (text.empty() || !ColumnsReach(canvas, centre, MaxTextWidth(canvas, text.size()))) return;
    const int height = canvas.TextHeight(text);
    const int top = Add(y, -std::int64_t(LabelGap) - height);
    if (top >= canvas.Height()) return;
    const int width = canvas.TextWidth(text);
    const int left = Add(centre, -(width / 2));
    if (left < canvas.Width() && Add(left, width) > 0) canvas.TextOut(left, top, text);
}

TDrawn DrawPart(TCanvas& canvas, TCustomCircuitElement& part, int x, int y, TDiagramLabels labels) {
    const int x1 = DrawHorizontalLine(canvas, x, y, ElementLeadLength);
    const int top = y - SymbolHalfHeight, height = 2 * SymbolHalfHeight;
    int x2 = Add(x1, SymbolWidth);
    if (part.ElementType() == etResistor)
        x2 = DrawOutlinedBox(canvas, x1, top, SymbolWidth, height);
    else if (part.ElementType() == etCoil)
        x2 = DrawFilledBox(canvas, x1, top, SymbolWidth, height);
    else if (part.ElementType() == etCapacitor)
        x2 = DrawCapacitorSymbol(canvas, x1, y);
    DrawLabel(canvas, part, x1, y, labels);
    part.DrawnRect = {x1 - ElementRectMarginX, y - ElementRectHalfHeight,
                      Add(x2, ElementRectMarginX), y + ElementRectHalfHeight};
    return {DrawHorizontalLine(canvas, x2, y, ElementLeadLength), part.DrawnRect.Top,
            part.DrawnRect.Bottom};
}

// One group being drawn. Members are drawn one after the other; a member group gets a frame
// of its own on an explicit stack, so nesting depth costs heap, not call stack.
struct TGroupFrame {
    TCircuitElementGroup* Group;
    int StartX;
    int Y;
    int H;
    int Next = 0;            // next member to draw
    int X = 0;               // series: where the next member starts; parallel: branch start
    std::size_t EndsAt = 0;  // parallel: first slot of this group's branch ends
    TDrawn Parts{0};

    int Count() const { return Group->Count(); }
    bool Parallel() const { return Group->IsParallel; }

    // Line and available height of the member about to be drawn.
    int MemberY(int i) const {
        const int n = Count();
        if (!Parallel() || n == 1) return Y;
        return Clamp(std::int64_t(H) * i / (n - 1) + (Y - H / 2));
    }
    int MemberH() const { return Parallel() && Count() > 1 ? H / Count() : H; }
};

TGroupFrame EnterGroup(TCanvas& canvas, TCircuitElementGroup& group, int x, int y, int h,
                       std::size_t endsAt) {
    TGroupFrame f{&group, x, y, h};
    f.X = x;
    f.EndsAt = endsAt;
    if (group.IsParallel) {
        f.X = DrawHorizontalLine(canvas, x, y, GroupLeadLength);
        if (group.Count() > 1) DrawVerticalLine(canvas, f.X, y - h / 2, h);
    }
    return f;
}

TDrawn LeaveGroup(TCanvas& canvas, TGroupFrame& f, std::vector<int>& ends) {
    TDrawn drawn = f.Parts;
    drawn.EndX = f.X;
    if (f.Parallel()) {
        const int n = f.Count();
        int xmax = 0;
        for (int i = 0; i < n; ++i)
            xmax = std::max(xmax, ends[f.EndsAt + i]);
        for (int i = 0; n != 1 && i < n; ++i) {
            const int e = ends[f.EndsAt + i];
            if (e < xmax) DrawHorizontalLine(canvas, e, f.MemberY(i), std::int64_t(xmax) - e);
        }
        if (n > 1) DrawVerticalLine(canvas, xmax - 1, f.Y - f.H / 2, f.H);
        drawn.EndX = DrawHorizontalLine(canvas, xmax, f.Y, GroupLeadLength);
        ends.resize(f.EndsAt);
    }
    // Without parts in it the extent stays (INT_MAX, 0): the rectangle is empty, never hit.
    f.Group->DrawnRect = {f.StartX - GroupRectMargin, drawn.MinTop - GroupRectMargin,
                          drawn.EndX + GroupRectMargin, drawn.MaxBottom + GroupRectMargin};
    return drawn;
}

void MemberDrawn(TGroupFrame& f, const TDrawn& member, std::vector<int>& ends) {
    Absorb(f.Parts, member);
    if (f.Parallel())
        ends.push_back(member.EndX);
    else
        f.X = member.EndX;
    ++f.Next;
}

TDrawn DrawTree(TCanvas& canvas, TCircuitElementGroup& root, int x, int y, int h,
                TDiagramLabels labels) {
    std::vector<TGroupFrame> stack;
    std::vector<int> ends;
    stack.push_back(EnterGroup(canvas, root, x, y, h, 0));
    for (;;) {
        TGroupFrame& f = stack.back();
        if (f.Next == f.Count()) {
            const TDrawn drawn = LeaveGroup(canvas, f, ends);
            stack.pop_back();
            if (stack.empty()) return drawn;
            MemberDrawn(stack.back(), drawn, ends);
            continue;
        }
        TCustomCircuitElement& member = *f.Group->Items(f.Next);
        const int my = f.MemberY(f.Next), mh = f.MemberH();
        if (member.ElementType() != etGroup) {
            MemberDrawn(f, DrawPart(canvas, member, f.X, my, labels), ends);
            continue;
        }
        auto& group = static_cast<TCircuitElementGroup&>(member);
        if (group.Count() == 0)
            MemberDrawn(f, TDrawn{f.X}, ends);  // empty: nothing drawn, old rectangle kept
        else
            stack.push_back(EnterGroup(canvas, group, f.X, my, mh, ends.size()));
    }
}

bool Contains(const TDrawnRect& r, TPoint p) {
    return r.Left <= p.X && p.X < r.Right && r.Top <= p.Y && p.Y < r.Bottom;
}

}  // namespace

std::string ElementLabel(const TCustomCircuitElement& element, TDiagramLabels labels) {
    if (element.ElementType() == etGroup) return {};
    std::string text;
    if (labels.ShowElementNames) text = element.Name.Str();
    if (labels.ShowElementValues)
        text += " (" + FormatFloatEng("0.000", element.ElementValue) +
                UnitOf(element.ElementType()) + ")";
    return text;
}

int DrawHorizontalLine(TCanvas& canvas, int x, int y, int length) {
    const int end = Add(x, length);
    canvas.MoveTo(x, y);
    canvas.LineTo(end, y);
    return end;
}

void DrawVerticalLine(TCanvas& canvas, int x, int y, int length) {
    canvas.MoveTo(x, y);
    canvas.LineTo(x, Add(y, length));
}

int DrawOutlinedBox(TCanvas& canvas, int x, int top, int width, int height) {
    const TBrushStyle style = canvas.BrushStyle();
    canvas.SetBrushStyle(TBrushStyle::Clear);
    const int right = Add(x, width);
    canvas.Rectangle(x, top, right, Add(top, height));
    canvas.SetBrushStyle(style);
    return right;
}

int DrawFilledBox(TCanvas& canvas, int x, int top, int width, int height) {
    const TBrushStyle style = canvas.BrushStyle();
    const TColor color = canvas.BrushColor();
    canvas.SetBrushStyle(TBrushStyle::Solid);
    canvas.SetBrushColor(clBlack);
    const int right = Add(x, width);
    canvas.Rectangle(x, top, right, Add(top, height));
    canvas.SetBrushColor(color);
    canvas.SetBrushStyle(style);
    return right;
}

int DrawCapacitorSymbol(TCanvas& canvas, int x, int y) {
    constexpr int wire = (SymbolWidth - CapacitorPlateGap) / 2;
    const int plate1 = DrawHorizontalLine(canvas, x, y, wire);
    const int plate2 = Add(plate1, CapacitorPlateGap);
    DrawVerticalLine(canvas, plate1, y - SymbolHalfHeight, 2 * SymbolHalfHeight);
    DrawVerticalLine(canvas, plate2, y - SymbolHalfHeight, 2 * SymbolHalfHeight);
    return DrawHorizontalLine(canvas, plate2, y, wire);
}

int DrawGroup(TCanvas& canvas, TCircuitElementGroup& group, int x, int y, int h,
              TDiagramLabels labels) {
    return DrawTree(canvas, group, Clamp(x), Clamp(y), Clamp(h), labels).EndX;
}

int DrawElement(TCanvas& canvas, TCustomCircuitElement& element, int x, int y, int h,
                TDiagramLabels labels) {
    if (element.ElementType() != etGroup)
        return DrawPart(canvas, element, Clamp(x), Clamp(y), labels).EndX;
    auto& group = static_cast<TCircuitElementGroup&>(element);
    if (group.Count() == 0) return x;
    return DrawGroup(canvas, group, x, y, h, labels);
}

void DrawCircuit(TCanvas& canvas, TCircuitElementGroup& outerGroup, int height,
                 bool showElementValues, bool showElementNames) {
    DrawGroup(canvas, outerGroup, DiagramStartX, height / 2, height / 2,
              {showElementValues, showElementNames});
}

TCustomCircuitElement* FindElementAt(TPoint p, TCustomCircuitElement* element) {
    if (!element) return nullptr;
    if (element->ElementType() != etGroup)
        return Contains(element->DrawnRect, p) ? element : nullptr;
    // Members before their group, in member order: a post-order walk.
    std::vector<std::pair<TCircuitElementGroup*, int>> stack{
        {static_cast<TCircuitElementGroup*>(element), 0}};
    while (!stack.empty()) {
        auto& [group, next] = stack.back();
        if (next == group->Count()) {
            if (Contains(group->DrawnRect, p)) return group;
            stack.pop_back();
            continue;
        }
        TCustomCircuitElement* member = group->Items(next++);
        if (member->ElementType() == etGroup)
            stack.push_back({static_cast<TCircuitElementGroup*>(member), 0});
        else if (Contains(member->DrawnRect, p))
            return member;
    }
    return nullptr;
}

}  // namespace zeigora
