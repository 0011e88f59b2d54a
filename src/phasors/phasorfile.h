// Phasor files (".zgf"): the phasor list written record by record, 832 bytes per phasor, no
// header. Loading and saving report what failed instead of failing silently.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "phasors/phasor.h"

namespace zeigora {

// 100 000 phasors make an 83.2 MB file, far beyond any set a user builds by hand; anything
// larger is taken as not being a phasor file rather than read into memory.
inline constexpr std::size_t MaxPhasorFileRecords = 100000;
inline constexpr std::size_t PhasorRecordSize = sizeof(TPhasor);

enum class TPhasorFileError {
    None,
    ReadFailed,   // cannot be opened or read
    BadLength,    // length is not a multiple of the record size
    TooLarge,     // more than MaxPhasorFileRecords records
    WriteFailed,  // cannot be created, written, flushed or put in place
};

struct TPhasorFileResult {
    TPhasorFileError Error = TPhasorFileError::None;
    int SystemError = 0;  // errno of the failing call, 0 if none applies
    std::string Message;  // cp1252, names the file and the system's reason; empty on success

    bool Ok() const { return Error == TPhasorFileError::None; }
};

// The German message (cp1252) for an error: the file's native name as messages show it, and the
// system's reason when systemError is not 0.
std::string PhasorFileErrorText(TPhasorFileError error, std::string_view fileName,
                                int systemError = 0);

// Replaces the list by the records in bytes; on failure the list is left exactly as it was.
// Every field is taken as stored. The result's message names no file.
TPhasorFileResult LoadPhasorsFromBytes(TPhasorArray& list, std::string_view bytes);

// Reads the whole file first and replaces the list only on success. fileName is in the
// platform's native encoding.
TPhasorFileResult LoadPhasorsFromFile(TPhasorArray& list, const std::string& fileName);

// One record as the file holds it, see PhasorsToBytes.
TPhasor FileRecord(const TPhasor& p);

// The file bytes of the list: padding, unused string characters and the reserved bytes are
// written as zero bytes, so saving the same list twice gives the same file.
std::string PhasorsToBytes(const TPhasorArray& list);

// Saves complete or not at all (SaveFileSafely): a failed save leaves the previous file as it
// was.
TPhasorFileResult SavePhasorsToFile(const TPhasorArray& list, const std::string& fileName);

}  // namespace zeigora
