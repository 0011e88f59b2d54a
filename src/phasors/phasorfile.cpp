#include "phasors/phasorfile.h"

#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "complex/cp1252text.h"
#include "files/filemessage.h"
#include "files/safesave.h"

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

}  // namespace

std::string PhasorFileErrorText(TPhasorFileError error, std::string_view fileName,
                                int systemError) {
    switch (error) {
        case TPhasorFileError::None:
            return {};
        case TPhasorFileError::ReadFailed:
            return FileErrorMessage(fileName, ReadFailedText, systemError);
        case TPhasorFileError::BadLength:
            return FileErrorMessage(
                fileName,
                "ist keine Zeigora-Datei (die Länge ist kein Vielfaches von 832 Bytes)"_cp, 0);
        case TPhasorFileError::TooLarge:
            return FileErrorMessage(
                fileName, "ist zu groß für eine Zeigora-Datei (mehr als 100000 Zeiger)"_cp, 0);
        case TPhasorFileError::WriteFailed:
            return FileErrorMessage(fileName, SaveFailedText, systemError);
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
    if (!r.Ok()) r.Message = PhasorFileErrorText(r.Error, fileName, r.SystemError);
    return r;
}

TPhasor FileRecord(const TPhasor& p) {
    return CleanRecord(p);
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
    const int error = SaveFileSafely(fileName, PhasorsToBytes(list));
    if (error == 0) return {};
    TPhasorFileResult r = Failure(TPhasorFileError::WriteFailed, error);
    r.Message = PhasorFileErrorText(r.Error, fileName, error);
    return r;
}

}  // namespace zeigora
