// Circuit files on disk: whole-file reads with a size cap, saves through a temporary file.
#include "circuit/circuitfile.h"

#include <cstdio>
#include <random>

#include "circuit/circuitquery.h"
#include "complex/cp1252text.h"

namespace zeigora {

namespace {

std::string Quoted(const std::string& fileName, std::string_view displayName) {
    return "\"" + (displayName.empty() ? fileName : std::string(displayName)) + "\"";
}

struct TFileCloser {
    void operator()(std::FILE* f) const {
        if (f != nullptr) std::fclose(f);
    }
};
using TFileHandle = std::unique_ptr<std::FILE, TFileCloser>;

enum class TReadStatus { Ok, OpenFailed, ReadFailed, TooLarge };

TReadStatus ReadWholeFile(const std::string& fileName, TByteStream& bytes) {
    TFileHandle f(std::fopen(fileName.c_str(), "rb"));
    if (!f) return TReadStatus::OpenFailed;
    std::uint8_t chunk[65536];
    for (;;) {
        const std::size_t n = std::fread(chunk, 1, sizeof chunk, f.get());
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (bytes.size() > MaxCircuitFileSize) return TReadStatus::TooLarge;
        if (n < sizeof chunk) break;
    }
    return std::ferror(f.get()) ? TReadStatus::ReadFailed : TReadStatus::Ok;
}

// A fresh name beside the target, created exclusively so nothing else is overwritten.
TFileHandle CreateTempBeside(const std::string& fileName, std::string& tempName) {
    std::random_device rd;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[16];
        const unsigned v = rd();
        for (int i = 0; i < 8; ++i)
            suffix[i] = "0123456789abcdef"[(v >> (4 * i)) & 15];
        tempName = fileName + ".tmp-" + std::string(suffix, 8);
        if (std::FILE* f = std::fopen(tempName.c_str(), "wbx")) return TFileHandle(f);
    }
    return nullptr;
}

bool WriteAll(TFileHandle f, const TByteStream& bytes) {
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
    const bool flushed = std::fflush(f.get()) == 0;
    return std::fclose(f.release()) == 0 && written && flushed;
}

int MaxDepth(const TCircuitElementGroup& root) {
    int depth = 0;
    for (const TCircuitNode& node : FlattenCircuit(root))
        depth = node.Depth > depth ? node.Depth : depth;
    return depth;
}

}  // namespace

TCircuitLoadResult LoadCircuitFromFile(const std::string& fileName, std::string_view displayName) {
    const std::string name = Quoted(fileName, displayName);
    TByteStream bytes;
    const char* problem = nullptr;
    switch (ReadWholeFile(fileName, bytes)) {
        case TReadStatus::OpenFailed:
            problem = " kann nicht geöffnet werden."_cp;
            break;
        case TReadStatus::ReadFailed:
            problem = " kann nicht gelesen werden.";
            break;
        case TReadStatus::TooLarge:
            problem = " ist keine gültige Zeigora-Schaltung: sie ist größer als 64 MiB."_cp;
            break;
        case TReadStatus::Ok:
            break;
    }
    if (problem != nullptr) {
        TCircuitLoadResult result;
        result.Error = "Die Datei " + name + problem;
        return result;
    }
    return LoadCircuitFromBytes(bytes, displayName.empty() ? fileName : displayName);
}

TCircuitSaveResult SaveCircuitToFile(const TCircuitElementGroup& root, const std::string& fileName,
                                     std::string_view displayName) {
    TCircuitSaveResult result;
    const std::string prefix =
        "Die Datei " + Quoted(fileName, displayName) + " kann nicht gespeichert werden: ";
    // A file this program could not open again would lose the circuit.
    if (MaxDepth(root) > MaxCircuitDepth) {
        result.Error = prefix + "die Schaltung ist tiefer als 64 Ebenen verschachtelt.";
        return result;
    }
    TByteStream bytes;
    SaveToStream(root, bytes);
    std::string tempName;
    TFileHandle f = CreateTempBeside(fileName, tempName);
    if (!f) {
        result.Error = prefix + "im Zielordner kann keine Datei angelegt werden.";
        return result;
    }
    if (!WriteAll(std::move(f), bytes)) {
        std::remove(tempName.c_str());
        result.Error = prefix + "beim Schreiben ist ein Fehler aufgetreten (Datenträger voll?)."_cp;
        return result;
    }
    if (std::rename(tempName.c_str(), fileName.c_str()) != 0) {
        std::remove(tempName.c_str());
        result.Error = prefix + "die vorhandene Datei kann nicht ersetzt werden.";
        return result;
    }
    result.Ok = true;
    return result;
}

}  // namespace zeigora
