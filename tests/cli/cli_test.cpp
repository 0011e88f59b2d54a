// Runs the built zeigora-cli and checks its exact output.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zeigora-cli-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void WriteFile(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }

    // fork + exec, no shell: arguments reach the program exactly as given.
    RunResult Run(const std::vector<std::string>& args, const std::string& input = "") const {
        const std::string in = PathOf("stdin"), out = PathOf("stdout"), err = PathOf("stderr");
        WriteFile(in, input);
        std::vector<char*> argv{const_cast<char*>(ZEIGORA_CLI)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        const pid_t pid = fork();
        if (pid == 0) {
            const int fds[3] = {open(in.c_str(), O_RDONLY),
                                open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600),
                                open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600)};
            for (int i = 0; i < 3; ++i)
                if (fds[i] < 0 || dup2(fds[i], i) < 0) _exit(126);
            execv(ZEIGORA_CLI, argv.data());
            _exit(127);
        }
        RunResult r;
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return r;
        r.ExitCode = WEXITSTATUS(status);
        r.Out = ReadFile(out);
        r.Err = ReadFile(err);
        return r;
    }

    fs::path dir_;
};

const std::string StartFile = std::string(ZEIGORA_SOURCE_DIR) + "/examples/start.zgf";

TEST_F(CliTest, EvalPrintsOneLinePerExpression) {
    struct Case {
        std::string expr;
        std::string line;
    };
    const Case cases[] = {
        // 2j is a product, computed in polar form: Re 2*cos(pi/2) = 1.2e-16 is added to 1.
        {"1+2j", "1.0000000000000002\t2\t2.23606797749979\t1.1071487177940904"},
        {"-1+j", "-1\t1\t1.4142135623730951\t2.356194490192345"},
        {"2", "2\t0\t2\t0"},
        {"1/0", "inf\tnan\tinf\t0"},
    };
    for (const Case& c : cases) {
        const RunResult r = Run({"eval", c.expr});
        EXPECT_EQ(r.ExitCode, 0) << c.expr;
        EXPECT_EQ(r.Out, c.line + "\n") << c.expr;
        EXPECT_EQ(r.Err, "");
    }
}

TEST_F(CliTest, EvalFailuresPrintTheGermanMessageAndExitOne) {
    const std::string tooLong(256, '1');
    const RunResult r = Run({"eval", "1+2j", "Zeiger1", tooLong, "sin(", "1+2j"});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_EQ(r.Out,
              "1.0000000000000002\t2\t2.23606797749979\t1.1071487177940904\n"
              "error\tSyntaxfehler (7): Unbekannter Zeiger\n"
              "error\tDer Ausdruck ist l\xC3\xA4nger als 255 Zeichen.\n"
              "error\tSyntaxfehler (4): Unvollst\xC3\xA4ndiger Ausdruck\n"
              "1.0000000000000002\t2\t2.23606797749979\t1.1071487177940904\n");
}

TEST_F(CliTest, EvalReadsStandardInputAndUsesAPhasorFile) {
    const RunResult r =
        Run({"eval", "--phasors", StartFile}, "Summe*2\r\n230*e^(j*30\xC2\xB0)\nZeiger1\n");
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out,
              "2\t0\t2\t0\n"
              "199.18584287042088\t115\t230\t0.5235987755982989\n"
              "2\t-1\t2.23606797749979\t5.81953769817878\n");
}

TEST_F(CliTest, PhasorsListsTheRecalculatedFile) {
    const RunResult r = Run({"phasors", StartFile});
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out,
              "0\tZeiger1\t\t2\t-1\t2.23606797749979\t5.81953769817878\t0\t\n"
              "1\tZeiger2\t\t-1\t1\t1.4142135623730951\t2.356194490192345\t0\t\n"
              "2\tSumme\tZeiger1+Zeiger2\t1\t0\t1\t0\t0\t\n");
}

TEST_F(CliTest, PhasorsJsonShowsErrorsAndNonFiniteValues) {
    // Two phasors of the start file, the second redefined so it fails; non-ASCII name.
    std::string bytes = ReadFile(StartFile).substr(832);
    bytes[297 + 832] = '(';  // "Zeiger1+Zeiger2" -> "(eiger1+Zeiger2"
    bytes[0] = 7;
    bytes[1 + 6] = '\xE4';  // "Zeiger\xE4"
    const std::string file = PathOf("errors.zgf");
    WriteFile(file, bytes);
    const RunResult r = Run({"phasors", "--json", file});
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out,
              "[\n"
              "  {\"index\": 0, \"name\": \"Zeiger\xC3\xA4\", \"definition\": \"\", \"re\": -1, "
              "\"im\": 1, \"abs\": 1.4142135623730951, \"phase\": 2.356194490192345, "
              "\"errorCode\": -1, \"errorText\": \"Ung\xC3\xBCltiger Zeigername\"},\n"
              "  {\"index\": 1, \"name\": \"Summe\", \"definition\": \"(eiger1+Zeiger2\", "
              "\"re\": \"nan\", \"im\": \"nan\", \"abs\": \"nan\", \"phase\": \"nan\", "
              "\"errorCode\": 7, \"errorText\": \"Syntaxfehler (7): Unbekannter Zeiger\"}\n"
              "]\n");
}

TEST_F(CliTest, BadFilesAndBadOptionsExitTwo) {
    const std::string shortFile = PathOf("short.zgf");
    WriteFile(shortFile, "12345");
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{"phasors", shortFile},
         "Die Datei \"" + shortFile +
             "\" ist keine Zeigora-Datei (die L\xC3\xA4nge ist kein Vielfaches von 832 Bytes).\n"},
        {{"phasors", PathOf("missing.zgf")},
         "Die Datei \"" + PathOf("missing.zgf") + "\" konnte nicht gelesen werden.\n"},
        {{"eval", "--phasors", shortFile, "1"}, ""},
        {{"phasors", "--xml", StartFile}, ""},
        {{"eval", "--verbose", "1"}, ""},
        {{"phasors"}, ""},
        {{"frobnicate"}, ""},
        {{}, ""},
    };
    for (const Case& c : cases) {
        const RunResult r = Run(c.args);
        EXPECT_EQ(r.ExitCode, 2) << ::testing::PrintToString(c.args);
        EXPECT_EQ(r.Out, "");
        EXPECT_FALSE(r.Err.empty());
        if (!c.err.empty()) {
            EXPECT_EQ(r.Err, c.err);
        }
    }
}

TEST_F(CliTest, HelpIsPrintedOnStandardOutput) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--help"}, {"eval", "--help"}, {"phasors", "--help"}}) {
        const RunResult r = Run(args);
        EXPECT_EQ(r.ExitCode, 0);
        EXPECT_EQ(r.Out.rfind("usage: zeigora-cli", 0), 0u) << r.Out;
    }
}

}  // namespace
