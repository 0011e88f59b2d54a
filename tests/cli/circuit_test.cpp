// Runs zeigora-cli circuit on the default circuit and reads its listing back.
#include <charconv>

#include "circuit/circuitquery.h"
#include "cli_support.h"
#include "parser/complexParser.h"

namespace zeigora::test {
namespace {

// The listing with every figure in the shortest text that reads back to the value computed here.
std::string Listing(const TCircuitSupply& supply) {
    std::string s =
        "index\tparent\tdepth\ttype\tname\tvalue\tz_re\tz_im\tu_re\tu_im\ti_re\ti_im\ts_re\ts_im\n";
    const char* fixed[] = {"0\t-1\t0\t0\tSchaltung 1\t0", "1\t0\t1\t1\tR\t2200",
                           "2\t0\t1\t0\tSchwingkreis 1\t0", "3\t2\t2\t3\tL\t0.3",
                           "4\t2\t2\t2\tC\t1e-06"};
    const auto results = ComputeAll(*MakeDefaultCircuit(), supply);
    for (std::size_t i = 0; i < results.size(); ++i) {
        s += fixed[i];
        const TElementResult& e = results[i];
        for (double x : {e.Z.Re, e.Z.Im, e.U.Re, e.U.Im, e.I.Re, e.I.Im, e.S.Re, e.S.Im}) {
            char buf[32];
            s += "\t" + std::string(buf, std::to_chars(buf, buf + sizeof buf, x).ptr);
        }
        s += "\n";
    }
    return s;
}

TEST_F(CliTest, CircuitListsEveryElement) {
    EXPECT_EQ(Run({"circuit", Zgs}).Out, Listing(TCircuitSupply{}));  // 50 Hz, 230 V
    TCircuitSupply supply;
    supply.Omega = FrequencyToOmega(1500);
    supply.SupplyVoltage = EvalExpr(Parse("230*e^(j*30\xB0)", {}), {});
    const TCliRun r =
        Run({"circuit", "--frequency", "1.5k", "--voltage", "230*e^(j*30\xC2\xB0)", Zgs});
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(r.Out, Listing(supply));
}

}  // namespace
}  // namespace zeigora::test
