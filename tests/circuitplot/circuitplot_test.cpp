// The pictures of the circuit analysis: the phasor polygon closes on the total, a series RL's
// impedance locus is a straight line and its admittance a semicircle, resonances are labelled,
// and no text leaves the picture, covers another or (a phasor's name) lies on an arrow.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "circuit/circuitfile.h"
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

std::unique_ptr<TCircuitElementGroup> Example(const std::string& name) {
    if (name.empty()) return MakeDefaultCircuit();
    TCircuitLoadResult r = LoadCircuitFromFile(ZEIGORA_SOURCE_DIR "/examples/" + name);
    EXPECT_TRUE(r.Circuit) << r.Error;
    return std::move(r.Circuit);
}

bool Overlap(const TRect& a, const TRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// Every text box lies wholly inside the picture and shares no pixel with another.
void ExpectTextsApart(const std::vector<TRect>& texts, int w, int h, const std::string& where) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const TRect& a = texts[i];
        EXPECT_TRUE(a.Left >= 0 && a.Top >= 0 && a.Right <= w && a.Bottom <= h)
            << where << ": text " << i << " at " << a.Left << "," << a.Top << " to " << a.Right
            << "," << a.Bottom;
        for (std::size_t k = 0; k < i; ++k)
            EXPECT_FALSE(Overlap(a, texts[k])) << where << ": texts " << k << " and " << i;
    }
}

// The examples' steep loci crowd their decade marks near the origin, at window sizes from
// small to maximised.
TEST(SweepPlot, TextsStayInsideAndApart) {
    SetDecimalSeparator(',');
    for (const char* file : {"reihenschwingkreis.zgs", "filter.zgs", ""}) {
        const auto circuit = Example(file);
        ASSERT_TRUE(circuit);
        const TSweepResult s = Sweep(*circuit, 0, 159.0);
        for (const auto& [w, h] : {std::pair{786, 444}, {1266, 806}, {420, 260}}) {
            TPaintBoxEx surface(w, h);
            TSweepPlotGeometry g;
            const std::string where = std::string(file) + " " + std::to_string(w);
            for (const TSweepQuantity q : {TSweepQuantity::Z, TSweepQuantity::Y}) {
                TSweepPlotOptions o = Showing(q);
                o.Title = "Ortskurve Z(f) von Reihenschwingkreis [Ohm]";
                RenderLocus(surface, s, o, g);
                ExpectTextsApart(g.Texts, w, h, "locus " + where);
                // Labels are left out where they collide, not wholesale.
                EXPECT_GE(g.Texts.size(), 8u) << where;
            }
            for (const bool dB : {false, true}) {
                TSweepPlotOptions o = Showing(TSweepQuantity::Z);
                o.Title = "Frequenzgang Z(f) von Reihenschwingkreis";
                o.Decibel = dB;
                RenderFrequencyResponse(surface, s, o, g);
                ExpectTextsApart(g.Texts, w, h, "response " + where);
            }
        }
    }
}

// True when the segment passes through the box's inside.
bool Crosses(const TDrawnPhasor& d, const TRect& r) {
    const int steps = 2 * (std::abs(d.X2 - d.X1) + std::abs(d.Y2 - d.Y1)) + 1;
    for (int k = 0; k <= steps; ++k) {
        const double x = d.X1 + (d.X2 - d.X1) * static_cast<double>(k) / steps;
        const double y = d.Y1 + (d.Y2 - d.Y1) * static_cast<double>(k) / steps;
        if (x > r.Left && x < r.Right - 1 && y > r.Top && y < r.Bottom - 1) return true;
    }
    return false;
}

// The series RLC at 50 Hz: the supply voltage lies on the real axis, the current almost on the
// imaginary one; the parallel tank of the default circuit closes its current polygon.
TEST(PhasorDiagram, NamesOffTheArrowsAndNumbersInside) {
    SetDecimalSeparator(',');
    for (const auto& [file, group] : {std::pair{"reihenschwingkreis.zgs", 0}, {"", 0}, {"", 2}}) {
        const auto circuit = Example(file);
        ASSERT_TRUE(circuit);
        for (const auto& [w, h] : {std::pair{786, 444}, {1266, 806}, {600, 600}}) {
            TPaintBoxEx surface(w, h);
            TPhasorDiagramView view;
            RenderPhasorDiagram(surface, GroupPhasors(*circuit, TCircuitSupply{}, group), view);
            const std::string where = std::string(file) + " " + std::to_string(w);
            ExpectTextsApart(view.Texts, w, h, where);
            const TDrawnPhasorArray& d = view.Plane.DrawnPhasors;
            ASSERT_EQ(view.Names.size(), d.size());
            for (std::size_t n = 0; n < d.size(); ++n)
                for (const TDrawnPhasor& arrow : d)
                    EXPECT_FALSE(Crosses(arrow, view.Names[n]))
                        << where << ": name of " << d[n].Phasor->Name.Str() << " on the arrow of "
                        << arrow.Phasor->Name.Str();
        }
    }
}

}  // namespace
}  // namespace zeigora
