#include "circuit/circuitsweep.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>
#include <vector>

#include "circuit/circuitquery.h"
#include "random_circuit.h"

namespace zeigora {
namespace {

using Cx = std::complex<double>;

bool SameBits(const TComplex& a, const TComplex& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Independent of the model: textbook formulas in std::complex, recursive over the tree.
Cx TextbookZ(const TCustomCircuitElement& e, double omega) {
    switch (e.ElementType()) {
        case etResistor:
            return {e.ElementValue, 0.0};
        case etCoil:
            return {0.0, omega * e.ElementValue};
        case etCapacitor:
            return {0.0, -1.0 / (omega * e.ElementValue)};
        default:
            break;
    }
    const auto& g = static_cast<const TCircuitElementGroup&>(e);
    Cx sum = 0.0;
    for (int k = 0; k < g.Count(); ++k)
        sum += g.IsParallel ? 1.0 / TextbookZ(*g.Items(k), omega) : TextbookZ(*g.Items(k), omega);
    return g.IsParallel ? 1.0 / sum : sum;
}

struct TTextbookUI {
    Cx U, I;
};

TTextbookUI TextbookUI(const TCustomCircuitElement& e, double omega, Cx supply) {
    if (e.Parent() == nullptr) return {supply, supply / TextbookZ(e, omega)};
    const TTextbookUI group = TextbookUI(*e.Parent(), omega, supply);
    const Cx z = TextbookZ(e, omega);
    if (e.Parent()->IsParallel) return {group.U, group.U / z};
    return {z * group.I, group.I};
}

void ExpectClose(const TComplex& model, Cx textbook, const char* what) {
    const double scale = std::max(std::abs(textbook), 1e-12);
    EXPECT_LT(std::abs(Cx(model.Re, model.Im) - textbook) / scale, 1e-7)
        << what << ": " << model.Re << " " << model.Im << " vs " << textbook;
}

TEST(CircuitSweep, AxisPoints) {
    const struct {
        double From, To;
        int Points;
        bool Linear;
        std::vector<double> Want;
    } table[] = {
        {10, 1000, 3, false, {10, 100, 1000}},
        {1, 16, 5, false, {1, 2, 4, 8, 16}},
        {10, 20, 3, true, {10, 15, 20}},
        {-1, 1, 5, true, {-1, -0.5, 0, 0.5, 1}},
        {50, 70, 1, false, {50}},
    };
    for (const auto& t : table)
        EXPECT_EQ(SweepAxis(t.From, t.To, t.Points, t.Linear), t.Want) << t.From << " " << t.To;
}

// Every point against the textbook solver and, bit for bit, against the circuit model.
TEST(CircuitSweep, RandomCircuitsAgreeWithTextbookAndModel) {
    const std::vector<double> frequencies = SweepAxis(3.0, 3e5, 9, false);
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        const auto circuit = test::MakeRandomCircuit(seed, 25, 5);
        const std::vector<TCircuitNode> nodes = FlattenCircuit(*circuit);
        TCircuitSupply supply;
        supply.SupplyVoltage = MakeComplex(120.0, -35.0);
        const int element = static_cast<int>(seed * 7 % nodes.size());
        const TCircuitSweeper sweeper(*circuit, supply, element);
        const std::vector<TSweepPoint> points = sweeper.Run(frequencies);
        for (const TSweepPoint& p : points) {
            TCircuitSupply at = supply;
            at.Omega = FrequencyToOmega(p.X);
            const TElementResult r = ComputeAll(*circuit, at)[static_cast<std::size_t>(element)];
            EXPECT_TRUE(SameBits(p.Z, r.Z) && SameBits(p.U, r.U) && SameBits(p.I, r.I))
                << "seed " << seed << " f " << p.X;
            EXPECT_TRUE(SameBits(SweepValue(p, TSweepQuantity::S), r.S));
            const auto& e = *nodes[static_cast<std::size_t>(element)].Element;
            const TTextbookUI ui = TextbookUI(e, at.Omega, {120.0, -35.0});
            ExpectClose(p.Z, TextbookZ(e, at.Omega), "Z");
            ExpectClose(SweepValue(p, TSweepQuantity::Y), 1.0 / TextbookZ(e, at.Omega), "Y");
            ExpectClose(p.U, ui.U, "U");
            ExpectClose(p.I, ui.I, "I");
        }
    }
}

// Sweeping a value gives what the model gives with that value put into the element.
TEST(CircuitSweep, ValueSweepMatchesEditedCircuit) {
    auto circuit = test::MakeRandomCircuit(99, 30, 4);
    const std::vector<TCircuitNode> nodes = FlattenCircuit(*circuit);
    int vary = 1;
    while (nodes[static_cast<std::size_t>(vary)].Element->ElementType() == etGroup)
        ++vary;
    const TCircuitSupply supply;
    const TCircuitSweeper sweeper(*circuit, supply, 0, vary);
    auto* varied =
        const_cast<TCustomCircuitElement*>(nodes[static_cast<std::size_t>(vary)].Element);
    for (const TSweepPoint& p : sweeper.Run(SweepAxis(1e-7, 1e4, 12, false))) {
        varied->ElementValue = p.X;
        const TElementResult r = ComputeAll(*circuit, supply)[0];
        EXPECT_TRUE(SameBits(p.Z, r.Z) && SameBits(p.I, r.I)) << p.X;
    }
}

// A sweep big enough to be shared among threads gives the points one by one would.
TEST(CircuitSweep, SharedSweepEqualsPointByPoint) {
    const auto circuit = test::MakeRandomCircuit(7, 2000, 8);
    const TCircuitSweeper sweeper(*circuit, TCircuitSupply{}, 1500);
    const std::vector<double> xs = SweepAxis(10.0, 1e5, 101, false);
    const std::vector<TSweepPoint> points = sweeper.Run(xs);
    ASSERT_EQ(points.size(), xs.size());
    for (std::size_t k = 0; k < xs.size(); k += 10) {
        const TSweepPoint one = sweeper.At(xs[k]);
        EXPECT_TRUE(SameBits(points[k].Z, one.Z) && SameBits(points[k].U, one.U) &&
                    SameBits(points[k].I, one.I))
            << k;
    }
}

std::unique_ptr<TCircuitElementGroup> SeriesRLC(double r, double l, double c) {
    auto g = std::make_unique<TCircuitElementGroup>();
    g->Add(std::make_unique<TResistor>(r));
    g->Add(std::make_unique<TCoil>(l));
    g->Add(std::make_unique<TCapacitor>(c));
    return g;
}

double Thomson(double l, double c) {
    return 1.0 / (2.0 * std::numbers::pi * std::sqrt(l * c));
}

TEST(CircuitSweep, Resonances) {
    const auto rlc = SeriesRLC(10.0, 0.1, 1e-5);  // 159,155 Hz
    const auto tank = MakeDefaultCircuit();       // tank L 0,3 H, C 1 uF: 290,576 Hz
    auto plain = std::make_unique<TCircuitElementGroup>();
    plain->Add(std::make_unique<TResistor>(50.0));
    const struct {
        const TCircuitElementGroup* Circuit;
        int Element;
        std::vector<double> Want;
    } table[] = {
        {rlc.get(), 0, {Thomson(0.1, 1e-5)}},
        {tank.get(), 0, {Thomson(0.3, 1e-6)}},
        {tank.get(), 2, {}},  // the coil alone
        {plain.get(), 0, {}},
    };
    for (const auto& t : table) {
        const TCircuitSweeper sweeper(*t.Circuit, TCircuitSupply{}, t.Element);
        const auto found = sweeper.Resonances(sweeper.Run(SweepAxis(10.0, 1e4, 201, false)));
        ASSERT_EQ(found.size(), t.Want.size());
        for (std::size_t k = 0; k < found.size(); ++k)
            EXPECT_NEAR(found[k], t.Want[k], 2e-9 * t.Want[k]);
    }
    EXPECT_NEAR(Thomson(0.1, 1e-5), 159.155, 5e-4);
}

}  // namespace
}  // namespace zeigora
