// The schematic's layout: the default circuit in the default diagram to the pixel, parallel
// groups with one, uneven and empty branches, labels and the group rectangles.
#include <gtest/gtest.h>

#include <climits>
#include <limits>

#include "circuitdiagram/diagram_support.h"
#include "complex/numtext.h"

namespace zeigora {
namespace {

using testing::AddGroup;
using testing::AddResistor;
using testing::Group;
using testing::TDiagramPicture;
using testing::TRecordingCanvas;

class DefaultDiagram : public ::testing::Test {
  protected:
    void SetUp() override {
        SetDecimalSeparator(',');
        Circuit = MakeDefaultCircuit();
        R = Circuit->Items(0);
        Tank = static_cast<TCircuitElementGroup*>(Circuit->Items(1));
        L = Tank->Items(0);
        C = Tank->Items(1);
    }
    void Draw(bool values = false, bool names = true) {
        DrawCircuit(Picture.Canvas, *Circuit, DefaultDiagramHeight, values, names);
    }
    TRecordingCanvas Record(bool values, bool names) {
        TRecordingCanvas rec(Picture.Canvas);
        DrawCircuit(rec, *Circuit, DefaultDiagramHeight, values, names);
        return rec;
    }

    TDiagramPicture Picture{DefaultDiagramWidth, DefaultDiagramHeight};
    std::unique_ptr<TCircuitElementGroup> Circuit;
    TCustomCircuitElement* R = nullptr;
    TCircuitElementGroup* Tank = nullptr;
    TCustomCircuitElement* L = nullptr;
    TCustomCircuitElement* C = nullptr;
};

TEST_F(DefaultDiagram, RectanglesOfEveryElement) {
    Draw();
    EXPECT_EQ(R->DrawnRect, (TDrawnRect{46, 72, 104, 100}));
    EXPECT_EQ(L->DrawnRect, (TDrawnRect{186, 29, 244, 57}));
    EXPECT_EQ(C->DrawnRect, (TDrawnRect{186, 115, 244, 143}));
    // Groups: from their parts' extent, 4 around, and from start to end along the line.
    EXPECT_EQ(Tank->DrawnRect, (TDrawnRect{126, 25, 304, 147}));
    EXPECT_EQ(Circuit->DrawnRect, (TDrawnRect{16, 25, 304, 147}));
}

TEST_F(DefaultDiagram, LinesAtTheirPixels) {
    Draw(false, false);
    struct TRun {
        int X1, Y1, X2, Y2;  // inclusive pixel run that must be black
    };
    const TRun black[] = {
        {20, 86, 49, 86},  // resistor lead in
        {50, 76, 99, 76},  // resistor box
        {50, 95, 99, 95},     {50, 76, 50, 95},     {99, 76, 99, 95},
        {100, 86, 159, 86},   // resistor lead out and group lead in
        {160, 43, 160, 128},  // bus bar
        {160, 43, 189, 43},   {160, 129, 189, 129}, {190, 33, 239, 52},  // coil, filled
        {190, 129, 209, 129}, {210, 119, 210, 138}, {220, 119, 220, 138},
        {221, 129, 239, 129}, {269, 43, 269, 128},  // closing bar
        {270, 86, 299, 86},                         // lead out
    };
    for (const TRun& r : black)
        for (int y = r.Y1; y <= r.Y2; ++y)
            for (int x = r.X1; x <= r.X2; ++x)
                ASSERT_TRUE(Picture.Black(x, y)) << x << "," << y;
    const TPoint white[] = {{19, 86},  {75, 86},   {160, 42}, {160, 130}, {215, 129},
                            {269, 42}, {269, 130}, {300, 86}, {75, 30},   {215, 20}};
    for (const TPoint p : white)
        EXPECT_TRUE(Picture.White(p.X, p.Y)) << p.X << "," << p.Y;
}

TEST_F(DefaultDiagram, LinesEndWhereTheLayoutSays) {
    const TRecordingCanvas rec = Record(false, true);
    EXPECT_TRUE(rec.HasLine({20, 86}, {50, 86}));
    EXPECT_TRUE(rec.HasLine({130, 86}, {160, 86}));
    EXPECT_TRUE(rec.HasLine({160, 43}, {160, 129}));
    EXPECT_TRUE(rec.HasLine({269, 43}, {269, 129}));
    EXPECT_TRUE(rec.HasLine({270, 86}, {300, 86}));
    // Both branches are 110 long, so nothing is extended.
    EXPECT_EQ(rec.VerticalLines(), 4);
}

TEST_F(DefaultDiagram, LabelsCentredAboveTheSymbols) {
    struct TCase {
        bool Values, Names;
        const char* R;
        const char* L;
        const char* C;
    };
    const TCase cases[] = {
        {false, true, "R", "L", "C"},
        {true, true, "R (2,2kOhm)", "L (300mH)",
         "C (1\xB5"
         "F)"},
        {true, false, " (2,2kOhm)", " (300mH)",
         " (1\xB5"
         "F)"},
    };
    for (const TCase& c : cases) {
        const TRecordingCanvas rec = Record(c.Values, c.Names);
        ASSERT_EQ(rec.Texts.size(), 3u);
        const struct {
            const char* Text;
            int Centre, Line;
        } expected[] = {{c.R, 75, 86}, {c.L, 215, 43}, {c.C, 215, 129}};
        for (int i = 0; i < 3; ++i) {
            const std::string text = expected[i].Text;
            EXPECT_EQ(rec.Texts[i].Text, text);
            EXPECT_EQ(rec.Texts[i].X, expected[i].Centre - Picture.Canvas.TextWidth(text) / 2);
            EXPECT_EQ(rec.Texts[i].Y, expected[i].Line - 10 - Picture.Canvas.TextHeight(text));
        }
    }
    EXPECT_TRUE(Record(false, false).Texts.empty());
}

TEST_F(DefaultDiagram, TextReachesThePicture) {
    Draw(true, true);
    const std::string text = "R (2,2kOhm)";
    const int w = Picture.Canvas.TextWidth(text), h = Picture.Canvas.TextHeight(text);
    int dark = 0;
    for (int y = 76 - h; y < 76; ++y)
        for (int x = 75 - w / 2; x < 75 - w / 2 + w; ++x)
            dark += Picture.White(x, y) ? 0 : 1;
    EXPECT_GT(dark, 10);
}

TEST(DiagramLabel, TextsByOption) {
    SetDecimalSeparator(',');
    TResistor r(DefaultResistance);
    TCoil l(DefaultInductance);
    TCapacitor c(DefaultCapacitance);
    TCircuitElementGroup g;
    EXPECT_EQ(ElementLabel(r, {true, true}), "R (2,2kOhm)");
    EXPECT_EQ(ElementLabel(l, {true, true}), "L (300mH)");
    EXPECT_EQ(ElementLabel(c, {true, true}),
              "C (1\xB5"
              "F)");
    EXPECT_EQ(ElementLabel(r, {true, false}), " (2,2kOhm)");
    EXPECT_EQ(ElementLabel(r, {false, true}), "R");
    EXPECT_EQ(ElementLabel(r, {false, false}), "");
    EXPECT_EQ(ElementLabel(g, {true, true}), "");
    r.ElementValue = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(ElementLabel(r, {true, false}), " (NaNOhm)");
}

class DiagramGroups : public ::testing::Test {
  protected:
    TDiagramPicture Picture{400, 300};
    TRecordingCanvas Rec{Picture.Canvas};
};

TEST_F(DiagramGroups, SingleBranchHasNoBusBars) {
    auto g = Group(true);
    TResistor* r = AddResistor(*g);
    EXPECT_EQ(DrawGroup(Rec, *g, 0, 50, 40, {}), 170);
    EXPECT_EQ(Rec.VerticalLines(), 0);
    EXPECT_EQ(r->DrawnRect, (TDrawnRect{56, 36, 114, 64}));
    EXPECT_EQ(g->DrawnRect, (TDrawnRect{-4, 32, 174, 68}));
}

TEST_F(DiagramGroups, ShorterBranchesAreExtended) {
    auto g = Group(true);
    AddResistor(*g);
    TCircuitElementGroup* pair = AddGroup(*g, false);
    AddResistor(*pair);
    AddResistor(*pair);
    EXPECT_EQ(DrawGroup(Rec, *g, 0, 100, 100, {}), 280);
    EXPECT_TRUE(Rec.HasLine({30, 50}, {30, 150}));
    EXPECT_TRUE(Rec.HasLine({140, 50}, {250, 50}));  // the single resistor's branch
    EXPECT_TRUE(Rec.HasLine({249, 50}, {249, 150}));
    EXPECT_TRUE(Rec.HasLine({250, 100}, {280, 100}));
    EXPECT_EQ(pair->DrawnRect, (TDrawnRect{26, 132, 254, 168}));
}

TEST_F(DiagramGroups, BranchLinesAndHeightsSplitWithTruncation) {
    // Three branches in 101 pixels: lines at 50, 100 and 151; each branch gets 33.
    auto g = Group(true);
    AddResistor(*g);
    TCircuitElementGroup* inner = AddGroup(*g, true);
    AddResistor(*inner);
    AddResistor(*inner);
    TResistor* last = AddResistor(*g);
    DrawGroup(Rec, *g, 0, 100, 101, {});
    EXPECT_TRUE(Rec.HasLine({30, 50}, {30, 151}));
    EXPECT_TRUE(Rec.HasLine({60, 100 - 16}, {60, 100 - 16 + 33}));  // inner bus bar
    EXPECT_EQ(last->DrawnRect.Top, 151 - 14);
}

TEST_F(DiagramGroups, EmptyGroupDrawsNothingAndKeepsItsRectangle) {
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
}

TEST_F(DiagramGroups, EmptyBranchBecomesAWire) {
    auto g = Group(true);
    AddResistor(*g);
    AddGroup(*g, false);
    EXPECT_EQ(DrawGroup(Rec, *g, 0, 100, 100, {}), 170);
    EXPECT_TRUE(Rec.HasLine({30, 150}, {140, 150}));
}

TEST_F(DiagramGroups, EmptyOuterGroupDrawsNothing) {
    auto g = Group(false);
    DrawCircuit(Rec, *g, 173, false, true);
    EXPECT_TRUE(Rec.Lines.empty());
    EXPECT_EQ(g->DrawnRect, (TDrawnRect{16, INT_MAX - 4, 24, 4}));
}

TEST_F(DiagramGroups, DeepNestingNeedsNoCallStack) {
    // Far deeper than any file may nest: drawing and picking walk it without recursion.
    auto root = Group(false);
    TCircuitElementGroup* g = root.get();
    for (int i = 0; i < 100000; ++i)
        g = AddGroup(*g, i % 2 == 1);
    TResistor* r = AddResistor(*g);
    DrawCircuit(Rec, *root, 173, true, true);
    EXPECT_EQ(r->DrawnRect.Top, 86 - 14);
    EXPECT_EQ(FindElementAt({r->DrawnRect.Left, 86}, root.get()), r);
}

}  // namespace
}  // namespace zeigora
