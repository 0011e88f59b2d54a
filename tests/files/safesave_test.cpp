// The safe save as both file kinds use it: links, permissions, refused targets and folders, a
// full disk and a failing rename. Every failure must leave the old file and no temporary.
#include "files/safesave.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "circuit/circcalc.h"
#include "circuit/circuitfile.h"
#include "files/filemessage.h"
#include "phasors/phasorfile.h"
#include "support/filebytes.h"

namespace zeigora {
namespace {

namespace fs = std::filesystem;

using test::ReadBytes;
using test::WriteBytes;

// One file kind: its save of fixed contents (the message, empty on success) and those bytes.
struct TFileKind {
    const char* Name;
    std::function<std::string(const std::string&)> Save;
    std::string Bytes;
};

std::vector<TFileKind> FileKinds() {
    TPhasorArray phasors(2);
    phasors[0].Name = "Zeiger1";
    phasors[1].Name = "Zeiger2";
    TByteStream circuit;
    SaveToStream(*MakeDefaultCircuit(), circuit);
    return {
        {"zgf", [phasors](const std::string& f) { return SavePhasorsToFile(phasors, f).Message; },
         PhasorsToBytes(phasors)},
        {"zgs",
         [](const std::string& f) { return SaveCircuitToFile(*MakeDefaultCircuit(), f).Error; },
         std::string(circuit.begin(), circuit.end())},
    };
}

std::string Reason(int error) {
    return ": " + SystemErrorText(error) + ".";
}

// Failing system calls for the seam: a disk that fills up after 100 bytes, a refused rename.
ssize_t FullAfter100(int fd, const void* data, std::size_t size) {
    static std::size_t written = 0;
    if (written >= 100) {
        written = 0;
        errno = ENOSPC;
        return -1;
    }
    const std::size_t n = size < 100 - written ? size : 100 - written;
    written += n;
    return ::write(fd, data, n);
}
int RenameBusy(const char*, const char*) {
    errno = EBUSY;
    return -1;
}
int FsyncFails(int) {
    errno = EIO;
    return -1;
}

class SafeSaveTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "safesave-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        Dir = pattern;
        fs::permissions(Dir, fs::perms::all);  // the unprivileged user below works here too
        Kind = FileKinds()[GetParam()];
    }
    void TearDown() override {
        SaveSystemCalls() = Saved;
        std::error_code ignored;
        fs::permissions(Dir / "locked", fs::perms::all, ignored);
        fs::remove_all(Dir);
    }
    std::string PathOf(const std::string& name) const { return (Dir / name).string(); }
    long Entries(const fs::path& dir) const {
        return std::distance(fs::directory_iterator(dir), {});
    }
    // The message of a save run as the unprivileged user "nobody", for whom permissions hold
    // (the tests may run as root, who may write anything).
    std::string SaveAsNobody(const std::string& file) {
        int out[2];
        EXPECT_EQ(pipe(out), 0);
        const pid_t child = fork();
        if (child == 0) {
            close(out[0]);
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
            const std::string message = Kind.Save(file);
            _exit(write(out[1], message.data(), message.size()) < 0 ? 3 : 0);
        }
        close(out[1]);
        std::string message;
        char buffer[512];
        ssize_t n;
        while ((n = read(out[0], buffer, sizeof buffer)) > 0)
            message.append(buffer, static_cast<std::size_t>(n));
        close(out[0]);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        return message;
    }
    std::string Failed(const std::string& file, int error) const {
        return "Die Datei \"" + file + "\" " + SaveFailedText + Reason(error);
    }

    fs::path Dir;
    TFileKind Kind;
    TSaveSystemCalls Saved = SaveSystemCalls();
};

TEST_P(SafeSaveTest, ALinkStaysAndItsTargetKeepsItsPermissions) {
    fs::create_directory(Dir / "real");
    const std::string target = PathOf("real/x"), link = PathOf("link"), chain = PathOf("chain");
    WriteBytes(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("real/x", link);  // relative to the link's folder
    fs::create_symlink(link, chain);
    EXPECT_EQ(Kind.Save(chain), "");
    EXPECT_TRUE(fs::is_symlink(link) && fs::is_symlink(chain));
    EXPECT_EQ(ReadBytes(target), Kind.Bytes);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Entries(Dir / "real"), 1);

    // A link to a file not there yet creates that file.
    fs::create_symlink("new", PathOf("dangling"));
    EXPECT_EQ(Kind.Save(PathOf("dangling")), "");
    EXPECT_EQ(ReadBytes(PathOf("new")), Kind.Bytes);
    EXPECT_TRUE(fs::is_symlink(PathOf("dangling")));
}

