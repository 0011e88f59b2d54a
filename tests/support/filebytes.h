#pragma once
// Whole files as byte strings, for the tests that compare what was written byte for byte.

#include <fstream>
#include <iterator>
#include <string>

namespace zeigora::test {

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

}  // namespace zeigora::test
