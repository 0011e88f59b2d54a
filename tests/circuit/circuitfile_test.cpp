#include "circuit/circuitfile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "circuit/circuitquery.h"
#include "circuit_support.h"

namespace zeigora {
namespace {

namespace fs = std::filesystem;

TByteStream Save(const TCustomCircuitElement& e) {
    TByteStream s;
    SaveToStream(e, s);
    return s;
}

std::int32_t Int32At(const TByteStream& s, std::size_t at) {
    std::int32_t v;
    std::memcpy(&v, s.data() + at, 4);
    return v;
}

double DoubleAt(const TByteStream& s, std::size_t at) {
    double v;
    std::memcpy(&v, s.data() + at, 8);
    return v;
}

std::string NameAt(const TByteStream& s, std::size_t at) {
    return std::string(reinterpret_cast<const char*>(s.data() + at + 5), s[at + 4]);
}

// Raw records for malformed input.
void PutRecord(TByteStream& s, std::int32_t type, double value = 0.0) {
    TByteStream r(ElementRecordSize, 0);
    std::memcpy(r.data(), &type, 4);
    std::memcpy(r.data() + 260, &value, 8);
    s.insert(s.end(), r.begin(), r.end());
}

void PutGroup(TByteStream& s, std::int32_t count, std::uint8_t parallel = 0) {
    PutRecord(s, etGroup);
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(count) >> (8 * i)));
    s.push_back(parallel);
}

TEST(CircuitFile, DefaultCircuitLayout) {
    const TByteStream s = Save(*MakeDefaultCircuit());
    ASSERT_EQ(s.size(), 1350u);
    struct Record {
        std::size_t Offset;
        std::int32_t Type;
        const char* Name;
        double Value;
        std::int32_t Count;
        std::uint8_t Parallel;
    };
    const Record table[] = {
        {0, 0, "Schaltung 1", 0.0, 2, 0},
        {273, 1, "R", 2200.0, 0, 0},
        {541, 0, "Schwingkreis 1", 0.0, 2, 1},
        {814, 3, "L", 0.3, 0, 0},
        {1082, 2, "C", 1e-6, 0, 0},
    };
    for (const Record& r : table) {
        SCOPED_TRACE(r.Offset);
        EXPECT_EQ(Int32At(s, r.Offset), r.Type);
        EXPECT_EQ(NameAt(s, r.Offset), r.Name);
        EXPECT_EQ(DoubleAt(s, r.Offset + 260), r.Value);
        for (std::size_t i = r.Offset + 5 + std::strlen(r.Name); i < r.Offset + 260; ++i)
            ASSERT_EQ(s[i], 0) << i;
        if (r.Type == 0) {
            EXPECT_EQ(Int32At(s, r.Offset + 268), r.Count);
            EXPECT_EQ(s[r.Offset + 272], r.Parallel);
        }
    }
}

TEST(CircuitFile, EmptyGroupAndNames) {
    auto circuit = MakeDefaultCircuit();
    circuit->Clear();
    const TByteStream empty = Save(*circuit);
    EXPECT_EQ(empty.size(), 273u);
    EXPECT_EQ(Int32At(empty, 268), 0);

    circuit->Name = std::string(255, '\xE4');
    auto* r = circuit->Add(std::make_unique<TResistor>(-1.5));
    r->Name = "";
    const auto loaded = LoadCircuitFromBytes(Save(*circuit));
    ASSERT_TRUE(loaded.Circuit) << loaded.Error;
    EXPECT_EQ(loaded.Circuit->Name.Str(), std::string(255, '\xE4'));
    EXPECT_EQ(loaded.Circuit->Items(0)->Name.Length, 0);
    EXPECT_EQ(loaded.Circuit->Items(0)->ElementValue, -1.5);
}

TEST(CircuitFile, RoundTripKeepsTheTree) {
    for (std::uint32_t seed : {3u, 4u, 5u}) {
        auto circuit = test::MakeRandomCircuit(seed, 300, 8);
        const TByteStream bytes = Save(*circuit);
        const auto loaded = LoadCircuitFromBytes(bytes);
        ASSERT_TRUE(loaded.Circuit) << loaded.Error;
        EXPECT_EQ(Save(*loaded.Circuit), bytes);
        const auto a = FlattenCircuit(*circuit);
        const auto b = FlattenCircuit(*loaded.Circuit);
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].Parent, b[i].Parent);
            EXPECT_EQ(b[i].Element->Parent() == nullptr, i == 0);
        }
    }
}

TEST(CircuitFile, AnyNonzeroParallelByteIsParallel) {
    TByteStream s;
    PutGroup(s, 1, 2);
    PutRecord(s, etResistor, 10.0);
    const auto loaded = LoadCircuitFromBytes(s);
    ASSERT_TRUE(loaded.Circuit) << loaded.Error;
    EXPECT_TRUE(loaded.Circuit->IsParallel);
    EXPECT_EQ(Save(*loaded.Circuit)[272], 1);
}

TByteStream Nested(int levels) {
    TByteStream s;
    for (int i = 0; i < levels; ++i)
        PutGroup(s, 1);
    PutRecord(s, etCoil, 1.0);
    return s;
}

