#include "phasors/phasorfile.h"

#include <bit>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "complex/cp1252text.h"

namespace zeigora {

// The record's bytes are the file's bytes, and the file is little-endian.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr std::size_t MaxPhasorFileBytes = MaxPhasorFileRecords * PhasorRecordSize;

TPhasorFileResult Failure(TPhasorFileError error, int systemError) {
    TPhasorFileResult r;
    r.Error = error;
    r.SystemError = systemError;
    return r;
}

void ClearUnusedChars(TShortString& s) {
    std::memset(s.Chars + s.Length, 0, sizeof s.Chars - s.Length);
}

// The record as it goes into a file: everything that carries no meaning set to zero.
TPhasor CleanRecord(const TPhasor& p) {
    TPhasor r = p;
    ClearUnusedChars(r.Name);
    ClearUnusedChars(r.Definition);
    ClearUnusedChars(r.ErrorText);
    std::memset(r.Pad1, 0, sizeof r.Pad1);
    std::memset(r.Pad2, 0, sizeof r.Pad2);
    std::memset(r.Pad3, 0, sizeof r.Pad3);
    r.Pad4 = 0;
    r.Reserved = 0;
    return r;
}

// Reads the whole file, refusing it as soon as it is known to be too large.
TPhasorFileResult ReadWholeFile(const std::string& fileName, std::string& bytes) {
    std::FILE* f = std::fopen(fileName.c_str(), "rb");
    if (f == nullptr) return Failure(TPhasorFileError::ReadFailed, errno);
    std::error_code ec;
    const auto size = std::filesystem::file_size(fileName, ec);
    if (!ec && size > MaxPhasorFileBytes) {
        std::fclose(f);
        return Failure(TPhasorFileError::TooLarge, 0);
    }
    if (!ec) bytes.reserve(static_cast<std::size_t>(size));
    // The size is only a hint (pipes, files that grow); the cap holds while reading.
    char chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        if (bytes.size() + n > MaxPhasorFileBytes) {
            std::fclose(f);
            return Failure(TPhasorFileError::TooLarge, 0);
        }
        bytes.append(chunk, n);
    }
    const int readError = std::ferror(f) ? (errno != 0 ? errno : EIO) : 0;
    std::fclose(f);
    if (readError != 0) return Failure(TPhasorFileError::ReadFailed, readError);
    return {};
}

// A name beside the target that no other save uses at the same time.
std::string TempNameFor(const std::string& target, unsigned attempt) {
    static unsigned counter = 0;
    const auto ticks = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    const unsigned long long mix = ticks * 0x9E3779B97F4A7C15ull + (++counter) * 7919u + attempt;
    static const char hex[] = "0123456789abcdef";
    std::string name = target + ".tmp-";
    for (int shift = 60; shift >= 32; shift -= 4)
        name += hex[(mix >> shift) & 0xF];
    return name;
}

// A symbolic link stays in place: the file it points to is the one replaced.
std::string ResolveTarget(const std::string& fileName) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(fileName, ec)) return fileName;
    const auto real = std::filesystem::canonical(fileName, ec);
    return ec ? fileName : real.string();
}

// The replacement keeps the permissions of the file it replaces.
void CopyPermissions(const std::string& from, const std::string& to) {
    std::error_code ec;
    const auto status = std::filesystem::status(from, ec);
    if (!ec && std::filesystem::is_regular_file(status))
        std::filesystem::permissions(to, status.permissions(), ec);
}

std::FILE* CreateTempFile(const std::string& target, std::string& tempName, int& error) {
    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        tempName = TempNameFor(target, attempt);
        // "x": never open a file that is already there.
        std::FILE* f = std::fopen(tempName.c_str(), "wbx");
        if (f != nullptr) return f;
        error = errno;
        if (error != EEXIST) break;
    }
    return nullptr;
}

// Writes and closes f; 0 on success, otherwise the errno of the failing step.
int WriteAndClose(std::FILE* f, const std::string& bytes) {
    int error = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fflush(f) != 0)
        error = errno != 0 ? errno : EIO;
    if (std::fclose(f) != 0 && error == 0) error = errno != 0 ? errno : EIO;
    return error;
}

}  // namespace

std::string PhasorFileErrorText(TPhasorFileError error, std::string_view fileName) {
    const std::string file = "Die Datei \"" + std::string(fileName) + "\"";
    switch (error) {
        case TPhasorFileError::None:
            return {};
        case TPhasorFileError::ReadFailed:
            return file + " konnte nicht gelesen werden.";
        case TPhasorFileError::BadLength:
            return file +
                   " ist keine Zeigora-Datei (die Länge ist kein Vielfaches von 832 Bytes)."_cp;
        case TPhasorFileError::TooLarge:
            return file + " ist zu groß für eine Zeigora-Datei (mehr als 100000 Zeiger)."_cp;
        case TPhasorFileError::WriteFailed:
            return file + " konnte nicht gespeichert werden.";
    }
    return {};
}

TPhasorFileResult LoadPhasorsFromBytes(TPhasorArray& list, std::string_view bytes) {
    if (bytes.size() % PhasorRecordSize != 0) return Failure(TPhasorFileError::BadLength, 0);
    const std::size_t count = bytes.size() / PhasorRecordSize;
    if (count > MaxPhasorFileRecords) return Failure(TPhasorFileError::TooLarge, 0);
    TPhasorArray loaded(count);
    if (count > 0) std::memcpy(loaded.data(), bytes.data(), bytes.size());
    list.swap(loaded);
    return {};
}

TPhasorFileResult LoadPhasorsFromFile(TPhasorArray& list, const std::string& fileName) {
    std::string bytes;
    TPhasorFileResult r = ReadWholeFile(fileName, bytes);
    if (r.Ok()) r = LoadPhasorsFromBytes(list, bytes);
    if (!r.Ok()) r.Message = PhasorFileErrorText(r.Error, fileName);
    return r;
}

std::string PhasorsToBytes(const TPhasorArray& list) {
    std::string bytes;
    bytes.reserve(list.size() * PhasorRecordSize);
    for (const TPhasor& p : list) {
        const TPhasor clean = CleanRecord(p);
        bytes.append(reinterpret_cast<const char*>(&clean), sizeof clean);
    }
    return bytes;
}

TPhasorFileResult SavePhasorsToFile(const TPhasorArray& list, const std::string& fileName) {
    const std::string target = ResolveTarget(fileName);
    std::string tempName;
    int error = 0;
    std::FILE* f = CreateTempFile(target, tempName, error);
    if (f != nullptr) {
        error = WriteAndClose(f, PhasorsToBytes(list));
        if (error == 0) CopyPermissions(target, tempName);
        if (error == 0 && std::rename(tempName.c_str(), target.c_str()) != 0)
            error = errno != 0 ? errno : EIO;
        if (error != 0) std::remove(tempName.c_str());
    } else if (error == 0) {
        error = EIO;
    }
    if (error == 0) return {};
    TPhasorFileResult r = Failure(TPhasorFileError::WriteFailed, error);
    r.Message = PhasorFileErrorText(r.Error, fileName);
    return r;
}

}  // namespace zeigora
