// The pictures of the circuit analysis: the phasor polygon closes on the total, a series RL's
// impedance locus is a straight line and its admittance a semicircle, resonances are labelled.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "circuitplot/phasordiagram.h"
#include "circuitplot/sweepplot.h"
#include "complex/numtext.h"

namespace zeigora {
namespace {

std::unique_ptr<TCircuitElementGroup> Series(double r, double l, double c) {
    auto g = std::make_unique<TCircuitElementGroup>();
    g->Add(std::make_unique<TResistor>(r));
    g->Add(std::make_unique<TCoil>(l));
    if (c > 0) g->Add(std::make_unique<TCapacitor>(c));
    return g;
}

TEST(PhasorDiagram, SeriesPolygonClosesOnTheSupply) {
    const auto rlc = Series(10.0, 0.1, 1e-5);
    TCircuitSupply supply;
    supply.Omega = FrequencyToOmega(120.0);
    TPaintBoxEx surface(800, 600);
    TPhasorDiagramView view;
    RenderPhasorDiagram(surface, GroupPhasors(*rlc, supply, 0), view);
    const TDrawnPhasorArray& d = view.Plane.DrawnPhasors;
    ASSERT_EQ(d.size(), 5u);  // three parts, the total, the current
    const int ox = 400, oy = 300;
    EXPECT_EQ(d[0].X1, ox);
    EXPECT_EQ(d[0].Y1, oy);
    for (int k = 1; k < 3; ++k) {  // head to tail
        EXPECT_EQ(d[k].X1, d[k - 1].X2);
        EXPECT_EQ(d[k].Y1, d[k - 1].Y2);
    }
    EXPECT_EQ(d[3].X1, ox);  // the supply voltage from the origin, ending where the parts end
    EXPECT_NEAR(d[3].X2, d[2].X2, 2);
    EXPECT_NEAR(d[3].Y2, d[2].Y2, 2);
    EXPECT_EQ(d[3].Y2, oy);  // 230 V, real
    // The polygon fills the picture: the margins lie 320 and 240 pixels from the origin.
    int reachX = 0, reachY = 0;
    for (int k = 0; k < 3; ++k) {
        reachX = std::max(reachX, std::abs(d[k].X2 - ox));
        reachY = std::max(reachY, std::abs(d[k].Y2 - oy));
    }
    EXPECT_GT(std::max(reachX * 3 / 4, reachY), 160);
    EXPECT_LE(reachX, 320);
    EXPECT_LE(reachY, 240);
    EXPECT_EQ(view.Phasors[3].Name.Str(), "UZ1");
    EXPECT_EQ(view.Phasors[4].Scale, 1);
    for (const TDrawnPhasor& s : d)
        for (const int x : {s.X1, s.X2})
            EXPECT_TRUE(x >= 0 && x < 800);
}

TSweepPlotOptions Showing(TSweepQuantity q) {
    TSweepPlotOptions o;
    o.Quantity = q;
    return o;
}

TSweepResult Sweep(const TCircuitElementGroup& c, int element, double current = 50.0) {
    const TCircuitSweeper sweeper(c, TCircuitSupply{}, element);
    return RunSweep(sweeper, 10.0, 1e5, 201, false, current);
}

TEST(SweepPlot, SeriesRLImpedanceLineAndAdmittanceCircle) {
    const auto rl = Series(100.0, 0.01, 0.0);
    const TSweepResult s = Sweep(*rl, 0);
    TPaintBoxEx surface(800, 600);
    TSweepPlotGeometry g;
    RenderLocus(surface, s, Showing(TSweepQuantity::Z), g);
    ASSERT_EQ(g.Curve.size(), 201u);
    for (const TPlotPoint& p : g.Curve)
        EXPECT_NEAR(p.X, g.Curve[0].X, 1e-6);  // Re Z = R throughout
    RenderLocus(surface, s, Showing(TSweepQuantity::Y), g);
    // 1/(R + jX) lies on the circle through 0 and 1/R: centre 1/(2R), same pixels per unit.
    const double cx = g.X.ToPixel(0.005), cy = g.Y.ToPixel(0.0);
    const double radius = g.X.ToPixel(0.01) - cx;
    EXPECT_NEAR(g.Y.ToPixel(0.0) - g.Y.ToPixel(0.005), radius, 1e-6);
    EXPECT_GT(radius, 150);
    for (const TPlotPoint& p : g.Curve) {
        EXPECT_NEAR(std::hypot(p.X - cx, p.Y - cy), radius, 1e-6);
        EXPECT_GE(p.Y, cy);  // inductive: the lower half, below the real axis on screen
    }
}

TEST(SweepPlot, ResonanceLabelAndMarks) {
    SetDecimalSeparator(',');
    EXPECT_EQ(ResonanceText(159.15494309189535), "Resonanz bei 159,155 Hz");
    EXPECT_EQ(ResonanceText(2500.0), "Resonanz bei 2,5 kHz");
    EXPECT_EQ(UnitText(1000.0, "Hz"), "1 kHz");  // a decade mark like 10 kHz beside it
    EXPECT_EQ(UnitText(0.02, "Ohm"), "20 mOhm");
    const auto rlc = Series(10.0, 0.1, 1e-5);
    const TSweepResult s = Sweep(*rlc, 0, 159.0);
    ASSERT_EQ(s.Resonances.size(), 1u);
    EXPECT_TRUE(s.HasCurrent);
    // 1, 2 and 5 times each decade from 10 Hz to 100 kHz.
    ASSERT_EQ(s.Marks.size(), 13u);
    EXPECT_EQ(s.Marks[1].X, 20.0);
    EXPECT_EQ(s.Marks.back().X, 1e5);
    TPaintBoxEx surface(800, 600);
    TSweepPlotGeometry g;
    RenderFrequencyResponse(surface, s, Showing(TSweepQuantity::Z), g);
    // |Z| is smallest, and the phase 0°, at the resonance.
    const int x = static_cast<int>(std::lround(g.X.ToPixel(s.Resonances[0].X)));
    EXPECT_NEAR(g.X.ToPixel(159.155), x, 1.0);
    EXPECT_NEAR(g.PhaseY.ToPixel(0.0), g.PhaseY.ToPixel(PhaseDegrees(s.Resonances[0].Z)), 1e-3);
    EXPECT_EQ(g.Y.Min, 1.0);  // down to 10 Ohm at resonance: the notch gets a decade below it
}

}  // namespace
}  // namespace zeigora
