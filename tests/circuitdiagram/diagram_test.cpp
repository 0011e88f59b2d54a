// The schematic's layout: the default circuit in the default diagram to the pixel, parallel
// groups with uneven and empty branches, labels, and the size a diagram needs for nothing to
// overlap or leave the picture; picking the element under the pointer.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <limits>
#include <vector>

#include "circuitdiagram/diagram_support.h"
#include "complex/numtext.h"

namespace zeigora {
namespace {

class DefaultDiagram : public ::testing::Test {
  protected:
    void SetUp() override { SetDecimalSeparator(','); }
    TRecordingCanvas Record(bool values, bool names) {
        TRecordingCanvas rec(Picture.Canvas);
        DrawCircuit(rec, *Circuit, DefaultDiagramHeight, values, names);
        return rec;
    }
    TDiagramPicture Picture{DefaultDiagramWidth, DefaultDiagramHeight};
    std::unique_ptr<TCircuitElementGroup> Circuit = MakeDefaultCircuit();
    TCircuitElementGroup* Tank = static_cast<TCircuitElementGroup*>(Circuit->Items(1));
};

TEST_F(DefaultDiagram, LinesAtTheirPixels) {
    DrawCircuit(Picture.Canvas, *Circuit, DefaultDiagramHeight, false, false);
    const TRect black[] = {
        // inclusive pixel runs
        {20, 86, 49, 86},     {50, 76, 99, 76},     {50, 95, 99, 95},     {50, 76, 50, 95},
        {99, 76, 99, 95},     {100, 86, 159, 86},   {160, 43, 160, 128},  {160, 43, 189, 43},
        {160, 129, 189, 129}, {190, 33, 239, 52},   {190, 129, 209, 129}, {210, 119, 210, 138},
        {220, 119, 220, 138}, {221, 129, 239, 129}, {269, 43, 269, 128},  {270, 86, 299, 86},
    };
    for (const TRect& r : black)
        for (int y = r.Top; y <= r.Bottom; ++y)
            for (int x = r.Left; x <= r.Right; ++x)
                ASSERT_TRUE(Picture.Black(x, y)) << x << "," << y;
    const TPoint white[] = {{19, 86},  {75, 86},   {160, 42}, {160, 130}, {215, 129},
                            {269, 42}, {269, 130}, {300, 86}, {75, 30},   {215, 20}};
    for (const TPoint p : white)
        EXPECT_TRUE(Picture.White(p.X, p.Y)) << p.X << "," << p.Y;
}

TEST_F(DefaultDiagram, LabelsCentredAboveTheSymbols) {
    const std::string texts[] = {"R (2,2kOhm)", "L (300mH)", "C (1\265F)"};
    const TPoint centres[] = {{75, 86}, {215, 43}, {215, 129}};
    const TRecordingCanvas rec = Record(true, true);
    ASSERT_EQ(rec.Texts.size(), 3u);
    EXPECT_EQ(rec.VerticalLines(), 4);  // equal branches: nothing extended
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rec.Texts[i].Text, texts[i]);
        EXPECT_EQ(rec.Texts[i].X, centres[i].X - Picture.Canvas.TextWidth(texts[i]) / 2);
        EXPECT_EQ(rec.Texts[i].Y, centres[i].Y - 10 - Picture.Canvas.TextHeight(texts[i]));
    }
    EXPECT_TRUE(Record(false, false).Texts.empty());
    TResistor r(DefaultResistance);
    r.ElementValue = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(ElementLabel(r, {true, false}), " (NaNOhm)");
}

class DiagramGroups : public ::testing::Test {
  protected:
    TDiagramPicture Picture{400, 300};
    TRecordingCanvas Rec{Picture.Canvas};
    std::unique_ptr<TCircuitElementGroup> G = Group(true);
};

TEST_F(DiagramGroups, BranchLinesAndHeightsSplitWithTruncation) {
    // Three branches in 101 pixels: lines at 50, 100 and 151; each branch gets 33.
    AddResistor(*G);
    TCircuitElementGroup* inner = AddGroup(*G, true);
    AddResistor(*inner);
    AddResistor(*inner);
    TResistor* last = AddResistor(*G);
    DrawGroup(Rec, *G, 0, 100, 101, {});
    EXPECT_TRUE(Rec.HasLine({30, 50}, {30, 151}));
    EXPECT_TRUE(Rec.HasLine({60, 100 - 16}, {60, 100 - 16 + 33}));  // inner bus bar
    EXPECT_EQ(last->DrawnRect.Top, 151 - 14);
}

TEST_F(DiagramGroups, EmptyGroupsAndBranches) {
    auto g = Group(false);
    AddResistor(*g);
    TCircuitElementGroup* empty = AddGroup(*g, true);
    TResistor* r = AddResistor(*g);
    empty->DrawnRect = {1, 2, 3, 4};
    EXPECT_EQ(DrawElement(Rec, *empty, 7, 50, 40, {}), 7);
    EXPECT_TRUE(Rec.Lines.empty());
    EXPECT_EQ(DrawGroup(Rec, *g, 20, 50, 40, {}), 240);
    EXPECT_EQ(r->DrawnRect.Left, 130 + 26);
    EXPECT_EQ(empty->DrawnRect, (TDrawnRect{1, 2, 3, 4}));
    // An empty branch of a parallel group becomes a wire.
    AddResistor(*G);
    AddGroup(*G, false);
    EXPECT_EQ(DrawGroup(Rec, *G, 0, 100, 100, {}), 170);
    EXPECT_TRUE(Rec.HasLine({30, 150}, {140, 150}));
    // An empty circuit draws nothing.
    Rec.Lines.clear();
    auto none = Group(false);
    DrawCircuit(Rec, *none, 173, false, true);
    EXPECT_TRUE(Rec.Lines.empty());
    EXPECT_EQ(none->DrawnRect, (TDrawnRect{16, INT_MAX - 4, 24, 4}));
}

