// The example files under examples/ are made here, and every "$ zeigora-cli ..." line of
// docs/cli.md and of the help page runs as written with exactly the output shown beside it.
// ZEIGORA_WRITE_EXAMPLES=1 test_cli --gtest_filter='Examples*' writes the files anew.
#include <regex>
#include <sstream>

#include "circuit/circuitfile.h"
#include "cli_support.h"
#include "complex/cp1252text.h"
#include "phasors/phasorfile.h"
#include "phasors/recalc.h"

namespace zeigora::test {
namespace {

const std::string SourceDir = ZEIGORA_SOURCE_DIR;

TPhasor Phasor(std::string_view name, std::uint32_t color, std::string_view definition,
               std::uint8_t scale = 0, std::uint8_t style = 0) {
    TPhasor p = ZeroPhasor();
    InitPhasor(p);
    p.Name = name;
    p.Color = color;
    p.Definition = definition;
    p.Scale = scale;
    p.Style = style;
    return p;
}

// Values as the window would store them after drawing; the evaluation state is not kept.
std::string PhasorBytes(TPhasorArray phasors) {
    RecalculateAll(phasors);
    for (TPhasor& p : phasors)
        p.EvalState = TEvalState::esPending;
    return PhasorsToBytes(phasors);
}

// The two phasors of a new document and their sum.
std::string StartFile() {
    TPhasorArray list{Phasor("Zeiger1", 0x0000FF, ""), Phasor("Zeiger2", 0xFF0000, ""),
                      Phasor("Summe", 0x000000, "Zeiger1+Zeiger2")};
    list[0].Value = MakeComplex(2, -1);
    list[1].Value = MakeComplex(-1, 1);
    return PhasorBytes(list);
}

// A symmetric three-phase system: the phase voltages in the conductor colours (brown, black,
// grey), the line voltages dashed at scale 2, and the sum of the phases.
std::string ThreePhaseFile() {
    constexpr std::uint32_t Brown = 0x2A2AA5, Black = 0, Grey = 0x808080, Blue = 0xC00000;
    return PhasorBytes({Phasor("U1", Brown, "230"), Phasor("U2", Black, "230*e^(-j*120°)"_cp),
                        Phasor("U3", Grey, "230*e^(j*120°)"_cp), Phasor("U12", Blue, "U1-U2", 1, 1),
                        Phasor("U23", Blue, "U2-U3", 1, 1), Phasor("U31", Blue, "U3-U1", 1, 1),
                        Phasor("Summe", 0x008000, "U1+U2+U3")});
}

template <class T>
T* Part(TCircuitElementGroup& group, std::unique_ptr<T> element, std::string_view name) {
    element->Name = name;
    return group.Add(std::move(element));
}

std::unique_ptr<TCircuitElementGroup> Group(std::string_view name, bool parallel) {
    auto g = std::make_unique<TCircuitElementGroup>();
    g->Name = name;
    g->IsParallel = parallel;
    return g;
}

std::string CircuitBytes(const TCircuitElementGroup& root) {
    TByteStream bytes;
    SaveToStream(root, bytes);
    return {bytes.begin(), bytes.end()};
}

// R, L and C in series, in resonance at 1 / (2 pi sqrt(LC)) = 159.155 Hz.
std::string SeriesRlcFile() {
    auto rlc = Group("Reihenschwingkreis", false);
    Part(*rlc, std::make_unique<TResistor>(10), "R");
    Part(*rlc, std::make_unique<TCoil>(0.1), "L");
    Part(*rlc, std::make_unique<TCapacitor>(10e-6), "C");
    return CircuitBytes(*rlc);
}

// A series resistor, a blocking tank (parallel LC) and a load with a series LC trap beside it.
std::string FilterFile() {
    auto filter = Group("Filter", false);
    Part(*filter, std::make_unique<TResistor>(100), "Rv");
    auto* tank = Part(*filter, Group("Sperrkreis", true), "Sperrkreis");
    Part(*tank, std::make_unique<TCoil>(10e-3), "L1");
    Part(*tank, std::make_unique<TCapacitor>(1e-6), "C1");
    auto* load = Part(*filter, Group("Ausgang", true), "Ausgang");
    Part(*load, std::make_unique<TResistor>(1000), "Rl");
    auto* trap = Part(*load, Group("Saugkreis", false), "Saugkreis");
    Part(*trap, std::make_unique<TCoil>(0.1), "L2");
    Part(*trap, std::make_unique<TCapacitor>(1e-6), "C2");
    return CircuitBytes(*filter);
}

TEST(Examples, AreTheFilesMadeHere) {
    const std::pair<const char*, std::string> files[] = {
        {"start.zgf", StartFile()},
        {"drehstrom.zgf", ThreePhaseFile()},
        {"schaltung.zgs", CircuitBytes(*MakeDefaultCircuit())},
        {"reihenschwingkreis.zgs", SeriesRlcFile()},
        {"filter.zgs", FilterFile()},
    };
    for (const auto& [name, bytes] : files) {
        const std::string path = SourceDir + "/examples/" + name;
        if (std::getenv("ZEIGORA_WRITE_EXAMPLES") != nullptr) WriteBytes(path, bytes);
        EXPECT_TRUE(ReadBytes(path) == bytes) << path << " differs from what this test makes";
    }
}

struct TExample {
    std::string Command;  // after "$ "
    std::string Output;
};

std::string Unescape(std::string text) {
    for (const auto& [from, to] :
         {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}})
        text = std::regex_replace(text, std::regex(from), to);
    return text;
}

// The "$ " lines inside the document's code blocks, each with the lines up to the next command
// or the end of the block as its output.
std::vector<TExample> ExamplesIn(const std::string& text, const std::string& open,
                                 const std::string& close) {
    std::vector<TExample> examples;
    std::istringstream in(text);
    bool inBlock = false, collecting = false;
    for (std::string line; std::getline(in, line);) {
        if (!inBlock && line.starts_with(open)) {
            inBlock = true;
            collecting = false;
            line.erase(0, open.size());
            if (line.empty()) continue;
        } else if (inBlock && line.starts_with(close)) {
            inBlock = false;
            continue;
        }
        if (!inBlock) continue;
        const std::size_t end = close == "</pre>" ? line.find(close) : std::string::npos;
        const std::string content = Unescape(line.substr(0, end));
        if (content.starts_with("$ ")) {
            examples.push_back({content.substr(2), ""});
            collecting = true;
        } else if (collecting) {
            examples.back().Output += content + "\n";
        }
        if (end != std::string::npos) inBlock = false;
    }
    return examples;
}

class ExamplesCli : public CliTest {
  protected:
    // Runs the command with sh in a folder that sees the project's examples as the project root
    // does (pictures the examples write land in the test's folder); stderr joins stdout.
    std::string Shell(const std::string& command) const {
        const std::string out = PathOf("shell.out");
        const pid_t pid = fork();
        if (pid == 0) {
            const std::string path =
                fs::path(ZEIGORA_CLI).parent_path().string() + ":" + std::getenv("PATH");
            setenv("PATH", path.c_str(), 1);
            const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (chdir(Dir.c_str()) != 0 || fd < 0 || dup2(fd, 1) < 0 || dup2(fd, 2) < 0) _exit(126);
            execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return ReadBytes(out);
    }
    void RunAll(const std::vector<TExample>& examples) const {
        fs::create_directory_symlink(SourceDir + "/examples", Dir / "examples");
        for (const TExample& e : examples)
            EXPECT_EQ(Shell(e.Command), e.Output) << "$ " << e.Command;
    }
};

TEST_F(ExamplesCli, OfTheCommandLineGuideRunAsShown) {
    const auto examples = ExamplesIn(ReadBytes(SourceDir + "/docs/cli.md"), "```", "```");
    EXPECT_GE(examples.size(), 15u);
    RunAll(examples);
}

TEST_F(ExamplesCli, OfTheHelpPageRunAsShown) {
    const auto examples = ExamplesIn(ReadBytes(SourceDir + "/Doku/index.html"), "<pre>", "</pre>");
    EXPECT_GE(examples.size(), 4u);
    RunAll(examples);
}

}  // namespace
}  // namespace zeigora::test
