// Shared by the zeigora-cli tests: a private folder and a runner for the built tool.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace zeigora::test {

struct TCliRun {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    std::string PathOf(const std::string& name) const { return (Dir / name).string(); }
    // fork + exec, no shell: the arguments reach zeigora-cli exactly as given.
    TCliRun Run(const std::vector<std::string>& args, const std::string& input = "") const;

    std::filesystem::path Dir;
};

}  // namespace zeigora::test
