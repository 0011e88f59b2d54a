#include "circuit/circcalc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "circuit/circuitquery.h"
#include "random_circuit.h"

namespace zeigora {
namespace {

bool SameBits(const TComplex& a, const TComplex& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(CircuitCalc, DefaultCircuitFigures) {
    const auto circuit = MakeDefaultCircuit();
    const TCircuitSupply supply;  // 50 Hz, 230 V
    auto& tank = static_cast<TCircuitElementGroup&>(*circuit->Items(1));
    const struct {
        const char* What;
        TComplex Value;
        double Re, Im, Tolerance;
    } table[] = {
        {"circuit impedance", circuit->GetImpedance(supply), 2200.0, 97.1235, 5e-5},
        {"circuit current", GetCurrent(*circuit, supply), 0.104342, -0.004606, 5e-7},
        {"tank voltage", GetVoltage(tank, supply), 0.4474, 10.1341, 5e-5},
        {"coil current", GetCurrent(*tank.Items(0), supply), 0.107526, -0.004747, 5e-7},
        {"circuit power", GetPower(*circuit, supply), 23.9987, 1.0595, 5e-5},
        {"resistor voltage", GetVoltage(*circuit->Items(0), supply), 229.5526, -10.1341, 5e-5},
    };
    for (const auto& t : table) {
        EXPECT_NEAR(t.Value.Re, t.Re, t.Tolerance) << t.What;
        EXPECT_NEAR(t.Value.Im, t.Im, t.Tolerance) << t.What;
    }
    EXPECT_TRUE(SameBits(GetVoltage(*circuit, supply), supply.SupplyVoltage));
}

TEST(CircuitCalc, ReactancesAndEdgeCases) {
    const TCircuitSupply supply;
    EXPECT_EQ(supply.Omega, static_cast<double>(2.0L * std::numbers::pi_v<long double> * 50));
    const TComplex zl = TCoil(0.3).GetImpedance(supply);
    EXPECT_DOUBLE_EQ(zl.Im, supply.Omega * 0.3);
    EXPECT_EQ(zl.Phase, 1.5707963267948966);
    const TComplex zc = TCapacitor(1e-6).GetImpedance(supply);
    EXPECT_DOUBLE_EQ(zc.Im, -1.0 / (supply.Omega * 1e-6));
    EXPECT_NE(zc.Re, 0.0);       // polar product: X*cos(3pi/2), not zero
    TCircuitElementGroup empty;  // a series group without members is a short circuit
    EXPECT_TRUE(SameBits(empty.GetImpedance(supply), ComplexZero));
    EXPECT_EQ(GetCurrent(empty, supply).Abs, INFINITY);
    empty.IsParallel = true;
    EXPECT_EQ(empty.GetImpedance(supply).Abs, INFINITY);
}

TEST(CircuitGroup, MovingAndDeleting) {
    auto circuit = MakeDefaultCircuit();
    // A group is never added inside itself; the caller keeps it.
    std::unique_ptr<TCircuitElementGroup> lone(
        static_cast<TCircuitElementGroup*>(circuit->Delete(1, false, false).release()));
    EXPECT_EQ(lone->Add(std::move(lone)), nullptr);
    ASSERT_NE(lone, nullptr);
    EXPECT_EQ(lone->Count(), 2);

    // Deleting climbs through groups left empty, but the outermost group stays.
    for (bool removeEmpty : {true, false}) {
        TCircuitElementGroup root;
        auto* b = root.Add(std::make_unique<TCircuitElementGroup>())
                      ->Add(std::make_unique<TCircuitElementGroup>());
        EXPECT_TRUE(b->Add(std::make_unique<TResistor>(1.0))->RemoveFromParent(removeEmpty));
        EXPECT_EQ(root.Count(), removeEmpty ? 0 : 1);
        EXPECT_FALSE(root.RemoveFromParent(true));
    }
}

TEST(CircuitGroup, DeepChainsNeedNoRecursion) {
    constexpr int depth = 200000;
    auto root = std::make_unique<TCircuitElementGroup>();
    TCircuitElementGroup* g = root.get();
    for (int i = 0; i < depth; ++i)
        g = g->Add(std::make_unique<TCircuitElementGroup>());
    TCustomCircuitElement* leaf = g->Add(std::make_unique<TResistor>(5.0));
    const auto results = ComputeAll(*root, TCircuitSupply{});
    EXPECT_EQ(results.back().Depth, depth + 1);
    EXPECT_NEAR(results.back().I.Re, 46.0, 1e-12);
    leaf->RemoveFromParent(true);  // empties the whole chain
    EXPECT_EQ(root->Count(), 0);
    g = root.get();
    for (int i = 0; i < depth; ++i)
        g = g->Add(std::make_unique<TCircuitElementGroup>());
    root.reset();  // destroyed without recursion
}

TEST(CircuitCalc, ComputeAllMatchesPerElementQueriesBitwise) {
    TCircuitSupply supply;
    supply.Omega = FrequencyToOmega(1234.5);
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        auto circuit = test::MakeRandomCircuit(seed, 60, 8);
        const auto results = ComputeAll(*circuit, supply);
        ASSERT_EQ(results.size(), 60u);
        for (const TElementResult& r : results) {
            const TCustomCircuitElement& e = *r.Element;
            ASSERT_TRUE(SameBits(r.Z, e.GetImpedance(supply)) &&
                        SameBits(r.U, GetVoltage(e, supply)) &&
                        SameBits(r.I, GetCurrent(e, supply)) && SameBits(r.S, GetPower(e, supply)))
                << seed;
            if (r.Parent >= 0) {
                EXPECT_EQ(results[r.Parent].Element, e.Parent());
                EXPECT_EQ(results[r.Parent].Depth + 1, r.Depth);
            }
        }
    }
}

}  // namespace
}  // namespace zeigora
