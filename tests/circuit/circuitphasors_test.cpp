#include "circuit/circuitphasors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "phasors/recalc.h"

namespace zeigora {
namespace {

TComplex Sum(const std::vector<TDiagramPhasor>& parts) {
    TComplexNumberArray values;
    for (const TDiagramPhasor& p : parts)
        values.push_back(p.Value);
    return ComplexSum(values);
}

std::vector<std::string> Names(const TPhasorArray& list) {
    std::vector<std::string> names;
    for (const TPhasor& p : list)
        names.push_back(p.Name.Str());
    return names;
}

// The default circuit: resistor in series with the tank of coil and capacitor.
TEST(CircuitPhasors, SeriesAndParallelPolygonsClose) {
    const auto circuit = MakeDefaultCircuit();
    const TCircuitSupply supply;
    const TGroupPhasors series = GroupPhasors(*circuit, supply, 0);
    EXPECT_EQ(series.Label, "Schaltung 1");
    ASSERT_EQ(series.Parts.size(), 2u);
    EXPECT_EQ(series.Parts[0].Label, "R1");
    EXPECT_EQ(series.Parts[1].Label, "Schwingkreis 1");
    EXPECT_FALSE(series.PartsAreCurrents());
    const TComplex u = Sum(series.Parts);  // closes on the 230 V supply
    EXPECT_NEAR(u.Re, 230.0, 1e-9);
    EXPECT_NEAR(u.Im, 0.0, 1e-9);
    EXPECT_NEAR(series.Parts[0].Value.Re, 229.5526, 5e-5);  // the resistor's voltage

    const TGroupPhasors tank = GroupPhasors(*circuit, supply, 2);
    EXPECT_TRUE(tank.PartsAreCurrents());
    ASSERT_EQ(tank.Parts.size(), 2u);
    EXPECT_EQ(tank.Parts[0].Label, "L1");
    EXPECT_EQ(tank.Parts[1].Label, "C1");
    const TComplex i = Sum(tank.Parts);
    EXPECT_NEAR(i.Re, tank.I.Re, 1e-12);
    EXPECT_NEAR(i.Im, tank.I.Im, 1e-12);
    EXPECT_NEAR(tank.Parts[0].Value.Re, 0.107526, 5e-7);  // the coil's current

    const TGroupPhasors coil = GroupPhasors(*circuit, supply, 3);  // a single element
    EXPECT_EQ(coil.Kind, etCoil);
    EXPECT_TRUE(coil.Parts.empty());
}

TEST(CircuitPhasors, HandOverNamesAndDefinitions) {
    auto circuit = MakeDefaultCircuit();
    circuit->Items(0)->Name = "Vorwiderstand \xDC";  // cp1252
    const TCircuitSupply supply;
    TPhasorArray list(1, ZeroPhasor());
    list[0].Name = "UVorwiderstandUe";  // taken: the hand-over picks another
    const TPhasorArray series = HandOverPhasors(GroupPhasors(*circuit, supply, 0), list);
    EXPECT_EQ(Names(series), (std::vector<std::string>{"UVorwiderstandUea", "USchwingkreis1",
                                                       "USchaltung1", "ISchaltung1"}));
    EXPECT_EQ(series[2].Definition.Str(), "UVorwiderstandUea+USchwingkreis1");
    EXPECT_EQ(series[0].Scale, 0);
    EXPECT_EQ(series[3].Scale, 1);
    const TPhasorArray tank = HandOverPhasors(GroupPhasors(*circuit, supply, 2), {});
    EXPECT_EQ(Names(tank),
              (std::vector<std::string>{"IL1", "IC1", "ISchwingkreis1", "USchwingkreis1"}));
    EXPECT_EQ(tank[2].Definition.Str(), "IL1+IC1");
    EXPECT_EQ(tank[1].Scale, 1);

    // Handed over together, everything recalculates without errors and the totals agree.
    list.insert(list.end(), series.begin(), series.end());
    const TPhasorArray more = HandOverPhasors(GroupPhasors(*circuit, supply, 2), list);
    EXPECT_EQ(more[3].Name.Str(), "USchwingkreis1a");
    list.insert(list.end(), more.begin(), more.end());
    EXPECT_TRUE(RecalculateAll(list).Errors.empty());
    EXPECT_NEAR(list[3].Value.Re, 230.0, 1e-9);
    EXPECT_NEAR(list[3].Value.Im, 0.0, 1e-9);
}

}  // namespace
}  // namespace zeigora
