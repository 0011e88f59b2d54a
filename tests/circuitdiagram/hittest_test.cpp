// Picking the element under the pointer from the rectangles of the last drawing.
#include <gtest/gtest.h>

#include "circuitdiagram/diagram_support.h"

namespace zeigora {
namespace {

using testing::AddResistor;
using testing::Group;
using testing::TDiagramPicture;

TEST(FindElementAt, DefaultCircuitInsideAndOnTheEdges) {
    TDiagramPicture picture(DefaultDiagramWidth, DefaultDiagramHeight);
    auto circuit = MakeDefaultCircuit();
    DrawCircuit(picture.Canvas, *circuit, DefaultDiagramHeight, false, true);
    TCustomCircuitElement* r = circuit->Items(0);
    auto* tank = static_cast<TCircuitElementGroup*>(circuit->Items(1));
    TCustomCircuitElement* coil = tank->Items(0);
    TCustomCircuitElement* cap = tank->Items(1);
    struct TCase {
        TPoint P;
        TCustomCircuitElement* Expected;
    };
    // R spans (46, 72)-(104, 100), the tank (126, 25)-(304, 147), the circuit (16, 25)-(304, 147).
    const TCase cases[] = {
        {{75, 86}, r},
        {{46, 72}, r},  // left and top edges are inside
        {{103, 99}, r},
        {{104, 86}, circuit.get()},  // right edge is outside R
        {{75, 100}, circuit.get()},  // bottom edge too
        {{215, 43}, coil},
        {{215, 129}, cap},
        {{215, 86}, tank},  // between the branches: the group around them
        {{126, 25}, tank},
        {{303, 146}, tank},
        {{304, 86}, nullptr},
        {{200, 147}, nullptr},
        {{15, 86}, nullptr},
        {{16, 86}, circuit.get()},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(FindElementAt(c.P, circuit.get()), c.Expected) << c.P.X << "," << c.P.Y;
}

TEST(FindElementAt, EarlierMembersWinAndPartsAloneAreTested) {
    auto g = Group(false);
    TResistor* first = AddResistor(*g);
    TResistor* second = AddResistor(*g);
    first->DrawnRect = {0, 0, 10, 10};
    second->DrawnRect = {5, 5, 15, 15};
    g->DrawnRect = {0, 0, 20, 20};
    EXPECT_EQ(FindElementAt({7, 7}, g.get()), first);
    EXPECT_EQ(FindElementAt({12, 12}, g.get()), second);
    EXPECT_EQ(FindElementAt({18, 18}, g.get()), g.get());
    EXPECT_EQ(FindElementAt({7, 7}, second), second);
    EXPECT_EQ(FindElementAt({1, 1}, second), nullptr);
    EXPECT_EQ(FindElementAt({1, 1}, nullptr), nullptr);
}

}  // namespace
}  // namespace zeigora
