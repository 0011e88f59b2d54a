// Runs zeigora-cli circuit on circuit files written here and reads its listing back.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "circuit/circuitfile.h"
#include "circuit/circuitquery.h"
#include "parser/complexParser.h"

namespace zeigora {
namespace {

namespace fs = std::filesystem;

struct TRun {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::stringstream in(s);
    for (std::string part; std::getline(in, part, sep);)
        parts.push_back(part);
    return parts;
}

double Number(const std::string& text) {
    if (text == "nan") return DefaultNaN();
    double v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    EXPECT_TRUE(r.ec == std::errc() && r.ptr == text.data() + text.size()) << text;
    return v;
}

class CircuitCli : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zeigora-circuit-cli-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        file = (dir / "default.zgs").string();
        ASSERT_TRUE(SaveCircuitToFile(*circuit, file).Ok);
    }
    void TearDown() override { fs::remove_all(dir); }

    TRun Start(std::vector<std::string> args) const {
        args.insert(args.begin(), {ZEIGORA_CLI, "circuit"});
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const fs::path out = dir / "out", err = dir / "err";
        const pid_t pid = fork();
        if (pid == 0) {
            const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (o < 0 || e < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0) _exit(126);
            execv(ZEIGORA_CLI, argv.data());
            _exit(127);
        }
        TRun r;
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return r;
        r.ExitCode = WEXITSTATUS(status);
        r.Out = Slurp(out);
        r.Err = Slurp(err);
        return r;
    }

    // Every listed figure reads back to exactly the value computed here.
    void ExpectListing(const TRun& r, const TCircuitSupply& supply) const {
        ASSERT_EQ(r.ExitCode, 0) << r.Err;
        const auto lines = Split(r.Out, '\n');
        const auto results = ComputeAll(*circuit, supply);
        ASSERT_EQ(lines.size(), results.size() + 1);
        EXPECT_EQ(lines[0],
                  "index\tparent\tdepth\ttype\tname\tvalue\tz_re\tz_im\tu_re\tu_im\ti_re\ti_im\t"
                  "s_re\ts_im");
        const char* fixed[] = {"0\t-1\t0\t0\tSchaltung 1\t0", "1\t0\t1\t1\tR\t2200",
                               "2\t0\t1\t0\tSchwingkreis 1\t0", "3\t2\t2\t3\tL\t0.3",
                               "4\t2\t2\t2\tC\t1e-06"};
        for (std::size_t i = 0; i < results.size(); ++i) {
            EXPECT_EQ(lines[i + 1].rfind(fixed[i], 0), 0u) << lines[i + 1];
            const auto f = Split(lines[i + 1], '\t');
            ASSERT_EQ(f.size(), 14u);
            const TElementResult& e = results[i];
            const double expected[] = {e.Z.Re, e.Z.Im, e.U.Re, e.U.Im,
                                       e.I.Re, e.I.Im, e.S.Re, e.S.Im};
            for (int k = 0; k < 8; ++k) {
                const double got = Number(f[6 + k]);
                EXPECT_EQ(std::memcmp(&got, &expected[k], sizeof got), 0) << lines[i + 1];
            }
        }
    }

    std::unique_ptr<TCircuitElementGroup> circuit = MakeDefaultCircuit();
    fs::path dir;
    std::string file;
};

TEST_F(CircuitCli, DefaultCircuitAtDefaultSupply) {
    const TRun r = Start({file});
    ExpectListing(r, TCircuitSupply{});
    // The circuit current, spot-checked against the known figures.
    const auto f = Split(Split(r.Out, '\n')[1], '\t');
    EXPECT_NEAR(Number(f[10]), 0.104342, 5e-7);
    EXPECT_NEAR(Number(f[11]), -0.004606, 5e-7);
}

TEST_F(CircuitCli, FrequencyAndVoltageOptions) {
    TCircuitSupply supply;
    supply.Omega = FrequencyToOmega(1500);
    supply.SupplyVoltage = EvalExpr(Parse("230*e^(j*30\xB0)", {}), {});
    ExpectListing(Start({"--frequency", "1.5k", "--voltage", "230*e^(j*30\xC2\xB0)", file}),
                  supply);
    supply.Omega = FrequencyToOmega(50e-6);
    supply.SupplyVoltage = MakeComplex(230, 0);
    ExpectListing(Start({"--frequency", "50\xC2\xB5", file}), supply);
}

TEST_F(CircuitCli, RefusalsExitWithTwo) {
    const std::string bad = (dir / "bad.zgs").string();
    std::ofstream(bad) << "keine Schaltung";
    struct Case {
        std::vector<std::string> Args;
        const char* Err;
    };
    const Case table[] = {
        {{bad}, "ist keine g\xC3\xBCltige Zeigora-Schaltung"},
        {{(dir / "missing.zgs").string()},
         "kann nicht ge\xC3\xB6"
         "ffnet werden"},
        {{"--frequency", "0", file}, "must not be 0"},
        {{"--frequency", "50,5", file}, "not a frequency"},
        {{"--voltage", "1+", file}, "voltage"},
        {{}, "expects one file"},
    };
    for (const Case& c : table) {
        const TRun r = Start(c.Args);
        EXPECT_EQ(r.ExitCode, 2) << c.Err;
        EXPECT_NE(r.Err.find(c.Err), std::string::npos) << r.Err;
        EXPECT_EQ(r.Out, "");
    }
    const TRun help = Start({"--help"});
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_NE(help.Out.find("--frequency F"), std::string::npos);
}

}  // namespace
}  // namespace zeigora
