// The one command-line parser of zeigora-cli: option forms, help, version, standard input, JSON,
// and a run stopped from outside.
#include <signal.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "cli_support.h"

namespace zeigora::test {
namespace {

const char* const CommandNames[] = {"eval", "phasors", "render", "circuit", "diagram"};

TEST_F(CliTest, HelpOnEveryCommandAndTheVersion) {
    for (const char* name : CommandNames) {
        SCOPED_TRACE(name);
        const std::string synopsis = "Aufruf: zeigora-cli " + std::string(name) + " ";
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{name, "-h"}, {name, "--unbekannt", "x", "--help"}}) {
            const TCliRun r = Run(args);
            EXPECT_EQ(r.ExitCode, 0);
            EXPECT_EQ(r.Out.substr(0, synopsis.size()), synopsis);
            EXPECT_NE(r.Out.find("\nR\xC3\xBC"
                                 "ckgabewert: "),
                      std::string::npos);
            EXPECT_EQ(r.Err, "");
        }
    }
    EXPECT_EQ(Run({"--version"}).Out, "zeigora-cli 3.0\n");
    // eval: -h is help, other single-dash arguments are expressions, after "--" everything.
    EXPECT_EQ(Run({"eval", "-1+j", "--", "-h"}).Out,
              "-1\t1\t1.4142135623730951\t2.356194490192345\n"
              "error\tSyntaxfehler (2): Unbekannter Zeiger\n");
}

TEST_F(CliTest, ValuesFollowTheirOptionEitherWay) {
    const TCliRun spaced = Run({"circuit", "--frequency", "60", "--voltage", "1e3", Zgs});
    ASSERT_EQ(spaced.ExitCode, 0) << spaced.Err;
    EXPECT_EQ(Run({"circuit", "--voltage=1e3", "--frequency=60", Zgs}).Out, spaced.Out);
    EXPECT_NE(Run({"circuit", Zgs}).Out, spaced.Out);
    EXPECT_EQ(Run({"eval", "--phasors=" + StartFile, "Summe"}).Out, "1\t0\t1\t0\n");
    ASSERT_EQ(Run({"render", StartFile, "-o" + PathOf("a.bmp"), "--size=30x20"}).ExitCode, 0);
    ASSERT_EQ(Run({"render", "-o", PathOf("b.bmp"), "--size", "30x20", StartFile}).ExitCode, 0);
    EXPECT_EQ(ReadBytes(PathOf("a.bmp")), ReadBytes(PathOf("b.bmp")));
    EXPECT_EQ(ReadBytes(PathOf("a.bmp")).size(), 54u + 30 * 20 * 4);  // 32 bits per pixel
}

TEST_F(CliTest, DashReadsStandardInput) {
    const std::string zgf = ReadBytes(StartFile);
    const TCliRun listed = Run({"phasors", StartFile});
    EXPECT_EQ(Run({"phasors", "-"}, zgf).Out, listed.Out);
    EXPECT_EQ(Run({"eval", "--phasors", "-", "Zeiger1"}, zgf).Out,
              "2\t-1\t2.23606797749979\t5.81953769817878\n");
    EXPECT_EQ(Run({"circuit", "-"}, ReadBytes(Zgs)).Out, Run({"circuit", Zgs}).Out);
}

TEST_F(CliTest, EvalReadsAtMostAnExpressionFromEachLine) {
    // A line longer than any 255-character expression is refused without being kept; the next
    // line is read as usual. 255 characters of 3-byte UTF-8 and a CR are still one expression.
    const std::string euro = "\xE2\x82\xAC";
    std::string longest;
    for (int i = 0; i < 255; ++i)
        longest += i == 0 ? "1" : euro;
    const TCliRun r = Run({"eval"}, std::string(5000, '1') + "\n2\n" + longest + "\r\n");
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_EQ(r.Out,
              "error\tDer Ausdruck ist l\xC3\xA4nger als 255 Zeichen.\n2\t0\t2\t0\n"
              "error\tSyntaxfehler (1): Unvollst\xC3\xA4ndiger Ausdruck\n");
}

TEST_F(CliTest, EvalAndCircuitAsJson) {
    const TCliRun r = Run({"eval", "--json", "2", "1/0", "1+"});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_EQ(r.Out,
              "[\n"
              "  {\"expression\": \"2\", \"re\": 2, \"im\": 0, \"abs\": 2, \"phase\": 0, "
              "\"error\": \"\"},\n"
              "  {\"expression\": \"1/0\", \"re\": \"inf\", \"im\": \"nan\", \"abs\": \"inf\", "
              "\"phase\": 0, \"error\": \"\"},\n"
              "  {\"expression\": \"1+\", \"re\": null, \"im\": null, \"abs\": null, \"phase\": "
              "null, \"error\": \"Syntaxfehler (2): Unvollst\xC3\xA4ndiger Ausdruck\"}\n"
              "]\n");
    EXPECT_EQ(Run({"eval", "--json"}).Out, "[]\n");
    // The circuit's objects carry the listing's fields under the header's names.
    const auto rows = Rows(Run({"circuit", Zgs}).Out);
    ASSERT_EQ(rows.size(), 6u);
    std::string json = "[\n";
    for (std::size_t i = 1; i < rows.size(); ++i) {
        json += "  {";
        for (std::size_t f = 0; f < rows[0].size(); ++f)
            json += (f ? ", \"" : "\"") + rows[0][f] +
                    "\": " + (f == 4 ? "\"" + rows[i][f] + "\"" : rows[i][f]);
        json += i + 1 < rows.size() ? "},\n" : "}\n";
    }
    EXPECT_EQ(Run({"circuit", "--json", Zgs}).Out, json + "]\n");
}

// Output that cannot be written is a failure with its reason, not a silent success.
TEST_F(CliTest, UnwritableOutputIsReported) {
    const TCliRun r = Run({"phasors", StartFile}, "", "/dev/full");
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_EQ(r.Err, "zeigora-cli phasors: Die Ausgabe konnte nicht geschrieben werden: " +
                         std::string(std::strerror(ENOSPC)) + ".\n");
}

// A run stopped while it draws leaves no runtime folder of its own behind.
TEST_F(CliTest, StoppedRunLeavesNoTemporaryFolder) {
    const fs::path tmp = Dir / "tmp";
    fs::create_directory(tmp);
    int input[2];
    ASSERT_EQ(pipe(input), 0);
    const std::string out = PathOf("a.png");
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(input[0], 0);
        close(input[1]);
        setenv("TMPDIR", tmp.c_str(), 1);
        unsetenv("XDG_RUNTIME_DIR");
        execl(ZEIGORA_CLI, ZEIGORA_CLI, "render", "-", "-o", out.c_str(), nullptr);
        _exit(127);
    }
    close(input[0]);
    // The tool waits for its input with the folder made; wait for it to appear.
    for (int i = 0; i < 2000 && fs::is_empty(tmp); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(fs::is_empty(tmp));
    kill(pid, SIGTERM);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    close(input[1]);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_TRUE(fs::is_empty(tmp));
    EXPECT_FALSE(fs::exists(out));
}

}  // namespace
}  // namespace zeigora::test