TEST_F(DiagramGroups, DeepNestingNeedsNoCallStack) {
    auto root = Group(false);
    TCircuitElementGroup* g = root.get();
    for (int i = 0; i < 100000; ++i)
        g = AddGroup(*g, i % 2 == 1);
    TResistor* r = AddResistor(*g);
    DrawCircuit(Rec, *root, 173, true, true);
    EXPECT_EQ(r->DrawnRect.Top, 86 - 14);
    EXPECT_EQ(FindElementAt({r->DrawnRect.Left, 86}, root.get()), r);
}

// Drawn at its needed size, no part (widened upwards by its label) overlaps another and
// nothing leaves the picture.
TEST(NeededDiagramSize, WideNestedTreeDrawsWithoutOverlap) {
    auto wide = Group(true);  // forty branches, some of them parallel groups themselves
    for (int i = 0; i < 40; ++i) {
        if (i % 7 != 3) {
            AddResistor(*wide);
            continue;
        }
        TCircuitElementGroup* inner = AddGroup(*wide, true);
        for (int k = 0; k < 3; ++k)
            AddResistor(*AddGroup(*inner, false));
    }
    TCircuitElementGroup& root = *wide;
    const TDiagramLabels labels{true, true};
    TDiagramPicture metrics(10, 10);
    const TDiagramSize size = NeededDiagramSize(metrics.Canvas, root, labels);
    TDiagramPicture picture(size.Width, size.Height);
    DrawCircuit(picture.Canvas, root, size.Height, labels.ShowElementValues,
                labels.ShowElementNames);
    std::vector<TDrawnRect> boxes;
    std::function<void(const TCustomCircuitElement&)> walk = [&](const auto& e) {
        if (e.ElementType() == etGroup) {
            const auto& g = static_cast<const TCircuitElementGroup&>(e);
            for (int i = 0; i < g.Count(); ++i)
                walk(*g.Items(i));
            return;
        }
        TDrawnRect r = e.DrawnRect;
        const std::string text = ElementLabel(e, labels);
        if (!text.empty()) r.Top = std::min(r.Top, r.Top + 4 - picture.Canvas.TextHeight(text));
        boxes.push_back(r);
    };
    walk(root);
    boxes.push_back(root.DrawnRect);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const TDrawnRect& a = boxes[i];
        EXPECT_GE(a.Top, 0);
        EXPECT_LE(a.Bottom, size.Height);
        EXPECT_LE(a.Right, size.Width);
        for (std::size_t j = i + 1; j + 1 < boxes.size(); ++j) {
            const TDrawnRect& b = boxes[j];
            ASSERT_FALSE(a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom &&
                         b.Top < a.Bottom)
                << i << " and " << j;
        }
    }
}

TEST(NeededDiagramSize, HopelessNestingIsCapped) {
    auto root = Group(true);
    TCircuitElementGroup* g = root.get();
    for (int level = 0; level < 64; ++level) {
        AddResistor(*g);
        g = AddGroup(*g, true);
        AddResistor(*g);
    }
    TDiagramPicture metrics(10, 10);
    const TDiagramSize size = NeededDiagramSize(metrics.Canvas, *root, {});
    EXPECT_EQ(size.Height, MaxNeededDiagramSide);
    EXPECT_GT(size.Width, 64 * 2 * GroupLeadLength);
}

// Picking the element under the pointer from the rectangles of the last drawing.
TEST_F(DefaultDiagram, FindElementAtInsideAndOnTheEdges) {
    DrawCircuit(Picture.Canvas, *Circuit, DefaultDiagramHeight, false, true);
    // R spans (46, 72)-(104, 100), the tank (126, 25)-(304, 147), the circuit (16, 25)-(304, 147);
    // left and top edges are inside, right and bottom ones outside; O is the circuit.
    const TCustomCircuitElement *R = Circuit->Items(0), *O = Circuit.get(), *T = Tank,
                                *L = Tank->Items(0), *C = Tank->Items(1);
    const struct {
        int X, Y;
        const TCustomCircuitElement* Expected;
    } cases[] = {{75, 86, R},   {46, 72, R},    {103, 99, R}, {104, 86, O}, {75, 100, O},
                 {215, 43, L},  {215, 129, C},  {215, 86, T}, {126, 25, T}, {303, 146, T},
                 {304, 86, {}}, {200, 147, {}}, {15, 86, {}}, {16, 86, O}};
    for (const auto& c : cases)
        EXPECT_EQ(FindElementAt({c.X, c.Y}, Circuit.get()), c.Expected) << c.X << "," << c.Y;
    EXPECT_EQ(FindElementAt({75, 86}, nullptr), nullptr);
}

}  // namespace
}  // namespace zeigora
