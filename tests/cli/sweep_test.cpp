// zeigora-cli sweep and circuit --phasors: every row is what "circuit --frequency" gives for
// that frequency, and agrees with a textbook solver; the phasor file lists without errors.
#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

#include "circuit/circuitfile.h"
#include "circuit/circuitquery.h"
#include "circuit/random_circuit.h"
#include "cli/cli_support.h"

namespace zeigora::test {
namespace {

using Cx = std::complex<double>;

// The textbook impedance, recursive, in std::complex.
Cx Z(const TCustomCircuitElement& e, double omega) {
    if (e.ElementType() == etResistor) return e.ElementValue;
    if (e.ElementType() == etCoil) return {0.0, omega * e.ElementValue};
    if (e.ElementType() == etCapacitor) return {0.0, -1.0 / (omega * e.ElementValue)};
    const auto& g = static_cast<const TCircuitElementGroup&>(e);
    Cx sum = 0.0;
    for (int k = 0; k < g.Count(); ++k)
        sum += g.IsParallel ? 1.0 / Z(*g.Items(k), omega) : Z(*g.Items(k), omega);
    return g.IsParallel ? 1.0 / sum : sum;
}

Cx Current(const TCustomCircuitElement& e, double omega, Cx u0) {
    if (e.Parent() == nullptr) return u0 / Z(e, omega);
    if (!e.Parent()->IsParallel) return Current(*e.Parent(), omega, u0);
    const Cx groupCurrent = Current(*e.Parent(), omega, u0);
    return groupCurrent * Z(*e.Parent(), omega) / Z(e, omega);
}

TEST_F(CliTest, SweepRowsAreTheCircuitListingAndTheTextbook) {
    for (std::uint32_t seed = 3; seed <= 5; ++seed) {
        const auto circuit = MakeRandomCircuit(seed, 12, 4);
        const std::string file = PathOf("c.zgs");
        ASSERT_TRUE(SaveCircuitToFile(*circuit, file).Ok);
        const auto nodes = FlattenCircuit(*circuit);
        const int element = static_cast<int>(seed * 5 % nodes.size());
        const std::string index = std::to_string(element);
        std::vector<std::string> args{"sweep",    file, "--from",    "20",  "--to",      "2M",
                                      "--points", "7",  "--element", index, "--voltage", "100+20j"};
        const TCliRun z = Run(args);
        args.insert(args.end(), {"--quantity", "I"});
        const TCliRun i = Run(args);
        ASSERT_EQ(z.ExitCode, 0) << z.Err;
        const auto zRows = Rows(z.Out), iRows = Rows(i.Out);
        ASSERT_EQ(zRows.size(), 8u);
        EXPECT_EQ(zRows[0], (std::vector<std::string>{"f", "re", "im", "abs", "phase"}));
        for (std::size_t k = 1; k < zRows.size(); ++k) {
            const double f = 20.0 * std::pow(1e5, (k - 1) / 6.0);
            EXPECT_NEAR(Number(zRows[k][0]), f, f * 1e-14);
            // The listing of "circuit" at that frequency, its text as the sweep wrote it.
            const auto listing =
                Rows(Run({"circuit", file, "--frequency", zRows[k][0], "--voltage", "100+20j"})
                         .Out)[static_cast<std::size_t>(element) + 1];
            EXPECT_EQ(zRows[k][1], listing[6]);
            EXPECT_EQ(zRows[k][2], listing[7]);
            EXPECT_EQ(iRows[k][1], listing[10]);
            EXPECT_EQ(iRows[k][2], listing[11]);
            const double omega = 2 * std::numbers::pi * Number(zRows[k][0]);
            const auto& e = *nodes[static_cast<std::size_t>(element)].Element;
            const Cx zt = Z(e, omega), it = Current(e, omega, {100.0, 20.0});
            const Cx zs(Number(zRows[k][1]), Number(zRows[k][2]));
            const Cx is(Number(iRows[k][1]), Number(iRows[k][2]));
            EXPECT_LT(std::abs(zs - zt), 1e-7 * std::abs(zt)) << seed << " " << k;
            EXPECT_LT(std::abs(is - it), 1e-7 * std::abs(it)) << seed << " " << k;
            EXPECT_NEAR(Number(zRows[k][3]), std::abs(zt), 1e-7 * std::abs(zt));
            const double phase = Number(zRows[k][4]);
            EXPECT_TRUE(phase >= 0.0 && phase < 2 * std::numbers::pi);
        }
    }
}

TEST_F(CliTest, SweepOfAValueAndLinearSteps) {
    const std::string& file = Zgs;  // R 2200 Ohm, then L || C
    const TCliRun r = Run({"sweep", file, "--frequency", "50", "--vary", "1", "--from", "0", "--to",
                           "4k", "--points", "3", "--linear", "--quantity", "Y"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    const auto rows = Rows(r.Out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0][0], "value");
    EXPECT_EQ(rows[2][0], "2000");
    EXPECT_EQ(rows[3][0], "4000");
    // Y = 1/(R + j X_tank) with X_tank = 97,1235 Ohm at 50 Hz.
    const Cx y = 1.0 / Cx(4000.0, 97.1235);
    EXPECT_NEAR(Number(rows[3][1]), y.real(), 1e-9);
    EXPECT_NEAR(Number(rows[3][2]), y.imag(), 1e-9);
    const TCliRun json = Run({"sweep", file, "--from", "10", "--to", "10k", "--json"});
    EXPECT_NE(json.Out.find("\"resonances\": [290.57"), std::string::npos) << json.Out;
}

TEST_F(CliTest, CircuitWritesTheGroupPhasors) {
    const std::string &file = Zgs, out = PathOf("p.zgf");
    const TCliRun r = Run({"circuit", file, "--phasors", out, "--group", "2"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    const auto listing = Rows(Run({"phasors", out}).Out);
    ASSERT_EQ(listing.size(), 4u);  // IL1, IC1, ISchwingkreis1 = IL1+IC1, USchwingkreis1
    EXPECT_EQ(listing[2][1], "ISchwingkreis1");
    EXPECT_EQ(listing[2][2], "IL1+IC1");
    for (const auto& row : listing)
        EXPECT_EQ(row[7], "0") << row[1];  // no error
    // The recalculated total is the tank's current of the listing.
    const auto tank = Rows(r.Out)[3];
    EXPECT_NEAR(Number(listing[2][3]), Number(tank[10]), 1e-15);
    EXPECT_NEAR(Number(listing[2][4]), Number(tank[11]), 1e-15);
    EXPECT_EQ(Run({"circuit", file, "--phasors", out, "--group", "5"}).ExitCode, 2);
}

}  // namespace
}  // namespace zeigora::test
