#include "phasors/phasorfile.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "support/filebytes.h"

namespace zeigora {
namespace {

namespace fs = std::filesystem;

using test::ReadBytes;
using test::WriteBytes;

class PhasorFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zgf-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string PathOf(const std::string& name) const { return (dir / name).string(); }
    fs::path dir;
};

// Zeiger1 = 2-1j in red as a new document starts, and a phasor defined over it.
TPhasorArray ExampleList() {
    TPhasorArray list;
    AppendPhasor(list);
    AppendPhasor(list);
    list[0].Name = "Zeiger1";
    list[0].Color = 0x0000FF;
    list[0].Value = MakeComplex(2, -1);
    list[1].Name = "Summe";
    list[1].Definition = "Zeiger1*2";
    return list;
}

// A record with every field set and garbage in every byte that carries no meaning.
TPhasor FilledRecord() {
    TPhasor p;
    std::memset(&p, 0xAB, sizeof p);
    p.Name = "Zeiger\xE4";
    p.NameVisible = 1;
    p.Value = TComplex{1.5, -2.25, 3.0, 4.5};
    p.Definition = "Zeiger1*2";
    p.EvalState = TEvalState::esFailed;
    p.ErrorCode = -2;
    p.ErrorText = "Zirkul\xE4re Referenz in B";
    p.Visible = 0;
    p.Color = 0x00123456;
    p.Style = 3;
    p.Width = 4;
    p.Scale = 1;
    return p;
}

template <typename T>
std::string Le(T v) {
    std::string s(sizeof v, '\0');
    std::memcpy(s.data(), &v, sizeof v);
    return s;
}

std::string Str(const char* s) {  // a string[255]: length byte, text, zeros
    std::string r(1, char(std::strlen(s)));
    r += s;
    r.resize(256, '\0');
    return r;
}

TEST_F(PhasorFileTest, SavesEveryFieldAtItsOffsetWithZeroFill) {
    const std::string bytes = PhasorsToBytes({FilledRecord(), ExampleList()[0]});
    ASSERT_EQ(bytes.size(), 1664u);
    const std::pair<std::size_t, std::string> fields[] = {
        {0, Str("Zeiger\xE4")},
        {256, Le<std::uint64_t>(1)},
        {264, Le(1.5) + Le(-2.25) + Le(3.0) + Le(4.5)},
        {296, Str("Zeiger1*2")},
        {552, Le(3) + Le(-2)},
        {560, Str("Zirkul\xE4re Referenz in B")},
        {816, Le(0) + Le(0x00123456)},
        {824, Le<std::uint64_t>(0x010403)},
        // Zeiger1 as a new phasor leaves it on a zeroed record.
        {832 + 0, Str("Zeiger1") + Le<std::uint64_t>(1)},
        {832 + 264, Le(2.0) + Le(-1.0)},
        {832 + 296, std::string(264, '\0')},
        {832 + 816, Le(1) + Le(0xFF)},
        {832 + 824, Le<std::uint64_t>(0x0100)},
    };
    for (const auto& [offset, expected] : fields)
        EXPECT_EQ(bytes.substr(offset, expected.size()), expected) << "offset " << offset;
}

TEST_F(PhasorFileTest, RoundTrips) {
    const std::string empty = PathOf("empty.zgf"), first = PathOf("a.zgf");
    ASSERT_TRUE(SavePhasorsToFile({}, empty).Ok());
    TPhasorArray loaded = ExampleList();
    ASSERT_TRUE(LoadPhasorsFromFile(loaded, empty).Ok());
    EXPECT_TRUE(loaded.empty());

    ASSERT_TRUE(SavePhasorsToFile({FilledRecord(), ExampleList()[1]}, first).Ok());
    ASSERT_TRUE(LoadPhasorsFromFile(loaded, first).Ok());
    ASSERT_EQ(loaded.size(), 2u);  // every field, by the byte layout
    EXPECT_EQ(PhasorsToBytes(loaded), ReadBytes(first));
}

TEST_F(PhasorFileTest, RefusedFilesAreReportedAndTheListKept) {
    const std::string huge = PathOf("huge.zgf");
    WriteBytes(huge, "");
    fs::resize_file(huge, (MaxPhasorFileRecords + 1) * PhasorRecordSize);  // sparse
    using enum TPhasorFileError;
    std::vector<std::pair<std::string, TPhasorFileError>> cases = {
        {PathOf("missing.zgf"), ReadFailed}, {huge, TooLarge}};
    for (std::size_t length : {1u, 831u, 833u, 1663u, 2497u}) {
        cases.push_back({PathOf(std::to_string(length) + ".zgf"), BadLength});
        WriteBytes(cases.back().first, std::string(length, '\x01'));
    }
    const std::map<TPhasorFileError, std::string> messages = {
        {ReadFailed, "\" konnte nicht gelesen werden: Datei oder Verzeichnis nicht gefunden."},
        {TooLarge, "\" ist zu gro\xDF f\xFCr eine Zeigora-Datei (mehr als 100000 Zeiger)."},
        {BadLength,
         "\" ist keine Zeigora-Datei (die L\xE4nge ist kein Vielfaches von 832 Bytes)."}};
    const TPhasorArray before = ExampleList();
    for (const auto& [file, error] : cases) {
        SCOPED_TRACE(file);
        TPhasorArray list = before;
        const TPhasorFileResult r = LoadPhasorsFromFile(list, file);
        EXPECT_EQ(r.Error, error);
        EXPECT_EQ(r.Message, "Die Datei \"" + file + messages.at(error));
        ASSERT_EQ(list.size(), before.size());
        EXPECT_EQ(std::memcmp(list.data(), before.data(), before.size() * sizeof(TPhasor)), 0);
    }
}

}  // namespace
}  // namespace zeigora
