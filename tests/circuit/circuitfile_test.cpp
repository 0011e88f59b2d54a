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

template <typename T>
T At(const TByteStream& s, std::size_t at) {
    T v;
    std::memcpy(&v, s.data() + at, sizeof v);
    return v;
}

// Raw records for malformed input.
TByteStream& PutRecord(TByteStream& s, std::int32_t type, double value = 0.0) {
    TByteStream r(ElementRecordSize, 0);
    std::memcpy(r.data(), &type, 4);
    std::memcpy(r.data() + 260, &value, 8);
    s.insert(s.end(), r.begin(), r.end());
    return s;
}

TByteStream& PutGroup(TByteStream& s, std::int32_t count, std::uint8_t parallel = 0) {
    PutRecord(s, etGroup);
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
    const TByteStream s = Save(*MakeDefaultCircuit());
    ASSERT_EQ(s.size(), 1350u);
    const struct {
        std::size_t Offset;
        std::int32_t Type;
        std::string Name;
        double Value;
        std::int32_t Count;
        std::uint8_t Parallel;
    } table[] = {
        {0, 0, "Schaltung 1", 0.0, 2, 0},
        {273, 1, "R", 2200.0, 0, 0},
        {541, 0, "Schwingkreis 1", 0.0, 2, 1},
        {814, 3, "L", 0.3, 0, 0},
        {1082, 2, "C", 1e-6, 0, 0},
    };
    for (const auto& r : table) {
        SCOPED_TRACE(r.Offset);
        EXPECT_EQ(At<std::int32_t>(s, r.Offset), r.Type);
        // The name with its length byte, then zeros up to the value at byte 260.
        std::string field = char(r.Name.size()) + r.Name;
        field.resize(256, '\0');
        EXPECT_EQ(std::string(s.begin() + r.Offset + 4, s.begin() + r.Offset + 260), field);
        EXPECT_EQ(At<double>(s, r.Offset + 260), r.Value);
        if (r.Type == 0) {
            EXPECT_EQ(At<std::int32_t>(s, r.Offset + 268), r.Count);
            EXPECT_EQ(s[r.Offset + 272], r.Parallel);
        }
    }
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
    const std::pair<TByteStream, const char*> table[] = {
        {{}, "sie ist leer"},
        {TByteStream(valid.begin(), valid.begin() + 270), "unvollst\xE4ndig (Byte 0)"},
        {shortMember, "unvollst\xE4ndig (Byte 273)"},
        {PutRecord(s[0], 4), "Bauteiltyp 4 (Byte 0)"},
        {PutRecord(s[1], -1), "Bauteiltyp -1"},
        {PutGroup(s[2], -5), "negative Elementanzahl -5"},
        {PutGroup(s[3], 0x7FFFFFFF), "Elementanzahl 2147483647 passt nicht"},
        {beyond, "Elementanzahl 2 passt nicht"},
        {Nested(65), "tiefer als 64 Ebenen"},
        {PutRecord(s[4], etResistor, 1.0), "keine Bauteilgruppe"},
        {trailing, "folgen noch 1 Bytes"},
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
    const auto saved = SaveCircuitToFile(*circuit, file);
    ASSERT_TRUE(saved.Ok) << saved.Error;
    const auto loaded = LoadCircuitFromFile(file);
    ASSERT_TRUE(loaded.Circuit) << loaded.Error;
    EXPECT_EQ(Save(*loaded.Circuit), Save(*circuit));

    const auto missing = LoadCircuitFromFile((dir / "missing.zgs").string());
    EXPECT_FALSE(missing.Circuit);
    EXPECT_NE(missing.Error.find("kann nicht ge\xF6"
                                 "ffnet werden"),
              std::string::npos);
    const auto nowhere = SaveCircuitToFile(*circuit, (dir / "no/such/dir.zgs").string());
    EXPECT_FALSE(nowhere.Ok);
    EXPECT_NE(nowhere.Error.find("kann nicht gespeichert werden"), std::string::npos);
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