TEST(CircuitFile, MalformedInputIsRefused) {
    auto make = [](auto build) {
        TByteStream s;
        build(s);
        return s;
    };
    TByteStream valid = Save(*MakeDefaultCircuit());
    struct Case {
        const char* What;
        TByteStream Bytes;
        const char* Reason;
    };
    const Case table[] = {
        {"empty", {}, "sie ist leer"},
        {"short root", TByteStream(valid.begin(), valid.begin() + 270),
         "unvollst\xE4ndig (Byte 0)"},
        {"short member", make([](TByteStream& s) {
             PutGroup(s, 1);
             PutGroup(s, 0);
             s.pop_back();
         }),
         "unvollst\xE4ndig (Byte 273)"},
        {"type 4", make([](TByteStream& s) { PutRecord(s, 4); }), "Bauteiltyp 4 (Byte 0)"},
        {"type -1", make([](TByteStream& s) { PutRecord(s, -1); }), "Bauteiltyp -1"},
        {"negative count", make([](TByteStream& s) { PutGroup(s, -5); }),
         "negative Elementanzahl -5"},
        {"absurd count", make([](TByteStream& s) { PutGroup(s, 0x7FFFFFFF); }),
         "Elementanzahl 2147483647 passt nicht"},
        {"count beyond data", make([](TByteStream& s) {
             PutGroup(s, 2);
             PutRecord(s, etResistor);
         }),
         "Elementanzahl 2 passt nicht"},
        {"too deep", Nested(65), "tiefer als 64 Ebenen"},
        {"root not a group", make([](TByteStream& s) { PutRecord(s, etResistor, 1.0); }),
         "keine Bauteilgruppe"},
        {"trailing bytes", make([&](TByteStream& s) {
             s = valid;
             s.push_back(0);
         }),
         "folgen noch 1 Bytes"},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.What);
        const auto r = LoadCircuitFromBytes(c.Bytes, "x.zgs");
        EXPECT_EQ(r.Circuit, nullptr);
        EXPECT_NE(r.Error.find("Die Datei \"x.zgs\" ist keine g\xFCltige Zeigora-Schaltung: "),
                  std::string::npos)
            << r.Error;
        EXPECT_NE(r.Error.find(c.Reason), std::string::npos) << r.Error;
    }
    EXPECT_TRUE(LoadCircuitFromBytes(Nested(64)).Circuit);
}

class CircuitFileOnDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("zeigora-circuit-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Path(const char* name) const { return (dir / name).string(); }
    int FileCount() const {
        return static_cast<int>(std::distance(fs::directory_iterator(dir), {}));
    }
    fs::path dir;
};

TEST_F(CircuitFileOnDisk, SaveReplacesAndLoads) {
    const std::string file = Path("a.zgs");
    std::ofstream(file) << "old contents";
    auto circuit = MakeDefaultCircuit();
    const auto saved = SaveCircuitToFile(*circuit, file);
    ASSERT_TRUE(saved.Ok) << saved.Error;
    EXPECT_EQ(fs::file_size(file), 1350u);
    EXPECT_EQ(FileCount(), 1);  // no temporary file left behind
    const auto loaded = LoadCircuitFromFile(file);
    ASSERT_TRUE(loaded.Circuit) << loaded.Error;
    EXPECT_EQ(Save(*loaded.Circuit), Save(*circuit));
}

TEST_F(CircuitFileOnDisk, FailuresAreReported) {
    auto circuit = MakeDefaultCircuit();
    const TByteStream before = Save(*circuit);

    const auto missing = LoadCircuitFromFile(Path("missing.zgs"));
    EXPECT_FALSE(missing.Circuit);
    EXPECT_NE(missing.Error.find("kann nicht ge\xF6"
                                 "ffnet werden"),
              std::string::npos);

    const std::string bad = Path("bad.zgs");
    std::ofstream(bad) << "kein Schaltplan";
    const auto refused = LoadCircuitFromFile(bad, "bad.zgs");
    EXPECT_FALSE(refused.Circuit);
    EXPECT_NE(refused.Error.find("\"bad.zgs\" ist keine g\xFCltige"), std::string::npos);

    const auto nowhere = SaveCircuitToFile(*circuit, Path("no/such/dir.zgs"));
    EXPECT_FALSE(nowhere.Ok);
    EXPECT_NE(nowhere.Error.find("kann nicht gespeichert werden"), std::string::npos);

    // A tree the reader would refuse is not written at all.
    const std::string deepFile = Path("deep.zgs");
    std::ofstream(deepFile) << "old";
    TCircuitElementGroup deep;
    TCircuitElementGroup* g = &deep;
    for (int i = 0; i <= MaxCircuitDepth; ++i)
        g = g->Add(std::make_unique<TCircuitElementGroup>());
    EXPECT_FALSE(SaveCircuitToFile(deep, deepFile).Ok);
    EXPECT_EQ(fs::file_size(deepFile), 3u);
    EXPECT_EQ(Save(*circuit), before);
}

}  // namespace
}  // namespace zeigora
