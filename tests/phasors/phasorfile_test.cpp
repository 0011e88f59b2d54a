#include "phasors/phasorfile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace zeigora {
namespace {

namespace fs = std::filesystem;

class PhasorFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zgf-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    static std::string ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void WriteBytes(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }
    std::vector<std::string> DirEntries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_))
            names.push_back(e.path().filename());
        return names;
    }

    fs::path dir_;
};

// The start phasors of a new document plus one defined phasor.
TPhasorArray ExampleList() {
    TPhasorArray list;
    AppendPhasor(list);
    list[0].Name = "Zeiger1";
    list[0].Color = 0x0000FF;
    list[0].Value = MakeComplex(2.0, -1.0);
    AppendPhasor(list);
    list[1].Name = "Zeiger2";
    list[1].Color = 0xFF0000;
    list[1].Value = MakeComplex(-1.0, 1.0);
    AppendPhasor(list);
    list[2].Name = "Summe";
    list[2].Definition = "Zeiger1+Zeiger2";
    list[2].Value = MakeComplex(1.0, 0.0);
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

std::string Str(const char* s, std::size_t capacity) {
    std::string r(1, char(std::strlen(s)));
    r += s;
    r.resize(capacity + 1, '\0');
    return r;
}

TEST_F(PhasorFileTest, SavesEveryFieldAtItsOffsetWithZeroFill) {
    TPhasorArray list{FilledRecord(), ExampleList()[0]};
    const std::string file = PathOf("two.zgf");
    ASSERT_TRUE(SavePhasorsToFile(list, file).Ok());
    const std::string bytes = ReadBytes(file);
    ASSERT_EQ(bytes.size(), 1664u);

    struct Field {
        std::size_t offset;
        std::string expected;
    };
    const std::string zero3(3, '\0');
    const Field fields[] = {
        {0, Str("Zeiger\xE4", 255)},
        {256, std::string("\x01", 1) + std::string(7, '\0')},
        {264, Le(1.5) + Le(-2.25) + Le(3.0) + Le(4.5)},
        {296, Str("Zeiger1*2", 255)},
        {552, std::string("\x03", 1) + zero3},
        {556, Le<std::int32_t>(-2)},
        {560, Str("Zirkul\xE4re Referenz in B", 255)},
        {816, std::string(1, '\0') + zero3},
        {820, Le<std::uint32_t>(0x00123456)},
        {824, std::string("\x03\x04\x01\x00", 4)},
        {828, std::string(4, '\0')},
        // Second record: Zeiger1 as InitPhasor leaves it on a zeroed record.
        {832 + 0, Str("Zeiger1", 255)},
        {832 + 256, std::string("\x01", 1) + std::string(7, '\0')},
        {832 + 264, Le(2.0) + Le(-1.0)},
        {832 + 296, std::string(256, '\0') + std::string(8, '\0')},
        {832 + 816, std::string("\x01", 1) + zero3 + Le<std::uint32_t>(0xFF)},
        {832 + 824, std::string("\x00\x01\x00\x00", 4) + std::string(4, '\0')},
    };
    for (const Field& f : fields)
        EXPECT_EQ(bytes.substr(f.offset, f.expected.size()), f.expected) << "offset " << f.offset;
}

TEST_F(PhasorFileTest, EmptyListGivesEmptyFileAndLoadsEmpty) {
    const std::string file = PathOf("empty.zgf");
    ASSERT_TRUE(SavePhasorsToFile({}, file).Ok());
    EXPECT_EQ(fs::file_size(file), 0u);
    TPhasorArray list = ExampleList();
    ASSERT_TRUE(LoadPhasorsFromFile(list, file).Ok());
    EXPECT_TRUE(list.empty());
}

TEST_F(PhasorFileTest, RoundTripKeepsFieldsAndSavesTheSameBytes) {
    const TPhasorArray original{FilledRecord(), ExampleList()[2]};
    const std::string first = PathOf("a.zgf"), second = PathOf("b.zgf");
    ASSERT_TRUE(SavePhasorsToFile(original, first).Ok());
    TPhasorArray loaded;
    ASSERT_TRUE(LoadPhasorsFromFile(loaded, first).Ok());
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[0].Name.Str(), "Zeiger\xE4");
    EXPECT_EQ(loaded[0].ErrorText.Str(), "Zirkul\xE4re Referenz in B");
    EXPECT_EQ(loaded[0].ErrorCode, -2);
    EXPECT_EQ(loaded[0].EvalState, TEvalState::esFailed);
    EXPECT_EQ(loaded[0].Value.Phase, 4.5);
    EXPECT_EQ(loaded[1].Definition.Str(), "Zeiger1+Zeiger2");
    ASSERT_TRUE(SavePhasorsToFile(loaded, second).Ok());
    EXPECT_EQ(ReadBytes(first), ReadBytes(second));
}

TEST_F(PhasorFileTest, NameLengthByteCutsLeftoverCharacters) {
    std::string bytes = PhasorsToBytes({ExampleList()[0]});
    bytes.replace(1, 10, "Zeiger1XYZ");  // length byte stays 7
    TPhasorArray list;
    ASSERT_TRUE(LoadPhasorsFromBytes(list, bytes).Ok());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Name.Str(), "Zeiger1");
}