TEST_P(SafeSaveTest, NewFilesFollowTheUmaskAndLongNamesSave) {
    const mode_t old = umask(027);
    EXPECT_EQ(Kind.Save(PathOf("a")), "");
    umask(old);
    EXPECT_EQ(fs::status(PathOf("a")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::string longest(255, 'n');
    EXPECT_EQ(Kind.Save(PathOf(longest)), "");
    EXPECT_EQ(ReadBytes(PathOf(longest)), Kind.Bytes);
}

TEST_P(SafeSaveTest, RefusedTargetsAndFoldersKeepTheOldFile) {
    // Read-only for everyone: root may write it, as open() would let root; nobody may not.
    const std::string readOnly = PathOf("ro");
    WriteBytes(readOnly, "old");
    fs::permissions(readOnly,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(SaveAsNobody(readOnly), Failed(readOnly, EACCES));
    EXPECT_EQ(ReadBytes(readOnly), "old");
    if (geteuid() == 0) {
        EXPECT_EQ(Kind.Save(readOnly), "");
        EXPECT_EQ(fs::status(readOnly).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }

    // A writable file in a folder that takes no new names cannot be replaced whole.
    fs::create_directory(Dir / "locked");
    const std::string inLocked = PathOf("locked/x");
    WriteBytes(inLocked, "old");
    fs::permissions(inLocked, fs::perms::all);
    fs::permissions(Dir / "locked", fs::perms::owner_read | fs::perms::owner_exec |
                                        fs::perms::group_read | fs::perms::group_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
    EXPECT_EQ(SaveAsNobody(inLocked), Failed(inLocked, EACCES));
    EXPECT_EQ(ReadBytes(inLocked), "old");
    EXPECT_EQ(Entries(Dir / "locked"), 1);

    const std::string folder = PathOf("locked"), missing = PathOf("none/x");
    EXPECT_EQ(Kind.Save(folder), Failed(folder, EISDIR));
    EXPECT_EQ(Kind.Save(missing), Failed(missing, ENOENT));
}

TEST_P(SafeSaveTest, AFailureOnTheWayLeavesTheOldFileAndNoTemporary) {
    const std::string file = PathOf("x");
    WriteBytes(file, "old");
    const struct {
        TSaveSystemCalls Calls;
        int Error;
    } failures[] = {
        {{FullAfter100, ::fsync, ::rename}, ENOSPC},
        {{::write, FsyncFails, ::rename}, EIO},
        {{::write, ::fsync, RenameBusy}, EBUSY},
    };
    for (const auto& f : failures) {
        SaveSystemCalls() = f.Calls;
        EXPECT_EQ(Kind.Save(file), Failed(file, f.Error));
        EXPECT_EQ(ReadBytes(file), "old");
        EXPECT_EQ(Entries(Dir), 1);
    }
    // A device cannot be renamed over; it is written in place and reports its own failure.
    SaveSystemCalls() = Saved;
    EXPECT_EQ(Kind.Save("/dev/full"), Failed("/dev/full", ENOSPC));
}

INSTANTIATE_TEST_SUITE_P(BothFileKinds, SafeSaveTest, ::testing::Values(0, 1),
                         [](const auto& info) { return FileKinds()[info.param].Name; });

TEST(FileMessage, NamesAreConvertedOnceAndShowTheReason) {
    // "Bäume" in UTF-8 becomes one cp1252 byte; a byte that is no UTF-8 shows as '?'.
    EXPECT_EQ(FileErrorMessage("/x/B\xC3\xA4ume.zgf", SaveFailedText, ENOSPC),
              "Die Datei \"/x/B\xE4ume.zgf\" konnte nicht gespeichert werden: Auf dem Ger\xE4t "
              "ist kein Speicherplatz mehr verf\xFCgbar.");
    EXPECT_EQ(FileErrorMessage("\xE4.png", ReadFailedText, 0),
              "Die Datei \"?.png\" konnte nicht gelesen werden.");
    EXPECT_EQ(SystemErrorText(99999), "Systemfehler 99999");
}

TEST(FileMessage, LoadsGiveTheSystemsReason) {
    const fs::path dir = fs::temp_directory_path();
    TPhasorArray list;
    EXPECT_EQ(LoadPhasorsFromFile(list, dir.string()).Message,
              "Die Datei \"" + dir.string() + "\" " + ReadFailedText + Reason(EISDIR));
    EXPECT_EQ(LoadCircuitFromFile(dir.string()).Error,
              "Die Datei \"" + dir.string() + "\" " + ReadFailedText + Reason(EISDIR));
}

}  // namespace
}  // namespace zeigora
