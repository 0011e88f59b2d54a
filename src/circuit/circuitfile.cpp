// Circuit files on disk: whole-file reads with a size cap, saves complete or not at all.
#include "circuit/circuitfile.h"

#include <cerrno>
#include <cstdio>

#include "circuit/circuitquery.h"
#include "complex/cp1252text.h"
#include "files/filemessage.h"
#include "files/safesave.h"

namespace zeigora {

namespace {

struct TFileCloser {
    void operator()(std::FILE* f) const {
        if (f != nullptr) std::fclose(f);
    }
};
using TFileHandle = std::unique_ptr<std::FILE, TFileCloser>;

// 0, or the errno of the failing open or read; tooLarge when the cap was passed.
int ReadWholeFile(const std::string& fileName, TByteStream& bytes, bool& tooLarge) {
    TFileHandle f(std::fopen(fileName.c_str(), "rb"));
    if (!f) return errno != 0 ? errno : EIO;
    std::uint8_t chunk[65536];
    for (;;) {
        const std::size_t n = std::fread(chunk, 1, sizeof chunk, f.get());
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (bytes.size() > MaxCircuitFileSize) {
            tooLarge = true;
            return 0;
        }
        if (n < sizeof chunk) break;
    }
    return std::ferror(f.get()) ? (errno != 0 ? errno : EIO) : 0;
}

int MaxDepth(const TCircuitElementGroup& root) {
    int depth = 0;
    for (const TCircuitNode& node : FlattenCircuit(root))
        depth = node.Depth > depth ? node.Depth : depth;
    return depth;
}

}  // namespace

TCircuitLoadResult LoadCircuitFromFile(const std::string& fileName) {
    TByteStream bytes;
    bool tooLarge = false;
    const int error = ReadWholeFile(fileName, bytes, tooLarge);
    if (error != 0) {
        TCircuitLoadResult result;
        result.Error = FileErrorMessage(fileName, ReadFailedText, error);
        return result;
    }
    if (tooLarge) {
        TCircuitLoadResult result;
        result.Error = FileErrorMessage(
            fileName, "ist keine gültige Zeigora-Schaltung: sie ist größer als 64 MiB"_cp, 0);
        return result;
    }
    return LoadCircuitFromBytes(bytes, FileNameText(fileName));
}

TCircuitSaveResult SaveCircuitToFile(const TCircuitElementGroup& root,
                                     const std::string& fileName) {
    TCircuitSaveResult result;
    // A file this program could not open again would lose the circuit.
    if (MaxDepth(root) > MaxCircuitDepth) {
        result.Error = FileErrorMessage(
            fileName,
            std::string(SaveFailedText) + ": die Schaltung ist tiefer als 64 Ebenen verschachtelt",
            0);
        return result;
    }
    TByteStream bytes;
    SaveToStream(root, bytes);
    const int error = SaveFileSafely(
        fileName, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (error != 0) {
        result.Error = FileErrorMessage(fileName, SaveFailedText, error);
        return result;
    }
    result.Ok = true;
    return result;
}

}  // namespace zeigora
