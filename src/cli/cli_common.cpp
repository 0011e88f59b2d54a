#include "cli/cli_common.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "circuit/circuitfile.h"
#include "complex/cp1252text.h"
#include "phasors/phasorfile.h"
#include "platform/cp1252.h"

namespace zeigora::cli {

void Out(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void Err(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
}

std::string NumberText(double x) {
    if (std::isnan(x)) return "nan";
    if (std::isinf(x)) return x > 0 ? "inf" : "-inf";
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, x);
    return std::string(buf, res.ptr);
}

std::string IntText(long long x) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, x);
    return std::string(buf, res.ptr);
}

std::string ToUtf8(std::string_view cp1252) {
    return Cp1252ToUtf8(cp1252);
}

namespace {

// The escape both field kinds share for backslash, tab, CR and LF; null for other characters.
const char* CommonEscape(char c) {
    switch (c) {
        case '\\':
            return "\\\\";
        case '\t':
            return "\\t";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        default:
            return nullptr;
    }
}

}  // namespace

std::string TsvField(std::string_view utf8) {
    std::string s;
    s.reserve(utf8.size());
    for (char c : utf8) {
        if (const char* escape = CommonEscape(c))
            s += escape;
        else
            s += c;
    }
    return s;
}

std::string JsonString(std::string_view utf8) {
    static const char hex[] = "0123456789abcdef";
    std::string s = "\"";
    for (char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (const char* escape = CommonEscape(c)) {
            s += escape;
        } else if (c == '"') {
            s += "\\\"";
        } else if (u < 0x20 || u == 0x7F) {
            s += "\\u00";
            s += hex[u >> 4];
            s += hex[u & 0xF];
        } else {
            s += c;
        }
    }
    return s + "\"";
}

std::string JsonNumber(double x) {
    if (!std::isfinite(x)) return "\"" + NumberText(x) + "\"";
    return NumberText(x);
}

bool ReadStandardInput(std::size_t limit, std::string& bytes) {
    bytes.clear();
    char chunk[65536];
    while (bytes.size() < limit) {
        const std::size_t n =
            std::fread(chunk, 1, std::min(sizeof chunk, limit - bytes.size()), stdin);
        bytes.append(chunk, n);
        if (n == 0) break;
    }
    return !std::ferror(stdin);
}

bool LoadPhasorsOrReport(const TCommandLine& line, TPhasorArray& list, const std::string& file) {
    TPhasorFileResult r;
    if (file == "-") {
        // One record more than allowed is enough to tell "too large".
        std::string bytes;
        const bool read = ReadStandardInput((MaxPhasorFileRecords + 1) * PhasorRecordSize, bytes);
        r = read ? LoadPhasorsFromBytes(list, bytes)
                 : TPhasorFileResult{TPhasorFileError::ReadFailed, errno, {}};
    } else {
        r = LoadPhasorsFromFile(list, file);
    }
    if (r.Ok()) return true;
    line.Fail(ToUtf8(PhasorFileErrorText(r.Error, file, r.SystemError)), ExitUsage);
    return false;
}

std::unique_ptr<TCircuitElementGroup> LoadCircuitOrReport(const TCommandLine& line,
                                                          const std::string& file) {
    TCircuitLoadResult r;
    if (file == "-") {
        std::string bytes;
        if (!ReadStandardInput(MaxCircuitFileSize + 1, bytes)) {
            r.Error = "Die Standardeingabe kann nicht gelesen werden.";
        } else if (bytes.size() > MaxCircuitFileSize) {
            r.Error =
                "Die Standardeingabe ist keine gültige Zeigora-Schaltung: sie ist größer als 64 MiB."_cp;
        } else {
            const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
            r = LoadCircuitFromBytes({data, bytes.size()}, file);
        }
    } else {
        r = LoadCircuitFromFile(file);
    }
    if (!r.Circuit) line.Fail(ToUtf8(r.Error), ExitUsage);
    return std::move(r.Circuit);
}

}  // namespace zeigora::cli
