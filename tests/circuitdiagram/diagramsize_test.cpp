// The size a diagram needs: drawn at that size, no branch, label or rectangle overlaps
// another and nothing leaves the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "circuitdiagram/diagram_support.h"

namespace zeigora {
namespace {

using testing::AddGroup;
using testing::AddResistor;
using testing::Group;
using testing::TDiagramPicture;
using testing::TRecordingCanvas;

struct TBox {
    int Left, Top, Right, Bottom;
};

bool Overlap(const TBox& a, const TBox& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// Part rectangles widened upwards by their labels.
std::vector<TBox> PartBoxes(const TCircuitElementGroup& root, const TCanvas& metrics,
                            TDiagramLabels labels) {
    std::vector<TBox> boxes;
    std::function<void(const TCustomCircuitElement&)> walk = [&](const TCustomCircuitElement& e) {
        if (e.ElementType() == etGroup) {
            const auto& g = static_cast<const TCircuitElementGroup&>(e);
            for (int i = 0; i < g.Count(); ++i)
                walk(*g.Items(i));
            return;
        }
        const TDrawnRect& r = e.DrawnRect;
        const std::string text = ElementLabel(e, labels);
        const int line = r.Top + 14;
        const int top =
            text.empty() ? r.Top : std::min(r.Top, line - 10 - metrics.TextHeight(text));
        boxes.push_back({r.Left, top, r.Right, r.Bottom});
    };
    walk(root);
    return boxes;
}

void ExpectClearLayout(TCircuitElementGroup& root, TDiagramLabels labels) {
    TDiagramPicture metrics(10, 10);
    const TDiagramSize size = NeededDiagramSize(metrics.Canvas, root, labels);
    TDiagramPicture picture(size.Width, size.Height);
    DrawCircuit(picture.Canvas, root, size.Height, labels.ShowElementValues,
                labels.ShowElementNames);
    const std::vector<TBox> boxes = PartBoxes(root, picture.Canvas, labels);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_GE(boxes[i].Top, 0);
        EXPECT_LE(boxes[i].Bottom, size.Height);
        EXPECT_LE(boxes[i].Right, size.Width);
        for (std::size_t j = i + 1; j < boxes.size(); ++j)
            ASSERT_FALSE(Overlap(boxes[i], boxes[j])) << i << " and " << j;
    }
    EXPECT_GE(root.DrawnRect.Top, 0);
    EXPECT_LE(root.DrawnRect.Bottom, size.Height);
    EXPECT_LE(root.DrawnRect.Right, size.Width);
}

TEST(NeededDiagramSize, DefaultCircuitFitsTheDefaultDiagram) {
    auto circuit = MakeDefaultCircuit();
    TDiagramPicture metrics(10, 10);
    const TDiagramSize size = NeededDiagramSize(metrics.Canvas, *circuit, {true, true});
    EXPECT_GE(size.Width, 304 + DiagramStartX);
    EXPECT_LE(size.Width, DefaultDiagramWidth);
    EXPECT_LE(size.Height, DefaultDiagramHeight);
    ExpectClearLayout(*circuit, {true, true});
}

TEST(NeededDiagramSize, WideAndNestedTreesDrawWithoutOverlap) {
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
    ExpectClearLayout(*wide, {true, true});
    ExpectClearLayout(*wide, {false, false});

    auto deep = Group(false);  // parallel pairs five levels deep
    TCircuitElementGroup* g = deep.get();
    for (int level = 0; level < 5; ++level) {
        g = AddGroup(*g, true);
        AddResistor(*g);
        g = AddGroup(*g, false);
        AddResistor(*g);
    }
    ExpectClearLayout(*deep, {false, true});
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

}  // namespace
}  // namespace zeigora
