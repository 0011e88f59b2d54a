#include "circuit/circcalc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "circuit/circuitquery.h"
#include "circuit_support.h"

namespace zeigora {
namespace {

using test::SameBits;

struct Expected {
    const char* What;
    double Re;
    double Im;
    double Tolerance;
};

// The default circuit at 50 Hz and 230 V.
class DefaultCircuit : public ::testing::Test {
  protected:
    std::unique_ptr<TCircuitElementGroup> circuit = MakeDefaultCircuit();
    TCircuitSupply supply;
    TCustomCircuitElement& resistor = *circuit->Items(0);
    TCircuitElementGroup& tank = static_cast<TCircuitElementGroup&>(*circuit->Items(1));
    TCustomCircuitElement& coil = *tank.Items(0);
};

TEST_F(DefaultCircuit, Figures) {
    const TComplex z = circuit->GetImpedance(supply);
    const Expected table[] = {
        {"tank impedance", 0.0, 97.1235, 5e-5},
        {"circuit impedance", 2200.0, 97.1235, 5e-5},
        {"circuit current", 0.104342, -0.004606, 5e-7},
        {"tank voltage", 0.4474, 10.1341, 5e-5},
        {"coil current", 0.107526, -0.004747, 5e-7},
        {"circuit power", 23.9987, 1.0595, 5e-5},
        {"resistor voltage", 229.5526, -10.1341, 5e-5},
    };
    const TComplex values[] = {
        tank.GetImpedance(supply),    z,
        GetCurrent(*circuit, supply), GetVoltage(tank, supply),
        GetCurrent(coil, supply),     GetPower(*circuit, supply),
        GetVoltage(resistor, supply),
    };
    for (std::size_t i = 0; i < std::size(table); ++i) {
        SCOPED_TRACE(table[i].What);
        EXPECT_NEAR(values[i].Re, table[i].Re, table[i].Tolerance);
        EXPECT_NEAR(values[i].Im, table[i].Im, table[i].Tolerance);
    }
    EXPECT_NEAR(z.Abs, 2202.14, 5e-3);
    EXPECT_NEAR(z.Phase * 180.0 / std::numbers::pi, 2.528, 5e-4);
    EXPECT_TRUE(SameBits(GetVoltage(*circuit, supply), supply.SupplyVoltage));
}

TEST(CircuitElements, ReactancesAndHelpers) {
    TCircuitSupply supply;
    EXPECT_EQ(supply.Omega, static_cast<double>(2.0L * std::numbers::pi_v<long double> * 50));
    const TComplex zl = TCoil(0.3).GetImpedance(supply);
    EXPECT_DOUBLE_EQ(zl.Im, supply.Omega * 0.3);
    EXPECT_EQ(zl.Phase, 1.5707963267948966);
    const TComplex zc = TCapacitor(1e-6).GetImpedance(supply);
    EXPECT_DOUBLE_EQ(zc.Im, -1.0 / (supply.Omega * 1e-6));
    EXPECT_NE(zc.Re, 0.0);  // polar product: X*cos(3pi/2), not zero
    const TComplex s = MulConj(MakeComplex(0, 2), MakeComplex(0, 1));
    EXPECT_NEAR(s.Re, 2.0, 1e-15);
    EXPECT_NEAR(s.Im, 0.0, 1e-15);
}

TEST(CircuitElements, EmptyAndSingleElementGroups) {
    TCircuitSupply supply;
    TCircuitElementGroup empty;
    const TComplex z = empty.GetImpedance(supply);
    EXPECT_TRUE(SameBits(z, ComplexZero));
    const TComplex i = GetCurrent(empty, supply);
    EXPECT_EQ(i.Re, INFINITY);
    EXPECT_TRUE(std::isnan(i.Im));
    EXPECT_EQ(i.Abs, INFINITY);
    EXPECT_EQ(i.Phase, 0.0);
    empty.IsParallel = true;
    EXPECT_EQ(empty.GetImpedance(supply).Abs, INFINITY);

    for (bool parallel : {false, true}) {
        TCircuitElementGroup g;
        g.IsParallel = parallel;
        g.Add(std::make_unique<TCapacitor>(DefaultCapacitance));
        const TComplex single = g.GetImpedance(supply);
        const TComplex alone = g.Items(0)->GetImpedance(supply);
        EXPECT_NEAR(single.Re, alone.Re, 1e-12 * alone.Abs) << parallel;
        EXPECT_NEAR(single.Im, alone.Im, 1e-12 * alone.Abs) << parallel;
    }
}

TEST(CircuitElements, NamesAreCutTo255) {
    TResistor r(1.0);
    r.Name = std::string(300, 'x');
    EXPECT_EQ(r.Name.Length, 255);
    EXPECT_EQ(r.Name.Str(), std::string(255, 'x'));
}

TEST(CircuitGroup, IndexOfAndMoving) {
    auto circuit = MakeDefaultCircuit();
    TResistor stranger(1.0);
    EXPECT_EQ(circuit->IndexOf(&stranger), -1);
    EXPECT_EQ(circuit->Items(2), nullptr);
    auto* tank = static_cast<TCircuitElementGroup*>(circuit->Items(1));
    TCustomCircuitElement* coil = tank->Items(0);
    // Moving an element: detach it alive, then add it elsewhere.
    std::unique_ptr<TCustomCircuitElement> moved = tank->Delete(0, true, false);
    ASSERT_EQ(moved.get(), coil);
    EXPECT_EQ(coil->Parent(), nullptr);
    circuit->Add(std::move(moved));
    EXPECT_EQ(circuit->IndexOf(coil), 2);
    EXPECT_EQ(coil->Parent(), circuit.get());
    // A group is never added inside itself; the caller keeps it.
    std::unique_ptr<TCircuitElementGroup> lone(
        static_cast<TCircuitElementGroup*>(circuit->Delete(1, false, false).release()));
    EXPECT_EQ(lone->Add(std::move(lone)), nullptr);
    ASSERT_NE(lone, nullptr);
    EXPECT_EQ(lone->Count(), 1);
}

TEST(CircuitGroup, DeletionClimbsThroughEmptyGroups) {
    struct Case {
        bool RemoveEmpty;
        int OuterCount;
    };
    for (const Case c : {Case{true, 0}, Case{false, 1}}) {
        auto circuit = std::make_unique<TCircuitElementGroup>();
        auto* a = circuit->Add(std::make_unique<TCircuitElementGroup>());
        auto* b = a->Add(std::make_unique<TCircuitElementGroup>());
        auto* leaf = b->Add(std::make_unique<TResistor>(1.0));
        EXPECT_TRUE(leaf->RemoveFromParent(c.RemoveEmpty));
        EXPECT_EQ(circuit->Count(), c.OuterCount) << c.RemoveEmpty;
    }
    // Climbing stops at a group that keeps a member; the outermost group stays.
    auto circuit = MakeDefaultCircuit();
    auto* tank = static_cast<TCircuitElementGroup*>(circuit->Items(1));
    tank->Delete(0, true, true);
    EXPECT_EQ(circuit->Count(), 2);
    tank->Delete(0, true, true);
    EXPECT_EQ(circuit->Count(), 1);
    circuit->Items(0)->RemoveFromParent(true);
    EXPECT_EQ(circuit->Count(), 0);
    EXPECT_EQ(circuit->Name.Str(), "Schaltung 1");
    EXPECT_FALSE(circuit->RemoveFromParent(true));
}

TEST(CircuitGroup, DeepChainsNeedNoRecursion) {
    constexpr int depth = 200000;
    TCircuitSupply supply;
    auto root = std::make_unique<TCircuitElementGroup>();
    TCircuitElementGroup* g = root.get();
    for (int i = 0; i < depth; ++i)
        g = g->Add(std::make_unique<TCircuitElementGroup>());
    TCustomCircuitElement* leaf = g->Add(std::make_unique<TResistor>(5.0));
    EXPECT_EQ(root->GetImpedance(supply).Re, 5.0);
    const auto results = ComputeAll(*root, supply);
    EXPECT_EQ(results.back().Depth, depth + 1);
    EXPECT_NEAR(results.back().I.Re, 46.0, 1e-12);
    leaf->RemoveFromParent(true);  // empties the whole chain
    EXPECT_EQ(root->Count(), 0);
    g = root.get();
    for (int i = 0; i < depth; ++i)
        g = g->Add(std::make_unique<TCircuitElementGroup>());
    root.reset();
}

TEST(ComputeAll, MatchesPerElementQueriesBitwise) {
    TCircuitSupply supply;
    supply.Omega = FrequencyToOmega(1234.5);
    supply.SupplyVoltage = MakeComplex(100, -30);
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        auto circuit = test::MakeRandomCircuit(seed, 60, 8);
        const auto results = ComputeAll(*circuit, supply);
        ASSERT_EQ(results.size(), 60u);
        for (const TElementResult& r : results) {
            const TCustomCircuitElement& e = *r.Element;
            ASSERT_TRUE(SameBits(r.Z, e.GetImpedance(supply))) << seed;
            ASSERT_TRUE(SameBits(r.U, GetVoltage(e, supply))) << seed;
            ASSERT_TRUE(SameBits(r.I, GetCurrent(e, supply))) << seed;
            ASSERT_TRUE(SameBits(r.S, GetPower(e, supply))) << seed;
            if (r.Parent >= 0) {
                EXPECT_EQ(results[r.Parent].Element, e.Parent());
                EXPECT_EQ(results[r.Parent].Depth + 1, r.Depth);
            }
        }
    }
}

}  // namespace
}  // namespace zeigora
