// Shared by the zeigora-cli tests: a private folder with the default circuit, a runner for the
// built tool and a reader of its listings.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "circuit/circuitfile.h"
#include "support/filebytes.h"

namespace zeigora::test {

namespace fs = std::filesystem;

inline const std::string StartFile = std::string(ZEIGORA_SOURCE_DIR) + "/examples/start.zgf";

// Tab-separated output as rows of fields.
inline std::vector<std::vector<std::string>> Rows(const std::string& tsv) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(tsv);
    for (std::string line; std::getline(in, line);) {
        rows.emplace_back();
        std::istringstream fields(line);
        for (std::string f; std::getline(fields, f, '\t');)
            rows.back().push_back(f);
    }
    return rows;
}

inline double Number(const std::string& text) {
    double x = NAN;
    std::from_chars(text.data(), text.data() + text.size(), x);
    return x;
}

struct TCliRun {
    int ExitCode = -1;
    std::string Out, Err;
};

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zeigora-cli-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        Dir = pattern;
        ASSERT_TRUE(SaveCircuitToFile(*MakeDefaultCircuit(), Zgs = PathOf("default.zgs")).Ok);
    }
    void TearDown() override { fs::remove_all(Dir); }
    std::string PathOf(const std::string& name) const { return (Dir / name).string(); }

    // fork + exec, no shell: the arguments reach zeigora-cli exactly as given. Standard output
    // goes to `output` when given (and is not read back).
    TCliRun Run(const std::vector<std::string>& args, const std::string& input = "",
                const std::string& output = "") const {
        const std::string in = PathOf("stdin"), err = PathOf("stderr");
        const std::string out = output.empty() ? PathOf("stdout") : output;
        WriteBytes(in, input);
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
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return {};
        return {WEXITSTATUS(status), output.empty() ? ReadBytes(out) : "", ReadBytes(err)};
    }

    fs::path Dir;
    std::string Zgs;  // the default circuit
};

}  // namespace zeigora::test
