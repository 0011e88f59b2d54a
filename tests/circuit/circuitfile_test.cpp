#include "circuit/circuitfile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "circuit/circuitquery.h"
#include "random_circuit.h"

namespace zeigora {
namespace {

namespace fs = std::filesystem;

TByteStream Save(const TCustomCircuitElement& e) {
    TByteStream s;
    SaveToStream(e, s);
    return s;
}

// Records as a file holds them: type, name as a string[255], value; a group adds its member
// count and its parallel byte.
TByteStream& PutRecord(TByteStream& s, std::int32_t type, double value = 0.0,
                       const std::string& name = "") {
    TByteStream r(268, 0);
    std::memcpy(r.data(), &type, 4);
    r[4] = static_cast<std::uint8_t>(name.size());
    std::memcpy(r.data() + 5, name.data(), name.size());
    std::memcpy(r.data() + 260, &value, 8);
    s.insert(s.end(), r.begin(), r.end());
    return s;
}

TByteStream& PutGroup(TByteStream& s, std::int32_t count, std::uint8_t parallel = 0,
                      const std::string& name = "") {
    PutRecord(s, 0, 0.0, name);
    s.resize(s.size() + 4);
    std::memcpy(s.data() + s.size() - 4, &count, 4);
    s.push_back(parallel);
    return s;
}

TByteStream Nested(int levels) {
    TByteStream s;
    for (int i = 0; i < levels; ++i)
        PutGroup(s, 1);
    return PutRecord(s, etCoil, 1.0);
}

TEST(CircuitFile, DefaultCircuitLayout) {
    TByteStream expected;
    PutGroup(expected, 2, 0, "Schaltung 1");
    PutRecord(expected, 1, 2200.0, "R");
    PutGroup(expected, 2, 1, "Schwingkreis 1");
    PutRecord(expected, 3, 0.3, "L");
    PutRecord(expected, 2, 1e-6, "C");
    EXPECT_EQ(Save(*MakeDefaultCircuit()), expected);
}

TEST(CircuitFile, RoundTrips) {
    auto circuit = MakeDefaultCircuit();
    circuit->Clear();
    circuit->Name = std::string(255, '\xE4');
    circuit->Add(std::make_unique<TResistor>(-1.5))->Name = "";
    for (std::uint32_t seed : {0u, 3u, 4u}) {
        const TByteStream bytes =
            Save(seed == 0 ? *circuit : *test::MakeRandomCircuit(seed, 300, 8));
        const auto loaded = LoadCircuitFromBytes(bytes);
        ASSERT_TRUE(loaded.Circuit) << loaded.Error;
        EXPECT_EQ(Save(*loaded.Circuit), bytes);
        const auto flat = FlattenCircuit(*loaded.Circuit);
        for (std::size_t i = 1; i < flat.size(); ++i)
            EXPECT_NE(flat[i].Element->Parent(), nullptr);
    }
    TByteStream s;  // any nonzero parallel byte means parallel
    const auto loaded = LoadCircuitFromBytes(PutRecord(PutGroup(s, 1, 2), etResistor, 10.0));
    ASSERT_TRUE(loaded.Circuit) << loaded.Error;
    EXPECT_EQ(Save(*loaded.Circuit)[272], 1);
    EXPECT_TRUE(LoadCircuitFromBytes(Nested(64)).Circuit);
}

TEST(CircuitFile, MalformedInputIsRefused) {
    const TByteStream valid = Save(*MakeDefaultCircuit());
    TByteStream shortMember, beyond, trailing = valid, s[6];
    PutGroup(PutGroup(shortMember, 1), 0).pop_back();
    PutRecord(PutGroup(beyond, 2), etResistor);
    trailing.push_back(0);
    TByteStream trailingTwo = trailing;
    trailingTwo.push_back(0);
    const std::pair<TByteStream, const char*> table[] = {
        {{}, "sie ist leer"},
        {TByteStream(valid.begin(), valid.begin() + 270), "unvollst\xE4ndig (Byte 0)"},
        {shortMember, "unvollst\xE4ndig (Byte 273)"},
        {PutRecord(s[0], 4), "Bauteiltyp 4 (Byte 0)"},
        {PutGroup(s[2], -5), "negative Elementanzahl -5"},
        {PutGroup(s[3], 0x7FFFFFFF), "Elementanzahl 2147483647 passt nicht"},
        {beyond, "Elementanzahl 2 passt nicht"},
        {Nested(65), "tiefer als 64 Ebenen"},
        {PutRecord(s[4], etResistor, 1.0), "keine Bauteilgruppe"},
        {trailing, "folgen noch 1 Byte."},
        {trailingTwo, "folgen noch 2 Bytes."},
    };
    for (const auto& [bytes, reason] : table) {
        const auto r = LoadCircuitFromBytes(bytes, "x.zgs");
        EXPECT_EQ(r.Circuit, nullptr) << reason;
        EXPECT_EQ(r.Error.find("Die Datei \"x.zgs\" ist keine g\xFCltige Zeigora-Schaltung: "), 0u)
            << r.Error;
        EXPECT_NE(r.Error.find(reason), std::string::npos) << r.Error;
    }
}

TEST(CircuitFile, OnDisk) {
    const fs::path dir = fs::temp_directory_path() / "zeigora-circuitfile-test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string file = (dir / "a.zgs").string();
    std::ofstream(file) << "old contents";
    auto circuit = MakeDefaultCircuit();
    ASSERT_TRUE(SaveCircuitToFile(*circuit, file).Ok);
    const auto loaded = LoadCircuitFromFile(file);
    ASSERT_TRUE(loaded.Circuit) << loaded.Error;
    EXPECT_EQ(Save(*loaded.Circuit), Save(*circuit));

    // A tree the reader would refuse is not written at all.
    TCircuitElementGroup deep;
    TCircuitElementGroup* g = &deep;
    for (int i = 0; i <= MaxCircuitDepth; ++i)
        g = g->Add(std::make_unique<TCircuitElementGroup>());
    EXPECT_FALSE(SaveCircuitToFile(deep, file).Ok);
    EXPECT_EQ(fs::file_size(file), 1350u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1);  // no temporary files left
    fs::remove_all(dir);
}

}  // namespace
}  // namespace zeigora