TEST_F(PhasorFileTest, LengthNotAMultipleOfTheRecordIsRefusedAndListKept) {
    const TPhasorArray before = ExampleList();
    for (std::size_t length : {1u, 831u, 833u, 1663u, 2497u}) {
        const std::string file = PathOf("bad.zgf");
        WriteBytes(file, std::string(length, '\x01'));
        TPhasorArray list = before;
        const TPhasorFileResult r = LoadPhasorsFromFile(list, file);
        EXPECT_EQ(r.Error, TPhasorFileError::BadLength) << length;
        EXPECT_EQ(r.Message, "Die Datei \"" + file +
                                 "\" ist keine Zeigora-Datei (die L\xE4nge ist kein Vielfaches "
                                 "von 832 Bytes).");
        ASSERT_EQ(list.size(), before.size());
        EXPECT_EQ(std::memcmp(list.data(), before.data(), before.size() * sizeof(TPhasor)), 0);
    }
}

TEST_F(PhasorFileTest, UnreadableFileIsReportedAndListKept) {
    const std::string missing = PathOf("missing.zgf");
    const std::string directory = dir_.string();
    for (const std::string& file : {missing, directory}) {
        TPhasorArray list = ExampleList();
        const TPhasorFileResult r = LoadPhasorsFromFile(list, file);
        EXPECT_EQ(r.Error, TPhasorFileError::ReadFailed) << file;
        EXPECT_NE(r.SystemError, 0);
        EXPECT_EQ(r.Message, "Die Datei \"" + file + "\" konnte nicht gelesen werden.");
        EXPECT_EQ(list.size(), 3u);
        EXPECT_EQ(list[2].Name.Str(), "Summe");
    }
}

TEST_F(PhasorFileTest, HugeFileIsRefusedWithoutReadingIt) {
    const std::string file = PathOf("huge.zgf");
    WriteBytes(file, "");
    fs::resize_file(file, (MaxPhasorFileRecords + 1) * PhasorRecordSize);  // sparse
    TPhasorArray list = ExampleList();
    const TPhasorFileResult r = LoadPhasorsFromFile(list, file);
    EXPECT_EQ(r.Error, TPhasorFileError::TooLarge);
    EXPECT_EQ(r.Message, "Die Datei \"" + file +
                             "\" ist zu gro\xDF f\xFCr eine Zeigora-Datei (mehr als 100000 "
                             "Zeiger).");
    EXPECT_EQ(list.size(), 3u);
}

TEST_F(PhasorFileTest, SaveIntoMissingDirectoryFails) {
    const std::string file = PathOf("nowhere/x.zgf");
    const TPhasorFileResult r = SavePhasorsToFile(ExampleList(), file);
    EXPECT_EQ(r.Error, TPhasorFileError::WriteFailed);
    EXPECT_EQ(r.Message, "Die Datei \"" + file + "\" konnte nicht gespeichert werden.");
    EXPECT_TRUE(DirEntries().empty());
}

TEST_F(PhasorFileTest, FailedRenameLeavesNoTempFile) {
    // A directory in the target's place: the temp file is written, the rename fails.
    const std::string target = PathOf("taken.zgf");
    fs::create_directory(target);
    WriteBytes(target + "/inside", "x");
    EXPECT_EQ(SavePhasorsToFile(ExampleList(), target).Error, TPhasorFileError::WriteFailed);
    EXPECT_EQ(DirEntries(), std::vector<std::string>{"taken.zgf"});
    EXPECT_EQ(ReadBytes(target + "/inside"), "x");
}

TEST_F(PhasorFileTest, FailedWriteKeepsThePreviousFile) {
    const std::string target = PathOf("keep.zgf");
    const TPhasorArray one{ExampleList()[0]};
    ASSERT_TRUE(SavePhasorsToFile(one, target).Ok());
    const std::string previous = ReadBytes(target);

    // A file size limit below the new file's length makes the write fail, also for root.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 1000;
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const TPhasorFileResult r = SavePhasorsToFile(ExampleList(), target);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(r.Error, TPhasorFileError::WriteFailed);
    EXPECT_NE(r.SystemError, 0);
    EXPECT_EQ(ReadBytes(target), previous);
    EXPECT_EQ(DirEntries(), std::vector<std::string>{"keep.zgf"});
}

TEST_F(PhasorFileTest, SaveReplacesTargetKeepsItsPermissionsAndLeavesNoTempFile) {
    const std::string target = PathOf("x.zgf");
    WriteBytes(target, "old contents");
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, perms);
    ASSERT_TRUE(SavePhasorsToFile(ExampleList(), target).Ok());
    EXPECT_EQ(ReadBytes(target), PhasorsToBytes(ExampleList()));
    EXPECT_EQ(fs::status(target).permissions(), perms);
    EXPECT_EQ(DirEntries(), std::vector<std::string>{"x.zgf"});
}

TEST_F(PhasorFileTest, SaveThroughSymbolicLinkReplacesTheLinkedFile) {
    fs::create_directory(dir_ / "real");
    const std::string real = PathOf("real/r.zgf"), link = PathOf("link.zgf");
    WriteBytes(real, "old");
    fs::create_symlink(real, link);
    ASSERT_TRUE(SavePhasorsToFile(ExampleList(), link).Ok());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), PhasorsToBytes(ExampleList()));
}

// examples/start.zgf is made by this code; ZEIGORA_WRITE_EXAMPLES=1 writes it anew.
TEST(PhasorFileExample, StartFileHoldsTheStartPhasorsAndTheirSum) {
    const std::string file = std::string(ZEIGORA_SOURCE_DIR) + "/examples/start.zgf";
    if (std::getenv("ZEIGORA_WRITE_EXAMPLES") != nullptr) {
        ASSERT_TRUE(SavePhasorsToFile(ExampleList(), file).Ok());
    }
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(bytes, PhasorsToBytes(ExampleList()));
}

}  // namespace
}  // namespace zeigora
